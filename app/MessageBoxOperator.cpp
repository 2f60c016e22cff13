#include "app/MessageBoxOperator.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace deskpanel {

void MessageBoxOperator::message(const std::string& text)
{
    QMessageBox::information(m_parent, QStringLiteral(" Veltara RP-8"), QString::fromStdString(text));
}

void MessageBoxOperator::platformMessage(const std::string& text)
{
    QMessageBox::warning(m_parent, QString(), QString::fromStdString(text));
}

Decision MessageBoxOperator::decide(const std::string& text)
{
    const auto answer = QMessageBox::question(m_parent, QString(), QString::fromStdString(text),
                                              QMessageBox::Yes | QMessageBox::No);
    return answer == QMessageBox::Yes ? Decision::Yes : Decision::No;
}

Decision MessageBoxOperator::decideThreeWay(const std::string& text, const std::function<void()>&)
{
    const auto answer = QMessageBox::question(m_parent, QString(), QString::fromStdString(text),
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes)
        return Decision::Yes;
    return answer == QMessageBox::No ? Decision::No : Decision::Cancel;
}

void MessageBoxOperator::timedNote(const std::string& caption, const std::string& text, std::uint32_t durationMs)
{
    if (m_note)
        return;
    auto* box = new QMessageBox(QMessageBox::Information, QString::fromStdString(caption),
                                QString::fromStdString(text), QMessageBox::NoButton, m_parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
    m_note = box;
    QTimer::singleShot(static_cast<int>(durationMs), box, &QWidget::close);
}

void MessageBoxOperator::beep()
{
    QApplication::beep();
}

} // namespace deskpanel
