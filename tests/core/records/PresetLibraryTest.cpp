#include "core/records/PresetLibrary.h"
#include "core/records/ClipboardLine.h"
#include "core/records/PresetCsv.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace deskpanel;
using namespace deskpanel::test;

namespace {

std::string contentsOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ClipboardLine, ReadsAnyOrderAndSubsetAndRefusesEverythingElse)
{
    PartialSettings all{42, 0, 1, 1, 0};
    EXPECT_EQ(ClipboardLine::write(all), "DeskPanel channel: gain=42 pad=0 pol=1 phantom=1 mute=0");
    EXPECT_EQ(ClipboardLine::read(ClipboardLine::write(all)), all);
    EXPECT_EQ(ClipboardLine::read("  DeskPanel channel:\tmute=1  gain=8\r\n"), (PartialSettings{8, {}, {}, {}, 1}));
    EXPECT_EQ(ClipboardLine::read("DeskPanel channel: gain=80"), (PartialSettings{80, {}, {}, {}, {}}));
    for (const char* bad :
         {"", "gain=42", "DeskPanel channel:", "deskpanel channel: gain=42", "DeskPanel channel: gain=7",
          "DeskPanel channel: gain=81", "DeskPanel channel: gain=042", "DeskPanel channel: pad=2",
          "DeskPanel channel: pad=-0", "DeskPanel channel: pad=1 pad=1", "DeskPanel channel: link=1",
          "DeskPanel channel: pad =1", "DeskPanel channel: pad=1\nmute=1",
          "DeskPanel channel: gain=", "DeskPanel channel:gain=42x"})
        EXPECT_FALSE(ClipboardLine::read(bad)) << bad;
}

TEST(PresetLibrary, ExamplesAreWrittenOnlyWhenTheFileIsMissingAndComeBackWhole)
{
    TempFolder folder;
    const std::string path = folder.file("data/DeskPanel/Channel Presets.ini");
    ASSERT_TRUE(PresetLibrary::writeExamplesIfMissing(path));
    const PresetLibrary::ReadResult read = PresetLibrary::read(path);
    EXPECT_TRUE(read.decoded.damagedLines.empty());
    EXPECT_EQ(read.decoded.library.presets(), PresetLibrary::examples().presets());
    EXPECT_EQ(read.decoded.library.size(), 6u);

    // A library of the operator's own is never replaced by the examples.
    PresetLibrary own;
    ASSERT_TRUE(own.put({"Talkback", PartialSettings{{}, {}, {}, {}, 1}}));
    ASSERT_TRUE(own.write(path));
    ASSERT_TRUE(PresetLibrary::writeExamplesIfMissing(path));
    EXPECT_EQ(PresetLibrary::read(path).decoded.library.presets(), own.presets());
    EXPECT_EQ(contentsOf(path), "[Talkback]\nMute=1\n");
}

TEST(PresetLibrary, ADamagedFileKeepsItsGoodLinesAndReportsTheBadOnesOnceWithFileAndLine)
{
    const std::string text = "; the operator's own\n"
                             "Gain=40\n" // 2: before any section
                             "[Lead vocal]\n"
                             "gain = 44 \r\n"
                             "48V=1\n"
                             "Pad=2\n" // 6: out of range
                             "Colour=red\n" // 7: no such key
                             "48v=0\n" // 8: given twice
                             "[lead VOCAL]\n" // 9: the name is taken
                             "Mute=1\n" //    passed over with its section
                             "[Spare\n" // 11: no closing bracket
                             "[Kick]\n"
                             "just text\n" // 13
                             "Pol=\n" //    blank: left alone
                             "Mute=1\n";
    const PresetLibrary::Decoded decoded = PresetLibrary::decode(text);
    EXPECT_EQ(decoded.damagedLines, (std::vector<int>{2, 6, 7, 8, 9, 11, 13}));
    ASSERT_EQ(decoded.library.size(), 2u);
    EXPECT_EQ(decoded.library.presets()[0], (ChannelPreset{"Lead vocal", PartialSettings{44, {}, {}, 1, {}}}));
    EXPECT_EQ(decoded.library.presets()[1], (ChannelPreset{"Kick", PartialSettings{{}, {}, {}, {}, 1}}));

    PresetLibrary::ReadResult result;
    result.decoded = decoded;
    EXPECT_EQ(PresetLibrary::damageMessage("/home/op/Channel Presets.ini", result),
              "The preset file /home/op/Channel Presets.ini is damaged: lines 2, 6, 7, 8, 9, 11, 13 were ignored.");
    // Written again, what was kept reads back without damage.
    EXPECT_TRUE(PresetLibrary::decode(decoded.library.encode()).damagedLines.empty());
    EXPECT_EQ(PresetLibrary::decode(decoded.library.encode()).library.presets(), decoded.library.presets());
}

TEST(PresetLibrary, NamesAreCheckedAsTheLibraryStoresThem)
{
    PresetLibrary library = PresetLibrary::examples();
    EXPECT_FALSE(library.nameProblem("DI BASS").empty());
    EXPECT_TRUE(library.nameProblem("DI BASS", library.find("DI bass")).empty()); // renaming it to itself
    for (const char* bad : {"", "  ", " Lead", "a[b]", "line\nbreak", "tab\there"})
        EXPECT_FALSE(library.nameProblem(bad).empty()) << bad;
    EXPECT_FALSE(library.nameProblem(std::string(100, 'x')).empty());
    EXPECT_TRUE(library.nameProblem(std::string(99, 'x')).empty());
    EXPECT_EQ(library.rename(0, "Lead vocal"), "");
    EXPECT_EQ(library.presets()[0].name, "Lead vocal");
}

TEST(PresetCsv, ExportImportRoundTripWithTheFormulaGuardAndRefusals)
{
    PresetLibrary library;
    library.put({"=Lead", PartialSettings{44, 0, {}, 1, {}}});
    library.put({"Bass, DI", PartialSettings{{}, {}, 1, {}, {}}});
    library.put({"'=Quoted", PartialSettings{{}, {}, {}, {}, 0}}); // an apostrophe of its own survives
    const std::string csv = PresetCsv::write(library);
    EXPECT_EQ(csv, "\xEF\xBB\xBFPreset,Gain dB,Pad,Polarity,48V,Mute\r\n"
                   "'=Lead,44,off,,on,\r\n"
                   "\"Bass, DI\",,,on,,\r\n"
                   "''=Quoted,,,,,off\r\n");
    const PresetCsv::Import back = PresetCsv::read(csv);
    EXPECT_TRUE(back.error.empty());
    EXPECT_TRUE(back.refusals.empty());
    EXPECT_EQ(back.presets, library.presets());

    const PresetCsv::Import mixed = PresetCsv::read("Preset;Gain dB;Mute\n"
                                                    "Kick;20;1\n"
                                                    "Too loud;90;\n"
                                                    ";30;\n"
                                                    "Snare;x;on\n"
                                                    "kick;22;\n");
    EXPECT_EQ(mixed.presets, (std::vector<ChannelPreset>{{"kick", PartialSettings{22, {}, {}, {}, {}}}}));
    ASSERT_EQ(mixed.refusals.size(), 3u);
    EXPECT_EQ(mixed.refusals[0].line, 3);
    EXPECT_EQ(mixed.refusals[1].line, 4);
    EXPECT_EQ(mixed.refusals[2].line, 5);
    EXPECT_FALSE(PresetCsv::read("Name,Gain dB\nKick,20\n").error.empty());

    PresetLibrary target = PresetLibrary::examples();
    const ChangeList preview = PresetCsv::preview(back, target);
    EXPECT_EQ(preview.lines.size(), 3u);
    PresetCsv::apply(back, target);
    EXPECT_EQ(target.size(), 9u);
}

} // namespace
