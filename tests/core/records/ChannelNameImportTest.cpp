#include "core/records/ChannelNameImport.h"

#include <gtest/gtest.h>

using namespace deskpanel;

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
                              "1,UNIT 1,7,7,\"two\nlines\",,40\r\n";
    auto result = ChannelNameImport::read(sheet, project);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(changeTexts(result), (std::vector<std::string>{"1:=Kick|in, \"front\"", "2:Channel 2|",
                                                             "5:Snare\xE2\x80\x94top|", "7:two\nlines|"}));
    EXPECT_EQ(refusalTexts(result),
              (std::vector<std::string>{"5 channel 4: the name longer than 99 characters",
                                        "7 channel 6: the name has characters a project file cannot hold",
                                        "8 no channel number 1..384"}));

    const std::string semicolons = "Unit;Input;Channel Name\n2;8;Bass DI\n49;1;Nope\n2;9;Nope\n";
    result = ChannelNameImport::read(semicolons, project);
    EXPECT_EQ(changeTexts(result), (std::vector<std::string>{"16:Bass DI|"}));
    EXPECT_EQ(refusalTexts(result),
              (std::vector<std::string>{"3 no unit 1..48 and input 1..8", "4 no unit 1..48 and input 1..8"}));

    for (const char* bad : {"", "Name,Notes\n1,2\n", "Channel,Notes\n1,x\n"})
        EXPECT_NE(ChannelNameImport::read(bad, project).error, "") << bad;
    EXPECT_NE(ChannelNameImport::read(std::string(ChannelNameImport::MaxFileBytes + 1, 'a'), project).error, "");
}
