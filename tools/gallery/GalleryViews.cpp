#include "tools/gallery/GalleryViews.h"

#include "tools/common/QuietApp.h"
#include "ui/views/OverviewWindow.h"
#include "ui/views/UnderviewWindow.h"

namespace Gallery {
namespace {

using namespace deskpanel;

const char* const Instruments[] = {"Kick",  "Snare Top",     "Snare Bottom",   "Hi-Hat",  "Tom 1",
                                   "Tom 2", "Overhead Left", "Overhead Right", "Bass DI", "Lead Vocal Stage Left"};

// A rack in use: named units and channels, gains, some switches on, two link groups.
void fillRack(DeskPanelApp& app)
{
    Project& project = app.project();
    for (int u = 0; u < MaxUnits; ++u)
        project.units[static_cast<std::size_t>(u)].name =
            u == 1 ? "Drum Riser Stage Left Wireless Rack" : "Stage Box " + std::to_string(u + 1);
    for (int c = 0; c < MaxChannels; ++c) {
        project.channels[static_cast<std::size_t>(c)].name = Instruments[c % std::size(Instruments)];
        ChannelSettings& s = project.live[static_cast<std::size_t>(c)];
        s.phantom48V = c % 3 == 0;
        s.polarity = c % 5 == 1;
        s.pad = c % 7 == 2;
        s.mute = c % 11 == 4;
    }
    for (int c = 0; c < MaxChannels; ++c)
        app.channels().singleGainMove(c, (c * 7) % 73);
    const std::pair<int, int> members[] = {{1, 0}, {1, 1}, {1, 2}, {2, 9}, {2, 10}};
    for (const auto& [group, channel] : members) {
        app.channels().linkGroups().matrixCellPressed(group, channel);
        app.channels().linkGroups().matrixReleased();
    }
}

// Every channel a level of its own, a few readings each so the held peaks show, and
// one channel at the top of the scale.
void feedMeters(DeskPanelApp& app, MeterView view)
{
    app.metering().setShownView(view);
    for (int round = 0; round < 3; ++round)
        for (int c = 0; c < MaxChannels; ++c)
            app.metering().setLevel(c, c == 5 ? 30 : ((c * 13 + round * 5) % 52) - 30);
}

} // namespace

std::vector<std::pair<QString, QPixmap>> renderViews()
{
    QuietApp quiet;
    DeskPanelApp& app = quiet.app();
    DialogLauncher& dialogs = quiet.dialogs();
    fillRack(app);

    std::vector<std::pair<QString, QPixmap>> shots;
    {
        UnderviewWindow under(app, dialogs);
        under.setAttribute(Qt::WA_DontShowOnScreen);
        under.resize(2 * UnderviewWindow::UnitWidth, UnderviewWindow::ContentHeight);
        under.show();
        feedMeters(app, MeterView::Underview);
        under.refreshFromModel();
        shots.emplace_back(QStringLiteral("view_underview"), under.grab());
    }
    {
        OverviewWindow over(app, dialogs);
        over.setAttribute(Qt::WA_DontShowOnScreen);
        over.resize(OverviewWindow::TotalWidth, 4 * OverviewWindow::RowHeight);
        over.show();
        feedMeters(app, MeterView::Overview);
        over.refreshFromModel();
        shots.emplace_back(QStringLiteral("view_overview"), over.grab());
    }
    return shots;
}

} // namespace Gallery
