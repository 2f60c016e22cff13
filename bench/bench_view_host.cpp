// Not a benchmark of its own: one strip view in a window of the normal layout's size,
// fed by the live unit link, for bench/measure_view_load.sh to measure on a real display
// (VIEW_HOST=1) while the program itself does not show the views.
//   bench_view_host underview|overview [SECONDS]
// After SECONDS it quits and prints how many meters were drawn from readings.
#include "tools/common/QuietApp.h"
#include "ui/views/OverviewWindow.h"
#include "ui/views/UnderviewWindow.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

using namespace deskpanel;

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const bool overview = argc > 1 && std::strcmp(argv[1], "overview") == 0;
    QuietApp quiet;
    DeskPanelApp& app = quiet.app();
    DialogLauncher& dialogs = quiet.dialogs();
    std::unique_ptr<StripView> view;
    if (overview) {
        view = std::make_unique<OverviewWindow>(app, dialogs);
        view->resize(OverviewWindow::TotalWidth, 4 * OverviewWindow::RowHeight);
        app.metering().setShownView(MeterView::Overview);
    } else {
        view = std::make_unique<UnderviewWindow>(app, dialogs);
        view->resize(1012, UnderviewWindow::ContentHeight);
        app.metering().setShownView(MeterView::Underview);
    }
    view->show();
    app.start();
    if (argc > 2)
        QTimer::singleShot(std::atoi(argv[2]) * 1000, &QApplication::quit);
    const int result = QApplication::exec();
    app.stop();
    const MeterView shown = app.metering().shownView();
    int metersRead = 0;
    for (int c = 0; c < MaxChannels; ++c)
        metersRead += app.metering().hold(shown, c).readingCount() > 0 ? 1 : 0;
    std::printf("meters with readings: %d of %d\n", metersRead, MaxChannels);
    return result;
}
