#include "core/persistence/RecallSafesFile.h"
#include "core/persistence/ProjectFiles.h"
#include "core/persistence/RecallSafesSidecar.h"
#include "core/persistence/RecentFileList.h"
#include "tests/support/FakeTimers.h"
#ifndef _WIN32
#include "tests/support/ForkedChild.h"
#endif
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace deskpanel;
using namespace deskpanel::test;
using Kind = ScriptedOperator::Kind;

namespace {

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void put(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

SafeFlags flags(std::initializer_list<SafeFlag> list)
{
    SafeFlags f = 0;
    for (SafeFlag flag : list)
        f |= static_cast<SafeFlags>(flag);
    return f;
}

} // namespace

TEST(RecallSafesCodec, WritesOneKeyPerSafeChannelWithItsFlagsInOrderAndReadsThemBack)
{
    RecallSafes safes;
    safes.set(0, flags({SafeFlag::Mute, SafeFlag::Gain}));
    safes.set(2, AllSafeFlags);
    safes.set(383, flags({SafeFlag::Phantom48V}));
    const std::string text = RecallSafesFile::encode(safes);
    EXPECT_EQ(text, "[Recall Safes]\nChannel1=gain,mute\nChannel3=gain,48v,pad,polarity,mute\nChannel384=48v\n");
    const RecallSafesFile::Decoded decoded = RecallSafesFile::decode(text);
    EXPECT_EQ(decoded.safes, safes);
    EXPECT_TRUE(decoded.damagedLines.empty());
}

TEST(RecallSafesCodec, DamagedLinesAreIgnoredAndNamedTheRestIsRead)
{
    const std::string text = "; kept by hand\r\n"
                             "Channel9=gain\n" // 2: before the section
                             "[recall safes]\n"
                             "channel4 = Pad , MUTE\r\n"
                             "Channel0=gain\n" // 5: no channel 0
                             "Channel385=gain\n" // 6
                             "Channel07=gain\n" // 7: not written plainly
                             "Channel5=gain,,pad\n" // 8: an empty flag
                             "Channel6=phantom\n" // 9: unknown flag
                             "Channel4=gain\n" // 10: given twice
                             "Channel8\n" // 11: no value
                             "Channel10=\n"
                             "[Other]\n"
                             "Anything=at all\n"
                             "[Recall Safes\n" // 15: broken header
                             "Channel11=gain\n"
                             "[Recall Safes]\n"
                             "Channel12=48v";
    const RecallSafesFile::Decoded decoded = RecallSafesFile::decode(text);
    EXPECT_EQ(decoded.damagedLines, (std::vector<int>{2, 5, 6, 7, 8, 9, 10, 11, 15}));
    RecallSafes expected;
    expected.set(3, flags({SafeFlag::Pad, SafeFlag::Mute}));
    expected.set(11, flags({SafeFlag::Phantom48V}));
    EXPECT_EQ(decoded.safes, expected);
}

class SidecarTest : public ::testing::Test {
protected:
    SidecarTest()
    {
        project.resetToNewProject(folder.path() + "/");
        sidecar.attachTo(files);
    }

    TempFolder folder;
    std::string settings = folder.file("Veltara-RP8.ini");
    Project project;
    FakeClock clock;
    FakeTimers timers{clock};
    ScriptedOperator op;
    ScriptedFileDialogs dialogs;
    RecentFileList recent{settings, op};
    ProjectFiles files{project, op, timers, dialogs, recent, settings, [this] { project.resetAllChannelSettings(); }};
    RecallSafesSidecar sidecar{project, op};
};

TEST_F(SidecarTest, SavingWritesTheSafesBesideTheProjectWhichStaysByteForByteTheSame)
{
    const std::string show = folder.file("show.vpf");
    ASSERT_EQ(files.writeFile(show), ProjectFiles::SaveOutcome::Saved);
    const std::string withoutSafes = contents(show);
    EXPECT_FALSE(std::filesystem::exists(show + ".safes"));

    project.recallSafes.set(4, SafeFlag::Phantom48V, true);
    ASSERT_EQ(files.writeFile(show), ProjectFiles::SaveOutcome::Saved);
    EXPECT_EQ(contents(show), withoutSafes);
    EXPECT_EQ(contents(show + ".safes"), "[Recall Safes]\nChannel5=48v\n");

    // Save As writes them next to the new name; the old project keeps its own.
    dialogs.answers = {folder.file("moved.vpf")};
    ASSERT_EQ(files.saveAs(), ProjectFiles::SaveOutcome::Saved);
    EXPECT_EQ(contents(folder.file("moved.vpf.safes")), "[Recall Safes]\nChannel5=48v\n");

    // Open reads them; New Project clears them; a save without safes removes the file.
    project.recallSafes.clear();
    ASSERT_TRUE(files.open(show));
    EXPECT_TRUE(project.recallSafes.has(4, SafeFlag::Phantom48V));
    project.resetToNewProject(folder.path() + "/");
    EXPECT_TRUE(project.recallSafes.empty());
    ASSERT_EQ(files.writeFile(show), ProjectFiles::SaveOutcome::Saved);
    EXPECT_FALSE(std::filesystem::exists(show + ".safes"));
    EXPECT_TRUE(op.shown.empty());
}

TEST_F(SidecarTest, OpenReportsADamagedFileOnceAndAMissingOneMeansNoSafes)
{
    const std::string show = folder.file("show.vpf");
    ASSERT_EQ(files.writeFile(show), ProjectFiles::SaveOutcome::Saved);
    put(show + ".safes", "[Recall Safes]\nChannel2=gain\nChannel3=sideways\n");
    project.recallSafes.set(100, AllSafeFlags); // the previous project's
    ASSERT_TRUE(files.open(show));
    EXPECT_EQ(op.textsOf(Kind::PlatformMessage),
              (std::vector<std::string>{"The recall safes file " + show + ".safes is damaged: line 3 was ignored."}));
    RecallSafes expected;
    expected.set(1, SafeFlag::Gain, true);
    EXPECT_EQ(project.recallSafes, expected);

    std::filesystem::remove(show + ".safes");
    op.clear();
    ASSERT_TRUE(files.open(show));
    EXPECT_TRUE(project.recallSafes.empty());
    EXPECT_TRUE(op.shown.empty());
}

TEST_F(SidecarTest, AFailedWriteOfTheSafesIsReportedWithoutUndoingTheSave)
{
    const std::string show = folder.file("show.vpf");
    // Something that is not a file stands where the safes go.
    std::filesystem::create_directory(show + ".safes");
    project.recallSafes.set(0, AllSafeFlags);
    EXPECT_EQ(files.writeFile(show), ProjectFiles::SaveOutcome::Saved);
    EXPECT_TRUE(std::filesystem::exists(show));
    EXPECT_EQ(op.textsOf(Kind::PlatformMessage), (std::vector<std::string>{"Failed to write file " + show + ".safes"}));
    EXPECT_TRUE(std::filesystem::is_directory(show + ".safes"));
}

// Only a missing file means no safes. One that is there but cannot be read is reported
// once, naming it and why, and is left as it is by every save until the safes are set.
TEST_F(SidecarTest, AnUnreadableFileIsReportedOnceAndLeftAsItIs)
{
    const std::string show = folder.file("show.vpf");
    const std::string safes = show + ".safes";
    struct Case {
        const char* what;
        std::function<bool()> make; // false: the case cannot be made here
        const char* reason;
    };
    const std::vector<Case> cases{
#ifdef _WIN32
        // Windows refuses to open a folder as a file as it refuses an unreadable one.
        {"a folder", [&] { return std::filesystem::create_directory(safes); }, "Permission denied"}};
#else
        {"a folder", [&] { return std::filesystem::create_directory(safes); }, "Is a directory"}};
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(safes);
        ASSERT_EQ(files.writeFile(show), ProjectFiles::SaveOutcome::Saved);
        if (!c.make())
            continue;
        project.recallSafes.set(100, AllSafeFlags); // the previous project's
        op.clear();
        ASSERT_TRUE(files.open(show));
        EXPECT_TRUE(project.recallSafes.empty());
        EXPECT_TRUE(project.recallSafesUnreadable);
        const auto told = op.textsOf(Kind::PlatformMessage);
        ASSERT_EQ(told.size(), 1u);
        EXPECT_EQ(told[0].rfind("The recall safes file " + safes + " could not be read (" + c.reason + ").", 0), 0u)
            << told[0];
        const auto before = std::filesystem::status(safes).type();
        ASSERT_EQ(files.writeFile(show), ProjectFiles::SaveOutcome::Saved);
        EXPECT_EQ(op.textsOf(Kind::PlatformMessage).size(), 1u);
        EXPECT_EQ(std::filesystem::status(safes).type(), before);

        // The operator sets safes: the file is theirs to write again.
        std::filesystem::remove_all(safes);
        project.recallSafes.set(2, SafeFlag::Mute, true);
        project.recallSafesUnreadable = false;
        ASSERT_EQ(files.writeFile(show), ProjectFiles::SaveOutcome::Saved);
        EXPECT_EQ(contents(safes), "[Recall Safes]\nChannel3=mute\n");
        project.recallSafes.clear();
    }
    std::filesystem::remove(safes);
    op.clear();
    ASSERT_TRUE(files.open(show)); // missing: no safes, nothing said
    EXPECT_FALSE(project.recallSafesUnreadable);
    EXPECT_TRUE(op.shown.empty());
}

#ifndef _WIN32
// A file the program may not read: before, it counted as no safes and the next save
// removed it. Now it is reported and outlives the save.
TEST_F(SidecarTest, AFileThatMayNotBeReadOutlivesTheSave)
{
    const std::string show = folder.file("show.vpf");
    const std::string safes = show + ".safes";
    ASSERT_EQ(files.writeFile(show), ProjectFiles::SaveOutcome::Saved);
    put(safes, "[Recall Safes]\nChannel1=gain\n");
    ASSERT_EQ(chmod(safes.c_str(), 0), 0);
    ASSERT_EQ(chmod(folder.path().c_str(), 0777), 0);
    ASSERT_EQ(chmod(show.c_str(), 0666), 0);
    const ChildResult child = runInChild([&] {
        // The administrator reads everything: the test needs an ordinary user's view.
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return std::string("cannot drop privileges");
        if (!files.open(show))
            return std::string("not opened");
        std::string out = project.recallSafesUnreadable ? "unreadable" : "read";
        for (const std::string& told : op.textsOf(Kind::PlatformMessage))
            out += "|" + told.substr(0, told.find(')') + 1);
        out += files.writeFile(show) == ProjectFiles::SaveOutcome::Saved ? "|saved" : "|not saved";
        return out + "|" + std::to_string(op.textsOf(Kind::PlatformMessage).size());
    });
    chmod(folder.path().c_str(), 0700);
    ASSERT_TRUE(child.exitedNormally);
    EXPECT_EQ(child.output,
              "unreadable|The recall safes file " + safes + " could not be read (Permission denied)|saved|1");
    ASSERT_EQ(chmod(safes.c_str(), 0600), 0);
    EXPECT_EQ(contents(safes), "[Recall Safes]\nChannel1=gain\n");
}
#endif
