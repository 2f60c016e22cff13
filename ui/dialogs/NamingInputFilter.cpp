#include "ui/dialogs/NamingInputFilter.h"

#include "core/persistence/Windows1252.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace deskpanel {

namespace {

bool isLineBreak(char32_t c)
{
    return c == U'\n' || c == U'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

} // namespace

NamingInputFilter::Filtered NamingInputFilter::filter(const QString& input, bool multiLine)
{
    Filtered out;
    const std::u32string characters = input.toStdU32String();
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const char32_t c = characters[i];
        if (isLineBreak(c)) {
            if (multiLine) {
                out.text += QString::fromStdU32String(std::u32string(1, c));
            } else {
                // A Windows line end is one break: one blank.
                if (c == U'\r' && i + 1 < characters.size() && characters[i + 1] == U'\n')
                    ++i;
                out.text += QLatin1Char(' ');
            }
        } else if (isPrintableWindows1252(c) || (multiLine && c == U'\t')) {
            out.text += QString::fromStdU32String(std::u32string(1, c));
        } else {
            out.refused = true;
        }
    }
    return out;
}

NamingInputFilter::NamingInputFilter(QLineEdit* name, QPlainTextEdit* notes, std::function<void()> beep)
    : QObject(name), m_name(name), m_notes(notes), m_beep(std::move(beep))
{
    connect(m_name, &QLineEdit::textEdited, this, &NamingInputFilter::nameEdited);
    connect(m_notes->document(), &QTextDocument::contentsChange, this, &NamingInputFilter::notesChanged);
    // The document is changed again only once it has finished the operator's change.
    connect(m_notes, &QPlainTextEdit::textChanged, this, &NamingInputFilter::filterNotesInput);
}

void NamingInputFilter::setTexts(const QString& name, const QString& notes)
{
    m_name->setText(name);
    m_nameBefore = name;
    m_settingNotes = true;
    m_notes->setPlainText(notes);
    m_settingNotes = false;
    m_notesFrom = m_notesTo = -1;
}

void NamingInputFilter::nameEdited(const QString& text)
{
    // Only what the edit put in is looked at: the part between what stayed at the start
    // and what stayed at the end.
    const QString& before = m_nameBefore;
    qsizetype head = 0;
    while (head < text.size() && head < before.size() && text[head] == before[head])
        ++head;
    qsizetype tail = 0;
    while (tail < text.size() - head && tail < before.size() - head &&
           text[text.size() - 1 - tail] == before[before.size() - 1 - tail])
        ++tail;
    // A surrogate pair is never cut in two.
    if (head > 0 && text[head - 1].isHighSurrogate())
        --head;
    if (tail > 0 && text[text.size() - tail].isLowSurrogate())
        --tail;
    const QString put = text.mid(head, text.size() - head - tail);
    const Filtered kept = filter(put, false);
    if (kept.text != put) {
        const QString result = text.left(head) + kept.text + text.right(tail);
        m_name->setText(result);
        m_name->setCursorPosition(static_cast<int>(head + kept.text.size()));
    }
    m_nameBefore = m_name->text();
    if (kept.refused && m_beep)
        m_beep();
}

void NamingInputFilter::notesChanged(int position, int /*removed*/, int added)
{
    // A change made with the edit's signals blocked is the program's own (the length limit).
    if (m_settingNotes || m_notes->signalsBlocked() || added <= 0)
        return;
    m_notesFrom = m_notesFrom < 0 ? position : std::min(m_notesFrom, position);
    m_notesTo = std::max(m_notesTo, position + added);
}

void NamingInputFilter::filterNotesInput()
{
    if (m_notesFrom < 0)
        return;
    QTextDocument* document = m_notes->document();
    // The document's last position is its closing paragraph mark, never part of a text.
    const int end = std::min(m_notesTo, document->characterCount() - 1);
    const int from = std::min(m_notesFrom, end);
    m_notesFrom = m_notesTo = -1;
    QTextCursor cursor(document);
    cursor.setPosition(from);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    const QString put = cursor.selectedText();
    const Filtered kept = filter(put, true);
    if (kept.text != put) {
        const QSignalBlocker quiet(m_notes);
        cursor.insertText(kept.text);
        m_notes->setTextCursor(cursor);
    }
    if (kept.refused && m_beep)
        m_beep();
}

} // namespace deskpanel
