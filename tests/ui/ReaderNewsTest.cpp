// What a screen reader is told, and when: one recall of 384 channels sends a handful of
// events (the focused control's value and one announcement) instead of thousands; news is
// merged per control and a state notice names only the flags that changed; a rename is
// throttled like the rest and reaches the painted parts; the unit panel is announced
// before its box; the scene list is named and read without padding.
#include "tests/ui/MainWindowFixture.h"
#include "ui/access/BulkChangeNews.h"
#include "ui/access/ConsoleAccessibility.h"
#include "ui/controls/AccessibleNotifier.h"
#include "ui/controls/GainFader.h"
#include "ui/controls/ToggleButton.h"
#include "ui/views/UnitStatusWindow.h"

#include <QAccessible>
#include <QApplication>

namespace deskpanel::test {
namespace {

struct Heard {
    QObject* object;
    int child;
    QAccessible::Event type;
    QAccessible::State changed;
    QString name; // the name of what the event is about, read when it came
};

std::vector<Heard> heard;

void hear(QAccessibleEvent* e)
{
    QAccessible::State changed;
    if (e->type() == QAccessible::StateChanged)
        changed = static_cast<QAccessibleStateChangeEvent*>(e)->changedStates();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(e->object());
    if (iface && e->child() >= 0)
        iface = iface->child(e->child());
    heard.push_back({e->object(), e->child(), e->type(), changed, iface ? iface->text(QAccessible::Name) : QString()});
}

class ReaderNews : public MainWindowTest {
protected:
    ReaderNews()
    {
        installConsoleAccessibility();
        heard.clear();
        AccessibleNotifier::flush();
        AccessibleNotifier::setSink(&hear);
    }
    ~ReaderNews() override { AccessibleNotifier::setSink(nullptr); }

    template <class Control>
    Control* shownControl(int channel)
    {
        for (Control* c : window->findChildren<Control*>())
            if (c->isVisible() && c->channel() == channel)
                return c;
        return nullptr;
    }
    std::size_t count(QAccessible::Event type) const
    {
        return std::size_t(std::count_if(heard.begin(), heard.end(), [&](const Heard& h) { return h.type == type; }));
    }
};

TEST_F(ReaderNews, OneRecallOf384ChannelsSendsTheFocusedValueAndOneAnnouncement)
{
    MainWindow& w = started();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    for (ChannelSettings& s : app.project().live) {
        s.gainPosition = 20;
        s.mute = 1;
        s.polarity = 1;
    }
    storeScenes({"Verse"});
    app.project().scenes.scene(1).channelNames.fill("Vocal");
    app.channels().resetAllChannels();
    GainFader* fader = shownControl<GainFader>(4);
    ASSERT_NE(fader, nullptr);
    fader->setFocus(Qt::TabFocusReason);
    AccessibleNotifier::flush();
    heard.clear();

    op.answers = {Decision::Yes};
    app.scenes().recallScene(1);
    ASSERT_EQ(app.project().live[4].gainPosition, 20);
    AccessibleNotifier::flush();
    EXPECT_LE(heard.size(), 20u);
    EXPECT_EQ(count(QAccessible::ValueChanged), 1u);
    EXPECT_EQ(std::count_if(heard.begin(), heard.end(),
                            [&](const Heard& h) { return h.object == fader && h.type == QAccessible::ValueChanged; }),
              1);
    ASSERT_EQ(
        std::count_if(heard.begin(), heard.end(), [&](const Heard& h) { return h.object == w.readerNews().status(); }),
        1);
    EXPECT_EQ(w.readerNews().status()->text(), QStringLiteral("Scene 1 Verse recalled"));
    QAccessibleInterface* status = QAccessible::queryAccessibleInterface(w.readerNews().status());
    EXPECT_EQ(status->role(), QAccessible::StatusBar);
    EXPECT_EQ(status->text(QAccessible::Name), QStringLiteral("Scene 1 Verse recalled"));

    // Refused, nothing changes: nothing to announce. A single change afterwards is news again.
    heard.clear();
    app.project().prefs.promptRecallScene = true;
    op.answers = {Decision::No};
    app.scenes().recallScene(0);
    AccessibleNotifier::flush();
    EXPECT_TRUE(heard.empty());
    shownControl<ToggleButton>(9)->setState(0);
    AccessibleNotifier::flush();
    EXPECT_EQ(count(QAccessible::StateChanged), 1u);
}

TEST(BulkChangeSummary, SaysWhatHappened)
{
    Project project;
    Scene verse;
    verse.name = "Verse";
    project.scenes.append(verse);
    project.scenes.append(verse);
    project.scenes.scene(2).name = "Chorus";
    project.activeSceneIndex = 2;
    struct Case {
        const char* operation;
        const char* said;
    };
    for (const Case c : {Case{"Recall", "Scene 2 Chorus recalled"}, Case{"Undo", "Undone"}, Case{"Redo", "Redone"},
                         Case{"Import channel names", "Channel names imported"},
                         Case{"Identity check", "Identity check finished"}, Case{"Save", ""}, Case{"Exit", ""}})
        EXPECT_EQ(BulkChangeNews::summary(c.operation, project), QString::fromLatin1(c.said)) << c.operation;
    project.activeSceneIndex = 0;
    EXPECT_EQ(BulkChangeNews::summary("Recall", project), QStringLiteral("Blank Scene recalled"));
}

// A rename is news like the rest: nothing until the interval, then one NameChanged for each
// control and for the painted parts that carry the title; a switch's state notice names
// the checked flag only; the hidden view sends nothing.
TEST_F(ReaderNews, RenamesWaitAndStatesNameOnlyWhatChanged)
{
    MainWindow& w = started();
    ToggleButton* mute = shownControl<ToggleButton>(2);
    ASSERT_NE(mute, nullptr);
    AccessibleNotifier::flush();
    heard.clear();
    app.channels().setChannelText(2, "Snare", "");
    EXPECT_TRUE(heard.empty()) << "a rename waits for the interval";
    AccessibleNotifier::flush();
    std::vector<QString> renamed;
    for (const Heard& h : heard)
        if (h.type == QAccessible::NameChanged)
            renamed.push_back(h.name);
    EXPECT_NE(std::find(renamed.begin(), renamed.end(), QStringLiteral("Channel 3, Snare: link group")), renamed.end());
    EXPECT_NE(std::find(renamed.begin(), renamed.end(), QStringLiteral("Snare")), renamed.end()) << "the title";
    EXPECT_NE(std::find(renamed.begin(), renamed.end(), QStringLiteral("Channel 3, Snare: gain")), renamed.end());
    EXPECT_EQ(renamed.size(), heard.size()) << "a rename is no change of state or value";
    EXPECT_EQ(std::count(renamed.begin(), renamed.end(), QStringLiteral("Channel 3, Snare: gain")), 1);

    heard.clear();
    for (int i = 0; i < 5; ++i)
        mute->setState(i % 2 == 0 ? 1 : 0);
    w.switchView(); // the view that changed is hidden now
    for (ToggleButton* hidden : w.findChildren<ToggleButton*>())
        if (!hidden->isVisible() && hidden->channel() == 3)
            hidden->setState(1);
    w.switchView();
    mute->setState(0);
    AccessibleNotifier::flush();
    std::erase_if(heard, [](const Heard& h) { return !qobject_cast<ToggleButton*>(h.object); }); // the Overview button
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].object, mute);
    EXPECT_TRUE(heard[0].changed.checked);
    EXPECT_FALSE(heard[0].changed.disabled);
}

std::vector<std::pair<QObject*, int>> focusNews;

// The panel is told of first, then the box that has the ring; the list is "Scenes" with
// the active scene as its description and reads its lines without their padding.
TEST_F(ReaderNews, UnitPanelThenItsBoxAndTheSceneListsNames)
{
    MainWindow& w = started();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    focusNews.clear();
    AccessibleNotifier::setSink([](QAccessibleEvent* e) {
        if (e->type() == QAccessible::Focus)
            focusNews.emplace_back(e->object(), e->child());
    });
    // Qt tells of the panel right after its focus-in handler, inside setFocus: the box
    // must not come before.
    w.unitStatus().setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(focusNews.empty()) << "the box was told of before the panel";
    QCoreApplication::processEvents();
    const std::vector<std::pair<QObject*, int>> expected{{&w.unitStatus(), 0}};
    EXPECT_EQ(focusNews, expected);
    AccessibleNotifier::setSink(&hear);

    storeScenes({"Verse"});
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(w.sceneList().list());
    EXPECT_EQ(list->text(QAccessible::Name), QStringLiteral("Scenes"));
    EXPECT_EQ(list->text(QAccessible::Description), QStringLiteral("000 Blank Scene"));
    std::vector<QString> names;
    for (int i = 0; i < list->childCount(); ++i)
        names.push_back(list->child(i)->text(QAccessible::Name));
    EXPECT_EQ(names, (std::vector<QString>{QStringLiteral("000 Blank Scene"), QStringLiteral("001 Verse")}));
    EXPECT_EQ(listTexts()[1], "  001 Verse") << "the list's own text keeps its padding";
}

} // namespace
} // namespace deskpanel::test
