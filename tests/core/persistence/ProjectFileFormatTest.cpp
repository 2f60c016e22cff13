#include "core/persistence/ByteSource.h"
#include "core/persistence/ProjectFileReader.h"
#include "core/persistence/ProjectFileWriter.h"
#include "tests/core/persistence/IndependentBytes.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using namespace deskpanel;
using namespace deskpanel::test;

namespace {

constexpr std::size_t RecordBytes = 222212;

// A scene with settings that differ per channel and per scene, the way snapshots are
// taken (linkActive exactly where linkButton is on).
Scene sceneNumbered(const Project& project, int n)
{
    Scene scene;
    scene.name = "Scene " + std::to_string(n);
    scene.notes = "notes " + std::to_string(n);
    for (int c = 0; c < MaxChannels; ++c) {
        ChannelSettings& s = scene.settings[static_cast<std::size_t>(c)];
        s.gainPosition = (c + n) % 73;
        s.gainAux = (c * 3 + n) % 73;
        s.polarity = (c + n) % 2;
        s.pad = (c / 2 + n) % 2;
        s.phantom48V = (c / 3 + n) % 2;
        s.mute = (c / 5 + n) % 2;
        s.linkButton = (c / 7 + n) % 2;
        s.linkGroup = (c + 2 * n) % 11;
        s.linkActive = s.linkButton;
    }
    scene.channelNames = project.channelNames();
    return scene;
}

class ProjectFileFormat : public ::testing::Test {
protected:
    ProjectFileReader::Outcome readBytes(Project& into, const std::vector<std::uint8_t>& bytes)
    {
        MemorySource source(bytes.data(), bytes.size());
        ProjectFileReader reader(into, op, timers);
        return reader.read(source);
    }
    std::vector<std::uint8_t> written(const Project& project)
    {
        const std::string path = folder.file("show.vpf");
        EXPECT_EQ(ProjectFileWriter::write(project, path), ProjectFileWriter::Result::Saved);
        return test::readBytes(path);
    }

    TempFolder folder;
    FakeClock clock;
    FakeTimers timers{clock};
    ScriptedOperator op;
};

} // namespace

TEST_F(ProjectFileFormat, OnlyTheBlankSceneWritesHeaderAndDefaultPrefs)
{
    Project project;
    const auto bytes = written(project);
    EXPECT_EQ(bytes.size(), 118u);
    EXPECT_EQ(bytes, headerWithDefaultPrefs());

    Project read;
    read.scenes.append(sceneNumbered(read, 1));
    EXPECT_EQ(readBytes(read, bytes), ProjectFileReader::Outcome::Complete);
    EXPECT_EQ(read.scenes.count(), 1);
}

TEST_F(ProjectFileFormat, ThreeScenesMatchTheDocumentedLayout)
{
    Project project;
    project.units[0].name = "Stage";
    project.units[47].notes = "last unit";
    project.channels[0].name = "Kick";
    project.channels[383].notes = "spare";
    project.linkGroups[0].title = "Drums";
    project.linkGroups[9].notes = "tenth";
    for (int n = 1; n <= 3; ++n)
        project.scenes.append(sceneNumbered(project, n));

    const auto bytes = written(project);
    ASSERT_EQ(bytes.size(), 666754u);

    auto expected = headerWithDefaultPrefs();
    for (int n = 1; n <= 3; ++n)
        append(expected, recordOf(project, project.scenes.scene(n)));
    ASSERT_EQ(bytes.size(), expected.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        ASSERT_EQ(bytes[i], expected[i]) << "first difference at offset " << i;
}

TEST_F(ProjectFileFormat, FullProjectRoundTripsExactly)
{
    Project project;
    project.prefs.promptSceneDelete = 1;
    project.prefs.peakHoldMs = -1;
    project.prefs.autosaveOff = 0;
    for (int c = 0; c < MaxChannels; c += 7)
        project.channels[static_cast<std::size_t>(c)].notes = "note " + std::to_string(c);
    for (int n = 1; n <= 199; ++n)
        ASSERT_TRUE(project.scenes.append(sceneNumbered(project, n)));

    const auto first = written(project);
    ASSERT_EQ(first.size(), 118u + 199u * RecordBytes);

    Project read;
    ASSERT_EQ(readBytes(read, first), ProjectFileReader::Outcome::Complete);
    ASSERT_EQ(read.scenes.count(), 200);
    EXPECT_EQ(read.prefs, project.prefs);
    for (int n = 1; n <= 199; ++n) {
        EXPECT_EQ(read.scenes.scene(n).name, project.scenes.scene(n).name);
        EXPECT_EQ(read.scenes.scene(n).notes, project.scenes.scene(n).notes);
        ASSERT_EQ(read.scenes.scene(n).settings, project.scenes.scene(n).settings) << "scene " << n;
    }
    EXPECT_EQ(read.channels[378].notes, "note 378");
    EXPECT_EQ(written(read), first);
    EXPECT_TRUE(timers.isRunning(TimerId::Autosave));
}

TEST_F(ProjectFileFormat, FileWithoutHeaderIsReadAsScenesAndKeepsThePrefs)
{
    Project source;
    source.units[2].name = "Left";
    const auto bytes = recordOf(source, sceneNumbered(source, 4));

    Project read;
    read.prefs.redZoneThreshold = 7;
    const ProjectPrefs before = read.prefs;
    ASSERT_EQ(readBytes(read, bytes), ProjectFileReader::Outcome::Complete);
    EXPECT_EQ(read.prefs, before);
    ASSERT_EQ(read.scenes.count(), 2);
    EXPECT_EQ(read.scenes.scene(1).name, "Scene 4");
    EXPECT_EQ(read.scenes.scene(1).settings, sceneNumbered(source, 4).settings);
    EXPECT_EQ(read.units[2].name, "Left");
    EXPECT_TRUE(op.shown.empty());
}

TEST_F(ProjectFileFormat, CutShortLastRecordIsIgnored)
{
    Project source;
    auto bytes = headerWithDefaultPrefs();
    append(bytes, recordOf(source, sceneNumbered(source, 1)));
    append(bytes, recordOf(source, sceneNumbered(source, 2)));
    bytes.resize(bytes.size() - 1);

    Project read;
    readBytes(read, bytes);
    ASSERT_EQ(read.scenes.count(), 2);
    EXPECT_EQ(read.scenes.scene(1).name, "Scene 1");
}

TEST_F(ProjectFileFormat, HeaderWithoutWholePrefsIsReportedAndReadingGoesOn)
{
    auto bytes = headerWithDefaultPrefs();
    bytes.resize(60);
    Project read;
    read.prefs.dbuMaxLevel = 9;
    readBytes(read, bytes);
    EXPECT_EQ(op.textsOf(ScriptedOperator::Kind::PlatformMessage), std::vector<std::string>{"Failed to read prefs"});
    EXPECT_EQ(read.prefs.dbuMaxLevel, 9);
    EXPECT_EQ(read.scenes.count(), 1);
}

TEST_F(ProjectFileFormat, UnitCountsAreLimitedTo48AndZeroStillAddsTheScene)
{
    Project source;
    for (int u = 0; u < MaxUnits; ++u)
        source.units[static_cast<std::size_t>(u)].name = "Rack " + std::to_string(u + 1);
    source.channels[383].name = "Last";
    source.linkGroups[3].title = "Horns";
    auto bytes = headerWithDefaultPrefs();
    append(bytes, recordOf(source, sceneNumbered(source, 1), 60));
    append(bytes, recordOf(Project{}, sceneNumbered(source, 2), 0));

    Project read;
    readBytes(read, bytes);
    ASSERT_EQ(read.scenes.count(), 3);
    // The 60-unit record set all 48 units; the 0-unit record set no names or settings
    // but did set the group titles, and its scene snapshots what the first left.
    EXPECT_EQ(read.units[47].name, "Rack 48");
    EXPECT_EQ(read.channels[383].name, "Last");
    EXPECT_EQ(read.linkGroups[3].title, "");
    EXPECT_EQ(read.scenes.scene(2).name, "Scene 2");
    EXPECT_EQ(read.scenes.scene(2).settings, read.scenes.scene(1).settings);
    EXPECT_EQ(read.scenes.scene(2).channelNames[383], "Last");
}

TEST_F(ProjectFileFormat, LongNamesAreWrittenAsTheirFirst99Characters)
{
    Project project;
    Scene scene = sceneNumbered(project, 1);
    scene.name = std::string(120, 'N');
    project.channels[4].name = std::string(150, 'c');
    project.scenes.append(scene);

    const auto bytes = written(project);
    const std::size_t record = 118;
    EXPECT_EQ(std::string(bytes.begin() + record + 4, bytes.begin() + record + 4 + 99), std::string(99, 'N'));
    EXPECT_EQ(bytes[record + 4 + 99], 0);
    EXPECT_EQ(bytes[record + 40204 + 4 * 100 + 99], 0);
    EXPECT_EQ(project.channels[4].name.size(), 150u); // memory keeps the whole name

    Project read;
    readBytes(read, bytes);
    EXPECT_EQ(read.scenes.scene(1).name, std::string(99, 'N'));
    EXPECT_EQ(read.channels[4].name, std::string(150, 'c').substr(0, 99));
}

TEST_F(ProjectFileFormat, NonAsciiTextsRoundTripThroughWindows1252)
{
    Project project;
    Scene scene = sceneNumbered(project, 1);
    scene.name = "B\xC3\xBChne \xE2\x80\x93 Akt \xE2\x82\xAC"; // "Bühne – Akt €"
    scene.notes = "\xE6\xBC\xA2 kanji"; // not in the code page
    project.units[0].name = "\xC3\x85se"; // "Åse"
    project.scenes.append(scene);

    const auto bytes = written(project);
    const std::vector<std::uint8_t> name(bytes.begin() + 118 + 4, bytes.begin() + 118 + 4 + 14);
    EXPECT_EQ(name, (std::vector<std::uint8_t>{'B', 0xFC, 'h', 'n', 'e', ' ', 0x96, ' ', 'A', 'k', 't', ' ', 0x80, 0}));
    EXPECT_EQ(bytes[118 + 104], '?');
    EXPECT_EQ(bytes[118 + 200204], 0xC5);

    Project read;
    readBytes(read, bytes);
    EXPECT_EQ(read.scenes.scene(1).name, scene.name);
    EXPECT_EQ(read.scenes.scene(1).notes, "? kanji");
    EXPECT_EQ(read.units[0].name, "\xC3\x85se");
}

TEST_F(ProjectFileFormat, PrefsTakeWord4AsSixteenBitsAndDriveTheAutosaveTimer)
{
    auto bytes = headerWithDefaultPrefs();
    put32(bytes, 10 + 4 * 4, 0x7FFF0032); // low 16 bits: 50
    put32(bytes, 10 + 16 * 4, 12345); // reserved: ignored
    put32(bytes, 10 + 25 * 4, 2);
    put32(bytes, 10 + 26 * 4, 0);

    Project read;
    readBytes(read, bytes);
    EXPECT_EQ(read.prefs.ethernetUpdateRate, 50);
    EXPECT_EQ(read.prefs.autosaveMinutes, 2);
    ASSERT_TRUE(timers.isRunning(TimerId::Autosave));
    EXPECT_EQ(timers.periodOf(TimerId::Autosave), 120000u);

    // Written back zero-extended, with the reserved word zero.
    const auto again = written(read);
    EXPECT_EQ(get32(again, 10 + 4 * 4), 50);
    EXPECT_EQ(get32(again, 10 + 16 * 4), 0);

    put32(bytes, 10 + 26 * 4, 1);
    readBytes(read, bytes);
    EXPECT_FALSE(timers.isRunning(TimerId::Autosave));
}

TEST_F(ProjectFileFormat, AutosaveMinutesFromAFileCannotSpinOrOverflowTheTimer)
{
    auto bytes = headerWithDefaultPrefs();
    put32(bytes, 10 + 26 * 4, 0);
    put32(bytes, 10 + 25 * 4, 0);
    Project read;
    readBytes(read, bytes);
    EXPECT_EQ(timers.periodOf(TimerId::Autosave), 60000u);
    put32(bytes, 10 + 25 * 4, 0x7FFFFFFF);
    readBytes(read, bytes);
    EXPECT_EQ(timers.periodOf(TimerId::Autosave), 3600000u);
    EXPECT_EQ(read.prefs.autosaveMinutes, 0x7FFFFFFF); // the word itself is kept
}

TEST_F(ProjectFileFormat, RecordsAfterThe199thAreRefusedWithAMessage)
{
    Project source;
    const auto record = recordOf(source, sceneNumbered(source, 1));
    auto bytes = headerWithDefaultPrefs();
    bytes.reserve(118 + 201 * RecordBytes);
    for (int i = 0; i < 201; ++i)
        append(bytes, record);

    Project read;
    EXPECT_EQ(readBytes(read, bytes), ProjectFileReader::Outcome::Complete);
    EXPECT_EQ(read.scenes.count(), 200);
    EXPECT_EQ(op.textsOf(ScriptedOperator::Kind::PlatformMessage),
              std::vector<std::string>{ProjectFileReader::TooManyScenesText});
}

TEST_F(ProjectFileFormat, ValuesOutsideTheirRangesAreBroughtIntoThem)
{
    Project source;
    auto record = recordOf(source, sceneNumbered(source, 1));
    put32(record, 204, -5); // gainPosition of channel 0
    put32(record, 204 + 4, 1000); // channel 1
    put32(record, 29004, 99); // gainAux of channel 0
    put32(record, 6604, 7); // polarity of channel 0
    put32(record, 22604, 11); // linkGroup of channel 0
    put32(record, 22604 + 4, -1); // channel 1
    put32(record, 0, -3); // unit count

    Project read;
    readBytes(read, record);
    ASSERT_EQ(read.scenes.count(), 2);
    // A negative unit count reads no channel at all...
    EXPECT_EQ(read.live[0], ChannelSettings{});
    put32(record, 0, 48);
    readBytes(read, record);
    // ...and with the count mended every value is within its range.
    EXPECT_EQ(read.live[0].gainPosition, 0);
    EXPECT_EQ(read.live[1].gainPosition, 72);
    EXPECT_EQ(read.live[0].gainAux, 72);
    EXPECT_EQ(read.live[0].polarity, 1);
    EXPECT_EQ(read.live[0].linkGroup, 0);
    EXPECT_EQ(read.live[1].linkGroup, 0);
}

TEST_F(ProjectFileFormat, TextFieldsWithoutANulStopAtTheirField)
{
    Project source;
    auto record = recordOf(source, sceneNumbered(source, 1));
    std::fill(record.begin() + 4, record.begin() + 204, std::uint8_t{'x'}); // name and notes full

    Project read;
    readBytes(read, record);
    EXPECT_EQ(read.scenes.scene(1).name, std::string(99, 'x')); // a scene name is cut to 99
    EXPECT_EQ(read.scenes.scene(1).notes, std::string(100, 'x'));
}
