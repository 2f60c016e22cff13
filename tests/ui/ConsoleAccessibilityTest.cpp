// What assistive technology reads and does through Qt's accessibility interfaces: every
// control of the strips, the unit boxes and the buttons reports its role, name, value
// and state, and its action changes the model and reaches the unit as a click does, once
// the accessibility call has returned. Loopback only; every wait is bounded.
#include "ui/access/ConsoleAccessibility.h"
#include "tests/support/FakeUnitSocket.h"
#include "tests/support/PacketBuilder.h"
#include "tests/ui/StripViewFixture.h"
#include "ui/controls/AccessibleNotifier.h"
#include "ui/controls/FocusRing.h"
#include "ui/controls/GlassButton.h"
#include "ui/controls/PictureButton.h"
#include "ui/controls/ToggleButton.h"
#include "ui/views/UnderviewPainter.h"
#include "ui/views/UnderviewWindow.h"
#include "ui/views/UnitStatusWindow.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>

#include <algorithm>

namespace deskpanel::test {
namespace {

constexpr std::uint32_t UnitAddress = (127u << 24) | 78u;

QAccessibleInterface* accessible(QObject* object)
{
    installConsoleAccessibility();
    return QAccessible::queryAccessibleInterface(object);
}

QAccessibleInterface* childNamed(QAccessibleInterface* parent, const QString& name)
{
    for (int i = 0; i < parent->childCount(); ++i)
        if (QAccessibleInterface* child = parent->child(i); child && child->text(QAccessible::Name) == name)
            return child;
    return nullptr;
}

// The eight channel blocks of a packet to a unit (its sequence byte left out).
std::vector<std::uint8_t> blocks(const PacketBytes& packet)
{
    const auto first = packet.begin() + packet::Blocks;
    return {first, first + 8 * packet::BlockSize};
}

class ConsoleAccessibility : public ::testing::Test {
protected:
    // Before any control exists: a control's first news makes Qt settle its interface.
    const bool installed = (installConsoleAccessibility(), true);
    FakeUnitSocket unit{UnitAddress};
    ScriptedOperator op;
    DeskPanelApp app{LinkPorts{0, unit.port()}, op};
    RecordingDialogLauncher dialogs;
    UnderviewWindow view{app, dialogs};

    void SetUp() override
    {
        ASSERT_NE(unit.port(), 0);
        app.project().channels[2].name = "Kick In";
        view.refreshFromModel();
        view.setAttribute(Qt::WA_DontShowOnScreen);
        view.resize(1012, 501);
        view.show();
        app.start();
        UnitPacketFields fields;
        fields.unitNumber = 1;
        fields.mac = macOf(1);
        const PacketBytes status = unitPacket(fields);
        app.link().handleDatagram(status.data(), status.size(), Ipv4Endpoint{UnitAddress, 40000});
        ASSERT_EQ(unit.collect(48, 5000).size(), 48u); // the found unit's full settings
    }
    void TearDown() override { app.stop(); }

    PacketBytes oneSent()
    {
        const std::vector<PacketBytes> sent = unit.collect(1, 5000);
        EXPECT_EQ(sent.size(), 1u);
        return sent.empty() ? PacketBytes{} : sent.front();
    }
};

// Each switch of channel 3: a checkable check box named after the channel's full title;
// the toggle action waits until the call returned, then flips the setting and sends the
// very channel blocks that a click flipping it back and forth again sends.
TEST_F(ConsoleAccessibility, SwitchesAndFaderReportAndActAsTheMouseDoes)
{
    struct Case {
        int kind;
        const char* name;
        std::int32_t ChannelSettings::*setting;
    };
    const Case cases[] = {
        {ToggleButton::Pol, "Channel 3, Kick In: Polarity", &ChannelSettings::polarity},
        {ToggleButton::Pad, "Channel 3, Kick In: Pad", &ChannelSettings::pad},
        {ToggleButton::Phantom, "Channel 3, Kick In: 48V", &ChannelSettings::phantom48V},
        {ToggleButton::Mute, "Channel 3, Kick In: Mute", &ChannelSettings::mute},
        {ToggleButton::Link, "Channel 3, Kick In: Link", &ChannelSettings::linkButton},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToggleButton* button = view.toggle(2, c.kind);
        QAccessibleInterface* iface = accessible(button);
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->role(), QAccessible::CheckBox);
        EXPECT_EQ(iface->text(QAccessible::Name), QString::fromLatin1(c.name));
        EXPECT_TRUE(iface->state().checkable);
        EXPECT_FALSE(iface->state().checked);

        iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        EXPECT_EQ(app.project().live[2].*c.setting, 0) << "acted inside the accessibility call";
        const PacketBytes byAction = oneSent();
        EXPECT_EQ(app.project().live[2].*c.setting, 1);
        EXPECT_TRUE(iface->state().checked);

        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_FALSE(iface->state().checked);
        const PacketBytes off = oneSent();
        EXPECT_EQ(FakeUnitSocket::switchByte(off, 3), 0x80);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(blocks(oneSent()), blocks(byAction));
        QTest::mouseClick(button, Qt::LeftButton); // off again for the next case
        oneSent();
    }

    GainFader* fader = view.fader(2);
    QAccessibleInterface* slider = accessible(fader);
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->role(), QAccessible::Slider);
    EXPECT_EQ(slider->text(QAccessible::Name), QStringLiteral("Channel 3, Kick In: gain"));
    QAccessibleValueInterface* value = slider->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toInt(), 8);
    EXPECT_EQ(value->minimumValue().toInt(), 8);
    EXPECT_EQ(value->maximumValue().toInt(), 80);
    value->setCurrentValue(50);
    EXPECT_EQ(app.project().live[2].gainPosition, 72) << "acted inside the accessibility call";
    const PacketBytes gain = oneSent();
    EXPECT_EQ(app.project().live[2].gainPosition, 30);
    EXPECT_EQ(value->currentValue().toInt(), 50);
    EXPECT_EQ(fader->position(), 30);
    EXPECT_FALSE(app.channels().isDragInProgress()) << "the move ends with a release";
    const std::size_t gainByte = packet::Blocks + 2 * packet::BlockSize + packet::BlockGain;
    EXPECT_NE(gain[gainByte], 0) << "channel 3's gain reached the unit";
}

// The fields of the strip (unit title, link field, meter, channel title) are the canvas's
// children, with their press run later as the click on them is.
TEST_F(ConsoleAccessibility, PaintedStripPartsAreNamedAndPressable)
{
    QAccessibleInterface* canvas = accessible(view.fader(0)->parentWidget());
    ASSERT_NE(canvas, nullptr);

    QAccessibleInterface* link = childNamed(canvas, QStringLiteral("Channel 3, Kick In: link group"));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->role(), QAccessible::Button);
    EXPECT_EQ(link->text(QAccessible::Description), QStringLiteral("-"));
    EXPECT_EQ(canvas->indexOfChild(link),
              canvas->indexOfChild(canvas->childAt(link->rect().center().x(), link->rect().center().y())));

    QAccessibleInterface* meter = childNamed(canvas, QStringLiteral("Channel 3, Kick In: level"));
    ASSERT_NE(meter, nullptr);
    EXPECT_EQ(meter->role(), QAccessible::ProgressBar);
    ASSERT_NE(meter->valueInterface(), nullptr);
    EXPECT_EQ(meter->valueInterface()->currentValue(), meter->valueInterface()->minimumValue()) << "no reading yet";
    EXPECT_TRUE(meter->actionInterface()->actionNames().isEmpty());

    QAccessibleInterface* title = childNamed(canvas, QStringLiteral("Kick In"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->role(), QAccessible::Button);

    QAccessibleInterface* unitTitle = childNamed(canvas, QString::fromStdString(app.project().units[0].name));
    ASSERT_NE(unitTitle, nullptr);
    unitTitle->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(dialogs.calls.empty()) << "opened inside the accessibility call";
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.calls, std::vector<std::string>{"unitName 1"});

    // A rename reaches the names of the channel's controls and parts.
    app.channels().setChannelText(2, "Snare", "");
    EXPECT_EQ(accessible(view.toggle(2, ToggleButton::Mute))->text(QAccessible::Name),
              QStringLiteral("Channel 3, Snare: Mute"));
    EXPECT_NE(childNamed(canvas, QStringLiteral("Channel 3, Snare: level")), nullptr);
}

// Unit boxes, scene buttons and glass buttons, and the state news: a switch flipped ten
// times or a fader dragged over twenty steps within one interval is announced once.
TEST(ConsoleAccessibilityPanels, BoxesButtonsAndThrottledNews)
{
    installConsoleAccessibility();
    UnitStatusWindow boxes(8, 96);
    boxes.resize(480, 105);
    std::vector<int> clicked;
    boxes.onUnitClicked = [&](int unit) { clicked.push_back(unit); };
    boxes.setUnitState(2, UnitState::OFFLINE);
    QAccessibleInterface* panel = accessible(&boxes);
    ASSERT_EQ(panel->childCount(), MaxUnits);
    QAccessibleInterface* box2 = panel->child(1);
    EXPECT_EQ(box2->role(), QAccessible::Button);
    EXPECT_EQ(box2->text(QAccessible::Name), QStringLiteral("Unit 2"));
    EXPECT_EQ(box2->text(QAccessible::Description), QStringLiteral("OFFLINE"));
    box2->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(clicked.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(clicked, std::vector<int>{2});

    QWidget ground;
    std::vector<int> pressed;
    struct Button {
        int id;
        const char* caption;
        bool checkable;
    };
    for (const Button& b :
         {Button{PictureButton::RecallId, "Recall", false}, Button{PictureButton::NewId, "New", false},
          Button{PictureButton::DeleteId, "Delete", false}, Button{PictureButton::LockId, "Lock", true},
          Button{PictureButton::OverviewId, "Overview", true}}) {
        SCOPED_TRACE(b.caption);
        PictureButton* button = PictureButton::create(&ground, b.id, "183", "187", "141", QRect(0, 0, 40, 20));
        QObject::connect(button, &PictureButton::clicked, [&](int id) { pressed.push_back(id); });
        QAccessibleInterface* iface = accessible(button);
        EXPECT_EQ(iface->role(), QAccessible::Button);
        EXPECT_EQ(iface->text(QAccessible::Name), QString::fromLatin1(b.caption));
        EXPECT_EQ(iface->state().checkable, b.checkable);
        button->setState(PictureButton::Pressed);
        EXPECT_EQ(iface->state().checked, b.checkable);
        button->setState(PictureButton::Disabled);
        EXPECT_TRUE(iface->state().disabled);
        button->setState(PictureButton::Normal);
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
        EXPECT_EQ(pressed.back(), b.id);
    }
    GlassButton* ok = GlassButton::create(&ground, 1, "OK_BUTTON", "&OK", QRect(0, 0, 60, 20));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(accessible(ok)->text(QAccessible::Name), QStringLiteral("OK"));

    for (QWidget* shown : {&ground, static_cast<QWidget*>(&boxes)}) {
        shown->setAttribute(Qt::WA_DontShowOnScreen);
        shown->show(); // a control not showing sends nothing
    }
    static std::vector<std::pair<QObject*, QAccessible::Event>> news;
    news.clear();
    AccessibleNotifier::setSink([](QAccessibleEvent* e) { news.emplace_back(e->object(), e->type()); });
    ToggleButton* toggle = ToggleButton::create(&ground, 6000, 0, "244", "245", QRect(0, 0, 20, 20));
    for (int i = 0; i < 10; ++i)
        toggle->setState(i % 2 == 0 ? 1 : 0);
    GainFader* fader = GainFader::create(&ground, QRect(0, 0, 20, 200), 0, "133", "132");
    for (int position = 0; position <= 20; ++position)
        fader->setPosition(position); // a drag
    boxes.setUnitState(3, UnitState::ACTIVE);
    EXPECT_TRUE(news.empty()) << "news waits for the interval";
    AccessibleNotifier::flush();
    AccessibleNotifier::setSink(nullptr);
    const auto count = [&](QObject* o, QAccessible::Event type) {
        return std::count(news.begin(), news.end(), std::make_pair(o, type));
    };
    EXPECT_EQ(count(toggle, QAccessible::StateChanged), 1);
    EXPECT_EQ(count(fader, QAccessible::ValueChanged), 1);
    EXPECT_EQ(count(&boxes, QAccessible::DescriptionChanged), 1);
}

// The keyboard: the ring around a focused switch stands out from the strips' blue by at
// least 3:1; Space acts as a click; Ctrl+Tab goes to the same switch of the next unit; a
// focused fader's channel becomes the current channel.
TEST_F(ConsoleAccessibility, KeyboardFocusRingSpaceAndCtrlTab)
{
    QApplication::setActiveWindow(&view);
    ToggleButton* phantom = view.toggle(2, ToggleButton::Phantom);
    const QImage before = phantom->grab().toImage();
    phantom->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(phantom->hasFocus());
    const QImage ring = phantom->grab().toImage();
    EXPECT_EQ(ring.pixelColor(0, 0), FocusRingOuter);
    EXPECT_EQ(ring.pixelColor(1, ring.height() / 2), FocusRingInner);
    EXPECT_NE(before.pixelColor(0, 0), FocusRingOuter) << "the ring is there for the focus only";
    EXPECT_GE(contrastRatio(ring.pixelColor(0, 0), UnderviewPainter::Background), 3.0);

    QTest::keyClick(phantom, Qt::Key_Space);
    EXPECT_EQ(app.project().live[2].phantom48V, 1);
    EXPECT_EQ(FakeUnitSocket::switchByte(oneSent(), 3), 0x82);

    QTest::keyClick(phantom, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_TRUE(view.toggle(10, ToggleButton::Phantom)->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(phantom->hasFocus());

    view.fader(5)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(app.channels().currentChannel(), 5);
}

} // namespace
} // namespace deskpanel::test

namespace deskpanel::test {
namespace {

// The painted fields are Tab stops in a strip's order (switches, fader, link field,
// title), each named as its field; one reached by keyboard makes its channel current,
// and Enter does what the click on it does.
TEST_F(ConsoleAccessibility, PaintedFieldsAreTabStopsThatEnterOpens)
{
    QApplication::setActiveWindow(&view);
    view.fader(2)->setFocus(Qt::TabFocusReason);
    std::vector<QString> reached;
    for (int tab = 0; tab < 3; ++tab) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached.push_back(accessible(QApplication::focusWidget())->text(QAccessible::Name));
    }
    EXPECT_EQ(reached,
              (std::vector<QString>{QStringLiteral("Channel 3, Kick In: link group"), QStringLiteral("Kick In"),
                                    QStringLiteral("Channel 4, Channel 4: Polarity")}));
    app.channels().setCurrentChannel(0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(app.channels().currentChannel(), 2);

    // The unit's title comes before its first strip; Enter opens Unit Name as the right click does.
    view.toggle(8, ToggleButton::Pol)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(accessible(QApplication::focusWidget())->text(QAccessible::Name),
              QString::fromStdString(app.project().units[1].name));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(dialogs.calls, std::vector<std::string>{"unitName 2"});
}

} // namespace
} // namespace deskpanel::test
