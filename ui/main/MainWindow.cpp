#include "ui/main/MainWindow.h"

#include "app/DeskPanelApp.h"
#include "app/QuietPrograms.h"
#include "app/RemoteEndpoint.h"
#ifdef DESKPANEL_STAGE_REMOTE
#include "app/stage/StageServer.h"
#else
namespace deskpanel {
// A build without the Stage Remote never makes one: the window's pointer stays empty, and
// its destructor needs no more than this.
class StageServer {};
} // namespace deskpanel
#endif
#include "core/model/DeskRecall.h"
#include "core/persistence/FileAssociation.h"
#include "core/persistence/RecentFileList.h"
#include "core/persistence/WindowPosition.h"
#include "core/records/BackupKeeper.h"
#include "ui/access/BulkChangeNews.h"
#include "ui/access/ConsoleAccessibility.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/controls/PictureButton.h"
#include "ui/controls/ScrollBar.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/dialogs/SafetyDialogs.h"
#include "ui/main/ChannelSettingsCommands.h"
#include "ui/main/InputRouter.h"
#include "ui/main/MainClient.h"
#include "ui/main/MainCommands.h"
#include "ui/main/MainMenu.h"
#include "ui/main/RecordsCommands.h"
#include "ui/main/SceneButtons.h"
#include "ui/main/SceneListPanel.h"
#include "ui/main/ScreenFit.h"
#include "ui/main/StripScroller.h"
#include "ui/views/OverviewWindow.h"
#include "ui/views/UnderviewWindow.h"
#include "ui/views/UnitStatusWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QMenuBar>
#include <QProcess>
#include <QTimer>

namespace deskpanel {

MainWindowOptions MainWindowOptions::inFolder(const std::string& folder)
{
    MainWindowOptions o;
    o.locations.settingsFile = folder + "/settings.ini";
    o.locations.windowProfile = folder + "/DeskPanel.INI";
    o.locations.installationRecord = folder + "/record.ini";
    o.locations.dataHome = folder + "/share";
    o.locations.presetLibrary = folder + "/Channel Presets.ini";
    o.refreshDesktopCaches = false;
    o.stateFolder = folder + "/state";
    o.metrics = DisplayMetrics{};
    return o;
}

namespace {
// The options with the metrics the window is laid out with (ScreenFit::layoutMetrics).
MainWindowOptions laidOut(MainWindowOptions options)
{
    options.metrics = ScreenFit::layoutMetrics(options.metrics);
    return options;
}
} // namespace

MainWindow::MainWindow(DeskPanelApp& app, MainWindowOptions options)
    : m_app(app),
      m_options(laidOut(std::move(options))),
      m_layout(MainLayout::compute(m_options.metrics)),
      m_help(m_options.helpFolder),
      m_dialogs(app, m_help, this),
      m_clickGuard(app.clock()),
      m_qtFileDialogs(this, [this] { m_clickGuard.arm(); }),
      m_startup(app.timers(), *this)
{
    setWindowTitle(QStringLiteral(" Veltara RP-8"));
    // The highlight of this program's own windows; other programs keep theirs.
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Highlight, HighlightColour);
    QApplication::setPalette(palette);
    setWindowIcon(QIcon(ImageRegistry::instance().pixmap(QStringLiteral("128"))));
    qApp->installEventFilter(&m_clickGuard);
    m_qtFileDialogs.setLastUsedFolder(
        [settings = m_options.locations.settingsFile] { return readLastUsedDirectory(settings); });

    FileDialogs& fileDialogs = m_options.fileDialogs ? *m_options.fileDialogs : m_qtFileDialogs;
    m_project =
        std::make_unique<ProjectCommands>(app, fileDialogs, m_options.locations, static_cast<CommandWindow&>(*this));
    m_remote = std::make_unique<RemoteEndpoint>(app);
    // /deskpanel/info says the version as the About box does.
    m_remote->control().setProgramVersion(
        AboutBox::versionText(QCoreApplication::applicationVersion()).mid(8).toStdString());
    m_remote->setPresetLibrary(m_options.locations.presetLibrary);
    m_remote->useProfile(m_options.locations.windowProfile);
#ifdef DESKPANEL_STAGE_REMOTE
    m_stage = std::make_unique<StageServer>(app, m_options.eventLog);
    m_stage->setProgramVersion(AboutBox::versionText(QCoreApplication::applicationVersion()).mid(8).toStdString());
    m_stage->useProfile(m_options.locations.windowProfile);
#endif
    m_commands = std::make_unique<MainCommands>(app, *m_project, m_dialogs, m_help, *m_remote, this);
    m_safety = std::make_unique<SafetyDialogs>(app, m_options.locations.windowProfile, this);
    m_safety->applyStoredSettings();
    m_commands->setSafetyDialogs(m_safety.get());
    m_commands->setStageServer(m_stage.get());
    if (!m_options.stateFolder.empty()) {
        m_backups = std::make_unique<BackupKeeper>(m_options.stateFolder + "/backups", m_wallClock);
        m_project->keepBackups(*m_backups);
    }
    m_records =
        std::make_unique<RecordsCommands>(app, *m_project, fileDialogs, m_options.eventLog, m_backups.get(), this);
    m_channelSettings = std::make_unique<ChannelSettingsCommands>(app, m_options.locations.windowProfile,
                                                                  m_options.locations.presetLibrary, fileDialogs, this);
    m_commands->setChannelSettings(m_channelSettings.get());
    app.setSceneNaming(&m_dialogs);
    app.channels().setStripDialogs(&m_dialogs);
    app.setSaveAsCommand([this] { m_project->saveAs(); });

    resize(m_layout.windowSize);
    installConsoleAccessibility();
    buildPanels();
    m_menu = new MainMenu(*this, *m_commands, *m_records);
    app.timers().setHandler(TimerId::Refresh, [this] { menuBar()->update(); });
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(&m_clickGuard);
    if (m_router)
        qApp->removeEventFilter(m_router);
    m_app.timers().clearHandler(TimerId::Refresh);
    m_readerNews.reset();
    m_app.removeUnitStateListener(m_unitStateListener);
    m_app.noUnitHeard().removeListener(m_noUnitListener);
    m_app.setUnitBlinkListener({});
    m_app.setSceneNaming(nullptr);
    m_app.channels().setStripDialogs(nullptr);
    m_app.setSaveAsCommand({});
    m_app.scenes().removeListener(m_sceneList);
    m_project->files().removeListener(m_sceneList);
    // The panels and views go while the dialogs and commands they use still exist.
    delete takeCentralWidget();
}

void MainWindow::buildPanels()
{
    m_client = new MainClient(m_app.project(), m_layout, m_options.metrics, this);
    setCentralWidget(m_client);
    const DisplayMetrics& metrics = m_options.metrics;

    // The strip views: viewport-sized, never moved.
    auto* underview = new UnderviewWindow(m_app, m_dialogs, m_client);
    underview->onSettingsMenu = [this](int channel, const QPoint& at) {
        m_channelSettings->showStripMenu(channel, at);
    };
    underview->setGeometry(0, m_layout.underview.top(), m_layout.windowSize.width(), m_layout.underview.height());
    auto* overview = new OverviewWindow(m_app, m_dialogs, m_client);
    overview->setGeometry(m_layout.overview);
    overview->hide();
    m_underview = underview;
    m_overview = overview;
    ScrollBar* underviewBar = ScrollBar::create(0, m_client, m_layout.underviewScrollBar, 1030);
    ScrollBar* overviewBar = ScrollBar::create(ScrollBar::Vertical, m_client, m_layout.overviewScrollBar, 1031);
    if (overviewBar)
        overviewBar->hide();
    m_strips = new StripScroller(m_app, *m_underview, *m_overview, underviewBar, overviewBar, this);

    m_buttons = new SceneButtons(m_client, m_layout, [this](int id) { sceneButtonClicked(id); });
    m_buttons->setOverviewShownQuery([this] { return overviewShown(); });

    m_sceneList =
        new SceneListPanel(m_app.project(), m_app.scenes(), m_client, m_layout.sceneList, m_layout.sceneScrollBar,
                           metrics.dpiY, m_layout.sceneRangeVisible, m_layout.dragScrollIndex, metrics.isExactly96());
    m_sceneList->onActiveSceneChanged = [this] { m_client->update(); };
    m_sceneList->onLockChanged = [this](bool locked) { m_buttons->showLock(locked); };
    m_sceneList->onRefused = [this] { m_app.operatorPort().beep(); };
    m_app.scenes().addListener(m_sceneList);
    m_project->files().addListener(m_sceneList);
    // The window opens with no control focused, so the arrow keys are the mouse user's
    // (the current channel's gain) until the keyboard reaches a control; the client
    // holds the focus, so a Space meant for nothing reaches no switch.
    m_client->setFocus(Qt::OtherFocusReason);

    m_unitStatus = new UnitStatusWindow(m_layout.unitNumberTop, metrics.dpiY, m_client);
    m_unitStatus->setObjectName(QStringLiteral("unitStatus"));
    m_unitStatus->setGeometry(m_layout.unitStatus);
    m_unitBar = ScrollBar::create(ScrollBar::Vertical, m_client, m_layout.unitScrollBar, 1914);
    if (m_unitBar) {
        m_unitBar->setScrollRange(0, UnitStatusWindow::MaxScroll);
        connect(m_unitBar, &ScrollBar::scrolled, this,
                [this](int code, int pos) { m_unitBar->setScrollPos(m_unitStatus->scroll(code, pos)); });
    }
    m_unitStatus->onUnitClicked = [this](int unit) { m_strips->scrollToUnit(unit); };
    m_unitStatus->onUnitDoubleClicked = [this](int unit) { m_dialogs.openUnitStatus(unit); };
    m_unitStatus->onScrolledToFocus = [this](int position) {
        if (m_unitBar)
            m_unitBar->setScrollPos(position);
    };
    m_unitStateListener =
        m_app.addUnitStateListener([this](int unit, UnitState state) { m_unitStatus->setUnitState(unit, state); });
    m_app.setUnitBlinkListener([this](int unit, UnitPicture picture) { m_unitStatus->setBlinkPicture(unit, picture); });
    const auto showNotice = [this](const std::string& notice) {
        m_unitStatus->setNotice(QString::fromStdString(notice));
    };
    m_noUnitListener = m_app.noUnitHeard().addListener(showNotice);
    showNotice(m_app.noUnitHeard().notice());

    m_router = new InputRouter(*this, *m_sceneList, *m_strips, *m_commands, m_app.channels());
    qApp->installEventFilter(m_router);
    m_readerNews = std::make_unique<BulkChangeNews>(m_app.channels().gate(), m_app.project(), *m_client);
}

bool MainWindow::overviewShown() const
{
    return m_strips->overviewShown();
}

void MainWindow::start()
{
    m_startup.setGate(&m_app.channels().gate());
    m_startup.begin();
}

void MainWindow::switchView()
{
    showView(!overviewShown());
}

void MainWindow::showView(bool overview)
{
    m_strips->showOverview(overview);
    m_buttons->showOverview(overview);
}

void MainWindow::sceneButtonClicked(int controlId)
{
    SceneOperations& scenes = m_app.scenes();
    const int selected = m_sceneList->list()->currentRow();
    switch (controlId) {
    case PictureButton::OverviewId: switchView(); break;
    case PictureButton::LockId: scenes.toggleSceneLock(); break;
    case PictureButton::NewId: scenes.storeNewScene(); break;
    case PictureButton::DeleteId: scenes.deleteScene(selected); break;
    case PictureButton::RecallId: recallFromDesk(scenes, m_app.project(), selected); break;
    default: break;
    }
}

// ------------------------------------------------------------------ start-up

void MainWindow::prepare()
{
    m_project->loadRecentFiles();
    m_project->enterLastUsedDirectory();
    m_menu->fillRecentFiles();
}

void MainWindow::finalLayout()
{
    stretchUnderview();
}

void MainWindow::startLink()
{
    m_app.start();
}

void MainWindow::registerAssociation()
{
    // The program works without it: every failure stays silent.
    const std::string program = QDir::toNativeSeparators(QCoreApplication::applicationFilePath()).toStdString();
    // The command line as the shell starts the program: its full path in quotes. The one
    // this copy was started with may name the program relatively, which would only work
    // from its own folder.
    const std::string commandLine = '"' + program + '"';
    const FileAssociation::Outcome outcome =
        FileAssociation::registerAssociation(m_options.locations.dataHome, program, commandLine);
    // The desktop reads the association from its caches; they are rebuilt only when a
    // file changed, since the programs take a while on a full data folder.
    if (outcome.changed && m_options.refreshDesktopCaches)
        startQuietly(FileAssociation::refreshCommands(m_options.locations.dataHome));
}

void MainWindow::openStartProject()
{
    m_project->openAtStart(m_options.projectFile);
}

void MainWindow::showWindow()
{
    const auto stored = WindowPosition::read(m_options.locations.windowProfile);
    // Either way the meters and the scene recalls learn which view is shown.
    showView(stored && stored->overviewShown == 1);
    m_client->setPaintingEnabled(true);
    fitToScreen();
    if (stored && stored->maximized == 1)
        showMaximized();
    else
        show();
    // Shown, the window may know its real frame.
    fitToScreen();
    const QRect frame = frameGeometry();
    if (!isMaximized() && !m_options.metrics.availableArea().contains(frame))
        move(ScreenFit::placeInside(frame, m_options.metrics.availableArea()));
}

QMargins MainWindow::frameMarginsKnown() const
{
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    const QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                           frame.bottom() - inner.bottom());
    // Nothing known yet: the window manager has not framed the window.
    return margins.isNull() ? ScreenFit::FrameAllowance : margins;
}

void MainWindow::fitToScreen()
{
    // The border cannot make the window narrower than half the screen, lower than 780
    // pixels, or wider than the screen and a little more; nor can the window or its
    // minimum be larger than the work area, so a small screen shows it whole and it can
    // still be made smaller.
    const DisplayMetrics& metrics = m_options.metrics;
    const QSize screen = metrics.screen;
    const QSize minimum(screen.width() / 2, std::min(MainLayout::MinTrackingHeight, screen.height()));
    m_fittedFrame = frameMarginsKnown();
    const ScreenFit::Sizes sizes = ScreenFit::fit(size(), minimum, metrics.availableArea(), m_fittedFrame);
    setMinimumSize(sizes.minimum);
    setMaximumWidth(screen.width() + 100);
    if (!isMaximized() && !isFullScreen() && size() != sizes.size)
        resize(sizes.size);
}

void MainWindow::resetAllChannels()
{
    m_app.channels().resetAllChannels();
}

// ------------------------------------------------------------------ commands

void MainWindow::showProject()
{
    const std::string& title = m_app.project().windowTitle();
    setWindowTitle(title.empty() ? QStringLiteral(" Veltara RP-8") : QString::fromStdString(title));
    m_sceneList->sceneLinesChanged();
    m_sceneList->sceneSelected(m_app.project().activeSceneIndex);
    m_menu->fillRecentFiles();
    (m_strips->overviewShown() ? m_overview : m_underview)->refreshFromModel();
    m_client->update();
}

void MainWindow::storePlacement()
{
    WindowPosition position;
    const QRect frame = normalGeometry().isValid() ? normalGeometry() : geometry();
    position.flags = isMaximized() ? 2 : 0;
    position.showState = isMaximized() ? 3 : 1;
    position.minX = position.minY = position.maxX = position.maxY = -1;
    position.left = frame.left();
    position.top = frame.top();
    position.right = frame.left() + frame.width();
    position.bottom = frame.top() + frame.height();
    position.overviewShown = overviewShown() ? 1 : 0;
    position.maximized = isMaximized() ? 1 : 0;
    WindowPosition::write(m_options.locations.windowProfile, position);
}

void MainWindow::closeForGood()
{
    m_closed = true;
    // Inside closeEvent the close under way is accepted instead.
    if (!m_closing)
        close();
}

void MainWindow::startDetachedLater(const std::string& program, int delayMs)
{
    const QString path = QString::fromStdString(program);
    // The program stays until the remover has been started, then ends.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QTimer::singleShot(delayMs, qApp, [path] {
        QProcess::startDetached(path, {});
        QCoreApplication::quit();
    });
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    event->ignore();
    // One Exit at a time: a second close while its box is open does nothing.
    if (m_closing)
        return;
    m_closing = true;
    if (m_project->exit())
        event->accept();
    m_closing = false;
}

// ------------------------------------------------------------------ layout

void MainWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    // The window manager tells the frame it put around the window a little after the
    // window is shown: the fit is made again with it.
    if (hasShown() && frameMarginsKnown() != m_fittedFrame)
        fitToScreen();
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (m_client)
        stretchUnderview();
    // The notice on the unit panel spans what the window shows of the panel.
    if (m_unitStatus && !m_unitStatus->notice().isEmpty())
        m_unitStatus->update();
}

void MainWindow::stretchUnderview()
{
    // The Underview and its scroll bar reach the client's right edge.
    const int width = m_client->width() > 0 ? m_client->width() : m_layout.windowSize.width();
    m_underview->setGeometry(0, m_underview->y(), width, m_underview->height());
    if (ScrollBar* bar = m_strips->underviewBar()) {
        const QRect anchor = m_layout.underviewScrollBar;
        bar->setGeometry(anchor.left(), anchor.top(), std::max(1, width - anchor.left()), anchor.height());
    }
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && m_client)
        applyWindowLayout(isMaximized());
}

void MainWindow::applyWindowLayout(bool maximised)
{
    const QSize screen = m_options.metrics.screen;
    const bool tall = screen.height() >= 893;
    m_strips->setMaximised(maximised, tall);

    QRect overview = m_layout.overview;
    int dx = 0;
    if (maximised) {
        overview.setBottom((tall ? 892 : 724) - 1);
        overview.moveLeft(screen.width() / 2 - overview.width() / 2 - 6);
        const int blockLeft = m_layout.banner.left();
        const int blockRight = m_layout.unitScrollBar.left() + m_layout.unitScrollBar.width();
        dx = (screen.width() - (blockRight - blockLeft)) / 2 - blockLeft;
    } else {
        overview.setWidth(OverviewWindow::TotalWidth);
        overview.setBottom(724 - 1);
    }
    m_overview->setGeometry(overview);
    if (ScrollBar* bar = m_strips->overviewBar())
        bar->setGeometry(overview.left() + overview.width() + 2, overview.top(), 20, overview.height());

    const int shift = dx - m_client->topShift();
    m_sceneList->moveBy(shift);
    m_buttons->moveBy(shift);
    m_unitStatus->move(m_unitStatus->pos() + QPoint(shift, 0));
    if (m_unitBar)
        m_unitBar->move(m_unitBar->pos() + QPoint(shift, 0));
    m_client->setTopShift(dx);
    m_strips->showOverview(m_strips->overviewShown());
}

} // namespace deskpanel
