#pragma once
#include "core/host/NamingDialogs.h"
#include "ui/controls/GlassDialog.h"

#include <QTimer>

class QLineEdit;
class QPlainTextEdit;

namespace deskpanel {

class NamingInputFilter;
class Operator;

// The layout and behaviour the naming dialogs share: a heading, a one-line name, the
// notes, OK and Cancel, and in the dialogs that walk through items "< Prev" and
// "Next >". Both edits take at most 200 characters. 100 ms after opening, and after
// every step, the caret goes to the start of the name (the dialog's own timer).
//
// Both edits take only what a project file can hold (NamingInputFilter).
//
// A walking dialog stores the texts on screen into the current item on OK, Prev and
// Next; Prev on the first item and Next on the last store, beep and stay. Enter is OK in
// both edits; Ctrl+Enter starts a new line in the notes.
class NameNotesDialog : public GlassDialog {
    Q_OBJECT
public:
    static constexpr int MaxEditChars = 200;
    static constexpr int SetUpDelayMs = 100;

    NameAndNotes texts() const;
    void setTexts(const NameAndNotes& texts);
    QString heading() const;
    int currentIndex() const { return m_index; }

protected:
    // 0..`last` is the range Prev and Next walk (0 for a dialog that does not walk);
    // `focusName` gives the name edit the keyboard focus at the set-up.
    NameNotesDialog(const DialogTemplate& layout, const QString& title, Operator& op, int last, int index,
                    bool focusName, QWidget* parent);

    // Fills the heading and the edits for the item (called by the subclass once built).
    void load(int index);
    virtual QString headingFor(int index) const = 0;
    virtual NameAndNotes textsOf(int index) const = 0;
    // Stores the edits into the item; the scene dialogs store nothing.
    virtual void store(int /*index*/, const NameAndNotes& /*texts*/) {}
    // The current item changed through Prev or Next.
    virtual void indexChanged(int /*index*/) {}
    // OK or Cancel is about to close the dialog.
    virtual void closing() {}

    void onCommand(int id) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void step(int delta);
    void setUp();
    void limitNotes();

    Operator& m_operator;
    QLabel* m_heading = nullptr;
    QLineEdit* m_name = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    NamingInputFilter* m_inputFilter = nullptr;
    QTimer m_setUpTimer;
    int m_last;
    int m_index;
    bool m_focusName;
};

} // namespace deskpanel
