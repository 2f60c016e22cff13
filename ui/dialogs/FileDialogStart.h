#pragma once
#include <QString>
#include <QStringList>

#include <string>

namespace deskpanel {

// The folder a file dialog opens in. The first that is an existing folder wins: the
// folder of the path the dialog was asked to start at (itself when it is a folder), the
// last folder used, then each of `fallbacks` in turn. Relative paths never count: they
// would name the working directory, which is wherever the program was started from (its
// installation folder, from the desktop's menu) and no place for show files.
QString fileDialogStartFolder(const std::string& startPath, const std::string& lastUsedFolder,
                              const QStringList& fallbacks);
// The same with the user's Documents folder, then the home folder, as the fallbacks.
QString fileDialogStartFolder(const std::string& startPath, const std::string& lastUsedFolder);

} // namespace deskpanel
