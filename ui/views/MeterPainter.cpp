#include "ui/views/MeterPainter.h"

#include "core/model/MeterHold.h"
#include "core/model/MeterPalette.h"
#include "core/model/MeterScale.h"
#include "ui/controls/ImageRegistry.h"

#include <QPainter>

#include <algorithm>

namespace deskpanel {
namespace {

constexpr int MinRedZone = 4;
constexpr int MaxRedZone = 22;
const QColor Black(0, 0, 0);
const QColor TextBlue(81, 165, 187);
const QColor OverRed(255, 0, 0);

QColor toColor(Rgb c)
{
    return QColor(c.red, c.green, c.blue);
}

// Rectangles here are given as left, top, right, bottom with right and bottom outside,
// the way the layout lines give them; an inverted one draws nothing.
void fill(QPainter& p, int l, int t, int r, int b, const QColor& colour)
{
    if (r > l && b > t)
        p.fillRect(QRect(l, t, r - l, b - t), colour);
}

// A one-pixel black border just inside the rectangle.
void frame(QPainter& p, int l, int t, int r, int b)
{
    if (r <= l || b <= t)
        return;
    fill(p, l, t, r, t + 1, Black);
    fill(p, l, b - 1, r, b, Black);
    fill(p, l, t, l + 1, b, Black);
    fill(p, r - 1, t, r, b, Black);
}

// The dark well below the readout (or the top of the compact meter) down to the bar.
void paintUnlitScale(QPainter& p, int l, int t, int r, int b, const QColor& well)
{
    fill(p, l, t, r, b, well);
    frame(p, l, t, r, b);
    frame(p, l + 1, t + 1, r - 1, b);
}

} // namespace

MeterLook MeterLook::fromPrefs(const ProjectPrefs& prefs)
{
    MeterLook look;
    look.redZoneThreshold = std::clamp<int>(prefs.redZoneThreshold, MinRedZone, MaxRedZone);
    look.peakOverVu = prefs.meterDisplay2 != 0;
    look.scaleSet = !MeterScale::fromPrefs(prefs).isFallback();
    return look;
}

void MeterPainter::paintBar(QPainter& p, const QRect& meter, int top, int vuHeight, int redZoneThreshold)
{
    const int bottom = meter.top() + meter.height();
    const int threshold = std::clamp(redZoneThreshold, MinRedZone, MaxRedZone);
    const int v = std::clamp(vuHeight, 0, VuHeightFull);
    for (int y = top; y < bottom; y += 2) {
        const QColor colour = toColor(barStripeColour(v, y, top, bottom, threshold));
        fill(p, meter.left(), y, meter.left() + meter.width(), std::min(y + 2, bottom), colour);
    }
}

void MeterPainter::paintUnderview(QPainter& p, const QRect& meter, const MeterState& state, const MeterLook& look,
                                  const QFont& readoutFont)
{
    const int scale = meter.height();
    const int l = meter.left(), t = meter.top(), r = meter.left() + meter.width(), b = t + scale;
    const int lit = std::clamp(state.heightPx, 0, scale);
    // The held-peak mark reaches 2 pixels above its height: it stays inside the meter.
    const int held = std::clamp(state.heldHeightPx, 0, scale - 2);
    const int v = std::clamp(state.vuHeight, 0, VuHeightFull);

    fill(p, l, t, r, b - lit, Black);
    paintUnlitScale(p, l, t + 27, r, b - lit + 1, QColor(51, 50, 50));

    const QRect readoutBox(l, t + 1, r - l, 12);
    p.setFont(readoutFont);
    if (state.resetMarkShown) {
        ImageRegistry::instance().draw(p, 226, QRect(l + 1, t + 3, 18, 11));
    } else if (look.scaleSet) {
        p.fillRect(readoutBox, Black);
        const bool over = state.peakReadout == OverReadout;
        p.setPen(over ? OverRed : TextBlue);
        if (!state.silent)
            p.drawText(readoutBox, Qt::AlignCenter, over ? QStringLiteral("Ovr") : QString::number(state.peakReadout));
    }
    p.setPen(TextBlue);
    p.drawText(QRect(l, t + 12, r - l, 16), Qt::AlignCenter, QStringLiteral("dB"));

    if (!state.silent)
        fill(p, l + 2, b - held - 2, r - 2, b - held + 1, toColor(levelStepColour(v)));
    paintBar(p, meter, b - lit, v, look.redZoneThreshold);

    frame(p, l, t, r, b);
    frame(p, l + 1, t + 1, r - 1, b - 1);
}

void MeterPainter::paintOverview(QPainter& p, const QRect& meter, const MeterState& state, const MeterLook& look)
{
    const int scale = meter.height();
    const int l = meter.left(), t = meter.top(), r = meter.left() + meter.width(), b = t + scale;
    const int lit = std::clamp(state.heightPx, 0, scale);
    const int held = std::clamp(state.heldHeightPx, 0, scale - 2);
    const int v = std::clamp(state.vuHeight, 0, VuHeightFull);

    const int unlitBottom = t + scale - static_cast<int>(lit * 0.02148);
    fill(p, l, t, r, unlitBottom, Black);
    paintUnlitScale(p, l, t + 7, r, unlitBottom + 1, QColor(51, 49, 50));

    if (look.peakOverVu && !state.silent)
        fill(p, l + 2, b - held - 2, r - 2, b - held + 1, toColor(levelStepColour(v)));

    // A silent input lights nothing: no stripes and no frame.
    if (lit == 0)
        return;
    const int top = b - lit;
    paintBar(p, meter, top, v, look.redZoneThreshold);
    frame(p, l, top, r, b);
    frame(p, l + 1, top + 1, r - 1, b - 1);
}

} // namespace deskpanel
