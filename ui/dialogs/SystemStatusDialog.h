#pragma once
#include "ui/controls/GlassDialog.h"

#include <QTimer>

class QComboBox;

namespace deskpanel {

class Operator;
class UnitLink;

// Temperatures, supplies, networking and connections of one unit, chosen from a list of
// the units that have a record. The four verdicts are filled once, 200 ms after opening
// and after every change of the selection; they do not follow the unit afterwards.
class SystemStatusDialog : public GlassDialog {
    Q_OBJECT
public:
    static constexpr int FillDelayMs = 200;

    SystemStatusDialog(const UnitLink& link, Operator& op, QWidget* parent = nullptr);

    // With no unit on the network it says so and returns 2 without showing the dialog.
    int exec() override;

    QComboBox* list() const { return m_list; }
    // The four fields, top to bottom.
    QLabel* field(int row) const { return m_fields[row]; }

private:
    void fill();

    const UnitLink& m_link;
    Operator& m_operator;
    QComboBox* m_list = nullptr;
    QLabel* m_fields[4] = {};
    QTimer m_fillTimer;
};

} // namespace deskpanel
