#pragma once
#include "ui/dialogs/NameNotesDialog.h"

namespace deskpanel {

class ChannelControl;
class Project;

// The name and notes of unit 1..48, walking all units with Prev and Next. The unit it
// shows is its own; nothing else follows it.
class UnitNameDialog : public NameNotesDialog {
    Q_OBJECT
public:
    UnitNameDialog(Project& project, ChannelControl& channels, Operator& op, int unit, QWidget* parent = nullptr);

    int unit() const { return currentIndex() + 1; }

protected:
    QString headingFor(int index) const override;
    NameAndNotes textsOf(int index) const override;
    void store(int index, const NameAndNotes& texts) override;

private:
    Project& m_project;
    ChannelControl& m_channels;
};

} // namespace deskpanel
