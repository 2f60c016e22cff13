#pragma once
#include <QObject>
#include <QString>

#include <functional>

class QLineEdit;
class QPlainTextEdit;

namespace deskpanel {

// Keeps what the operator types or pastes into a naming dialog's edits to what a project
// file can hold: the printable characters of Windows-1252, and in the notes also line
// breaks and tabs. Any other character beeps and is dropped, the rest of the input is
// kept; a line break pasted into the one-line name becomes a blank. Texts the program
// puts into the edits (a name read from a file) are shown as they are.
class NamingInputFilter : public QObject {
public:
    struct Filtered {
        QString text;
        bool refused = false; // something was dropped
    };
    // What of `input` an edit takes; `multiLine` for the notes.
    static Filtered filter(const QString& input, bool multiLine);

    NamingInputFilter(QLineEdit* name, QPlainTextEdit* notes, std::function<void()> beep);

    // Puts texts into the edits without filtering them.
    void setTexts(const QString& name, const QString& notes);

private:
    void nameEdited(const QString& text);
    void notesChanged(int position, int removed, int added);
    void filterNotesInput();

    QLineEdit* m_name;
    QPlainTextEdit* m_notes;
    std::function<void()> m_beep;
    QString m_nameBefore; // the name as it was before the operator's last edit
    bool m_settingNotes = false;
    // The stretch of the notes the operator's last edit put in, waiting to be filtered.
    int m_notesFrom = -1;
    int m_notesTo = -1;
};

} // namespace deskpanel
