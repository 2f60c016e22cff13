#include "core/persistence/NativePath.h"
#include "core/records/BackupKeeper.h"
#include "tests/support/FakeWallClock.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

// Show folders are named by people ("D:\Shows\Zürich"); every file the core opens by a
// UTF-8 path must find the file the wide API wrote under that name.

using namespace deskpanel;
using namespace deskpanel::test;

TEST(NonAsciiPaths, ANativePathGivesBackTheSameUtf8AndNeverThrows)
{
    for (const std::string& path :
         {std::string("Z\xC3\xBCrich/Gala.vpf"), std::string("J\xC3\xB8rgen \xE2\x82\xAC.vpf"),
          std::string("Jos\xE9.vpf"), std::string()}) {
        std::filesystem::path native;
        ASSERT_NO_THROW(native = nativePath(path));
        if (path != "Jos\xE9.vpf") { // not UTF-8: Windows cannot name it either
            EXPECT_EQ(utf8FromPath(native), path);
        }
    }
}

TEST(NonAsciiPaths, BackupsOfAProjectInAFolderNamedOutsideAsciiAreKeptAndListed)
{
    TempFolder folder;
    FakeWallClock wall;
    BackupKeeper keeper(folder.file("S\xC3\xB8ren/backups"), wall);
    const std::string project = folder.file("Z\xC3\xBCrich/Gala \xC3\xA9t\xC3\xA9.vpf");
    std::filesystem::create_directories(nativePath(folder.file("Z\xC3\xBCrich")));
    writeText(project, "first");
    writeText(project + BackupKeeper::SidecarSuffix, "safes");

    const auto token = keeper.stage(project);
    ASSERT_NE(token, 0u);
    writeText(project, "second");
    EXPECT_EQ(keeper.commit(token, project), "");

    const auto backups = keeper.list(project);
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(backups[0].path.rfind(keeper.folderFor(project), 0), 0u) << backups[0].path;
    EXPECT_EQ(readText(backups[0].path), "first");
    EXPECT_EQ(readText(backups[0].path + BackupKeeper::SidecarSuffix), "safes");
}
