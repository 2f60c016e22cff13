#include "ui/dialogs/TimedNote.h"

#include "ui/controls/DialogUnits.h"
#include "ui/controls/FontMapper.h"
#include "ui/dialogs/DialogTemplates.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>

namespace deskpanel {

TimedNote::TimedNote(const QString& caption, const QString& text, int durationMs)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
{
    const DialogTemplate& layout = DialogTemplates::timedNote();
    const DialogUnits units;
    setAttribute(Qt::WA_DeleteOnClose);
    // A note left open must not keep the program alive after its main window closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(FontMapper::font(layout.fontFace, layout.fontTenths, 400, units.dpi()));
    setGeometry(QRect(QPoint(units.x(174), units.y(43)), units.toPixels(layout.size)));
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("text1012"));
    m_text->setGeometry(units.toPixels(layout.control(ControlId::Text)));
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer); // a coarse timer may end the note up to 5 % early
    connect(&m_timer, &QTimer::timeout, this, &TimedNote::expire);
    restart(caption, text, durationMs);
}

QString TimedNote::text() const
{
    return m_text->text();
}

void TimedNote::restart(const QString& caption, const QString& text, int durationMs)
{
    setWindowTitle(caption);
    m_text->setText(text);
    m_timer.start(std::max(0, durationMs));
}

void TimedNote::expire()
{
    m_timer.stop();
    m_expired = true;
    close();
}

void TimedNote::beep()
{
    emit beeped();
    QApplication::beep();
}

void TimedNote::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        beep();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TimedNote::closeEvent(QCloseEvent* event)
{
    if (!m_expired) {
        beep();
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace deskpanel
