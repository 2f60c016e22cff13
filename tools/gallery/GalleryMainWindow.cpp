#include "tools/gallery/GalleryMainWindow.h"

#include "app/DeskPanelApp.h"
#include "core/model/Text.h"
#include "ui/dialogs/QtOperator.h"
#include "ui/main/MainWindow.h"
#include "ui/main/SceneListPanel.h"
#include "ui/views/UnitStatusWindow.h"

#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

namespace Gallery {

namespace {

using namespace deskpanel;

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A rack as the operator might see it: most units answering, one off-line, one in
// conflict, one in local mode; a few scenes stored.
void fillSimulatedRack(DeskPanelApp& app, MainWindow& window)
{
    for (int unit = 1; unit <= 24; ++unit)
        window.unitStatus().setUnitState(unit, UnitState::ACTIVE);
    window.unitStatus().setUnitState(6, UnitState::OFFLINE);
    window.unitStatus().setUnitState(9, UnitState::CONFLICT);
    window.unitStatus().setUnitState(11, UnitState::LOCAL);
    window.unitStatus().setBlinkPicture(11, UnitPicture::Active);

    Project& project = app.project();
    const char* names[] = {"Sound check", "Act 1 - Overture", "Act 1 - Duet", "Interval", "Act 2 - Finale"};
    for (const char* name : names) {
        Scene scene;
        scene.name = name;
        scene.settings = project.snapshotSettings();
        scene.channelNames = project.channelNames();
        project.scenes.append(scene);
    }
    project.activeSceneIndex = 2;
    project.setProjectName("Spring Gala.vpf");
    project.scenes.setModified(2);
    window.sceneList().sceneLinesChanged();
    window.sceneList().sceneSelected(2);
    window.setWindowTitle(QString::fromStdString(project.windowTitle()));
    window.update();
}

// The window at `dpi` pixels per inch, in the Underview and, with `overviewName`, the Overview.
int renderAt(const QDir& out, int dpi, const QString& underviewName, const QString& overviewName)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 0;
    MainWindowOptions options = MainWindowOptions::inFolder(home.path().toStdString());
    options.metrics.dpiX = options.metrics.dpiY = dpi;
    options.metrics.screen = QSize(1280, 1024);

    QtOperator op;
    // Ports of their own, so a running DeskPanel is not disturbed.
    DeskPanelApp app(LinkPorts{0, 0}, op);
    MainWindow window(app, options);
    op.setParentWindow(&window);
    window.start();
    for (int i = 0; i < 50 && !window.hasShown(); ++i)
        wait(20);
    fillSimulatedRack(app, window);
    wait(50);

    int written = 0;
    if (window.grab().save(out.filePath(underviewName)))
        ++written;
    if (!overviewName.isEmpty()) {
        window.switchView();
        wait(50);
        if (window.grab().save(out.filePath(overviewName)))
            ++written;
    }
    app.stop();
    return written;
}

} // namespace

int renderMainWindow(const QString& dir)
{
    const QDir out(dir);
    return renderAt(out, 96, QStringLiteral("window_main.png"), QStringLiteral("window_main_overview.png")) +
           renderAt(out, 120, QStringLiteral("window_main_120dpi.png"), {});
}

} // namespace Gallery
