#include "core/persistence/IniFile.h"
#include "core/persistence/RecentFileList.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace deskpanel;
using namespace deskpanel::test;

namespace {

class RecentFiles : public ::testing::Test {
protected:
    std::string project(const std::string& name)
    {
        const std::string path = folder.file(name);
        writeText(path, "x");
        return path;
    }

    TempFolder folder;
    std::string settings = folder.file("config/Veltara-RP8.ini");
    ScriptedOperator op;
    RecentFileList list{settings, op};
};

} // namespace

TEST_F(RecentFiles, ThirdEntryBecomesFirstAndTheFirstBecomesThird)
{
    const auto a = project("a.vpf"), b = project("b.vpf"), c = project("c.vpf");
    list.add(c);
    list.add(b);
    list.add(a);
    ASSERT_EQ(list.entries(), (std::vector<std::string>{a, b, c}));

    // Compared without regard to case; the listed spelling is what moves up.
    std::string upper = c;
    for (auto& ch : upper)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    list.add(upper);
    EXPECT_EQ(list.entries(), (std::vector<std::string>{c, b, a}));
    EXPECT_EQ(readProfileString(settings, "Recent File List", "File1"), c);
    EXPECT_EQ(readProfileString(settings, "Recent File List", "File3"), a);
}

TEST_F(RecentFiles, NinthPathDropsTheOldestAndTheSectionHoldsEightKeys)
{
    std::vector<std::string> paths;
    for (int i = 1; i <= 9; ++i) {
        paths.push_back(project("show" + std::to_string(i) + ".vpf"));
        list.add(paths.back());
    }
    ASSERT_EQ(list.entries().size(), 8u);
    EXPECT_EQ(list.entries().front(), paths[8]);
    EXPECT_EQ(list.entries().back(), paths[1]);
    EXPECT_EQ(readProfileString(settings, "Recent File List", "File8"), paths[1]);
    EXPECT_EQ(IniFile::load(settings).value("Recent File List", "File9"), std::nullopt);
}

TEST_F(RecentFiles, DeletedFileDisappearsAtTheNextUpdate)
{
    const auto a = project("a.vpf"), b = project("b.vpf"), c = project("c.vpf");
    list.add(a);
    list.add(b);
    std::remove(a.c_str());
    list.add(c);
    EXPECT_EQ(list.entries(), (std::vector<std::string>{c, b}));

    RecentFileList again(settings, op);
    again.load();
    EXPECT_EQ(again.entries(), (std::vector<std::string>{c, b}));
}

TEST_F(RecentFiles, ShortFileNameIsABadFile)
{
    const auto a = project("a.vpf");
    list.add(a);
    list.add(project("b.v"));
    EXPECT_EQ(op.textsOf(ScriptedOperator::Kind::PlatformMessage), std::vector<std::string>{"Bad file"});
    EXPECT_EQ(list.entries(), std::vector<std::string>{a});
}

TEST_F(RecentFiles, LoadingStopsAtTheFirstMissingKey)
{
    const auto a = project("a.vpf"), b = project("b.vpf"), c = project("c.vpf");
    writeProfileString(settings, "Recent File List", "File1", a);
    writeProfileString(settings, "Recent File List", "File2", b);
    writeProfileString(settings, "Recent File List", "File4", c);
    list.load();
    EXPECT_EQ(list.entries(), (std::vector<std::string>{a, b}));
}

TEST_F(RecentFiles, MenuTextsAndCommands)
{
    EXPECT_EQ(RecentFileList::menuText(2, "/shows/a.vpf"), "&2. /shows/a.vpf");
    EXPECT_EQ(RecentFileList::commandId(1), 520);
    EXPECT_EQ(RecentFileList::commandId(8), 527);
}

TEST_F(RecentFiles, LastUsedDirectoryRoundTrips)
{
    EXPECT_EQ(readLastUsedDirectory(settings), "");
    writeLastUsedDirectory(settings, "/home/op/shows/");
#ifdef _WIN32
    // Stored as Windows shows folders: with "\" and ending in one.
    EXPECT_EQ(readLastUsedDirectory(settings), "\\home\\op\\shows\\");
#else
    EXPECT_EQ(readLastUsedDirectory(settings), "/home/op/shows/");
#endif
}

TEST_F(RecentFiles, ANameOfThreeCharactersIsABadFileHoweverManyBytesItHas)
{
    list.add(project("\xC3\xA4"
                     "bc")); // three characters, four bytes
    EXPECT_EQ(op.textsOf(ScriptedOperator::Kind::PlatformMessage), std::vector<std::string>{"Bad file"});
    EXPECT_TRUE(list.entries().empty());
    const auto four = project("\xC3\xA4"
                              "bcd");
    list.add(four);
    EXPECT_EQ(list.entries(), std::vector<std::string>{four});
}

TEST_F(RecentFiles, ALargeSettingsFileIsReadWholeAndKeepsItsOtherSections)
{
    std::filesystem::create_directories(folder.file("config"));
    // 2 MiB of someone's notes before the list.
    std::string text = "[Notes]\n";
    while (text.size() < (2u << 20))
        text += "; a line of notes kept in the settings file by hand\n";
    const auto a = project("a.vpf");
    writeText(settings, text + "[Recent File List]\nFile1=" + a + "\n");
    list.load();
    EXPECT_EQ(list.entries(), std::vector<std::string>{a});
    const auto b = project("b.vpf");
    list.add(b);
    EXPECT_EQ(list.entries(), (std::vector<std::string>{b, a}));
    EXPECT_EQ(readText(settings).substr(0, text.size()), text);
}

TEST_F(RecentFiles, ASettingsFileThatCannotBeReadWholeIsNeverRewritten)
{
    std::filesystem::create_directories(folder.file("config"));
    // Larger than any settings file the program reads.
    const std::string text = "[Recent File List]\n" + std::string(17u << 20, ';') + "\n";
    writeText(settings, text);
    list.add(project("a.vpf"));
    ASSERT_EQ(op.textsOf(ScriptedOperator::Kind::PlatformMessage).size(), 1u);
    EXPECT_NE(op.textsOf(ScriptedOperator::Kind::PlatformMessage)[0].find(settings), std::string::npos);
    EXPECT_EQ(readText(settings).size(), text.size());
    EXPECT_FALSE(writeProfileString(settings, "Data Directory", "Last Used Directory", "/shows/"));
    EXPECT_EQ(readText(settings).size(), text.size());
}
