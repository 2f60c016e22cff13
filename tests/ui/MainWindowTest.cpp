// The real main window offscreen: its size at both resolutions, start-up with a project
// and a stored placement, Exit, the save keys, the recent files, the scene lock.
#include "app/EventLogging.h"
#include "core/persistence/ProjectFileWriter.h"
#include "core/persistence/WindowPosition.h"
#include "tests/support/UnitLinkRig.h"
#include "tests/ui/MainWindowFixture.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/controls/PictureButton.h"
#include "ui/main/MainClient.h"
#include "ui/main/MainMenu.h"
#include "ui/main/SceneButtons.h"
#include "ui/main/StripScroller.h"
#include "ui/views/UnitStatusWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QTimer>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <filesystem>
#include <functional>

namespace deskpanel::test {
namespace {

using Kind = ScriptedOperator::Kind;

QAction* findEntry(QWidget& w, const QString& text)
{
    for (QAction* action : w.findChildren<QAction*>())
        if (action->text() == text)
            return action;
    return nullptr;
}

TEST_F(MainWindowTest, StartsAtTheSizeOfItsResolution)
{
    struct Case {
        DisplayMetrics metrics;
        QSize size;
    };
    // The compact layout, 0.86 x 0.84 of the template's 964 x 752 pixels at 120, from 120
    // device pixels per inch on or where the normal window would not fit the work area;
    // else 1102 x 789.
    const Case cases[] = {{{96, 96, QSize(1920, 1080)}, QSize(1102, 789)},
                          {{120, 120, QSize(1920, 1080)}, QSize(829, 632)},
                          {{144, 144, QSize(1920, 1080)}, QSize(829, 632)},
                          {{96, 96, QSize(1280, 720), 1.5, QRect(0, 0, 1280, 680)}, QSize(829, 632)},
                          {{96, 96, QSize(1366, 768), 1.0, QRect(0, 28, 1366, 740)}, QSize(829, 632)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.metrics.screen.width());
        EXPECT_EQ(build(options(c.metrics)).size(), c.size);
    }
    // Shown, it keeps that size and cannot be made smaller than half the screen by 780.
    MainWindow& shown = started();
    EXPECT_EQ(shown.size(), QSize(1102, 789));
    EXPECT_EQ(shown.minimumSize(), QSize(960, 780));
}

TEST_F(MainWindowTest, OpensTheCommandLineProjectAndTheStoredView)
{
    Project show;
    Scene scene;
    scene.name = "Opening";
    scene.settings = show.snapshotSettings();
    scene.channelNames = show.channelNames();
    show.scenes.append(scene);
    ASSERT_EQ(ProjectFileWriter::write(show, folder.file("show.vpf")), ProjectFileWriter::Result::Saved);
    WindowPosition stored;
    stored.overviewShown = 1;
    WindowPosition::write(folder.file("DeskPanel.INI"), stored);

    MainWindowOptions o = options();
    o.projectFile = folder.file("show.vpf");
    MainWindow& w = started(std::move(o));
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"  000 Blank Scene", "  001 Opening"}));
    EXPECT_EQ(w.windowTitle(), QStringLiteral(" Veltara RP-8 - show.vpf"));
    EXPECT_EQ(app.project().projectPath, folder.file("show.vpf"));
    // The stored view is the one shown, and the meters and recalls know it.
    EXPECT_TRUE(w.overviewShown());
    EXPECT_EQ(app.metering().shownView(), MeterView::Overview);
    EXPECT_EQ(w.sceneButtons().button(PictureButton::OverviewId)->state(), PictureButton::Pressed);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowTest, ExitAnswers)
{
    MainWindow& w = started();
    op.answers = {Decision::Cancel};
    w.close();
    EXPECT_TRUE(w.isVisible());

    // Yes on a never saved project asks for a name; cancelling it keeps the program.
    op.answers = {Decision::Yes};
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(fileDialogs.requests.size(), 1u);
    EXPECT_EQ(fileDialogs.requests[0].title, " Save As");

    op.answers = {Decision::No};
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(op.textsOf(Kind::DecideThreeWay).size(), 3u);
    EXPECT_TRUE(WindowPosition::read(folder.file("DeskPanel.INI")).has_value());
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"DeskPanel.INI", "settings.ini", "share"}));
}

TEST_F(MainWindowTest, RecentFilesSubmenuListsUpToEight)
{
    std::string section = "[Recent File List]\r\n";
    for (int i = 1; i <= 9; ++i) {
        writeText(folder.file("show" + std::to_string(i) + ".vpf"), "x");
        section += "File" + std::to_string(i) + "=" + folder.file("show" + std::to_string(i) + ".vpf") + "\r\n";
    }
    writeText(folder.file("settings.ini"), section);
    MainWindow& w = started();
    w.menu().fillRecentFiles();
    const auto actions = w.menu().recentMenu()->actions();
    ASSERT_EQ(actions.size(), 8);
    EXPECT_EQ(actions[0]->text(), QString::fromStdString("&1. " + folder.file("show1.vpf")));
    EXPECT_EQ(actions[7]->text(), QString::fromStdString("&8. " + folder.file("show8.vpf")));

    // An entry runs the save question, then opens through Open's path.
    op.answers = {Decision::No};
    actions[1]->trigger();
    EXPECT_EQ(op.textsOf(Kind::Decide), std::vector<std::string>{"Save changes to current project before opening?"});
    EXPECT_EQ(app.project().projectPath, folder.file("show2.vpf"));
}

TEST_F(MainWindowTest, AnEmptyRecentFilesSubmenuStaysEnabledWithOneEmptyEntry)
{
    MainWindow& w = started();
    w.menu().fillRecentFiles();
    QMenu* recent = w.menu().recentMenu();
    EXPECT_TRUE(recent->isEnabled());
    EXPECT_TRUE(recent->menuAction()->isEnabled());
    const auto actions = recent->actions();
    ASSERT_EQ(actions.size(), 1);
    EXPECT_TRUE(actions[0]->text().isEmpty());
    EXPECT_FALSE(actions[0]->isSeparator());
    // Choosing it does nothing: no question, no file opened.
    const std::string path = app.project().projectPath;
    const std::size_t shown = op.shown.size();
    actions[0]->trigger();
    EXPECT_EQ(op.shown.size(), shown);
    EXPECT_EQ(app.project().projectPath, path);
}

// Every Save As names the project in the title and heads the Recent Files submenu,
// whichever path started it.
TEST_F(MainWindowTest, EverySaveAsShowsTheNewNameAndRecentEntry)
{
    struct Case {
        const char* name;
        const char* fileName; // what the Save As dialog answers
        std::function<void(MainWindow&)> run;
    };
    const Case cases[] = {{"autosave of an unnamed project", "autosaved.vpf",
                           [this](MainWindow&) {
                               app.timers().start(TimerId::Autosave, 1);
                               EXPECT_TRUE(QTest::qWaitFor([this] { return !fileDialogs.requests.empty(); }, 5000));
                               app.timers().stop(TimerId::Autosave);
                           }},
                          {"the save question of Open, Open then cancelled", "before open.vpf",
                           [this](MainWindow&) {
                               op.answers = {Decision::Yes};
                               findEntry(*window, QStringLiteral("&Open..."))->trigger();
                           }},
                          {"Exit's save", "at exit.vpf", [this](MainWindow& w) {
                               op.answers = {Decision::Yes};
                               w.close();
                               EXPECT_FALSE(w.isVisible());
                           }}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow& w = started();
        ASSERT_EQ(app.project().projectName, Project::NewProjectName);
        const std::string path = folder.file(c.fileName);
        fileDialogs.requests.clear();
        fileDialogs.answers = {path, std::nullopt};
        c.run(w);
        ASSERT_TRUE(std::filesystem::exists(path));
        EXPECT_EQ(w.windowTitle().toStdString(), std::string(" Veltara RP-8 - ") + c.fileName);
        const auto recent = w.menu().recentMenu()->actions();
        EXPECT_EQ(recent.isEmpty() ? std::string() : recent[0]->text().toStdString(), "&1. " + path);
        app.project().resetToNewProject(folder.path() + "/");
    }
}

TEST_F(MainWindowTest, FailedSaveKeepsTheProgramRunningWithNothingLost)
{
    MainWindow& w = started();
    storeScenes({"Act 1", "Act 2"});
    app.project().projectPath = folder.file("gone/show.vpf");
    app.project().setProjectName("show.vpf");
    app.project().hasFile = true;
    app.project().scenes.setModified(1);
    w.sceneList().sceneLinesChanged();

    op.answers = {Decision::Yes};
    w.close();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(op.textsOf(Kind::PlatformMessage),
              std::vector<std::string>{"Cannot open file " + folder.file("gone/show.vpf")});
    // The markers stay: nothing was saved.
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"  000 Blank Scene", "  001 Act 1*", "  002 Act 2"}));
}

TEST_F(MainWindowTest, LockDisablesTheSceneButtonsAndTheListActions)
{
    MainWindow& w = started();
    storeScenes({"Act 1", "Act 2"});
    SceneButtons& buttons = w.sceneButtons();
    buttons.button(PictureButton::LockId)->clicked(PictureButton::LockId);
    EXPECT_TRUE(app.scenes().sceneLock());
    for (int id : {PictureButton::NewId, PictureButton::DeleteId, PictureButton::RecallId})
        EXPECT_EQ(buttons.button(id)->state(), PictureButton::Disabled) << id;
    EXPECT_EQ(buttons.button(PictureButton::LockId)->state(), PictureButton::Pressed);

    mouse(QEvent::MouseButtonDblClick, 2, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(app.project().activeSceneIndex, 0);
    drag(2, {1});
    EXPECT_EQ(listTexts()[1], "  001 Act 1");

    // Timer 15 redraws the four buttons from the lock.
    buttons.button(PictureButton::LockId)->clicked(PictureButton::LockId);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return buttons.button(PictureButton::NewId)->state() == PictureButton::Normal; }, 2000));
    EXPECT_EQ(buttons.button(PictureButton::LockId)->state(), PictureButton::Normal);
}

TEST(MainClientHeader, ShowsTheActiveSceneCutToThirtyCharacters)
{
    Project project;
    EXPECT_EQ(MainClient::headerText(project), QStringLiteral("Blank Scene"));
    Scene scene;
    scene.name = "A scene with a rather long name for a header";
    project.scenes.append(scene);
    project.activeSceneIndex = 1;
    EXPECT_EQ(MainClient::headerText(project), QStringLiteral("  001 A scene with a rather lo"));
}

// Over the scene list, Escape and Enter do nothing and Ctrl+S saves directly.
TEST_F(MainWindowTest, KeysOverTheSceneList)
{
    MainWindow& w = started();
    w.activateWindow();
    QListWidget* list = w.sceneList().list();
    QCursor::setPos(list->mapToGlobal(list->rect().center()));
    if (!list->rect().contains(list->mapFromGlobal(QCursor::pos())))
        GTEST_SKIP() << "this platform cannot place the pointer";
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Escape);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_TRUE(op.textsOf(Kind::DecideThreeWay).empty());
    EXPECT_TRUE(w.isVisible());
    QTest::keyClick(list, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(fileDialogs.requests.size(), 1u);
    EXPECT_EQ(fileDialogs.requests[0].title, " Save As");

    // Elsewhere Escape asks the exit question.
    QCursor::setPos(w.mapToGlobal(QPoint(2, w.height() - 2)));
    op.answers = {Decision::Cancel};
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_EQ(op.textsOf(Kind::DecideThreeWay).size(), 1u);
}

TEST_F(MainWindowTest, MenuBarEntriesAndKeys)
{
    MainWindow& w = started();
    struct Entry {
        const char* text;
        QKeySequence keys;
        bool enabled;
    };
    const Entry entries[] = {
        {"&New Project...", QKeySequence(Qt::CTRL | Qt::Key_N), true},
        {"&Open...", QKeySequence(Qt::CTRL | Qt::Key_O), true},
        {"&Save...", QKeySequence(Qt::CTRL | Qt::Key_S), true},
        {"Save &As...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), true},
        {"Open Bac&kup...", {}, true},
        {"Export Channel S&heet...", {}, true},
        {"E&xit", {}, true},
        {"&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), true},
        {"&Redo", QKeySequence(Qt::CTRL | Qt::Key_Y), true},
        {"C&opy Channel Settings", QKeySequence(Qt::CTRL | Qt::Key_C), true},
        {"&Paste Channel Settings...", QKeySequence(Qt::CTRL | Qt::Key_V), true},
        {"Channel Pr&esets...", {}, true},
        {"&Link...", QKeySequence(Qt::CTRL | Qt::Key_L), true},
        {"Unit &Naming...", {}, true},
        {"&Channel Naming...", {}, true},
        {"Recall Safes...", {}, true},
        {"&IP Address...", {}, true},
        {"&Unit Identity Check...", QKeySequence(Qt::CTRL | Qt::Key_I), true},
        {"&System Status...", {}, true},
        {"&Event Log...", {}, true},
        {"&Option Slot...", {}, false},
        {"&ADC...", {}, false},
        {"&Preferences...", {}, true},
        {"Recall and &Safety...", {}, true},
        {"&Quick Reference...", {}, true},
        {"User &Guide", QKeySequence(Qt::CTRL | Qt::Key_H), true},
        {"&About...", {}, true},
        {"&Uninstall Veltara RP-8...", {}, true},
    };
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.text);
        QAction* action = findEntry(w, QString::fromLatin1(e.text));
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->shortcut(), e.keys);
        EXPECT_EQ(action->isEnabled(), e.enabled);
    }
    EXPECT_TRUE(findEntry(w, QStringLiteral("User &Guide"))->shortcuts().contains(QKeySequence(Qt::Key_F1)));
    EXPECT_TRUE(
        findEntry(w, QStringLiteral("&Redo"))->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    QStringList menus;
    for (QAction* menu : w.menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus, (QStringList{"&Files", "&Edit", "&Setup", "&Help"}));

    // Save on a new project asks for a name.
    findEntry(w, QStringLiteral("&Save..."))->trigger();
    ASSERT_EQ(fileDialogs.requests.size(), 1u);
    EXPECT_EQ(fileDialogs.requests[0].title, " Save As");
    EXPECT_EQ(fileDialogs.requests[0].filterName, "Veltara Project Files (*.vpf)");
    EXPECT_EQ(fileDialogs.requests[0].defaultExtension, "vpf");
    EXPECT_TRUE(fileDialogs.requests[0].confirmOverwrite);
}

TEST_F(MainWindowTest, CopyPutsTheLineOnTheClipboardAndPasteOfTheLineReachesTheChannelsInOneUndoStep)
{
    MainWindow& w = started();
    ChannelControl& channels = app.channels();
    channels.switchChanged(static_cast<int>(SwitchKind::Pad), 3, 1);
    findEntry(w, QStringLiteral("C&opy Channel Settings"))->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("DeskPanel channel: gain=8 pad=1 pol=0 phantom=0 mute=0"));

    QGuiApplication::clipboard()->setText(QStringLiteral("gain=42"));
    findEntry(w, QStringLiteral("&Paste Channel Settings..."))->trigger();
    EXPECT_EQ(op.textsOf(Kind::Message),
              (std::vector<std::string>{"The clipboard holds no DeskPanel channel settings."}));

    // The dialog opens onto the current channel; Enter pastes there at once.
    QGuiApplication::clipboard()->setText(QStringLiteral("DeskPanel channel: pol=1 gain=42"));
    channels.setCurrentChannel(5);
    QTimer::singleShot(0, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            QTest::keyClick(dialog, Qt::Key_Return);
    });
    const int undoable = channels.undoHistory().undoableCount();
    findEntry(w, QStringLiteral("&Paste Channel Settings..."))->trigger();
    EXPECT_EQ(channels.settings(5).polarity, 1);
    EXPECT_EQ(channels.gainDbOf(5), 42);
    EXPECT_EQ(channels.undoHistory().undoableCount(), undoable + 1);
}

// A desktop style that walks the menu bar with the keyboard after a tap of Alt.
class AltNavigationStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// While the menu bar holds the keyboard (after a tap of Alt, or Alt+F then Escape) its
// keys are its own: no gain step on the current channel, no scrolling, no exit question.
TEST_F(MainWindowTest, MenuBarInKeyboardModeKeepsTheArrowsAndEscape)
{
    MainWindow& w = started();
    AltNavigationStyle style;
    w.menuBar()->setStyle(&style);
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QCursor::setPos(w.mapToGlobal(QPoint(2, w.height() - 2)));
    const auto closePopups = [] {
        for (int i = 0; i < 5 && QApplication::activePopupWidget(); ++i)
            QApplication::activePopupWidget()->close();
    };
    struct Case {
        const char* name;
        std::function<void()> enter;
    };
    const Case cases[] = {
        {"a tap of Alt",
         [&w] {
             QTest::keyPress(&w, Qt::Key_Alt, Qt::AltModifier);
             QTest::keyRelease(&w, Qt::Key_Alt);
         }},
        {"Alt+F then Escape",
         [&w] {
             QTest::keyClick(&w, Qt::Key_F, Qt::AltModifier);
             ASSERT_NE(QApplication::activePopupWidget(), nullptr);
             QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
         }},
    };
    for (const Case& c : cases) {
        for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Right, Qt::Key_Left, Qt::Key_Escape}) {
            SCOPED_TRACE(testing::Message() << c.name << ", key " << key);
            closePopups();
            app.project().live[0].gainPosition = 30;
            w.strips().setUnderviewPosition(164);
            c.enter();
            ASSERT_EQ(QApplication::focusWidget(), w.menuBar());
            QTest::keyClick(w.menuBar(), key);
            EXPECT_EQ(app.project().live[0].gainPosition, 30);
            EXPECT_EQ(w.strips().underviewPosition(), 164);
            EXPECT_TRUE(op.textsOf(Kind::DecideThreeWay).empty());
            closePopups();
            if (QApplication::focusWidget() == w.menuBar())
                QTest::keyClick(w.menuBar(), Qt::Key_Escape);
        }
    }
    // Back at the strips, the keys reach the channel again.
    closePopups();
    w.setFocus();
    QTest::keyClick(&w, Qt::Key_Up);
    EXPECT_EQ(app.project().live[0].gainPosition, 29);
    w.menuBar()->setStyle(nullptr);
}

// This computer's addresses as the system lists them: the first IPv4 address of an
// interface that is up and not the loopback, else the loopback's.
std::string interfaceAddress()
{
    ifaddrs* interfaces = nullptr;
    if (::getifaddrs(&interfaces) != 0)
        return {};
    std::string external, loopback;
    for (const ifaddrs* i = interfaces; i; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET || !(i->ifa_flags & IFF_UP))
            continue;
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(i->ifa_addr)->sin_addr, text, sizeof text);
        std::string& slot = (i->ifa_flags & IFF_LOOPBACK) ? loopback : external;
        if (slot.empty())
            slot = text;
    }
    ::freeifaddrs(interfaces);
    return external.empty() ? loopback : external;
}

TEST_F(MainWindowTest, IpAddressBoxShowsThisComputersAddress)
{
    const std::string address = interfaceAddress();
    ASSERT_FALSE(address.empty());
    MainWindow& w = started();
    findEntry(w, QStringLiteral("&IP Address..."))->trigger();
    EXPECT_EQ(op.textsOf(Kind::Message), std::vector<std::string>{"This computer's IP Address is: " + address});
}

// Without a single unit packet 10 s after the bind, the unit panel and the event log
// say so once; the first packet takes the line away.
TEST_F(MainWindowTest, NoUnitHeardIsSaidOnTheUnitPanelAndInTheEventLogUntilAUnitSpeaks)
{
    EventLogging events(app, {}, "test");
    MainWindow& w = started();
    ASSERT_TRUE(uitest::pumpUntil([&w] { return !w.unitStatus().notice().isEmpty(); },
                                  int(NoUnitHeardNotice::NoticeAfterMs) + 5000));
    const std::string text = w.unitStatus().notice().toStdString();
    EXPECT_EQ(text.rfind("No unit has been heard on UDP port ", 0), 0u) << text;
    ASSERT_EQ(events.log().eventsFrom(0).back().text, text);
    const PacketBytes bytes = unitPacket(UnitLinkRig::unitFields(4));
    app.link().handleDatagram(bytes.data(), bytes.size(), Ipv4Endpoint{(127u << 24) | 4u, 40000});
    EXPECT_TRUE(w.unitStatus().notice().isEmpty());
}

} // namespace
} // namespace deskpanel::test
