#pragma once
#include <array>

namespace deskpanel {

// The meters show 20 segments; segment 0 is the top of the scale and 20 stands for an
// empty meter.
constexpr int MeterSegmentCount = 20;
constexpr int EmptyMeterSegment = MeterSegmentCount;

// One scale of the meters: 21 strictly descending dB thresholds. A level L lies in
// segment s when t[s] >= L > t[s + 1]. Peaks are clamped to t[20]..t[0] first.
struct MeterScaleTable {
    int scaleLevelDb; // the dBU max level or the dBFS reference this table serves
    std::array<int, MeterSegmentCount + 1> thresholdsDb;

    int topDb() const { return thresholdsDb.front(); }
    int bottomDb() const { return thresholdsDb.back(); }
    int clampDb(int levelDb) const;
};

// Where a level lies on a scale: the whole segment and the fraction within it, from 0
// up to but not including 1. peakSegment() = segment + fraction.
struct SegmentPosition {
    int segment = EmptyMeterSegment;
    double fraction = 0.0;

    double peakSegment() const { return segment + fraction; }
    bool operator==(const SegmentPosition&) const = default;
};

// The five dBU tables in the order of the max level list: 22, 18, 15, 12, 9.
const std::array<MeterScaleTable, 5>& dbuScaleTables();
// The three dBFS tables in the order of the reference list: -15, -18, -20.
const std::array<MeterScaleTable, 3>& dbfsScaleTables();

// The table for a dBU max level or a dBFS reference; nullptr for any other value.
const MeterScaleTable* dbuScaleTable(int maxLevelDb);
const MeterScaleTable* dbfsScaleTable(int referenceDb);

// The position of a level on a table, after clamping it to the table's range. The top
// threshold gives segment 0 with fraction 0 (over); the bottom one segment 20.
SegmentPosition peakSegment(const MeterScaleTable& table, int levelDb);

// The dBFS readout labels, one per threshold and the last repeated, shared by the three
// dBFS scales.
const std::array<int, MeterSegmentCount + 2>& dbfsReadoutLabels();

// The number above an underview meter on the dBFS scale: the label of the segment
// interpolated towards the next one, truncated towards zero.
int dbfsReadout(const SegmentPosition& position);

} // namespace deskpanel
