#include "core/model/MeterScale.h"
#include "core/model/MeterScaleTable.h"
#include "core/unitlink/UnitPacket.h"

#include <gtest/gtest.h>

#include <limits>

using namespace deskpanel;

namespace {

ProjectPrefs dbuPrefs(int maxLevelDb, int index)
{
    ProjectPrefs prefs;
    prefs.meterScaleDbu = 1;
    prefs.meterScaleDbfs = 0;
    prefs.dbuMaxLevel = maxLevelDb;
    prefs.dbuMaxLevelIndex = index;
    return prefs;
}

ProjectPrefs dbfsPrefs(int referenceDb, int index)
{
    ProjectPrefs prefs;
    prefs.dbfsReference = referenceDb;
    prefs.dbfsReferenceIndex = index;
    return prefs;
}

} // namespace

TEST(MeterLevel, LevelWordIsSignFlagAndMagnitude)
{
    // Host-order word: high byte the sign flag (0 = negative), low byte the magnitude.
    EXPECT_EQ(decodeLevel(0x0005), -5);
    EXPECT_EQ(decodeLevel(0x0105), 5);
    EXPECT_EQ(decodeLevel(0x0000), 0);
    EXPECT_EQ(decodeLevel(0x800C), 12);
    EXPECT_EQ(decodeLevel(0x00FF), -255);
    EXPECT_EQ(decodeLevel(0xFFFF), 255);
}

TEST(MeterScaleTable, EveryTableStrictlyDescendsAndClampsToItsEnds)
{
    struct Row {
        const MeterScaleTable* table;
        int clampLow;
        int clampHigh;
    };
    const Row rows[] = {
        {dbuScaleTable(22), -28, 22},   {dbuScaleTable(18), -28, 18},   {dbuScaleTable(15), -28, 15},
        {dbuScaleTable(12), -28, 12},   {dbuScaleTable(9), -28, 9},     {dbfsScaleTable(-15), -31, 19},
        {dbfsScaleTable(-18), -28, 22}, {dbfsScaleTable(-20), -26, 24},
    };
    for (const Row& row : rows) {
        ASSERT_NE(row.table, nullptr);
        SCOPED_TRACE(row.table->scaleLevelDb);
        for (std::size_t s = 0; s + 1 < row.table->thresholdsDb.size(); ++s)
            EXPECT_GT(row.table->thresholdsDb[s], row.table->thresholdsDb[s + 1]) << "at " << s;
        EXPECT_EQ(row.table->clampDb(-1000), row.clampLow);
        EXPECT_EQ(row.table->clampDb(1000), row.clampHigh);
    }
    EXPECT_EQ(dbuScaleTable(17), nullptr);
    EXPECT_EQ(dbfsScaleTable(18), nullptr);
}

// The eight tables as the meters are specified, checked threshold by threshold through
// the positions they give: a level on threshold s starts segment s, one dB below it lies
// inside segment s at its fraction, and the last threshold is the empty meter.
TEST(MeterScaleTable, EveryThresholdOfEveryTable)
{
    struct Row {
        const char* scale;
        const MeterScaleTable* table;
        std::array<int, 21> thresholds;
    };
    const Row rows[] = {
        {"dBU 22", dbuScaleTable(22), {22, 21, 20, 19, 18, 17, 16,  15,  14,  13, 12,
                                       11, 10, 7,  4,  0,  -5, -10, -15, -22, -28}},
        {"dBU 18", dbuScaleTable(18), {18, 17, 16, 15, 14,  13,  12,  11,  10,  9,  8,
                                       7,  6,  4,  0,  -13, -16, -19, -22, -25, -28}},
        {"dBU 15", dbuScaleTable(15), {15, 14, 13, 12, 11, 10,  9,   8,   7,   6,  5,
                                       4,  3,  0,  -4, -8, -12, -16, -20, -24, -28}},
        {"dBU 12", dbuScaleTable(12), {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, -3, -6, -9, -12, -16, -20, -24, -28}},
        {"dBU 9", dbuScaleTable(9), {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, -1, -2, -3, -5, -7, -10, -13, -16, -19, -25, -28}},
        {"dBFS -15", dbfsScaleTable(-15), {19, 18, 17, 16, 15, 14, 13,  12,  11,  9,  7,
                                           5,  3,  1,  -1, -3, -6, -11, -16, -21, -31}},
        {"dBFS -18", dbfsScaleTable(-18), {22, 21, 20, 19, 18, 17, 16, 15,  14,  12, 10,
                                           8,  6,  4,  2,  0,  -3, -8, -13, -18, -28}},
        {"dBFS -20", dbfsScaleTable(-20), {24, 23, 22, 21, 20, 19, 18, 17,  16,  14, 12,
                                           10, 8,  6,  4,  2,  -1, -6, -11, -16, -26}},
    };
    for (const Row& row : rows) {
        ASSERT_NE(row.table, nullptr) << row.scale;
        const auto& t = row.thresholds;
        for (int s = 0; s < MeterSegmentCount; ++s) {
            SCOPED_TRACE(std::string(row.scale) + " threshold " + std::to_string(s));
            const auto k = static_cast<std::size_t>(s);
            EXPECT_EQ(peakSegment(*row.table, t[k]), (SegmentPosition{s, 0.0}));
            const SegmentPosition inside = peakSegment(*row.table, t[k] - 1);
            if (t[k] - 1 > t[k + 1]) {
                EXPECT_EQ(inside.segment, s);
                EXPECT_DOUBLE_EQ(inside.fraction, -1.0 / (t[k + 1] - t[k]));
            } else {
                EXPECT_EQ(inside.segment, s + 1); // a one-dB segment
            }
        }
        EXPECT_EQ(peakSegment(*row.table, t[20]), (SegmentPosition{EmptyMeterSegment, 0.0})) << row.scale;
    }
}

TEST(MeterScaleTable, PositionsRiseSteadilyAsTheLevelFalls)
{
    auto check = [](const MeterScaleTable& table) {
        SCOPED_TRACE(table.scaleLevelDb);
        double previous = -1.0;
        for (int level = table.topDb() + 10; level >= table.bottomDb() - 10; --level) {
            const SegmentPosition position = peakSegment(table, level);
            EXPECT_GE(position.fraction, 0.0);
            EXPECT_LT(position.fraction, 1.0);
            EXPECT_GE(position.segment, 0);
            EXPECT_LE(position.segment, EmptyMeterSegment);
            EXPECT_GE(position.peakSegment(), previous) << "level " << level;
            if (level < table.topDb() && level > table.bottomDb()) {
                EXPECT_GT(position.peakSegment(), previous) << "level " << level;
            }
            previous = position.peakSegment();
        }
    };
    for (const auto& table : dbuScaleTables())
        check(table);
    for (const auto& table : dbfsScaleTables())
        check(table);
}

TEST(MeterScale, DbfsMinus18AtTheTopAndInsideASegment)
{
    const MeterScale scale = MeterScale::fromPrefs(ProjectPrefs{});
    ASSERT_EQ(scale.kind(), MeterScaleKind::Dbfs);
    ASSERT_EQ(scale.scaleLevelDb(), -18);

    const MeterReading top = scale.read(22);
    EXPECT_EQ(top.position, (SegmentPosition{0, 0.0}));
    EXPECT_TRUE(top.isOver());

    const MeterReading mid = scale.read(13); // 14 >= 13 > 12
    EXPECT_EQ(mid.position, (SegmentPosition{8, 0.5}));
    EXPECT_EQ(mid.readoutCandidate, -9); // -8 + trunc(-2 x 0.5)
    EXPECT_FALSE(mid.isOver());
    EXPECT_EQ(mid.vuHeight, 3603); // 44 x 4095 / 50
}

TEST(MeterScale, DbfsReadoutsAtTheBottom)
{
    const MeterScale scale = MeterScale::fromPrefs(dbfsPrefs(-15, 0));
    EXPECT_EQ(scale.read(-31).position.segment, EmptyMeterSegment);
    EXPECT_EQ(scale.read(-31).readoutCandidate, -50);
    EXPECT_EQ(scale.read(-60).readoutCandidate, -50);
    const MeterReading nearBottom = scale.read(-30); // -21 >= -30 > -31, fraction 0.9
    EXPECT_EQ(nearBottom.position.segment, 19);
    EXPECT_EQ(nearBottom.readoutCandidate, -49); // -40 + trunc(-10 x 0.9)
}

TEST(MeterScale, DbuReadoutIsTheClampedLevel)
{
    const MeterScale scale = MeterScale::fromPrefs(dbuPrefs(22, 0));
    ASSERT_EQ(scale.kind(), MeterScaleKind::Dbu);
    EXPECT_TRUE(scale.read(22).isOver());
    EXPECT_EQ(scale.read(22).readoutCandidate, 22);
    const MeterReading hot = scale.read(30);
    EXPECT_TRUE(hot.isOver());
    EXPECT_EQ(hot.readoutCandidate, 22);
    EXPECT_EQ(scale.read(-40).readoutCandidate, -28);
    EXPECT_EQ(scale.read(-40).position.segment, EmptyMeterSegment);
    EXPECT_EQ(scale.read(5).position, (SegmentPosition{13, 2.0 / 3.0})); // 7 >= 5 > 4
}

TEST(MeterScale, VuHeightSpansAndCaps)
{
    const MeterScale dbu22 = MeterScale::fromPrefs(dbuPrefs(22, 0));
    EXPECT_EQ(dbu22.vuHeightOf(-31), 0);
    EXPECT_EQ(dbu22.vuHeightOf(-40), 0);
    EXPECT_EQ(dbu22.vuHeightOf(22), 4019);
    EXPECT_EQ(dbu22.vuHeightOf(60), 4019);
    EXPECT_EQ(dbu22.vuHeightOf(-30), 75);

    struct Row {
        ProjectPrefs prefs;
        int span;
        int cap;
    };
    const Row rows[] = {
        {dbuPrefs(22, 0), 54, 4019},   {dbuPrefs(18, 1), 50, 4013},   {dbuPrefs(15, 2), 47, 4007},
        {dbuPrefs(12, 3), 44, 4001},   {dbuPrefs(9, 4), 41, 3995},    {dbfsPrefs(-15, 0), 47, 4007},
        {dbfsPrefs(-18, 1), 50, 4013}, {dbfsPrefs(-20, 2), 52, 4016},
    };
    for (const Row& row : rows) {
        const MeterScale scale = MeterScale::fromPrefs(row.prefs);
        SCOPED_TRACE(scale.scaleLevelDb());
        EXPECT_EQ(scale.vuSpanDb(), row.span);
        EXPECT_EQ(scale.vuCap(), row.cap);
        EXPECT_EQ(scale.vuHeightOf(200), row.cap);
    }
}

TEST(MeterScale, NeitherScaleSetFallsBackToDbfsMinus18WithTheWideSpan)
{
    ProjectPrefs prefs;
    prefs.meterScaleDbu = 0;
    prefs.meterScaleDbfs = 0;
    prefs.dbfsReference = -20;
    const MeterScale scale = MeterScale::fromPrefs(prefs);
    EXPECT_TRUE(scale.isFallback());
    EXPECT_EQ(scale.kind(), MeterScaleKind::Dbfs);
    EXPECT_EQ(scale.scaleLevelDb(), -18);
    EXPECT_EQ(scale.vuSpanDb(), 55);
    EXPECT_EQ(scale.vuHeightOf(22), 3946); // 53 x 4095 / 55, no cap
    EXPECT_EQ(scale.vuHeightOf(24), 4094); // 4095 is one past the palette
    EXPECT_EQ(scale.read(13).readoutCandidate, -9);
    EXPECT_TRUE(scale.read(22).isOver());
}

TEST(MeterScale, DbuWinsWhenBothScaleWordsAreSet)
{
    ProjectPrefs prefs = dbuPrefs(18, 1);
    prefs.meterScaleDbfs = 1;
    EXPECT_EQ(MeterScale::fromPrefs(prefs).kind(), MeterScaleKind::Dbu);
    // The dialog checks "dBU" only for a word of 1, and the meters agree with it.
    prefs.meterScaleDbu = 2;
    EXPECT_EQ(MeterScale::fromPrefs(prefs).kind(), MeterScaleKind::Dbfs);
}

TEST(MeterScale, DamagedLevelWordsNeverGiveAnUnusableSpan)
{
    // A max level off the list takes the list index...
    EXPECT_EQ(MeterScale::fromPrefs(dbuPrefs(17, 2)).scaleLevelDb(), 15);
    // ...and with the index off the list too, the default. -32 would make the span 0.
    const MeterScale broken = MeterScale::fromPrefs(dbuPrefs(-32, 9));
    EXPECT_EQ(broken.scaleLevelDb(), 22);
    EXPECT_EQ(broken.vuSpanDb(), 54);
    EXPECT_EQ(MeterScale::fromPrefs(dbfsPrefs(32, -1)).scaleLevelDb(), -18);
    EXPECT_EQ(MeterScale::fromPrefs(dbfsPrefs(99, 2)).scaleLevelDb(), -20);
}

TEST(MeterScale, ExtremeLevelsStayOnTheScale)
{
    const MeterScale scale = MeterScale::fromPrefs(ProjectPrefs{});
    const int extremes[] = {std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), 255, -255};
    for (int level : extremes) {
        const MeterReading reading = scale.read(level);
        EXPECT_GE(reading.vuHeight, 0);
        EXPECT_LE(reading.vuHeight, scale.vuCap());
        EXPECT_GE(reading.readoutCandidate, -50);
        EXPECT_LE(reading.readoutCandidate, 0);
    }
    EXPECT_EQ(vuHeight(10, 0, 4094), 0);
    EXPECT_EQ(vuHeight(10, -5, 4094), 0);
}
