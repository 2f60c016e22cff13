#include "ui/dialogs/FileDialogStart.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace deskpanel {

namespace {

// `path` itself when it is a folder, else the folder holding it; empty when neither exists.
QString existingFolderOf(const QString& path)
{
    if (path.isEmpty() || QDir::isRelativePath(path))
        return {};
    const QFileInfo info(path);
    if (info.isDir())
        return QDir::cleanPath(info.absoluteFilePath());
    const QFileInfo folder(info.absolutePath());
    return folder.isDir() ? QDir::cleanPath(folder.absoluteFilePath()) : QString();
}

} // namespace

QString fileDialogStartFolder(const std::string& startPath, const std::string& lastUsedFolder,
                              const QStringList& fallbacks)
{
    for (const QString& candidate :
         QStringList{QString::fromStdString(startPath), QString::fromStdString(lastUsedFolder)}) {
        const QString folder = existingFolderOf(candidate);
        if (!folder.isEmpty())
            return folder;
    }
    for (const QString& fallback : fallbacks) {
        // A fallback is a folder or nothing: a file's folder would be a guess.
        if (!fallback.isEmpty() && !QDir::isRelativePath(fallback) && QFileInfo(fallback).isDir())
            return QDir::cleanPath(QFileInfo(fallback).absoluteFilePath());
    }
    return QDir::homePath();
}

QString fileDialogStartFolder(const std::string& startPath, const std::string& lastUsedFolder)
{
    return fileDialogStartFolder(
        startPath, lastUsedFolder,
        {QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDir::homePath()});
}

} // namespace deskpanel
