#include "PosixMessageBox.h"

#include <QMessageBox>
#include <QString>

#include <cstdlib>
#include <istream>
#include <ostream>

bool PosixMessageBox::canShowWindows(bool x11DisplayAnswers)
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr && platform[0] != '\0') {
        std::string name = platform;
        return name.rfind("offscreen", 0) != 0 && name.rfind("minimal", 0) != 0;
    }
    return x11DisplayAnswers;
}

PosixMessageBox::PosixMessageBox() = default;

PosixMessageBox::PosixMessageBox(std::istream& in, std::ostream& out) : m_in(&in), m_out(&out)
{}

void PosixMessageBox::show(const std::string& caption, const std::string& text)
{
    if (m_out == nullptr) {
        QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption), QString::fromStdString(text),
                        QMessageBox::Ok);
        box.exec();
        return;
    }
    *m_out << caption << ": " << text << "\nPress Enter to continue." << std::endl;
    std::string ignored;
    std::getline(*m_in, ignored);
}
