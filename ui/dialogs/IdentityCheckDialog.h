#pragma once
#include "core/model/OperationGate.h"
#include "core/model/UnitSettingsHolder.h"
#include "ui/controls/GlassDialog.h"

#include <QTimer>

#include <optional>

class QComboBox;

namespace deskpanel {

class ChannelControl;
class Operator;
class Project;
class UnitLink;
class UnitSender;

// The unit identity check: "&Check" switches Link, Mute, Pad, Pol and 48v of all eight
// inputs of the chosen unit on and off every 500 ms for 10 s, so the operator can see
// which unit in the rack carries the number; the unit's settings are then restored.
//
// The check keeps its own copy of the unit's settings: units found or renumbered
// meanwhile use the program's holding area for themselves. However the dialog closes
// (OK, Escape, the close box) both timers stop, a running check restores its unit, the
// strips are let go and the dialog-just-closed flag is raised. Its timers are its own.
class IdentityCheckDialog : public GlassDialog {
    Q_OBJECT
public:
    static constexpr int CheckMs = 10000;
    static constexpr int ToggleMs = 500;
    static constexpr const char* SwitchOrder[5] = {"Link", "Mute", "Pad", "Pol", "48v"};

    // `units` carries the switch packets (the unit link itself in the program); `link`
    // says which units there are.
    IdentityCheckDialog(const UnitLink& link, UnitSender& units, ChannelControl& channels, Project& project,
                        Operator& op, QWidget* parent = nullptr);
    ~IdentityCheckDialog() override;

    QComboBox* list() const { return m_list; }
    bool isChecking() const { return m_unitUnderCheck != 0; }
    int unitUnderCheck() const { return m_unitUnderCheck; }
    bool isIndicatorLit() const { return m_lit; }

protected:
    void onCommand(int id) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void check();
    void toggle();
    void finish();
    bool sendAll(double value);
    // Stops both timers and puts the unit back as it was; the dialog is idle after.
    void stopAndRestore();
    void setIndicator(bool lit);

    const UnitLink& m_link;
    UnitSender& m_units;
    ChannelControl& m_channels;
    Project& m_project;
    Operator& m_operator;
    // Held from the check's start until its unit is restored.
    std::optional<OperationGate::Hold> m_gateHold;
    QComboBox* m_list = nullptr;
    QTimer m_end;
    QTimer m_toggle;
    UnitSettingsHolder m_saved;
    int m_unitUnderCheck = 0;
    bool m_nextValueOn = true;
    bool m_lit = false;
};

} // namespace deskpanel
