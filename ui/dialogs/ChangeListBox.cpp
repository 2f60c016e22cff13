#include "ui/dialogs/ChangeListBox.h"

#include "ui/controls/GlassButton.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/dialogs/SafetyDialogTemplates.h"

#include <QKeyEvent>
#include <QListWidget>

namespace deskpanel {

ChangeListBox::ChangeListBox(const ChangeList& changes, QWidget* parent)
    : GlassDialog(SafetyTemplates::changeList(), QString::fromStdString(changes.caption), parent)
{
    createLabel(SafetyControl::Heading, QString::fromStdString(changes.heading));
    m_lines = new QListWidget(this);
    m_lines->setGeometry(controlRect(SafetyControl::ChangeLines));
    // The keys are the dialog's: the list must not take letters for its own search.
    m_lines->setFocusPolicy(Qt::NoFocus);
    m_lines->setSelectionMode(QAbstractItemView::NoSelection);
    for (const ChangeLine& line : changes.lines) {
        auto* item = new QListWidgetItem(QString::fromStdString(line.text), m_lines);
        if (line.kind == ChangeLine::Kind::Warning)
            item->setForeground(WarningRed);
        else if (line.kind == ChangeLine::Kind::Kept)
            item->setForeground(KeptGrey);
    }
    const QString accept = QString::fromStdString(changes.acceptText);
    const int amp = accept.indexOf(QLatin1Char('&'));
    if (amp >= 0 && amp + 1 < accept.size())
        m_acceptLetter = accept.at(amp + 1).toLower();
    createButton(ControlId::Ok, accept, ImageRegistry::key(162));
    GlassButton* cancel = createButton(ControlId::Cancel, QStringLiteral("&Cancel"), ImageRegistry::key(162));
    setAccessibleDescription(QString::fromStdString(changes.heading));
    // The preview names no default button: the focus starts on the answer that recalls nothing.
    if (cancel)
        cancel->setFocus(Qt::OtherFocusReason);
}

void ChangeListBox::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text().toLower();
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        GlassDialog::keyPressEvent(event);
        return;
    }
    if (typed == QLatin1String("y") || (!m_acceptLetter.isNull() && typed == QString(m_acceptLetter))) {
        done(DialogResult::Ok);
        return;
    }
    if (typed == QLatin1String("n") || typed == QLatin1String("c")) {
        done(DialogResult::Cancel);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return; // nothing
    GlassDialog::keyPressEvent(event);
}

bool QtChangeListDialog::confirm(const ChangeList& changes)
{
    ChangeListBox box(changes, m_parent);
    return box.exec() == DialogResult::Ok;
}

} // namespace deskpanel
