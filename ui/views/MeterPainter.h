#pragma once
#include "core/model/MeterListener.h"
#include "core/model/ProjectPrefs.h"

#include <QFont>
#include <QRect>

class QPainter;

namespace deskpanel {

// What the meter preferences say about drawing, made safe to draw with: a red zone
// threshold outside 4..22 is drawn as the nearest end (the stored word is kept).
struct MeterLook {
    int redZoneThreshold = 20;
    bool peakOverVu = true; // "Peak over VU": the overview draws the held-peak mark
    bool scaleSet = true; // a dBU or dBFS scale is chosen: the underview shows its readout

    static MeterLook fromPrefs(const ProjectPrefs& prefs);
};

// Draws one level meter from its latest state. Heights are limited to the meter and
// colour heights to 0..4095, whatever a reading holds, so nothing is drawn outside the
// meter or with a colour the palette does not have.
class MeterPainter {
public:
    // The area a meter paints: its rectangle and the one row below it that the unlit
    // scale reaches.
    static QRect paintedArea(const QRect& meter) { return meter.adjusted(0, 0, 0, 1); }

    // A full-size meter (202 pixels of scale): unlit scale, readout box ("Ovr" in red at
    // over, the reset mark after a click), "dB", held-peak mark, striped bar, frame. A
    // silent meter shows an empty readout box and no held-peak mark.
    static void paintUnderview(QPainter& p, const QRect& meter, const MeterState& state, const MeterLook& look,
                               const QFont& readoutFont);
    // A compact meter (95 pixels of scale): unlit scale, held-peak mark in "Peak over
    // VU", and the striped bar with its frame only while something is lit.
    static void paintOverview(QPainter& p, const QRect& meter, const MeterState& state, const MeterLook& look);

    // The lit bar: stripes 2 pixels high from `top` down to the meter's bottom (exclusive).
    static void paintBar(QPainter& p, const QRect& meter, int top, int vuHeight, int redZoneThreshold);
};

} // namespace deskpanel
