#pragma once
#include "app/DeskPanelApp.h"
#include "tests/support/PacketBuilder.h"
#include "tests/support/ScriptedOperator.h"
#include "ui/controls/GainFader.h"
#include "ui/dialogs/DialogLauncher.h"

#include <QApplication>
#include <QImage>
#include <QRect>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace deskpanel::test {

// Notes which dialogs a view asked for.
class RecordingDialogLauncher : public DialogLauncher {
public:
    void openChannelName(int channel) override { calls.push_back("channelName " + std::to_string(channel)); }
    void openUnitName(int unit) override { calls.push_back("unitName " + std::to_string(unit)); }
    void openPreferences() override { calls.push_back("preferences"); }
    void openAutosave() override { calls.push_back("autosave"); }
    void openMeterPreferences() override { calls.push_back("meterPreferences"); }
    void openLinkMatrix() override { calls.push_back("linkMatrix"); }
    void openSystemStatus() override { calls.push_back("systemStatus"); }
    void openUnitStatus(int unit) override { calls.push_back("unitStatus " + std::to_string(unit)); }
    void openIdentityCheck() override { calls.push_back("identityCheck"); }

    std::vector<std::string> calls;
};

// The application as the views see it, never started: no socket is opened.
class StripViewFixture : public ::testing::Test {
protected:
    ScriptedOperator op;
    DeskPanelApp app{LinkPorts{}, op};
    RecordingDialogLauncher dialogs;

    ChannelSettings& live(int channel) { return app.project().live[static_cast<std::size_t>(channel)]; }

    // A unit of the reduced gain variant reports in, which limits every fader for the run.
    void receiveReducedVariantUnit()
    {
        UnitPacketFields fields;
        fields.unitNumber = 1;
        fields.mac = macOf(1);
        fields.variant = 1;
        const PacketBytes bytes = unitPacket(fields);
        // The first packet makes the unit known; the variant counts from the next.
        for (int i = 0; i < 2; ++i)
            app.link().handleDatagram(bytes.data(), bytes.size(), Ipv4Endpoint{(127u << 24) | 77u, 40000});
    }

    // Puts channels in a group with their links engaged, the way a matrix click does.
    void linkChannels(int group, std::initializer_list<int> channels)
    {
        for (int c : channels) {
            app.channels().linkGroups().matrixCellPressed(group, c);
            app.channels().linkGroups().matrixReleased();
        }
    }

    // A click where `view` shows `at`, delivered to whatever lies there.
    static void clickAt(QWidget& view, QPoint at, Qt::MouseButton button)
    {
        QWidget* target = view.childAt(at);
        ASSERT_NE(target, nullptr);
        QTest::mouseClick(target, button, {}, target->mapFrom(&view, at));
    }

    // Drags a fader's thumb from its middle by `dy` pixels.
    static void dragFader(GainFader* fader, int dy, Qt::KeyboardModifiers modifiers)
    {
        const QPoint grab(fader->width() / 2, fader->thumbTop() + fader->thumbHeight() / 2);
        QTest::mousePress(fader, Qt::LeftButton, {}, grab);
        QTest::mouseEvent(QTest::MouseMove, fader, Qt::NoButton, modifiers, grab + QPoint(0, dy));
        QTest::mouseRelease(fader, Qt::LeftButton, {}, grab + QPoint(0, dy));
    }
    // Drags the thumb all the way up, staying inside the fader.
    static void dragFaderToTop(GainFader* fader)
    {
        dragFader(fader, fader->thumbHeight() / 2 + 1 - (fader->thumbTop() + fader->thumbHeight() / 2), Qt::NoModifier);
    }

    // Pixels that differ by more than `tolerance` in a colour part (images of one size).
    static int differingPixels(const QImage& a, const QImage& b, int tolerance = 3)
    {
        int n = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
                n += std::abs(p.red() - q.red()) > tolerance || std::abs(p.green() - q.green()) > tolerance ||
                             std::abs(p.blue() - q.blue()) > tolerance
                         ? 1
                         : 0;
            }
        return n;
    }

    // Pixels of `rect` that satisfy `test`.
    template <typename Test>
    static int countPixels(const QImage& image, const QRect& rect, Test test)
    {
        int n = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                n += test(image.pixelColor(x, y)) ? 1 : 0;
        return n;
    }
    // The columns of `rect` that hold a pixel satisfying `test`, as a span.
    template <typename Test>
    static std::pair<int, int> columnSpan(const QImage& image, const QRect& rect, Test test)
    {
        int first = -1, last = -1;
        for (int x = rect.left(); x <= rect.right(); ++x)
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                if (test(image.pixelColor(x, y))) {
                    if (first < 0)
                        first = x;
                    last = x;
                    break;
                }
        return {first, last};
    }
};

inline bool isNumberWhite(const QColor& c)
{
    return c.red() > 150 && c.green() > 150 && c.blue() > 150;
}
inline bool isOverRed(const QColor& c)
{
    return c.red() > 200 && c.green() < 90 && c.blue() < 90;
}
// A lit colour of the bar or the held mark (the palette runs green, yellow, red).
inline bool isLit(const QColor& c)
{
    return c.green() > 60 && c.green() > c.blue() + 15 && (c.red() > 20 || c.green() > 120);
}

} // namespace deskpanel::test
