#include "core/records/ChannelNameImport.h"
#include "tests/core/scenes/SceneFixture.h"
#include "tests/support/ScriptedChangeList.h"

#include <gtest/gtest.h>

using namespace deskpanel;
using namespace deskpanel::test;

namespace {

std::vector<std::string> changeTexts(const ChannelNameImport::Result& result)
{
    std::vector<std::string> out;
    for (const auto& c : result.changes)
        out.push_back(std::to_string(c.channel + 1) + ":" + c.newName + "|" + c.newNotes);
    return out;
}

std::vector<std::string> refusalTexts(const ChannelNameImport::Result& result)
{
    std::vector<std::string> out;
    for (const auto& r : result.refusals)
        out.push_back(std::to_string(r.line) + " " + r.reason);
    return out;
}

} // namespace

// What the channel sheet writes comes back; a spreadsheet's semicolons and BOM-less
// files are read; what the project file cannot hold is refused, never cut.
TEST(ChannelNameImportTest, ReadsSheetsAndRefusesWhatCannotBeKept)
{
    Project project;
    project.channels[1].notes = "old notes";
    const std::string longName(100, 'x');
    const std::string sheet = "\xEF\xBB\xBFUnit,Unit Name,Input,Channel,Channel Name,Notes,Gain dB\r\n"
                              "1,UNIT 1,1,1,'=Kick,\"in, \"\"front\"\"\",40\r\n"
                              "1,UNIT 1,2,2,Channel 2,,40\r\n" // notes emptied
                              "1,UNIT 1,3,3,Channel 3,,40\r\n" // unchanged: no change
                              "1,UNIT 1,4,4," +
                              longName + ",,40\r\n" +
                              "1,UNIT 1,5,5,\"Snare\xE2\x80\x94top\",,40\r\n" // an em dash: 1252 has it
                              "1,UNIT 1,6,6,Bass \xE4\xB8\xAD,,40\r\n" // CJK: refused
                              "9,x,1,385,Beyond,,40\r\n"
                              "\r\n"
                              "1,UNIT 1,7,7,\"two\nlines\",,40\r\n" // a name is one line
                              "1,UNIT 1,8,8,Horn,\"two\nlines\tand a tab\",40\r\n";
    auto result = ChannelNameImport::read(sheet, project);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(changeTexts(result),
              (std::vector<std::string>{"1:=Kick|in, \"front\"", "2:Channel 2|", "5:Snare\xE2\x80\x94top|",
                                        "8:Horn|two\nlines\tand a tab"}));
    EXPECT_EQ(refusalTexts(result),
              (std::vector<std::string>{"5 channel 4: the name longer than 99 characters",
                                        "7 channel 6: the name has characters a project file cannot hold",
                                        "8 no channel number 1..384",
                                        "10 channel 7: the name has a line break or another control character"}));

    const std::string semicolons = "Unit;Input;Channel Name\n2;8;Bass DI\n49;1;Nope\n2;9;Nope\n";
    result = ChannelNameImport::read(semicolons, project);
    EXPECT_EQ(changeTexts(result), (std::vector<std::string>{"16:Bass DI|"}));
    EXPECT_EQ(refusalTexts(result),
              (std::vector<std::string>{"3 no unit 1..48 and input 1..8", "4 no unit 1..48 and input 1..8"}));

    for (const char* bad : {"", "Name,Notes\n1,2\n", "Channel,Notes\n1,x\n"})
        EXPECT_NE(ChannelNameImport::read(bad, project).error, "") << bad;
    EXPECT_NE(ChannelNameImport::read(std::string(ChannelNameImport::MaxFileBytes + 1, 'a'), project).error, "");
}

// A quote never closed would swallow the lines after it: the whole file is refused,
// naming the line the quote opened on. Channels given twice and names blanked come
// first in the preview, as warnings, before the refusals and the changes.
TEST(ChannelNameImportTest, AnUnclosedQuoteRefusesTheFileAndDoubtfulRowsAreWarnedFirst)
{
    Project project;
    project.channels[0].name = "Kick";
    const struct {
        const char* sheet;
        const char* error;
    } unclosed[] = {
        {"Channel,Channel Name\n1,Kick In\n2,\"Snare\n3,Hat\n", "line 3"},
        {"Channel,Channel Name\r\n1,\"Kick\r\nIn\"\r\n2,\"Snare", "line 4"},
        {"\"Channel,Channel Name\n1,Kick In\n", "line 1"},
    };
    for (const auto& c : unclosed) {
        const auto result = ChannelNameImport::read(c.sheet, project);
        EXPECT_NE(result.error.find(c.error), std::string::npos) << c.sheet << " -> " << result.error;
        EXPECT_TRUE(result.changes.empty()) << c.sheet;
    }

    const auto result = ChannelNameImport::read("Channel,Channel Name\n1,Kick In\n2,\n3,Hat\n1,Kick Out\n" +
                                                    std::string("4,") + std::string(100, 'x') + "\n3,Hat\n",
                                                project);
    EXPECT_EQ(result.error, "");
    std::vector<std::string> lines;
    for (const ChangeLine& line : ChannelNameImport::preview(result).lines)
        lines.push_back((line.kind == ChangeLine::Kind::Warning ? "! " : "") + line.text);
    EXPECT_EQ(lines,
              (std::vector<std::string>{"! Channel 001 is given on lines 2 and 5: line 5 counts.",
                                        "! Channel 003 is given on lines 4 and 7: line 7 counts.",
                                        "! Channel 002: \"Channel 2\" is left without a name.",
                                        "! Line 6 refused: channel 4: the name longer than 99 characters",
                                        "Channel 001: \"Kick\" to \"Kick Out\"", "Channel 002: \"Channel 2\" to \"\"",
                                        "Channel 003: \"Channel 3\" to \"Hat\""}));
}

namespace {
class NameImportTest : public SceneFixture {
protected:
    std::string run(const std::string& sheet)
    {
        return ChannelNameImport::run(ChannelNameImport::read(sheet, project), project, channels, preview);
    }
    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (int c = 0; c < 4; ++c)
            out.push_back(project.channels[static_cast<std::size_t>(c)].name + "|" +
                          project.channels[static_cast<std::size_t>(c)].notes);
        return out;
    }
    ScriptedChangeList preview;
};
} // namespace

// The operator sees refusals first, then each change; nothing changes until the go-ahead;
// one Undo takes the whole import back, notes included, and Redo puts it again.
TEST_F(NameImportTest, ThePreviewComesFirstAndOneUndoTakesTheImportBack)
{
    project.channels[0] = {"Kick", "old notes"};
    project.channels[2].notes = "kept";
    const std::string sheet =
        "Channel;Channel Name;Notes\n1;Kick In;new\n3;Snare;kept\n4;" + std::string(100, 'x') + ";\n2;Hat;\n";
    const std::vector<std::string> before = texts();

    EXPECT_EQ(run(sheet), "");
    EXPECT_EQ(texts(), before);
    ASSERT_EQ(preview.shown.size(), 1u);
    EXPECT_EQ(preview.shown[0].heading, "3 channels will change:");
    std::vector<std::string> lines; // a warning marked "!"
    for (const ChangeLine& line : preview.shown[0].lines)
        lines.push_back((line.kind == ChangeLine::Kind::Warning ? "! " : "") + line.text);
    EXPECT_EQ(lines, (std::vector<std::string>{"! Line 4 refused: channel 4: the name longer than 99 characters",
                                               "Channel 001: \"Kick\" to \"Kick In\", new notes",
                                               "Channel 002: \"Channel 2\" to \"Hat\"",
                                               "Channel 003: \"Channel 3\" to \"Snare\""}));

    preview.answer = true;
    EXPECT_EQ(run(sheet), "");
    const std::vector<std::string> after{"Kick In|new", "Hat|", "Snare|kept", "Channel 4|"};
    EXPECT_EQ(texts(), after);
    channels.undo();
    EXPECT_EQ(texts(), before);
    channels.redo();
    EXPECT_EQ(texts(), after);

    // Nothing to change, or a file that cannot be used: the operator is told, no list.
    EXPECT_EQ(run(sheet.substr(0, sheet.find("\n4;")) + "\n"), ChannelNameImport::NothingToImportText);
    EXPECT_NE(run("Name\nx\n"), "");
    const auto missing = ChannelNameImport::readFile(folder.file("missing.csv"), project);
    EXPECT_NE(missing.error.find("missing.csv"), std::string::npos);
    EXPECT_EQ(preview.shown.size(), 2u);
}

// A recall's Undo puts back the names it replaced but leaves notes edited since alone.
TEST_F(NameImportTest, UndoOfARecallLeavesNotesAlone)
{
    project.channels[0] = {"Kick", "mic A"};
    store("Act 1");
    project.channels[0].name = "Renamed";
    scenes.recallScene(1);
    project.channels[0].notes = "mic B"; // written after the recall
    channels.undo();
    EXPECT_EQ(project.channels[0].name, "Renamed");
    EXPECT_EQ(project.channels[0].notes, "mic B");
}
