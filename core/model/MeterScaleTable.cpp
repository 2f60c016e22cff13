#include "core/model/MeterScaleTable.h"

#include <algorithm>

namespace deskpanel {

int MeterScaleTable::clampDb(int levelDb) const
{
    return std::clamp(levelDb, bottomDb(), topDb());
}

const std::array<MeterScaleTable, 5>& dbuScaleTables()
{
    static const std::array<MeterScaleTable, 5> tables{{
        {22, {22, 21, 20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10, 7, 4, 0, -5, -10, -15, -22, -28}},
        {18, {18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 4, 0, -13, -16, -19, -22, -25, -28}},
        {15, {15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 0, -4, -8, -12, -16, -20, -24, -28}},
        {12, {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, -3, -6, -9, -12, -16, -20, -24, -28}},
        {9, {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, -1, -2, -3, -5, -7, -10, -13, -16, -19, -25, -28}},
    }};
    return tables;
}

const std::array<MeterScaleTable, 3>& dbfsScaleTables()
{
    static const std::array<MeterScaleTable, 3> tables{{
        {-15, {19, 18, 17, 16, 15, 14, 13, 12, 11, 9, 7, 5, 3, 1, -1, -3, -6, -11, -16, -21, -31}},
        {-18, {22, 21, 20, 19, 18, 17, 16, 15, 14, 12, 10, 8, 6, 4, 2, 0, -3, -8, -13, -18, -28}},
        {-20, {24, 23, 22, 21, 20, 19, 18, 17, 16, 14, 12, 10, 8, 6, 4, 2, -1, -6, -11, -16, -26}},
    }};
    return tables;
}

namespace {

template <std::size_t N>
const MeterScaleTable* findTable(const std::array<MeterScaleTable, N>& tables, int scaleLevelDb)
{
    for (const MeterScaleTable& table : tables) {
        if (table.scaleLevelDb == scaleLevelDb)
            return &table;
    }
    return nullptr;
}

} // namespace

const MeterScaleTable* dbuScaleTable(int maxLevelDb)
{
    return findTable(dbuScaleTables(), maxLevelDb);
}

const MeterScaleTable* dbfsScaleTable(int referenceDb)
{
    return findTable(dbfsScaleTables(), referenceDb);
}

SegmentPosition peakSegment(const MeterScaleTable& table, int levelDb)
{
    const int level = table.clampDb(levelDb);
    const auto& t = table.thresholdsDb;
    for (int s = 0; s < MeterSegmentCount; ++s) {
        if (t[s] >= level && level > t[s + 1]) {
            const double fraction = static_cast<double>(level - t[s]) / (t[s + 1] - t[s]);
            return {s, fraction};
        }
    }
    return {};
}

const std::array<int, MeterSegmentCount + 2>& dbfsReadoutLabels()
{
    static const std::array<int, MeterSegmentCount + 2> labels{0,   -1,  -2,  -3,  -4,  -5,  -6,  -7,  -8,  -10, -12,
                                                               -14, -16, -18, -20, -22, -25, -30, -35, -40, -50, -50};
    return labels;
}

int dbfsReadout(const SegmentPosition& position)
{
    const auto& labels = dbfsReadoutLabels();
    const int s = std::clamp(position.segment, 0, EmptyMeterSegment);
    const int step = labels[s + 1] - labels[s];
    return labels[s] + static_cast<int>(step * position.fraction);
}

} // namespace deskpanel
