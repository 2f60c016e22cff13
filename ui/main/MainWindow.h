#pragma once
#include "app/ClickThroughGuard.h"
#include "app/HelpOpener.h"
#include "app/ProjectCommands.h"
#include "app/QtWallClock.h"
#include "app/StartupSequence.h"
#include "ui/dialogs/AppDialogs.h"
#include "ui/dialogs/QtFileDialogs.h"
#include "ui/main/MainLayout.h"

#include <QMainWindow>

#include <memory>
#include <optional>
#include <string>

namespace deskpanel {
class ScrollBar;

class DeskPanelApp;
class InputRouter;
class MainClient;
class MainCommands;
class SafetyDialogs;
class MainMenu;
class RemoteEndpoint;
class StageServer;
class BackupKeeper;
class BulkChangeNews;
class EventLog;
class RecordsCommands;
class ChannelSettingsCommands;
class SceneButtons;
class SceneListPanel;
class StripScroller;
class StripView;
class UnitStatusWindow;

// Where the main window finds its files and what it was started with.
struct MainWindowOptions {
    ProfileLocations locations;
    std::optional<std::string> projectFile; // from the command line
    DisplayMetrics metrics = DisplayMetrics::current();
    QString helpFolder; // empty: beside the executable
    FileDialogs* fileDialogs = nullptr; // tests: scripted; else Qt's
    // Whether start-up runs the desktop's cache programs after writing the association.
    bool refreshDesktopCaches = true;
    EventLog* eventLog = nullptr; // the unit event log; none: the window has nothing to show
    std::string stateFolder; // backups go to its "backups" folder; empty: none are kept

    // Every profile file in `folder`, away from the operator's own (tests, pictures,
    // measurements); the desktop's caches are left alone. The window is laid out for a
    // 1920 x 1080 screen at 96 pixels per inch whatever the display, so pictures and
    // measurements do not change with it.
    static MainWindowOptions inFolder(const std::string& folder);
};

// The program's only top-level window: banner with the scene list and the unit boxes,
// the scene buttons, one of the two strip views with its scroll bar, the menus. Built
// hidden; start() runs start-up, whose first tick shows it. Closing it runs Exit.
class MainWindow : public QMainWindow, private CommandWindow, private StartupSteps {
public:
    static inline const QColor HighlightColour{120, 120, 120};

    MainWindow(DeskPanelApp& app, MainWindowOptions options);
    ~MainWindow() override;

    void start();

    const MainLayout& layout() const { return m_layout; }
    ProjectCommands& projectCommands() { return *m_project; }
    // The remote control endpoint, set up from the program's profile.
    RemoteEndpoint& remote() { return *m_remote; }
    // The Stage Remote's server, set up from the program's profile; none in a build without it.
    StageServer* stage() { return m_stage.get(); }
    SceneListPanel& sceneList() { return *m_sceneList; }
    SceneButtons& sceneButtons() { return *m_buttons; }
    UnitStatusWindow& unitStatus() { return *m_unitStatus; }
    StripScroller& strips() { return *m_strips; }
    MainMenu& menu() { return *m_menu; }
    RecordsCommands& records() { return *m_records; }
    BulkChangeNews& readerNews() { return *m_readerNews; }
    AppDialogs& dialogs() { return m_dialogs; }
    bool overviewShown() const;
    void switchView();
    bool hasShown() const { return m_startup.hasShown(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    // CommandWindow
    void showProject() override;
    void storePlacement() override;
    void closeForGood() override;
    void startDetachedLater(const std::string& program, int delayMs) override;
    // StartupSteps
    void prepare() override;
    void finalLayout() override;
    void startLink() override;
    void registerAssociation() override;
    void openStartProject() override;
    void showWindow() override;
    void resetAllChannels() override;

    void buildPanels();
    void sceneButtonClicked(int controlId);
    // The view shown, with the Overview button's picture.
    void showView(bool overview);
    void applyWindowLayout(bool maximised);
    void stretchUnderview();
    // The minimum and the size cut to the work area, with the frame as far as it is known.
    void fitToScreen();
    QMargins frameMarginsKnown() const;

    DeskPanelApp& m_app;
    MainWindowOptions m_options;
    MainLayout m_layout;
    HelpOpener m_help;
    AppDialogs m_dialogs;
    ClickThroughGuard m_clickGuard;
    QtFileDialogs m_qtFileDialogs;
    std::unique_ptr<ProjectCommands> m_project;
    std::unique_ptr<RemoteEndpoint> m_remote;
    std::unique_ptr<StageServer> m_stage; // none in a build without the Stage Remote
    std::unique_ptr<MainCommands> m_commands;
    std::unique_ptr<SafetyDialogs> m_safety;
    QtWallClock m_wallClock;
    std::unique_ptr<BackupKeeper> m_backups;
    std::unique_ptr<RecordsCommands> m_records;
    std::unique_ptr<ChannelSettingsCommands> m_channelSettings;
    StartupSequence m_startup;
    MainClient* m_client = nullptr;
    MainMenu* m_menu = nullptr;
    SceneListPanel* m_sceneList = nullptr;
    SceneButtons* m_buttons = nullptr;
    UnitStatusWindow* m_unitStatus = nullptr;
    int m_unitStateListener = 0;
    int m_noUnitListener = 0;
    ScrollBar* m_unitBar = nullptr;
    StripView* m_underview = nullptr;
    StripView* m_overview = nullptr;
    StripScroller* m_strips = nullptr;
    InputRouter* m_router = nullptr;
    std::unique_ptr<BulkChangeNews> m_readerNews;
    QMargins m_fittedFrame;
    bool m_closing = false;
    bool m_closed = false;
};

} // namespace deskpanel
