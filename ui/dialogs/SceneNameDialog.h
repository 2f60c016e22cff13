#pragma once
#include "ui/dialogs/NameNotesDialog.h"

namespace deskpanel {

class ChannelControl;

// New Scene and Rename Scene: the texts the operator confirms with OK go back to the
// scene operations (texts()); nothing is stored here. The name edit has the focus, and
// both closing buttons raise the dialog-just-closed flag.
class SceneNameDialog : public NameNotesDialog {
    Q_OBJECT
public:
    enum class Kind {
        NewScene,
        RenameScene
    };
    // `heading` is the Rename Scene prompt with the scene's name; New Scene has its own.
    SceneNameDialog(Kind kind, const QString& heading, const NameAndNotes& initial, ChannelControl& channels,
                    Operator& op, QWidget* parent = nullptr);

protected:
    QString headingFor(int index) const override;
    NameAndNotes textsOf(int index) const override;
    void closing() override;

private:
    QString m_heading;
    NameAndNotes m_initial;
    ChannelControl& m_channels;
};

} // namespace deskpanel
