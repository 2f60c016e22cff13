// Where the file dialogs open: the folder asked for, else the last one used, else
// Documents, else home; never the working directory.
#include "ui/dialogs/FileDialogStart.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

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
    const std::string gone = folder.file("gone");
    const QStringList fallbacks{QString::fromStdString(documents), QString::fromStdString(home)};
    const QStringList noDocuments{QString::fromStdString(gone), QString::fromStdString(home)};

    struct Case {
        const char* name;
        std::string startPath;
        std::string lastUsed;
        QStringList fallbacks;
        std::string expected;
    };
    const Case cases[] = {
        {"nothing used yet", "", "", fallbacks, documents},
        {"the unnamed project: the working directory's", "New Project.vpf", "", fallbacks, documents},
        {"the last used folder is gone", gone + "/New Project.vpf", gone + "/", fallbacks, documents},
        {"no Documents folder", "", "", noDocuments, home},
        {"the last used folder", "New Project.vpf", shows + "/", fallbacks, shows},
        {"a new file in the project's folder", shows + "/Channel Presets.csv", documents + "/", fallbacks, shows},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fileDialogStartFolder(c.startPath, c.lastUsed, c.fallbacks), QString::fromStdString(c.expected));
    }
}

} // namespace
} // namespace deskpanel::test
