#include "core/records/BackupKeeper.h"
#include "core/model/Text.h"
#include "tests/support/FakeWallClock.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace deskpanel;
using namespace deskpanel::test;

namespace {

constexpr std::int64_t HourMs = 3600000;

// A project "Gala.vpf" with its keeper; the wall clock starts at 2026-12-07 22:00:00 +01:00.
struct GalaRig {
    TempFolder folder;
    FakeWallClock wall;
    BackupKeeper keeper{folder.file("state/backups"), wall};
    std::string project = folder.file("shows/Gala.vpf");

    GalaRig() { std::filesystem::create_directories(folder.file("shows")); }
    // A save of `text`: the old file staged, the new one written, the copy committed.
    std::string save(const std::string& text)
    {
        const auto token = keeper.stage(project);
        writeText(project, text);
        return keeper.commit(token, project);
    }
    // A backup as a run (this one or an earlier version) left it.
    void place(const std::string& stamp, const std::string& text)
    {
        std::filesystem::create_directories(keeper.folderFor(project));
        writeText(keeper.folderFor(project) + "/Gala " + stamp + ".vpf", text);
    }
    std::vector<std::string> stamps() const
    {
        std::vector<std::string> out;
        for (const auto& b : keeper.list(project))
            out.push_back(b.stamp);
        return out;
    }
};

} // namespace

// The newest 20 stay, and the newest of each of the last 14 days.
TEST(BackupKeeperTest, PruningKeepsTheNewestTwentyAndOnePerDay)
{
    std::vector<std::string> stamps;
    for (int i = 0; i < 25; ++i) // 25 saves on the 7th, newest first
        stamps.push_back("2026-12-07");
    for (const char* older : {"2026-12-06", "2026-12-06", "2026-11-24", "2026-11-23"})
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

// A save keeps the file it replaces, with its sidecar, named by the moment it was taken
// with its offset and a number; two saves in one second never share a name; a failed
// save's copy is never kept; an unchanged file is kept once; a backup that cannot be
// written comes back as a message.
TEST(BackupKeeperTest, KeepsTheReplacedFileOnlyAfterASuccessfulWrite)
{
    GalaRig rig;
    EXPECT_EQ(rig.save("version 1"), ""); // the first save replaces nothing
    EXPECT_TRUE(rig.keeper.list(rig.project).empty());

    writeText(rig.project + ".safes", "sidecar 1");
    EXPECT_EQ(rig.save("version 2"), "");
    EXPECT_EQ(rig.save("version 3"), ""); // within the same second
    auto backups = rig.keeper.list(rig.project);
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_EQ(std::filesystem::path(backups[0].path).filename(), "Gala 2026-12-07 220000+0100 #002.vpf");
    EXPECT_EQ(readText(backups[0].path), "version 2");
    EXPECT_EQ(readText(backups[1].path), "version 1");
    EXPECT_EQ(readText(backups[1].path + ".safes"), "sidecar 1");
    EXPECT_EQ(backups[1].size, 9u);
    const std::string folderName = std::filesystem::path(backups[0].path).parent_path().filename().string();
    EXPECT_EQ(folderName.substr(0, 5), "Gala-");
    EXPECT_EQ(folderName.size(), 5u + 8u);

    rig.wall.advance(60000);
    const auto failed = rig.keeper.stage(rig.project); // a save whose write then fails
    rig.keeper.discard(failed);
    const auto other = rig.keeper.stage(rig.project);
    EXPECT_EQ(rig.keeper.commit(other, rig.folder.file("shows/Other.vpf")), ""); // not this project's copy
    EXPECT_EQ(rig.keeper.list(rig.project).size(), 2u);
    for (const auto& entry : std::filesystem::directory_iterator(rig.keeper.folderFor(rig.project)))
        EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path(); // no copy left behind

    std::filesystem::remove(rig.project + ".safes");
    for (int i = 0; i < 2; ++i) { // an autosave of an unchanged project: kept once
        rig.wall.advance(60000);
        const auto token = rig.keeper.stage(rig.project);
        EXPECT_EQ(rig.keeper.commit(token, rig.project), "");
    }
    backups = rig.keeper.list(rig.project);
    ASSERT_EQ(backups.size(), 3u);
    EXPECT_EQ(backups[0].stamp, "2026-12-07 220200+0100 #001");
    EXPECT_EQ(readText(backups[0].path), "version 3");
    EXPECT_FALSE(std::filesystem::exists(backups[0].path + ".safes"));

    writeText(rig.folder.file("blocked"), "a file where the folder should be");
    BackupKeeper blocked(rig.folder.file("blocked/backups"), rig.wall);
    const std::string failure = blocked.commit(blocked.stage(rig.project), rig.project);
    EXPECT_NE(failure.find("could not be written"), std::string::npos) << failure;
    EXPECT_EQ(readText(rig.project), "version 3"); // the project itself is untouched
}

// Saves that overlap (the second stages before the first commits) each keep their own
// copy: the file as it was before the first save survives.
TEST(BackupKeeperTest, AStagedCopyBelongsToTheSaveThatMadeIt)
{
    GalaRig rig;
    writeText(rig.project, "before both");
    const auto first = rig.keeper.stage(rig.project);
    writeText(rig.project, "first");
    const auto second = rig.keeper.stage(rig.project);
    writeText(rig.project, "second");
    EXPECT_EQ(rig.keeper.commit(second, rig.project), "");
    EXPECT_EQ(rig.keeper.commit(first, rig.project), "");
    std::vector<std::string> texts;
    for (const auto& b : rig.keeper.list(rig.project))
        texts.push_back(readText(b.path));
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{"before both", "first"}));
}

// Order is the moment taken, whatever the local clock read: across the autumn change,
// 02:15 +01:00 comes after 02:30 +02:00. An earlier version's names stay listed (read
// in the offset of now); other files are passed over.
TEST(BackupKeeperTest, ListsByTheMomentTakenAndReadsEarlierNames)
{
    GalaRig rig;
    rig.place("2026-10-25 023000+0200 #001", "summer time");
    rig.place("2026-10-25 021500+0100 #001", "winter time");
    rig.place("2026-10-25 021500+0100 #002", "same second");
    rig.place("2026-10-24 120000", "an earlier version's");
    for (const char* junk : {"2026-10-25 0215", "2026-10-25 021500+0100", "2026-13-25 021500+0100 #001",
                             "2026-10-25 021500+0100 #000", "notes"})
        rig.place(junk, "not a backup");
    EXPECT_EQ(rig.stamps(), (std::vector<std::string>{"2026-10-25 021500+0100 #002", "2026-10-25 021500+0100 #001",
                                                      "2026-10-25 023000+0200 #001", "2026-10-24 120000"}));
    EXPECT_EQ(readText(rig.keeper.list(rig.project).back().path), "an earlier version's");
}

// Pruning never takes the backup just made, even when a clock that ran ahead put 25
// backups later on the same day, nor one being opened.
TEST(BackupKeeperTest, PruningSparesTheNewBackupAndTheOneBeingOpened)
{
    GalaRig rig;
    for (int i = 0; i < 25; ++i)
        rig.place(format("2026-12-07 2330%02d+0100 #001", i), "from a clock ahead");
    rig.place("2026-11-01 120000+0100 #001", "opened");
    const std::string opened = rig.keeper.folderFor(rig.project) + "/Gala 2026-11-01 120000+0100 #001.vpf";
    writeText(rig.project, "today's");
    rig.wall.advance(HourMs);
    {
        BackupKeeper::Held held(rig.keeper, opened);
        EXPECT_EQ(rig.save("tonight's"), "");
    }
    auto stamps = rig.stamps();
    ASSERT_EQ(stamps.size(), 22u); // the 20 newest, the one just made, the one held
    EXPECT_EQ(stamps[20], "2026-12-07 230000+0100 #001");
    EXPECT_EQ(stamps[21], "2026-11-01 120000+0100 #001");
    EXPECT_EQ(rig.save("later"), ""); // neither held nor new any more: both go
    stamps = rig.stamps();
    ASSERT_EQ(stamps.size(), 21u);
    EXPECT_EQ(stamps[20], "2026-12-07 230000+0100 #002");
    EXPECT_FALSE(std::filesystem::exists(opened));
}
