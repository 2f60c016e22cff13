#include "core/model/MeterScale.h"

#include <algorithm>

namespace deskpanel {

namespace {

// Levels come from one byte of magnitude; anything far outside is clamped so the
// arithmetic below cannot overflow.
constexpr int LevelLimitDb = 1000;

template <std::size_t N>
const MeterScaleTable& resolveTable(const std::array<MeterScaleTable, N>& tables, const MeterScaleTable* byValue,
                                    int listIndex, int defaultIndex)
{
    if (byValue != nullptr)
        return *byValue;
    if (listIndex >= 0 && listIndex < static_cast<int>(N))
        return tables[static_cast<std::size_t>(listIndex)];
    return tables[static_cast<std::size_t>(defaultIndex)];
}

} // namespace

int vuHeight(int levelDb, int spanDb, int capHeight)
{
    if (spanDb <= 0)
        return 0;
    const int level = std::clamp(levelDb, -LevelLimitDb, LevelLimitDb);
    const int height = (level + 31) * VuHeightFull / spanDb;
    return std::clamp(height, 0, capHeight);
}

int vuHeightCap(int spanDb)
{
    return spanDb <= 0 ? 0 : VuHeightFull * (spanDb - 1) / spanDb;
}

MeterScale::MeterScale(MeterScaleKind kind, const MeterScaleTable& table, bool fallback)
    : m_kind(kind), m_table(&table), m_fallback(fallback)
{
    if (fallback) {
        m_vuSpanDb = VuSpanWithoutScaleDb;
        m_vuCap = VuHeightFull - 1;
    } else {
        m_vuSpanDb = kind == MeterScaleKind::Dbu ? 32 + table.scaleLevelDb : 32 - table.scaleLevelDb;
        m_vuCap = vuHeightCap(m_vuSpanDb);
    }
}

MeterScale MeterScale::fromPrefs(const ProjectPrefs& prefs)
{
    // As the Meter Preferences dialog shows it: dBU only when its word is 1.
    if (prefs.meterScaleDbu == 1) {
        const auto& table = resolveTable(dbuScaleTables(), dbuScaleTable(prefs.dbuMaxLevel), prefs.dbuMaxLevelIndex, 0);
        return MeterScale(MeterScaleKind::Dbu, table, false);
    }
    const bool fallback = prefs.meterScaleDbfs == 0;
    const auto& table =
        fallback ? *dbfsScaleTable(-18)
                 : resolveTable(dbfsScaleTables(), dbfsScaleTable(prefs.dbfsReference), prefs.dbfsReferenceIndex, 1);
    return MeterScale(MeterScaleKind::Dbfs, table, fallback);
}

MeterReading MeterScale::read(int levelDb) const
{
    MeterReading reading;
    reading.vuHeight = vuHeightOf(levelDb);
    reading.position = peakSegment(*m_table, levelDb);
    reading.readoutCandidate =
        m_kind == MeterScaleKind::Dbu ? m_table->clampDb(levelDb) : dbfsReadout(reading.position);
    return reading;
}

} // namespace deskpanel
