#include "app/HelpOpener.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

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
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace deskpanel
