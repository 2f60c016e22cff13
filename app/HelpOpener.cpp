#include "app/HelpOpener.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

namespace deskpanel {

HelpOpener::HelpOpener(QString folder)
    : m_folder(folder.isEmpty() ? QCoreApplication::applicationDirPath() : std::move(folder))
{}

bool HelpOpener::openDocument(const QString& document)
{
    return openIfPresent(QDir(m_folder).filePath(document));
}

bool HelpOpener::openTopic(const QString& topic)
{
    // Only a plain file name is a topic: nothing outside the help folder is opened.
    if (topic.isEmpty() || topic.contains(QLatin1Char('/')) || topic.contains(QLatin1Char('\\')))
        return false;
    return openIfPresent(QDir(m_folder).filePath(QString::fromLatin1(QuickReferenceFolder) + QLatin1Char('/') + topic));
}

bool HelpOpener::openIfPresent(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    return openLocalFile(path);
}

bool HelpOpener::openLocalFile(const QString& path)
{
#ifdef _WIN32
    // The shell's "open" with the document's default handler, owned by the program's window.
    const QWidget* window = QApplication::activeWindow();
    HWND owner = window ? reinterpret_cast<HWND>(window->winId()) : nullptr;
    const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
    const auto result = ShellExecuteW(owner, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
#else
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
#endif
}

} // namespace deskpanel
