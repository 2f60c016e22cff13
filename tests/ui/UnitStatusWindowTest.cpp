// The unit box panel: pictures follow the states and the LOCAL blink, numbers sit on a
// white ground, and only boxes of units 1..48 react.
#include "ui/views/UnitStatusWindow.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/controls/ScrollBar.h"

#include <gtest/gtest.h>

namespace deskpanel {
namespace {

TEST(UnitStatusWindow, PicturesFollowStatesAndBlinkSteps)
{
    UnitStatusWindow panel(6, 96);
    struct Case {
        UnitState state;
        UnitPicture picture;
    };
    const Case cases[] = {{UnitState::ACTIVE, UnitPicture::Active},
                          {UnitState::OFFLINE, UnitPicture::Offline},
                          {UnitState::CONFLICT, UnitPicture::Conflicted},
                          {UnitState::FAULT, UnitPicture::Fault},
                          {UnitState::INACTIVE, UnitPicture::Inactive}};
    for (const Case& c : cases) {
        panel.setUnitState(7, c.state);
        EXPECT_EQ(panel.stateOf(7), c.state);
        EXPECT_EQ(panel.pictureOf(7), c.picture) << unitStateName(c.state);
    }
    // A LOCAL unit alternates between the two pictures its blink steps name.
    panel.setUnitState(7, UnitState::LOCAL);
    panel.setBlinkPicture(7, UnitPicture::Active);
    EXPECT_EQ(panel.pictureOf(7), UnitPicture::Active);
    panel.setBlinkPicture(7, UnitPicture::Inactive);
    EXPECT_EQ(panel.pictureOf(7), UnitPicture::Inactive);
    EXPECT_EQ(panel.stateOf(7), UnitState::LOCAL);
    // Numbers outside 1..48 change nothing.
    panel.setUnitState(0, UnitState::ACTIVE);
    panel.setUnitState(49, UnitState::ACTIVE);
    EXPECT_EQ(panel.pictureOf(1), UnitPicture::Inactive);
    EXPECT_EQ(panel.pictureOf(48), UnitPicture::Inactive);
}

TEST(UnitStatusWindow, ClicksActOnlyInsideABoxAndScrollingMovesTheRows)
{
    UnitStatusWindow panel(6, 96);
    panel.resize(480, 114);
    EXPECT_EQ(panel.unitAt(UnitStatusWindow::boxRect(6).center()), 6);
    EXPECT_EQ(panel.unitAt(QPoint(117, 10)), 0); // between two boxes
    EXPECT_EQ(panel.unitAt(QPoint(10, 35 * 12 + 5)), 0); // below the last row
    EXPECT_EQ(panel.scroll(ScrollBar::LineDown, 0), 1);
    EXPECT_EQ(panel.unitAt(UnitStatusWindow::boxRect(1).center()), 5); // one row further
    EXPECT_EQ(panel.scroll(ScrollBar::PageUp, 0), 0);
    EXPECT_EQ(panel.scroll(ScrollBar::ThumbTrack, 40), UnitStatusWindow::MaxScroll);
}

TEST(UnitStatusWindow, NumberSitsOnAWhiteGroundOverThePicture)
{
    UnitStatusWindow panel(6, 96);
    panel.resize(480, 114);
    panel.setUnitState(1, UnitState::CONFLICT);
    const QImage image = uitest::render(panel);
    // The picture's top-left is at the box's corner + (3, 4); the number 6 pixels in.
    const QPoint picture = UnitStatusWindow::boxRect(1).topLeft() + QPoint(3, 4);
    EXPECT_EQ(image.pixelColor(picture + QPoint(6, 6)), QColor(Qt::white));
    EXPECT_NE(image.pixelColor(picture + QPoint(60, 13)), QColor(Qt::white));
}

TEST(UnitStatusWindow, AFaultUnitReadsFaultInTheConflictRed)
{
    UnitStatusWindow panel(6, 96);
    panel.resize(480, 114);
    panel.setUnitState(1, UnitState::CONFLICT);
    panel.setUnitState(2, UnitState::FAULT);
    const QImage image = uitest::render(panel);
    const QImage faultPicture =
        ImageRegistry::instance().pixmap(QStringLiteral("FAULT_UNIT_BOXED")).toImage().convertToFormat(image.format());
    const QPoint conflict = UnitStatusWindow::boxRect(1).topLeft() + QPoint(3, 4);
    const QPoint fault = UnitStatusWindow::boxRect(2).topLeft() + QPoint(3, 4);
    // The same red lamp...
    const QPoint lamp(35, 13);
    EXPECT_TRUE(uitest::isReddish(image.pixelColor(fault + lamp)));
    EXPECT_EQ(image.pixelColor(fault + lamp), image.pixelColor(conflict + lamp));
    // ...and another word: the FAULT unit's tablet is the FAULT picture's, not CONFLICT's.
    int unlikeConflict = 0;
    int unlikeFaultPicture = 0;
    for (int y = 0; y < 27; ++y)
        for (int x = 43; x < 106; ++x) {
            unlikeConflict += image.pixel(fault + QPoint(x, y)) != image.pixel(conflict + QPoint(x, y)) ? 1 : 0;
            unlikeFaultPicture += image.pixel(fault + QPoint(x, y)) != faultPicture.pixel(x, y) ? 1 : 0;
        }
    EXPECT_GT(unlikeConflict, 20);
    EXPECT_EQ(unlikeFaultPicture, 0);
}

TEST(UnitStatusWindow, ANoticeStandsAcrossTheFootOfThePartShownUntilWithdrawn)
{
    QWidget window; // shows only 300 pixels of the panel
    window.resize(300, 114);
    UnitStatusWindow panel(6, 96, &window);
    panel.setGeometry(0, 0, 480, 114);
    window.show();
    const QPoint lowInBox9 = UnitStatusWindow::boxRect(9).center() + QPoint(0, 12);
    const QImage before = uitest::render(panel);
    panel.setNotice(QStringLiteral("No unit has been heard on UDP port 2000 for 10 s: check the network"));
    const QRect band = panel.noticeRect();
    EXPECT_EQ(band, QRect(0, 114 - band.height(), 300, band.height()));
    EXPECT_LT(band.height(), 60);
    EXPECT_EQ(panel.unitAt(lowInBox9), 0); // a click on the notice is no click on a box
    EXPECT_NE(uitest::render(panel), before);
    panel.setNotice({});
    EXPECT_EQ(panel.unitAt(lowInBox9), 9);
    EXPECT_EQ(uitest::render(panel), before);
}

} // namespace
} // namespace deskpanel
