#include "core/records/ChannelSheet.h"
#include "core/records/Csv.h"

#include <gtest/gtest.h>

using namespace deskpanel;

TEST(CsvTest, FieldsAreQuotedAndFormulasGuarded)
{
    struct Case {
        const char* text;
        const char* field;
    };
    const Case cases[] = {
        {"Kick In", "Kick In"},
        {"", ""},
        {"Drums, kit", "\"Drums, kit\""},
        {"say \"go\"", "\"say \"\"go\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
        {"+48V", "'+48V"},
        {"-10 dB", "'-10 dB"},
        {"@cell", "'@cell"},
        {"\tindent", "'\tindent"},
        {"\rreturn", "\"'\rreturn\""},
        {"a=b", "a=b"}, // only a leading sign makes a formula
        {"Voc\xC3\xA9", "Voc\xC3\xA9"}, // UTF-8 stays as it is
    };
    for (const Case& c : cases)
        EXPECT_EQ(csv::textField(c.text), c.field) << c.text;
    EXPECT_EQ(csv::line({"a", "", "b"}), "a,,b\r\n");
}

TEST(ChannelSheetTest, OneRowPerChannelWithNamesSettingsAndGroups)
{
    Project project;
    project.projectName = "show.vpf";
    project.units[1].name = "Drums, kit";
    project.channels[8] = {"=Kick", "beater side \"in\""};
    ChannelSettings& kick = project.live[8];
    kick.gainPosition = 40; // 40 dB
    kick.phantom48V = 1;
    kick.pad = 1;
    kick.linkGroup = 3;
    project.linkGroups[2].title = "Toms";
    Scene scene;
    scene.name = "Act 1";
    scene.settings[8].gainPosition = 10;
    scene.channelNames = project.channelNames();
    scene.channelNames[8] = "Kick (Act 1)"; // renamed since the scene was stored
    project.scenes.append(scene);

    const std::string csvText =
        channelSheetCsv(ChannelSheetMaker::make(project, ChannelSheetMaker::Live, ChannelSheetMaker::allUnits()));
    ASSERT_EQ(csvText.rfind("\xEF\xBB\xBF", 0), 0u);
    std::vector<std::string> lines;
    for (std::size_t start = 3; start < csvText.size();) {
        const std::size_t end = csvText.find("\r\n", start);
        lines.push_back(csvText.substr(start, end - start));
        start = end + 2;
    }
    ASSERT_EQ(lines.size(), 1u + 384u);
    EXPECT_EQ(lines[0], "Unit,Unit Name,Input,Channel,Channel Name,Notes,Gain dB,Pad,Polarity,48V,Mute,Link Group,"
                        "Link Group Name");
    EXPECT_EQ(lines[9], "2,\"Drums, kit\",1,9,'=Kick,\"beater side \"\"in\"\"\",40,on,off,on,off,3,Toms");
    EXPECT_EQ(lines[1], "1,UNIT 1,1,1,Channel 1,,8,off,off,off,off,,");

    const ChannelSheet fromScene = ChannelSheetMaker::make(project, 1, {2, 99});
    ASSERT_EQ(fromScene.rows.size(), 8u); // unit 99 does not exist
    EXPECT_EQ(fromScene.sceneName, "Act 1");
    EXPECT_EQ(fromScene.rows[0].gainDb, 70);
    EXPECT_FALSE(fromScene.rows[0].phantom48V);
    // The names the scene would recall; the notes are today's, a scene keeps none.
    EXPECT_EQ(fromScene.rows[0].channelName, "Kick (Act 1)");
    EXPECT_EQ(fromScene.rows[0].notes, "beater side \"in\"");
    const ChannelSheet blank = ChannelSheetMaker::make(project, 0, {2});
    EXPECT_EQ(blank.rows[0].gainDb, 8); // the Blank Scene: defaults, today's names
    EXPECT_EQ(blank.rows[0].channelName, "=Kick");
}

TEST(ChannelSheetTest, ScenesAreFoundByNumberOrName)
{
    SceneList scenes;
    for (const char* name : {"Soundcheck", "Act 1", "Act 2"}) {
        Scene scene;
        scene.name = name;
        scenes.append(scene);
    }
    struct Case {
        const char* text;
        std::optional<int> position;
    };
    const Case cases[] = {{"2", 2},  {"002", 2},   {"0", 0},    {"Blank Scene", 0}, {"Act 1", 2}, {" Soundcheck ", 1},
                          {"4", {}}, {"0002", {}}, {"Act", {}}, {"", {}},           {"-1", {}},   {"3", 3}};
    for (const Case& c : cases)
        EXPECT_EQ(ChannelSheetMaker::findScene(scenes, c.text), c.position) << c.text;
}
