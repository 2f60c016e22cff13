// System Status, Unit Status and the identity check on a unit link fed by hand.
#include "ui/dialogs/AppDialogTemplates.h"
#include "ui/dialogs/IdentityCheckDialog.h"
#include "ui/dialogs/SystemStatusDialog.h"
#include "ui/dialogs/UnitStatusDialog.h"

#include "tests/ui/DialogTestRig.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using namespace deskpanel;

using namespace uitest;

namespace {

QStringList entries(QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

} // namespace

TEST(UnitStatusDialog, WalksWithKeysAndBeepsAtTheEnds)
{
    LinkRig rig;
    rig.discover(2);
    UnitStatusDialog dialog(rig.link, rig.channels, rig.op, 2);
    dialog.show();
    EXPECT_TRUE(dialog.statusText().startsWith(QStringLiteral("Status of Unit 2\nFUNCTIONING NORMALLY\n")));
    EXPECT_EQ(dialog.macLine(), QStringLiteral("Mac address = 0050C2100002"));
    EXPECT_EQ(dialog.ipLine(), QStringLiteral("IP Address: 127.0.10.2"));
    QTest::keyClicks(&dialog, QStringLiteral("p"));
    EXPECT_EQ(dialog.unit(), 1);
    EXPECT_EQ(dialog.statusText(), QStringLiteral("Status of Unit 1\nUnit ID 1 is inactive."));
    EXPECT_EQ(dialog.macLine(), QString());
    QTest::keyClick(&dialog, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(dialog.unit(), 1);
    EXPECT_EQ(rig.op.shown.size(), 1u) << "one beep";
    QTest::keyClick(&dialog, Qt::Key_N, Qt::AltModifier);
    QTest::keyClicks(&dialog, QStringLiteral("N"));
    EXPECT_EQ(dialog.unit(), 3);
    QTest::keyClicks(&dialog, QStringLiteral("o"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(rig.channels.isDialogJustClosedRaised());

    UnitStatusDialog last(rig.link, rig.channels, rig.op, 48);
    last.show();
    clickButton(last, DialogControl::Next);
    EXPECT_EQ(last.unit(), 48);
    EXPECT_EQ(rig.op.shown.size(), 2u);
}

TEST(SystemStatusDialog, WithNoUnitsItOnlySaysSo)
{
    LinkRig rig;
    SystemStatusDialog dialog(rig.link, rig.op);
    EXPECT_EQ(dialog.exec(), DialogResult::Cancel);
    EXPECT_EQ(rig.op.textsOf(ScriptedOperator::Kind::Message),
              std::vector<std::string>{"There are no active Units to check"});
}

TEST(SystemStatusDialog, FillsTheVerdictsOnceAndBlanksThemForAUnitThatHasGone)
{
    LinkRig rig;
    rig.discover(4);
    UnitPacketFields hot = LinkRig::unitFields(9);
    hot.health[4] = 151; // temperature out of range
    rig.discover(9, hot);
    SystemStatusDialog dialog(rig.link, rig.op);
    dialog.show();
    const QString expected =
        QStringLiteral(" Unit 4  IP Address: 127.0.10.4  ACTIVE| Unit 9  IP Address: 127.0.10.9  ACTIVE");
    EXPECT_EQ(entries(dialog.list()).join('|').toStdString(), expected.toStdString());
    ASSERT_TRUE(pumpUntil([&] { return dialog.field(0)->text() == QStringLiteral("NORMAL"); }, 2000));
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(dialog.field(row)->text(), QStringLiteral("NORMAL")) << row;
    dialog.list()->setCurrentIndex(1);
    ASSERT_TRUE(pumpUntil([&] { return dialog.field(0)->text() == QStringLiteral("FAULT"); }, 2000));
    EXPECT_EQ(dialog.field(1)->text(), QStringLiteral("NORMAL"));
    // Unit 9 falls silent and is taken off; choosing it again shows no verdicts at all.
    rig.silenceAllBut(4);
    dialog.list()->setCurrentIndex(0);
    ASSERT_TRUE(pumpUntil([&] { return dialog.field(0)->text() == QStringLiteral("NORMAL"); }, 2000));
    dialog.list()->setCurrentIndex(1);
    ASSERT_TRUE(pumpUntil([&] { return dialog.field(0)->text().trimmed().isEmpty(); }, 2000));
    for (int row = 0; row < 4; ++row)
        EXPECT_TRUE(dialog.field(row)->text().trimmed().isEmpty()) << row;
}

TEST(IdentityCheckDialog, ListAndRefusals)
{
    LinkRig rig;
    {
        IdentityCheckDialog dialog(rig.link, rig.link, rig.channels, rig.project, rig.op);
        dialog.show();
        EXPECT_EQ(entries(dialog.list()), QStringList{"NO UNITS, ACTIVE OR OTHERWISE"});
        QTest::keyClick(&dialog, Qt::Key_C, Qt::AltModifier);
        EXPECT_FALSE(dialog.isChecking());
    }
    rig.discover(3);
    rig.discover(12);
    rig.project.units[11].name = "Balcony";
    IdentityCheckDialog dialog(rig.link, rig.link, rig.channels, rig.project, rig.op);
    dialog.show();
    EXPECT_EQ(entries(dialog.list()), (QStringList{"Unit 3: UNIT 3", "Unit 12: Balcony"}));
    // The list was made while unit 12 was there; it has gone when Check is pressed.
    dialog.list()->setCurrentIndex(0);
    clickButton(dialog, DialogControl::Check);
    ASSERT_TRUE(dialog.isChecking());
    rig.silenceAllBut(3);
    dialog.list()->setCurrentIndex(1);
    clickButton(dialog, DialogControl::Check);
    EXPECT_EQ(dialog.unitUnderCheck(), 3) << "a failed Check leaves the running one alone";
    const std::vector<std::string> messages = rig.op.textsOf(ScriptedOperator::Kind::Message);
    EXPECT_EQ(messages.back(), "Unit 12 is inactive or off-line.");
    EXPECT_EQ(messages.front(), "There are no active Units to check");
}

TEST(IdentityCheckDialog, EveryWayOfClosingEndsTheCheckAndRestoresTheUnit)
{
    enum class Close {
        Ok,
        Escape,
        CloseBox
    };
    for (Close how : {Close::Ok, Close::Escape, Close::CloseBox}) {
        LinkRig rig;
        rig.discover(5);
        const int channel = channelIndex(5, 2);
        rig.project.live[channel].phantom48V = 1;
        rig.project.live[channel].gainPosition = 20;
        IdentityCheckDialog dialog(rig.link, rig.link, rig.channels, rig.project, rig.op);
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_C, Qt::AltModifier);
        ASSERT_TRUE(dialog.isChecking());
        ASSERT_TRUE(pumpUntil([&] { return dialog.isIndicatorLit(); }, 2000));
        // A unit found meanwhile uses the program's holding area for its own inputs.
        rig.project.live[channelIndex(6, 2)].phantom48V = 0;
        rig.project.live[channelIndex(6, 2)].gainPosition = 70;
        rig.discover(6);
        // As the program does for a unit it finds: save and restore through the holding area.
        rig.channels.saveUnitSettings(6);
        rig.channels.restoreUnitSettings(6);
        rig.channels.singleGainMove(channel, 60);
        EXPECT_EQ(rig.project.live[channel].gainPosition, 20) << "the strips are held during the check";
        switch (how) {
        case Close::Ok: clickButton(dialog, ControlId::Ok); break;
        case Close::Escape: QTest::keyClick(&dialog, Qt::Key_Escape); break;
        case Close::CloseBox: dialog.close(); break;
        }
        EXPECT_FALSE(dialog.isVisible()) << int(how);
        EXPECT_FALSE(dialog.isChecking());
        EXPECT_FALSE(dialog.isIndicatorLit());
        EXPECT_EQ(rig.project.live[channel].phantom48V, 1) << int(how);
        EXPECT_EQ(rig.project.live[channel].gainPosition, 20) << "unit 5's own settings, not unit 6's";
        EXPECT_TRUE(rig.channels.isDialogJustClosedRaised());
        rig.channels.singleGainMove(channel, 60); // consumes the flag
        rig.channels.singleGainMove(channel, 60);
        EXPECT_EQ(rig.project.live[channel].gainPosition, 60) << "the strips are free again";
    }
}

TEST(IdentityCheckDialog, EachTickSetsTheFiveSwitchesOfEveryInputInOrder)
{
    LinkRig rig;
    rig.discover(7);
    RecordingUnitSender units;
    units.present = {7};
    IdentityCheckDialog dialog(rig.link, units, rig.channels, rig.project, rig.op);
    dialog.show();
    clickButton(dialog, DialogControl::Check);
    ASSERT_TRUE(pumpUntil([&] { return units.sent.size() >= 80; }, 3000));
    std::vector<Sent> expected;
    for (double value : {1.0, 0.0})
        for (int input = 1; input <= 8; ++input)
            for (const char* name : {"Link", "Mute", "Pad", "Pol", "48v"})
                expected.push_back({name, value, 7, input});
    EXPECT_EQ(std::vector<Sent>(units.sent.begin(), units.sent.begin() + 80), expected);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isChecking());
}

TEST(IdentityCheckDialog, ClosedWhileASendWaitsOnABoxNothingIsSwitchedAfterTheRestore)
{
    // The operator closes the dialog from inside the third send of a tick, as from the
    // error box of a failed send.
    struct ClosingSender : RecordingUnitSender {
        std::function<void()> duringThirdSend;
        void sendParameter(const std::string& name, double value, int unit, int input) override
        {
            RecordingUnitSender::sendParameter(name, value, unit, input);
            if (sent.size() == 3 && duringThirdSend)
                std::exchange(duringThirdSend, nullptr)();
        }
    } units;
    LinkRig rig;
    rig.discover(7);
    units.present = {7};
    IdentityCheckDialog dialog(rig.link, units, rig.channels, rig.project, rig.op);
    dialog.show();
    units.duringThirdSend = [&] { clickButton(dialog, ControlId::Ok); };
    clickButton(dialog, DialogControl::Check);
    ASSERT_TRUE(pumpUntil([&] { return !dialog.isVisible(); }, 3000));
    pumpUntil([] { return false; }, 700);
    EXPECT_EQ(units.sent.size(), 3u);
    EXPECT_FALSE(dialog.isChecking());
    EXPECT_FALSE(dialog.isIndicatorLit());
}
