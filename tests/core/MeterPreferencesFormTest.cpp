#include "core/model/MeterPreferencesForm.h"

#include <gtest/gtest.h>

using namespace deskpanel;

using Hold = MeterPreferencesForm::HoldChoice;
using Display = MeterPreferencesForm::DisplayChoice;

TEST(MeterPreferencesForm, OpeningOnTheDefaults)
{
    const MeterPreferencesForm form = MeterPreferencesForm::open(ProjectPrefs{});
    EXPECT_FALSE(form.dbuScale);
    EXPECT_EQ(form.dbuMaxLevelIndex, 0);
    EXPECT_EQ(form.dbfsReferenceIndex, 1);
    EXPECT_EQ(form.hold, Hold::ThreeSeconds);
    EXPECT_EQ(form.display, Display::PeakOverVu);
    EXPECT_EQ(form.redZoneThreshold, 20);
}

TEST(MeterPreferencesForm, OpeningShowsTheFirstSetFlagInTheDialogsOrder)
{
    ProjectPrefs prefs;
    prefs.peakHold3s = 1;
    prefs.peakHold10s = 1;
    prefs.meterDisplay2 = 1;
    prefs.meterDisplay4 = 1;
    MeterPreferencesForm form = MeterPreferencesForm::open(prefs);
    EXPECT_EQ(form.hold, Hold::TenSeconds);
    EXPECT_EQ(form.display, Display::PeakOnly);

    prefs = ProjectPrefs{};
    prefs.peakHold3s = 0;
    prefs.peakHoldInfinite = 1;
    prefs.peakHoldOff = 1;
    prefs.meterDisplay2 = 1;
    prefs.meterDisplay1 = 1;
    prefs.meterDisplay3 = 1;
    form = MeterPreferencesForm::open(prefs);
    EXPECT_EQ(form.hold, Hold::Infinite);
    EXPECT_EQ(form.display, Display::VuOnly);

    prefs.meterDisplay3 = 0;
    EXPECT_EQ(MeterPreferencesForm::open(prefs).display, Display::PeakAndVu);
}

TEST(MeterPreferencesForm, DbuIsCheckedOnlyWhenItsWordIsOne)
{
    ProjectPrefs prefs;
    prefs.meterScaleDbu = 1;
    EXPECT_TRUE(MeterPreferencesForm::open(prefs).dbuScale);
    prefs.meterScaleDbu = 2;
    EXPECT_FALSE(MeterPreferencesForm::open(prefs).dbuScale);
}

TEST(MeterPreferencesForm, OkWritesEveryMeterWordAndNothingElse)
{
    ProjectPrefs prefs;
    prefs.meterConfirmedA = 0;
    prefs.meterConfirmedB = 0;
    prefs.promptNewScene = 1;
    prefs.ethernetUpdateRate = 500;
    prefs.autosaveMinutes = 17;

    MeterPreferencesForm form = MeterPreferencesForm::open(prefs);
    form.dbuScale = true;
    form.dbuMaxLevelIndex = 4;
    form.dbfsReferenceIndex = 2;
    form.hold = Hold::Infinite;
    form.display = Display::VuOnly;
    form.redZoneThreshold = 7;
    form.applyTo(prefs);

    ProjectPrefs expected;
    expected.promptNewScene = 1;
    expected.ethernetUpdateRate = 500;
    expected.autosaveMinutes = 17;
    expected.peakHold10s = 0;
    expected.peakHold3s = 0;
    expected.peakHoldInfinite = 1;
    expected.peakHoldOff = 0;
    expected.peakHoldMs = -1;
    expected.redZoneThreshold = 7;
    expected.meterDisplay1 = 0;
    expected.meterDisplay2 = 0;
    expected.meterDisplay3 = 1;
    expected.meterDisplay4 = 0;
    expected.dbuMaxLevelIndex = 4;
    expected.dbuMaxLevel = 9;
    expected.dbfsReferenceIndex = 2;
    expected.dbfsReference = -20;
    expected.meterConfirmedA = 1;
    expected.meterConfirmedB = 1;
    expected.meterScaleDbu = 1;
    expected.meterScaleDbfs = 0;
    EXPECT_EQ(prefs, expected);
}

TEST(MeterPreferencesForm, RoundTripOverEveryChoice)
{
    // OK on an unchanged dialog keeps the defaults...
    ProjectPrefs prefs;
    MeterPreferencesForm::open(prefs).applyTo(prefs);
    EXPECT_EQ(prefs, ProjectPrefs{});

    // ...and whatever is chosen shows again on the next opening.
    for (bool dbu : {false, true})
        for (int dbuIndex = 0; dbuIndex < 5; ++dbuIndex)
            for (int dbfsIndex = 0; dbfsIndex < 3; ++dbfsIndex)
                for (Hold hold : {Hold::ThreeSeconds, Hold::TenSeconds, Hold::Infinite, Hold::Off})
                    for (Display display :
                         {Display::PeakOnly, Display::VuOnly, Display::PeakAndVu, Display::PeakOverVu})
                        for (int threshold : {4, 13, 22}) {
                            MeterPreferencesForm chosen{dbu, dbuIndex, dbfsIndex, hold, display, threshold};
                            ProjectPrefs written;
                            chosen.applyTo(written);
                            ASSERT_EQ(MeterPreferencesForm::open(written), chosen);
                        }
}

TEST(MeterPreferencesForm, DamagedRecordOpensOnValidControls)
{
    ProjectPrefs prefs;
    prefs.redZoneThreshold = 99;
    prefs.dbuMaxLevelIndex = 9;
    prefs.dbuMaxLevel = 15;
    prefs.dbfsReferenceIndex = -1;
    prefs.dbfsReference = 7;
    prefs.peakHold3s = 0; // no hold flag at all
    prefs.peakHoldMs = 0;
    prefs.meterDisplay2 = 0; // no display flag at all

    const MeterPreferencesForm form = MeterPreferencesForm::open(prefs);
    EXPECT_EQ(form.redZoneThreshold, 22);
    EXPECT_EQ(form.dbuMaxLevelIndex, 2);
    EXPECT_EQ(form.dbfsReferenceIndex, 1);
    EXPECT_EQ(form.hold, Hold::Off);
    EXPECT_EQ(form.display, Display::PeakOverVu);

    prefs.redZoneThreshold = -3;
    EXPECT_EQ(MeterPreferencesForm::open(prefs).redZoneThreshold, 4);

    // OK then leaves a consistent record behind.
    form.applyTo(prefs);
    EXPECT_EQ(prefs.peakHoldOff, 1);
    EXPECT_EQ(prefs.meterDisplay2, 1);
    EXPECT_EQ(prefs.dbuMaxLevel, 15);
    EXPECT_EQ(prefs.dbfsReference, -18);
}
