// The paste dialog driven by the keyboard: Enter pastes onto the current channel at once,
// typing a number chooses its line, Space ticks a box, Escape cancels.
#include "ui/dialogs/PasteSettingsDialog.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

using namespace deskpanel;

namespace {

const PartialSettings FromClipboard{42, 0, 1, 1, {}}; // a line without mute

TEST(PasteSettingsDialog, KeysChooseTheSettingsAndTargets)
{
    SettingsChoice remembered;
    remembered.polarity = false;

    {
        PasteSettingsDialog dialog(QStringLiteral("Paste Channel Settings"), FromClipboard, remembered, 5);
        dialog.show();
        EXPECT_FALSE(dialog.box(4)->isEnabled()); // the line holds no mute
        EXPECT_FALSE(dialog.box(2)->isChecked());
        QTest::keyClick(&dialog, Qt::Key_Return);
        EXPECT_EQ(dialog.result(), DialogResult::Ok);
        EXPECT_EQ(dialog.targets(), (std::vector<int>{5}));
        EXPECT_EQ(dialog.settings(), (PartialSettings{42, 0, {}, 1, {}}));
        EXPECT_EQ(dialog.choice(), remembered); // a box not offered keeps what it was
    }
    {
        PasteSettingsDialog dialog(QStringLiteral("Paste Channel Settings"), FromClipboard, remembered, 5);
        dialog.show();
        dialog.box(2)->setFocus();
        QTest::keyClick(dialog.box(2), Qt::Key_Space); // Pol ticked
        dialog.unitTo()->setFocus();
        dialog.unitTo()->selectAll();
        QTest::keyClicks(dialog.unitTo(), QStringLiteral("2"));
        EXPECT_TRUE(dialog.unitsButton()->isChecked());
        QTest::keyClick(dialog.unitTo(), Qt::Key_Enter);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), DialogResult::Ok);
        std::vector<int> units12;
        for (int c = 0; c < 16; ++c)
            units12.push_back(c);
        EXPECT_EQ(dialog.targets(), units12);
        EXPECT_TRUE(dialog.choice().polarity);
        EXPECT_EQ(dialog.settings(), (PartialSettings{42, 0, 1, 1, {}}));
    }
    {
        PasteSettingsDialog dialog(QStringLiteral("Paste Channel Settings"), FromClipboard, remembered, 5);
        dialog.show();
        dialog.channelTo()->setFocus();
        dialog.channelTo()->selectAll();
        QTest::keyClicks(dialog.channelTo(), QStringLiteral("3"));
        EXPECT_TRUE(dialog.channelsButton()->isChecked());
        EXPECT_EQ(dialog.targets(), (std::vector<int>{2, 3, 4, 5})); // 6 to 3, either order
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_EQ(dialog.result(), DialogResult::Cancel);
    }
}

TEST(PasteSettingsDialog, OkWithNothingTickedStaysOpen)
{
    SettingsChoice none{false, false, false, false, false};
    PasteSettingsDialog dialog(QStringLiteral("Paste Channel Settings"), FromClipboard, none, 0);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
}

} // namespace
