// The main window's geometry rules at 96 and 120 pixels per inch.
#include "ui/main/MainLayout.h"

#include <gtest/gtest.h>

namespace deskpanel {
namespace {

TEST(MainLayout, CompanionsFollowTheSceneListAndTheUnitBoxes)
{
    for (int dpi : {96, 120}) {
        SCOPED_TRACE(dpi);
        const MainLayout l = MainLayout::compute({dpi, dpi, QSize(1920, 1080)});
        const bool at120 = dpi == 120;
        const QRect& list = l.sceneList;
        const int listRight = list.x() + list.width();
        const int listBottom = list.y() + list.height();
        for (const QRect& button : {l.recallButton, l.newButton, l.deleteButton, l.lockButton, l.overviewButton})
            EXPECT_EQ(button.y(), listBottom + 8);
        // The label anchor is centred over the list.
        EXPECT_LE(std::abs(l.activeLabelAnchor.center().x() - list.center().x()), 1);
        if (at120) {
            EXPECT_EQ(l.sceneScrollBar.topLeft(), QPoint(listRight, list.y() - 11));
            EXPECT_EQ(l.sceneScrollBar.height(), list.height() + 17);
            EXPECT_EQ(l.unitScrollBar, QRect(l.unitStatus.x() + l.unitStatus.width() + 4, l.unitStatus.y() - 9, 24,
                                             l.unitStatus.height() + 11));
            // Delete keeps its width; the others are three quarters as wide.
            EXPECT_EQ(l.deleteButton.width(), 60); // 32 dialog units
            EXPECT_EQ(l.newButton.width(), 65); // 0.75 x 86
        } else {
            EXPECT_EQ(l.sceneScrollBar.topLeft(), QPoint(listRight + 1, list.y() - 4));
            EXPECT_EQ(l.sceneScrollBar.height(), list.height() + 6);
            EXPECT_EQ(l.unitScrollBar.topLeft(),
                      QPoint(l.unitStatus.x() + l.unitStatus.width() + 6, l.unitStatus.y() - 5));
            EXPECT_EQ(l.overview.width(), 1040); // widened from 993
        }
    }
}

TEST(MainLayout, ExactlyNinetySixDecidesTheListRules)
{
    struct Case {
        DisplayMetrics metrics;
        int rangeVisible;
        int dragScrollIndex;
        int unitNumberTop;
    };
    const Case cases[] = {{{96, 96, QSize(1920, 1080)}, 6, 5, 6},
                          {{120, 120, QSize(1920, 1080)}, 4, 3, 4},
                          {{96, 120, QSize(1920, 1080)}, 4, 3, 6},
                          {{144, 144, QSize(1920, 1080)}, 4, 3, 6}};
    for (const Case& c : cases) {
        const MainLayout l = MainLayout::compute(c.metrics);
        EXPECT_EQ(l.sceneRangeVisible, c.rangeVisible);
        EXPECT_EQ(l.dragScrollIndex, c.dragScrollIndex);
        EXPECT_EQ(l.unitNumberTop, c.unitNumberTop);
    }
}

} // namespace
} // namespace deskpanel
