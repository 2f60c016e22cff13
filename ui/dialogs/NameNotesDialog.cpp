#include "ui/dialogs/NameNotesDialog.h"

#include "core/host/Operator.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/dialogs/AppDialogTemplates.h"
#include "ui/dialogs/NamingInputFilter.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace deskpanel {

NameNotesDialog::NameNotesDialog(const DialogTemplate& layout, const QString& title, Operator& op, int last, int index,
                                 bool focusName, QWidget* parent)
    : GlassDialog(layout, title, parent),
      m_operator(op),
      m_last(last),
      m_index(std::clamp(index, 0, last)),
      m_focusName(focusName)
{
    using namespace DialogControl;
    m_heading = createLabel(Heading, {});
    m_heading->setWordWrap(true);
    m_name = new QLineEdit(this);
    m_heading->setBuddy(m_name);
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setGeometry(controlRect(NameEdit));
    m_name->setMaxLength(MaxEditChars);
    createLabel(NotesLabel, QStringLiteral("Notes:"));
    m_notes = new QPlainTextEdit(this);
    setBuddy(NotesLabel, m_notes);
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->setGeometry(controlRect(NotesEdit));
    m_notes->setTabChangesFocus(true);
    m_inputFilter = new NamingInputFilter(m_name, m_notes, [this] { m_operator.beep(); });
    connect(m_notes, &QPlainTextEdit::textChanged, this, &NameNotesDialog::limitNotes);
    m_notes->installEventFilter(this);
    const QString face = ImageRegistry::key(162);
    if (layout.has(Prev))
        createButton(Prev, QStringLiteral("< Prev"), face);
    createButton(ControlId::Ok, QStringLiteral("OK"), face);
    createButton(ControlId::Cancel, QStringLiteral("Cancel"), face);
    if (layout.has(Next))
        createButton(Next, QStringLiteral("Next >"), face);
    m_setUpTimer.setSingleShot(true);
    connect(&m_setUpTimer, &QTimer::timeout, this, &NameNotesDialog::setUp);
}

NameAndNotes NameNotesDialog::texts() const
{
    return {m_name->text().toStdString(), m_notes->toPlainText().toStdString()};
}

void NameNotesDialog::setTexts(const NameAndNotes& texts)
{
    m_inputFilter->setTexts(QString::fromStdString(texts.name), QString::fromStdString(texts.notes));
}

QString NameNotesDialog::heading() const
{
    return m_heading->text();
}

void NameNotesDialog::load(int index)
{
    m_index = index;
    m_heading->setText(headingFor(index));
    setTexts(textsOf(index));
    m_setUpTimer.start(SetUpDelayMs);
}

void NameNotesDialog::setUp()
{
    m_name->setCursorPosition(0);
    if (m_focusName)
        m_name->setFocus();
}

// A multi-line edit has no length limit of its own: text beyond 200 characters, typed
// or pasted, is taken off again.
void NameNotesDialog::limitNotes()
{
    const QString text = m_notes->toPlainText();
    if (text.size() <= MaxEditChars)
        return;
    QSignalBlocker block(m_notes);
    const int caret = std::min<int>(m_notes->textCursor().position(), MaxEditChars);
    m_notes->setPlainText(text.left(MaxEditChars));
    QTextCursor cursor = m_notes->textCursor();
    cursor.setPosition(caret);
    m_notes->setTextCursor(cursor);
}

bool NameNotesDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_notes && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ControlModifier) {
                m_notes->insertPlainText(QStringLiteral("\n"));
            } else {
                onEnter();
            }
            return true;
        }
    }
    return GlassDialog::eventFilter(watched, event);
}

void NameNotesDialog::step(int delta)
{
    store(m_index, texts());
    const int next = m_index + delta;
    if (next < 0 || next > m_last) {
        m_operator.beep();
        return;
    }
    indexChanged(next);
    load(next);
}

void NameNotesDialog::onCommand(int id)
{
    switch (id) {
    case DialogControl::Prev: step(-1); return;
    case DialogControl::Next: step(+1); return;
    case ControlId::Ok:
        store(m_index, texts());
        closing();
        done(DialogResult::Ok);
        return;
    case ControlId::Cancel:
        closing();
        done(DialogResult::Cancel);
        return;
    default: GlassDialog::onCommand(id);
    }
}

} // namespace deskpanel
