#include "core/model/MeterHold.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/views/LayoutLine.h"
#include "ui/views/MeterPainter.h"
#include "ui/views/StripText.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace deskpanel {
namespace {

TEST(LayoutLine, ReadsNameAndFourNumbersWhateverBlanksSeparateThem)
{
    struct Case {
        const char* line;
        QRect rect;
    };
    const Case cases[] = {
        {"TopUnitLeft -0 23 180 49", QRect(0, 23, 180, 26)},
        {"UnitName\t\t210  0 420 36", QRect(210, 0, 210, 36)},
        {"48v  36 176 55 194", QRect(36, 176, 19, 18)},
        {"TopUnitLeft\t  2  0 210 36", QRect(2, 0, 208, 36)},
        {"nGlobalWidth 677", QRect()}, // not a rectangle
        {"Inverted 10 10 5 20", QRect()},
        {"", QRect()},
        {nullptr, QRect()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseLayoutLine(c.line), c.rect) << (c.line ? c.line : "null");
}

TEST(StripText, NamesAreCutByCharactersToTwelveOrElevenAt120Dpi)
{
    EXPECT_EQ(StripText::channelName("ABCDEFGHIJKLMNOPQRST", 96), QStringLiteral("ABCDEFGHIJKL"));
    EXPECT_EQ(StripText::channelName("ABCDEFGHIJKLMNOPQRST", 120), QStringLiteral("ABCDEFGHIJK"));
    // Two bytes a character: twelve whole characters, not six.
    EXPECT_EQ(StripText::channelName("ÄÖÜäöüÄÖÜäöüÄÖÜ", 96), QStringLiteral("ÄÖÜäöüÄÖÜäöü"));
    EXPECT_EQ(StripText::channelName("Kick", 96), QStringLiteral("Kick"));
}

// Whatever a meter state or the preferences hold, nothing is drawn outside the meter's
// area, and the colours come from the palette's ends.
TEST(MeterPainter, WildStatesAndThresholdsStayInsideTheMeter)
{
    const QColor outside(1, 2, 3);
    const QRect underMeter(10, 10, 21, 202), overMeter(40, 10, 9, 95);
    const MeterState wild[] = {
        {SegmentPosition{-5, 0.0}, 99999, 5000, -40, OverReadout, false},
        {SegmentPosition{40, 0.0}, -300, -10, 9000, -12, true},
    };
    for (const int threshold : {-100, 4, 22, 1000}) {
        for (const MeterState& state : wild) {
            QImage image(80, 240, QImage::Format_RGB32);
            image.fill(outside);
            QPainter p(&image);
            ProjectPrefs prefs;
            prefs.redZoneThreshold = threshold;
            const MeterLook look = MeterLook::fromPrefs(prefs);
            EXPECT_GE(look.redZoneThreshold, 4);
            EXPECT_LE(look.redZoneThreshold, 22);
            MeterPainter::paintUnderview(p, underMeter, state, look, QFont());
            MeterPainter::paintOverview(p, overMeter, state, look);
            p.end();
            const QRegion allowed =
                QRegion(MeterPainter::paintedArea(underMeter)) + QRegion(MeterPainter::paintedArea(overMeter));
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (!allowed.contains(QPoint(x, y))) {
                        ASSERT_EQ(image.pixelColor(x, y), outside) << x << "," << y << " threshold " << threshold;
                    }
                }
            }
        }
    }
}

} // namespace
} // namespace deskpanel
