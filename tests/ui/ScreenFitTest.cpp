// Which layout the main window takes on a screen, and the sizes that keep its frame
// inside the work area.
#include "ui/main/ScreenFit.h"

#include <gtest/gtest.h>

namespace deskpanel {
namespace {

TEST(ScreenFit, LayoutAndSizesFollowTheEffectiveDpiAndTheWorkArea)
{
    struct Case {
        const char* name;
        DisplayMetrics screen;
        QSize laidOut; // 829 x 632: the compact layout
        QSize size; // fitted, without the frame (8 wide, 36 high)
        QSize minimum;
    };
    const Case cases[] = {
        {"full HD at 96", {96, 96, {1920, 1080}, 1.0, {0, 0, 1920, 1040}}, {1102, 789}, {1102, 789}, {960, 780}},
        {"full HD at 120", {120, 120, {1920, 1080}, 1.0, {0, 0, 1920, 1040}}, {829, 632}, {960, 780}, {960, 780}},
        {"110 stays normal", {110, 110, {1920, 1080}, 1.0, {}}, {1102, 789}, {1102, 789}, {960, 780}},
        // 150 %: Qt's logical screen is 1280 x 720 at 96; 144 device pixels per inch.
        {"laptop at 150 %", {96, 96, {1280, 720}, 1.5, {0, 0, 1280, 680}}, {829, 632}, {829, 644}, {640, 644}},
        {"125 % is 120", {96, 96, {1536, 864}, 1.25, {0, 0, 1536, 824}}, {829, 632}, {829, 780}, {768, 780}},
        // 789 + 36 does not fit 740 pixels of work area.
        {"1366 x 768 at 96", {96, 96, {1366, 768}, 1.0, {0, 28, 1366, 740}}, {829, 632}, {829, 704}, {683, 704}},
        {"tall enough at 96", {96, 96, {1600, 900}, 1.0, {0, 0, 1600, 860}}, {1102, 789}, {1102, 789}, {800, 780}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QSize laidOut = MainLayout::compute(ScreenFit::layoutMetrics(c.screen)).windowSize;
        EXPECT_EQ(laidOut, c.laidOut);
        const QSize screen = c.screen.screen;
        const QSize minimum(screen.width() / 2, std::min(MainLayout::MinTrackingHeight, screen.height()));
        const ScreenFit::Sizes sizes =
            ScreenFit::fit(laidOut, minimum, c.screen.availableArea(), ScreenFit::FrameAllowance);
        EXPECT_EQ(sizes.size, c.size);
        EXPECT_EQ(sizes.minimum, c.minimum);
    }
    // A frame off the work area's right and bottom is moved in; one larger keeps its corner in sight.
    const QRect work(0, 28, 1366, 740);
    EXPECT_EQ(ScreenFit::placeInside({900, 300, 800, 600}, work), QPoint(566, 168));
    EXPECT_EQ(ScreenFit::placeInside({200, 200, 1500, 900}, work), QPoint(0, 28));
}

} // namespace
} // namespace deskpanel
