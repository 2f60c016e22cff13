// Where the file dialogs open: the folder asked for, else the last one used, else
// Documents, else home; never the working directory.
#include "ui/dialogs/FileDialogStart.h"
#include "tests/support/TempFolder.h"
#include "ui/dialogs/QtFileDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace deskpanel::test {
namespace {

TEST(FileDialogStart, TheFirstExistingFolderWins)
{
    TempFolder folder;
    const std::string shows = folder.file("shows");
    const std::string documents = folder.file("Documents");
    const std::string home = folder.file("home");
    for (const std::string& f : {shows, documents, home})
        std::filesystem::create_directory(f);
    std::ofstream(shows + "/Gala.vpf") << "x";
    const std::string missing = folder.file("gone");
    const QStringList fallbacks{QString::fromStdString(documents), QString::fromStdString(home)};

    struct Case {
        const char* name;
        std::string startPath;
        std::string lastUsed;
        QStringList fallbacks;
        std::string expected;
    };
    const Case cases[] = {
        {"nothing used yet", "", "", fallbacks, documents},
        {"the unnamed project names no folder", "New Project.vpf", "", fallbacks, documents},
        {"a relative folder is the working directory's", "shows/", "", fallbacks, documents},
        {"the last used folder is gone", missing + "/New Project.vpf", missing + "/", fallbacks, documents},
        {"no Documents folder", "", "", {QString::fromStdString(missing), QString::fromStdString(home)}, home},
        {"the last used folder", "New Project.vpf", shows + "/", fallbacks, shows},
        {"the project's folder", shows + "/Gala.vpf", documents + "/", fallbacks, shows},
        {"a new file in an existing folder", shows + "/Channel Presets.csv", "", fallbacks, shows},
        {"a folder itself", shows + "/", "", fallbacks, shows},
        {"a file where a folder was", shows + "/Gala.vpf/", "", fallbacks, documents},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fileDialogStartFolder(c.startPath, c.lastUsed, c.fallbacks), QString::fromStdString(c.expected));
    }
}

// The real dialog, offscreen, started from a working directory that holds a project:
// it opens in Documents all the same, and in the home folder when there is none.
TEST(FileDialogStart, TheRealDialogOpensInDocumentsNotTheWorkingDirectory)
{
    TempFolder folder;
    const std::string home = folder.file("home");
    const std::string install = folder.file("install");
    std::filesystem::create_directories(home + "/Documents");
    std::filesystem::create_directory(install);
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const QString oldCurrent = QDir::currentPath();
    qputenv("HOME", QByteArray::fromStdString(home));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home + "/.config")); // no user-dirs file
    QDir::setCurrent(QString::fromStdString(install));

    QWidget parent;
    QtFileDialogs dialogs(&parent);
    const auto openedIn = [&dialogs](bool saving) {
        QString directory;
        QTimer::singleShot(0, [&directory] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                directory = dialog->directory().absolutePath();
                dialog->reject();
            }
        });
        FileDialogRequest request;
        request.startPath = "New Project.vpf";
        if (saving)
            dialogs.askSaveAs(request);
        else
            dialogs.askOpen(request);
        return directory.toStdString();
    };
    EXPECT_EQ(openedIn(false), home + "/Documents");
    EXPECT_EQ(openedIn(true), home + "/Documents");
    std::filesystem::remove(home + "/Documents");
    EXPECT_EQ(openedIn(true), home);
    dialogs.setLastUsedFolder([&install] { return install + "/"; });
    EXPECT_EQ(openedIn(false), install);

    QDir::setCurrent(oldCurrent);
    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
}

} // namespace
} // namespace deskpanel::test
