#include "core/records/BackupKeeper.h"
#include "tests/support/FakeWallClock.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

using namespace deskpanel;
using namespace deskpanel::test;

// The newest 20 stay, and the newest of each of the last 14 days.
TEST(BackupKeeperTest, PruningKeepsTheNewestTwentyAndOnePerDay)
{
    std::vector<std::string> stamps;
    for (int i = 0; i < 25; ++i) // 25 saves on the 7th, newest first
        stamps.push_back("2026-12-07 " + std::to_string(235900 - i * 100));
    for (const char* older : {"2026-12-06 180000", "2026-12-06 170000", "2026-11-24 090000", "2026-11-23 090000"})
        stamps.push_back(older);
    const auto kept = BackupKeeper::keptStamps(stamps, "2026-11-24");
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(kept[std::size_t(i)]) << i;
    for (int i = 20; i < 25; ++i)
        EXPECT_FALSE(kept[std::size_t(i)]) << i; // same day as newer ones, beyond 20
    EXPECT_TRUE(kept[25]); // the newest of the 6th
    EXPECT_FALSE(kept[26]);
    EXPECT_TRUE(kept[27]); // the 24th is the 14th day
    EXPECT_FALSE(kept[28]); // the 23rd is older
}

// A save keeps the file it replaces, with its sidecar, named by that file's own time;
// a copy the save did not replace (it failed) is never kept; an unchanged file is kept
// once; a backup that cannot be written comes back as a message.
TEST(BackupKeeperTest, KeepsTheReplacedFileOnlyAfterASuccessfulWrite)
{
    TempFolder folder;
    FakeWallClock wall;
    BackupKeeper keeper(folder.file("state/backups"), wall);
    const std::string project = folder.file("shows/Gala.vpf");
    std::filesystem::create_directories(folder.file("shows"));

    keeper.stage(project); // the first save replaces nothing
    writeText(project, "version 1");
    EXPECT_EQ(keeper.commit(project), "");
    EXPECT_TRUE(keeper.list(project).empty());

    writeText(project + ".safes", "sidecar 1");
    const auto fileTime = std::chrono::file_clock::now() - std::chrono::hours(30);
    std::filesystem::last_write_time(project, fileTime);
    keeper.stage(project);
    writeText(project, "version 2");
    EXPECT_EQ(keeper.commit(project), "");
    auto backups = keeper.list(project);
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(readText(backups[0].path), "version 1");
    EXPECT_EQ(readText(backups[0].path + ".safes"), "sidecar 1");
    EXPECT_EQ(backups[0].size, 9u);
    const std::string folderName = std::filesystem::path(backups[0].path).parent_path().filename().string();
    EXPECT_EQ(folderName.substr(0, 5), "Gala-");
    EXPECT_EQ(folderName.size(), 5u + 8u);
    // Named by the replaced file's time (30 hours ago), not the save's.
    EXPECT_NE(backups[0].stamp.substr(0, 10), wallTimeStamp(wall.now()).substr(0, 10));

    keeper.stage(project); // a save that then fails: no commit
    keeper.stage(folder.file("shows/Other.vpf"));
    EXPECT_EQ(keeper.commit(project), ""); // the staged copy is not this project's
    EXPECT_EQ(keeper.list(project).size(), 1u);

    std::filesystem::remove(project + ".safes");
    for (int i = 0; i < 2; ++i) { // an autosave of an unchanged project: kept once
        std::filesystem::last_write_time(project, fileTime + std::chrono::minutes(i + 1));
        keeper.stage(project);
        EXPECT_EQ(keeper.commit(project), "");
    }
    backups = keeper.list(project);
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_EQ(readText(backups[0].path), "version 2");
    EXPECT_FALSE(std::filesystem::exists(backups[0].path + ".safes"));

    writeText(folder.file("blocked"), "a file where the folder should be");
    BackupKeeper blocked(folder.file("blocked/backups"), wall);
    blocked.stage(project);
    const std::string failure = blocked.commit(project);
    EXPECT_NE(failure.find("could not be written"), std::string::npos) << failure;
    EXPECT_EQ(readText(project), "version 2"); // the project itself is untouched
}
