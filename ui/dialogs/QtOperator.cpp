#include "ui/dialogs/QtOperator.h"

#include "ui/controls/ControlErrors.h"
#include "ui/dialogs/DecisionBox.h"
#include "ui/dialogs/InfoBox.h"
#include "ui/dialogs/ThreeWayBox.h"
#include "ui/dialogs/TimedNote.h"

#include <QApplication>

#include <limits>

namespace deskpanel {

QtOperator::QtOperator(QWidget* parentWindow) : m_parent(parentWindow)
{}

QtOperator::~QtOperator()
{
    delete m_note.data();
}

void QtOperator::message(const std::string& text)
{
    m_sharedText = text;
    InfoBox box(QString::fromStdString(text), m_parent);
    box.exec();
}

void QtOperator::platformMessage(const std::string& text)
{
    ControlErrors::showPlatformMessage(QString::fromStdString(text));
}

Decision QtOperator::decide(const std::string& text)
{
    m_sharedText = text;
    DecisionBox box(QString::fromStdString(text), m_parent);
    // Only an explicit Yes is a Yes; No, Escape and closing the box are No.
    return box.exec() == DialogResult::Yes ? Decision::Yes : Decision::No;
}

Decision QtOperator::decideThreeWay(const std::string& text, const std::function<void()>& saveAs)
{
    m_sharedText = text;
    ThreeWayBox box(QString::fromStdString(text), saveAs, m_parent);
    // The box numbers its answers the other way round from the decision box; the port
    // speaks in meanings.
    switch (box.exec()) {
    case ThreeWayBox::resultYes: return Decision::Yes;
    case ThreeWayBox::resultNo: return Decision::No;
    default: return Decision::Cancel;
    }
}

void QtOperator::timedNote(const std::string& caption, const std::string& text, std::uint32_t durationMs)
{
    const int ms = int(std::min<std::uint32_t>(durationMs, std::numeric_limits<int>::max()));
    if (m_note && !m_note->isExpired()) {
        m_note->restart(QString::fromStdString(caption), QString::fromStdString(text), ms);
        return;
    }
    m_note = new TimedNote(QString::fromStdString(caption), QString::fromStdString(text), ms);
    m_note->show();
}

bool QtOperator::isTimedNoteOpen() const
{
    return m_note && !m_note->isExpired();
}

void QtOperator::beep()
{
    QApplication::beep();
}

} // namespace deskpanel
