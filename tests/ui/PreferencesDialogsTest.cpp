// Preferences, Autosave and Meter Preferences: every control acts on the settings, the
// autosave timer follows the dialog's result, damaged meter settings are brought onto
// valid entries.
#include "app/DeskPanelApp.h"
#include "app/HelpOpener.h"
#include "ui/dialogs/AppDialogTemplates.h"
#include "ui/dialogs/AppDialogs.h"
#include "ui/dialogs/AutosaveDialog.h"
#include "ui/dialogs/MeterPreferencesDialog.h"
#include "ui/dialogs/PreferencesDialog.h"

#include "tests/ui/DialogTestRig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

using namespace deskpanel;

using namespace uitest;

namespace {

template <typename T>
T* child(QWidget* dialog, const QString& name)
{
    T* w = dialog->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
}

class MeterViews : public ChannelListener {
public:
    void meterPreferencesChanged() override { ++changed; }
    int changed = 0;
};

struct AppRig {
    ScriptedOperator op;
    DeskPanelApp app{LinkPorts{0, 0}, op};
    HelpOpener help{QStringLiteral("/nonexistent")};
    QWidget window;
    AppDialogs dialogs{app, help, &window};
};

} // namespace

TEST(PreferencesDialog, EveryControlActsAtOnceAndOkOnlyCloses)
{
    AppRig rig;
    ProjectPrefs& prefs = rig.app.project().prefs;
    PreferencesDialog dialog(rig.app, {}, {});
    dialog.show();
    child<QCheckBox>(&dialog, QStringLiteral("check1911"))->click();
    EXPECT_EQ(prefs.promptRecallScene, 1);
    child<QCheckBox>(&dialog, QStringLiteral("check1911"))->click();
    EXPECT_EQ(prefs.promptRecallScene, 0);
    child<QCheckBox>(&dialog, QStringLiteral("check1006"))->click();
    EXPECT_EQ(prefs.muteLinkedChannels, 0);
    child<QCheckBox>(&dialog, QStringLiteral("check1007"))->click();
    EXPECT_TRUE(rig.app.simulatedPeaks());
    child<QCheckBox>(&dialog, QStringLiteral("check1007"))->click();
    EXPECT_FALSE(rig.app.simulatedPeaks());
    // With no unit on the network only the stored rate changes.
    auto* every1000 = child<QRadioButton>(&dialog, QStringLiteral("radio32799"));
    EXPECT_EQ(every1000->text(), QStringLiteral("Every 1,000 m&sec"));
    EXPECT_TRUE(child<QRadioButton>(&dialog, QStringLiteral("radio32796"))->isChecked());
    every1000->click();
    EXPECT_EQ(prefs.ethernetUpdateRate, 1000);
    for (int id = DialogControl::Rate50; id < DialogControl::Rate50 + 5; ++id)
        EXPECT_EQ(child<QRadioButton>(&dialog, QStringLiteral("radio%1").arg(id))->isChecked(), id == 32799) << id;
    EXPECT_EQ(rig.app.link().txSequence(), 0u);
    QTest::keyClicks(&dialog, QStringLiteral("o"));
    EXPECT_FALSE(dialog.isVisible());
}

TEST(PreferencesDialog, AStoredRateOfNoneOfTheFiveChecksNoneAndEscapeCloses)
{
    AppRig rig;
    rig.app.project().prefs.ethernetUpdateRate = 300;
    PreferencesDialog dialog(rig.app, {}, {});
    dialog.show();
    for (int id = DialogControl::Rate50; id < DialogControl::Rate50 + 5; ++id)
        EXPECT_FALSE(child<QRadioButton>(&dialog, QStringLiteral("radio%1").arg(id))->isChecked()) << id;
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), DialogResult::Ok);
}

TEST(PreferencesDialog, EveryCaptionHasItsRoomAndAltOAndAltMReachTheButtons)
{
    AppRig rig;
    ProjectPrefs& prefs = rig.app.project().prefs;
    int meteringOpened = 0;
    PreferencesDialog dialog(rig.app, [&] { ++meteringOpened; }, {});
    dialog.show();
    // The letters of the boxes work in the active window only.
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    // With the substitute font too, no caption is cut off.
    for (QAbstractButton* box : dialog.findChildren<QAbstractButton*>())
        if (qobject_cast<QCheckBox*>(box) || qobject_cast<QRadioButton*>(box))
            EXPECT_GE(box->width(), box->sizeHint().width()) << box->text().toStdString();
    // "Re-&ordering" and "500 &msec" keep their underlined letters, which also mark
    // "&OK" and "&Metering...": Alt with them presses the buttons.
    auto* reorder = child<QCheckBox>(&dialog, QStringLiteral("check1918"));
    auto* every500 = child<QRadioButton>(&dialog, QStringLiteral("radio32798"));
    EXPECT_EQ(reorder->text(), QStringLiteral("Prompt for Scene Re-&ordering"));
    EXPECT_EQ(every500->text(), QStringLiteral("Every 500 &msec"));
    QTest::keyClick(&dialog, Qt::Key_M, Qt::AltModifier);
    EXPECT_EQ(meteringOpened, 1);
    // A letter marked only once still works its box.
    QTest::keyClick(&dialog, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(pumpUntil([&] { return prefs.promptNewScene == 1; }, 2000));
    QTest::keyClick(&dialog, Qt::Key_O, Qt::AltModifier);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), DialogResult::Ok);
    EXPECT_EQ(meteringOpened, 1);
    EXPECT_FALSE(every500->isChecked());
    EXPECT_EQ(prefs.ethernetUpdateRate, 100);
    EXPECT_EQ(prefs.promptSceneReorder, 0);
}

TEST(AutosaveDialog, ResultsAndWhatIsStored)
{
    struct Case {
        bool off;
        int button;
        int result;
        std::int32_t storedOff;
        std::int32_t storedMinutes;
    };
    // Starting from autosave on, every 10 minutes; the spin is set to 25 first.
    const Case cases[] = {
        {false, ControlId::Ok, 1, 0, 25}, {true, ControlId::Ok, 2, 1, 10}, {false, ControlId::Cancel, 2, 0, 10}};
    for (const Case& c : cases) {
        ProjectPrefs prefs;
        prefs.autosaveOff = 0;
        AutosaveDialog dialog(prefs);
        dialog.show();
        child<QSpinBox>(&dialog, QStringLiteral("minutes"))->setValue(25);
        child<QCheckBox>(&dialog, QStringLiteral("off"))->setChecked(c.off);
        clickButton(dialog, c.button);
        EXPECT_EQ(dialog.result(), c.result) << c.off << c.button;
        EXPECT_EQ(prefs.autosaveOff, c.storedOff);
        EXPECT_EQ(prefs.autosaveMinutes, c.storedMinutes);
        EXPECT_EQ(dialog.closedWithOk(), c.button == ControlId::Ok);
    }
}

TEST(AutosaveDialog, TheSpinStaysWithinOneToSixtyMinutes)
{
    ProjectPrefs prefs;
    prefs.autosaveMinutes = 60;
    AutosaveDialog dialog(prefs);
    dialog.show();
    auto* spin = child<QSpinBox>(&dialog, QStringLiteral("minutes"));
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(spin->value(), 60);
    spin->setValue(1);
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(spin->value(), 1);
    // Alt+O ticks "&Off"; Enter is OK.
    QTest::keyClick(&dialog, Qt::Key_O, Qt::AltModifier);
    EXPECT_TRUE(child<QCheckBox>(&dialog, QStringLiteral("off"))->isChecked());
    QTest::keyClick(spin, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), AutosaveDialog::ResultOff);
}

TEST(AutosaveDialog, TheTimerFollowsHowTheDialogCloses)
{
    AppRig rig;
    ProjectPrefs& prefs = rig.app.project().prefs;
    prefs.autosaveOff = 0;
    prefs.autosaveMinutes = 7;
    whenModalOpens([](QWidget* box) { clickButton(*box, ControlId::Ok); });
    rig.dialogs.openAutosave();
    EXPECT_TRUE(rig.app.timers().isRunning(TimerId::Autosave));
    EXPECT_TRUE(rig.app.channels().isDialogJustClosedRaised());
    rig.app.channels().singleGainMove(0, 10); // consumes the flag
    // Cancel stops the timer although the stored setting still says autosave is on.
    whenModalOpens([](QWidget* box) { clickButton(*box, ControlId::Cancel); });
    rig.dialogs.openAutosave();
    EXPECT_FALSE(rig.app.timers().isRunning(TimerId::Autosave));
    EXPECT_EQ(prefs.autosaveOff, 0);
    EXPECT_FALSE(rig.app.channels().isDialogJustClosedRaised());
}

TEST(MeterPreferencesDialog, DamagedSettingsShowValidEntriesAndOkStoresValidValues)
{
    ModelRig rig;
    MeterViews views;
    rig.channels.addListener(&views);
    ProjectPrefs& prefs = rig.project.prefs;
    prefs.dbuMaxLevelIndex = -1;
    prefs.dbuMaxLevel = 0;
    prefs.dbfsReferenceIndex = 9;
    prefs.dbfsReference = -20;
    prefs.redZoneThreshold = 0;
    prefs.peakHold3s = 0;
    prefs.peakHoldMs = 0;
    MeterPreferencesDialog dialog(prefs, rig.channels);
    dialog.show();
    EXPECT_EQ(child<QComboBox>(&dialog, QStringLiteral("dbuList"))->currentText(), QStringLiteral("22"));
    EXPECT_EQ(child<QComboBox>(&dialog, QStringLiteral("dbfsList"))->currentText(), QStringLiteral("-20"));
    EXPECT_EQ(child<QSpinBox>(&dialog, QStringLiteral("redZone"))->value(), 4);
    clickButton(dialog, ControlId::Ok);
    EXPECT_EQ(prefs.dbuMaxLevelIndex, 0);
    EXPECT_EQ(prefs.dbuMaxLevel, 22);
    EXPECT_EQ(prefs.dbfsReferenceIndex, 2);
    EXPECT_EQ(prefs.dbfsReference, -20);
    EXPECT_EQ(prefs.redZoneThreshold, 4);
    EXPECT_EQ(prefs.peakHoldOff, 1);
    EXPECT_EQ(views.changed, 1);
    EXPECT_TRUE(rig.channels.isDialogJustClosedRaised());
    rig.channels.removeListener(&views);
}

TEST(MeterPreferencesDialog, ChoicesReachThePreferencesOnlyWithOk)
{
    for (int button : {ControlId::Cancel, ControlId::Ok}) {
        ModelRig rig;
        ProjectPrefs& prefs = rig.project.prefs;
        const ProjectPrefs before = prefs;
        MeterPreferencesDialog dialog(prefs, rig.channels);
        dialog.show();
        child<QRadioButton>(&dialog, QStringLiteral("radio%1").arg(DialogControl::Dbu))->click();
        child<QComboBox>(&dialog, QStringLiteral("dbuList"))->setCurrentIndex(3);
        child<QRadioButton>(&dialog, QStringLiteral("radio%1").arg(DialogControl::HoldFirst + 1))->click();
        child<QRadioButton>(&dialog, QStringLiteral("radio%1").arg(DialogControl::DisplayFirst + 1))->click();
        child<QSpinBox>(&dialog, QStringLiteral("redZone"))->setValue(9);
        clickButton(dialog, button);
        if (button == ControlId::Cancel) {
            EXPECT_EQ(prefs, before);
            continue;
        }
        EXPECT_EQ(prefs.meterScaleDbu, 1);
        EXPECT_EQ(prefs.meterScaleDbfs, 0);
        EXPECT_EQ(prefs.dbuMaxLevel, 12);
        EXPECT_EQ(prefs.peakHoldMs, 10000);
        EXPECT_EQ(prefs.meterDisplay3, 1);
        EXPECT_EQ(prefs.meterDisplay2, 0);
        EXPECT_EQ(prefs.redZoneThreshold, 9);
    }
}
