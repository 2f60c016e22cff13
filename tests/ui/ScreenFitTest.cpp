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
        bool compact;
        QSize laidOut; // the window the layout asks for
        QSize size; // fitted, without the frame
        QSize minimum;
    };
    const QMargins frame = ScreenFit::FrameAllowance; // 8 wide, 36 high
    const Case cases[] = {
        {"full HD at 96", {96, 96, {1920, 1080}, 1.0, {0, 0, 1920, 1040}}, false, {1102, 789}, {1102, 789}, {960, 780}},
        {"full HD at 120", {120, 120, {1920, 1080}, 1.0, {0, 0, 1920, 1040}}, true, {829, 632}, {960, 780}, {960, 780}},
        {"110 stays normal", {110, 110, {1920, 1080}, 1.0, {}}, false, {1102, 789}, {1102, 789}, {960, 780}},
        // 150 %: Qt's logical screen is 1280 x 720 with 96 per inch; 144 device pixels per inch.
        {"laptop at 150 %", {96, 96, {1280, 720}, 1.5, {0, 0, 1280, 680}}, true, {829, 632}, {829, 644}, {640, 644}},
        {"125 % is 120", {96, 96, {1536, 864}, 1.25, {0, 0, 1536, 824}}, true, {829, 632}, {829, 780}, {768, 780}},
        // 789 + 36 does not fit 740 pixels of work area.
        {"1366 x 768 at 96", {96, 96, {1366, 768}, 1.0, {0, 28, 1366, 740}}, true, {829, 632}, {829, 704}, {683, 704}},
        {"1024 x 600 netbook", {96, 96, {1024, 600}, 1.0, {0, 0, 1024, 576}}, true, {829, 632}, {829, 540}, {512, 540}},
        {"tall enough at 96",
         {96, 96, {1600, 900}, 1.0, {0, 0, 1600, 860}},
         false,
         {1102, 789},
         {1102, 789},
         {800, 780}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ScreenFit::wantsCompactLayout(c.screen), c.compact);
        const DisplayMetrics layoutMetrics = ScreenFit::layoutMetrics(c.screen);
        EXPECT_EQ(layoutMetrics.is120(), c.compact);
        EXPECT_EQ(layoutMetrics.availableArea(), c.screen.availableArea()); // the screen is kept
        const QSize laidOut = MainLayout::compute(layoutMetrics).windowSize;
        EXPECT_EQ(laidOut, c.laidOut);
        const QSize screen = c.screen.screen;
        const QSize minimum(screen.width() / 2, std::min(MainLayout::MinTrackingHeight, screen.height()));
        const ScreenFit::Sizes sizes = ScreenFit::fit(laidOut, minimum, c.screen.availableArea(), frame);
        EXPECT_EQ(sizes.size, c.size);
        EXPECT_EQ(sizes.minimum, c.minimum);
        EXPECT_LE(sizes.size.grownBy(frame).height(), c.screen.availableArea().height());
    }
}

TEST(ScreenFit, AFrameIsMovedInsideTheWorkAreaWithItsTitleBarInSight)
{
    const QRect work(0, 28, 1366, 740);
    struct Case {
        QRect frame;
        QPoint topLeft;
    };
    const Case cases[] = {
        {{100, 100, 800, 600}, {100, 100}}, // inside: stays
        {{900, 300, 800, 600}, {566, 168}}, // off the right and the bottom
        {{-50, 0, 800, 600}, {0, 28}}, // off the left and under the top panel
        {{200, 200, 1500, 900}, {0, 28}}, // larger than the work area: its corner shows
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScreenFit::placeInside(c.frame, work), c.topLeft) << c.frame.x() << "," << c.frame.y();
}

} // namespace
} // namespace deskpanel
