#pragma once
#include "ui/dialogs/NameNotesDialog.h"

namespace deskpanel {

class ChannelControl;
class Project;

// The title and notes of channel 1..384, walking all channels with Prev and Next. It
// works on the program's current channel, which stays where the walk left it. Its
// closing buttons raise the dialog-just-closed flag.
class ChannelNameDialog : public NameNotesDialog {
    Q_OBJECT
public:
    ChannelNameDialog(Project& project, ChannelControl& channels, Operator& op, int channel, QWidget* parent = nullptr);

protected:
    QString headingFor(int index) const override;
    NameAndNotes textsOf(int index) const override;
    void store(int index, const NameAndNotes& texts) override;
    void indexChanged(int index) override;
    void closing() override;

private:
    Project& m_project;
    ChannelControl& m_channels;
};

} // namespace deskpanel
