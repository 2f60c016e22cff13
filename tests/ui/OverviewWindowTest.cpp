#include "ui/views/OverviewWindow.h"
#include "tests/ui/StripViewFixture.h"
#include "ui/controls/FontMapper.h"
#include "ui/controls/ToggleButton.h"

#include <QFontMetrics>

namespace deskpanel::test {
namespace {

using Part = OverviewLayout::ChannelPart;
using UnitPart = OverviewLayout::UnitPart;

class OverviewTest : public StripViewFixture {
protected:
    void SetUp() override
    {
        app.metering().setShownView(MeterView::Overview);
        view.resize(OverviewWindow::TotalWidth, 672);
        view.setAttribute(Qt::WA_DontShowOnScreen);
        view.show();
    }
    QImage shot() { return view.grab().toImage(); }

    OverviewWindow view{app, dialogs};
};

TEST_F(OverviewTest, LastUnitSitsInTheLastRowSecondColumnAndItsLastStripShows384)
{
    const int offset = view.contentLength() - view.height(); // 4032 - 672
    view.setScrollOffset(offset);
    EXPECT_EQ(view.unitRect(UnitPart::TopUnitLeft, 47).topLeft(), QPoint(496, 3864 - offset));
    const QRect number = view.channelRect(Part::TopNumber, 383);
    EXPECT_EQ(number.topLeft(), QPoint(920, 3864 + 28 - offset));
    EXPECT_EQ(view.toggle(383, ToggleButton::Mute)->mapTo(&view, QPoint()), QPoint(496 + 420 + 34, 3864 + 47 - offset));

    const auto [first, last] = columnSpan(shot(), number, isNumberWhite);
    const QFontMetrics metrics(FontMapper::font(QStringLiteral("Arial Black"), 90, 400));
    EXPECT_NEAR(last - first + 1, metrics.tightBoundingRect(QStringLiteral("384")).width(), 2);
}

TEST_F(OverviewTest, SilentInputDrawsNoBarAndALitOneStopsAtTheMeterBottom)
{
    app.metering().setLevel(0, -90); // below every scale: segment 20, nothing lit
    app.metering().setLevel(1, 10);
    const QImage image = shot();

    const QRect silent = view.channelRect(Part::RangeAndPeak, 0);
    // Only the held-peak mark at the bottom (its 3 rows) may carry a level colour.
    EXPECT_EQ(countPixels(image, silent.adjusted(0, 0, 0, -3), isLit), 0);

    const QRect lit = view.channelRect(Part::RangeAndPeak, 1);
    EXPECT_GT(countPixels(image, lit, isLit), 100);
    EXPECT_EQ(countPixels(image, QRect(lit.left(), lit.bottom() + 1, lit.width(), 1), isLit), 0);
}

TEST_F(OverviewTest, UnitNameWiderThanItsFieldStartsAtTheLeft)
{
    auto nameSpan = [&](const std::string& name) {
        app.project().units[0].name = name;
        app.channels().notifyUnitNameChanged(1);
        const QRect field = view.unitRect(UnitPart::UnitName, 0);
        return columnSpan(shot(), field, [](const QColor& c) {
            return std::abs(c.red() - 164) < 30 && std::abs(c.green() - 164) < 30 && std::abs(c.blue() - 164) < 30;
        });
    };
    const QRect field = view.unitRect(UnitPart::UnitName, 0);
    const auto [shortFirst, shortLast] = nameSpan("Stage");
    EXPECT_NEAR((shortFirst + shortLast) / 2.0, field.center().x(), 3.0);
    const auto [longFirst, longLast] = nameSpan("WWWWWWWWWWWWWWWWWWWWWWWW");
    EXPECT_NEAR(longFirst, field.left() + 10, 2);
    EXPECT_LE(longLast, field.right() - 9);
}

TEST_F(OverviewTest, SwitchesAndFadersReachTheChannelControl)
{
    QTest::mouseClick(view.toggle(17, ToggleButton::Mute), Qt::LeftButton);
    EXPECT_EQ(live(17).mute, 1);
    QTest::mouseClick(view.toggle(17, ToggleButton::Phantom), Qt::LeftButton);
    EXPECT_EQ(live(17).phantom48V, 1);
    EXPECT_EQ(app.channels().currentChannel(), 17);

    receiveReducedVariantUnit();
    dragFaderToTop(view.fader(17));
    EXPECT_EQ(live(17).gainPosition, 11);
    EXPECT_EQ(view.fader(17)->position(), 11);
}

TEST_F(OverviewTest, ClicksOnDrawnFieldsOpenWhatTheyStandFor)
{
    clickAt(view, view.unitRect(UnitPart::UnitName, 1).center(), Qt::RightButton);
    clickAt(view, view.channelRect(Part::RangeAndPeak, 12).center(), Qt::RightButton);
    clickAt(view, view.channelRect(Part::RightEdge, 12).center() + QPoint(0, 40), Qt::RightButton); // nothing
    EXPECT_EQ(dialogs.calls, (std::vector<std::string>{"unitName 2", "meterPreferences"}));
    clickAt(view, view.channelRect(Part::SetLink, 13).center(), Qt::LeftButton);
    EXPECT_EQ(app.channels().currentChannel(), 13);
}

} // namespace
} // namespace deskpanel::test
