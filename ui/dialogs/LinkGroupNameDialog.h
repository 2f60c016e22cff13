#pragma once
#include "ui/dialogs/NameNotesDialog.h"

namespace deskpanel {

class ChannelControl;
class Project;

// The title and notes of link group 1..10, walking the groups with Prev and Next. Its
// closing buttons raise the dialog-just-closed flag.
class LinkGroupNameDialog : public NameNotesDialog {
    Q_OBJECT
public:
    LinkGroupNameDialog(Project& project, ChannelControl& channels, Operator& op, int group, QWidget* parent = nullptr);

    int group() const { return currentIndex() + 1; }

protected:
    QString headingFor(int index) const override;
    NameAndNotes textsOf(int index) const override;
    void store(int index, const NameAndNotes& texts) override;
    void closing() override;

private:
    Project& m_project;
    ChannelControl& m_channels;
};

} // namespace deskpanel
