#pragma once
#include "core/model/MeterScaleTable.h"
#include "core/model/ProjectPrefs.h"

namespace deskpanel {

// The colour scale of the meters runs 0..4095; the palette has entries 0..4094.
constexpr int VuHeightFull = 4095;
constexpr int VuSpanWithoutScaleDb = 55;

// vuHeight: (level + 31) x 4095 / span, truncated, limited to `capHeight`; a level
// below -31 dB gives 0.
int vuHeight(int levelDb, int spanDb, int capHeight);
// The cap of a scale: 4095 x (span - 1) / span, truncated.
int vuHeightCap(int spanDb);

enum class MeterScaleKind {
    Dbu,
    Dbfs
};

// What one level means on the present scale: its position (peakSegment), its vuHeight
// and the readout it offers the underview (`readoutCandidate`, before the hold rules).
struct MeterReading {
    SegmentPosition position;
    int vuHeight = 0;
    int readoutCandidate = 0;

    bool isOver() const { return position.segment <= 0; }
};

// The scale chosen by the meter preferences, resolved once per use. A record with
// neither scale word set shows segment and readout on dBFS -18 and the colours on the
// 55 dB span without a cap. A max level or reference that is not on its list is taken
// from its list index, and failing that from the default, so a damaged record never
// gives a span of zero or below.
class MeterScale {
public:
    static MeterScale fromPrefs(const ProjectPrefs& prefs);

    MeterScaleKind kind() const { return m_kind; }
    const MeterScaleTable& table() const { return *m_table; }
    // dBU max level or dBFS reference of the table in use.
    int scaleLevelDb() const { return m_table->scaleLevelDb; }
    // Neither scale word was set.
    bool isFallback() const { return m_fallback; }
    int vuSpanDb() const { return m_vuSpanDb; }
    int vuCap() const { return m_vuCap; }

    int vuHeightOf(int levelDb) const { return vuHeight(levelDb, m_vuSpanDb, m_vuCap); }
    MeterReading read(int levelDb) const;

private:
    MeterScale(MeterScaleKind kind, const MeterScaleTable& table, bool fallback);

    MeterScaleKind m_kind;
    const MeterScaleTable* m_table;
    bool m_fallback;
    int m_vuSpanDb;
    int m_vuCap;
};

} // namespace deskpanel
