// The cost of the two strip views offscreen: a full frame of the viewport, a page scroll
// (the offset moves one page and the page is painted), one tick of a full rack's
// readings (384 levels mark their meters; the visible meters are repainted), a switch of
// views and their creation. Frames are painted at the views' own pixel ratio: run with
// QT_SCALE_FACTOR=2 for ratio 2.
#include "tools/common/QuietApp.h"
#include "ui/views/OverviewWindow.h"
#include "ui/views/UnderviewWindow.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace deskpanel;

// One application with both views at the sizes of the normal window layout.
struct Views {
    QuietApp quiet;
    DeskPanelApp& app = quiet.app();
    UnderviewWindow under{app, quiet.dialogs()};
    OverviewWindow over{app, quiet.dialogs()};
    int tick = 0;

    Views()
    {
        for (StripView* v : {static_cast<StripView*>(&under), static_cast<StripView*>(&over)}) {
            v->setAttribute(Qt::WA_DontShowOnScreen);
            v->show();
        }
        under.resize(1012, UnderviewWindow::ContentHeight);
        over.resize(OverviewWindow::TotalWidth, 4 * OverviewWindow::RowHeight);
        for (MeterView view : {MeterView::Underview, MeterView::Overview}) {
            app.metering().setShownView(view);
            readings();
        }
    }
    void readings()
    {
        ++tick;
        for (int c = 0; c < MaxChannels; ++c)
            app.metering().setLevel(c, ((c * 13 + tick * 7) % 52) - 30);
    }
};

// Made on first use and gone before the application object.
std::unique_ptr<Views> s_views;

Views& views()
{
    if (!s_views)
        s_views = std::make_unique<Views>();
    return *s_views;
}

StripView& viewOf(int which)
{
    return which == 0 ? static_cast<StripView&>(views().under) : static_cast<StripView&>(views().over);
}

QImage frameFor(const QWidget& w)
{
    const qreal dpr = w.devicePixelRatioF();
    QImage image(w.size() * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    return image;
}

void BM_FullFrame(benchmark::State& state)
{
    StripView& view = viewOf(static_cast<int>(state.range(0)));
    QImage image = frameFor(view);
    for (auto _ : state)
        view.render(&image);
    state.SetLabel(state.range(0) == 0 ? "underview" : "overview");
}
BENCHMARK(BM_FullFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_PageScroll(benchmark::State& state)
{
    StripView& view = viewOf(static_cast<int>(state.range(0)));
    QImage image = frameFor(view);
    const int page = state.range(0) == 0 ? view.width() : view.height();
    const int maxOffset = view.contentLength() - page;
    int offset = 0;
    for (auto _ : state) {
        offset = offset + page > maxOffset ? 0 : offset + page;
        view.setScrollOffset(offset);
        view.render(&image);
    }
    view.setScrollOffset(0);
    state.SetLabel(state.range(0) == 0 ? "underview" : "overview");
}
BENCHMARK(BM_PageScroll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One tick of 48 units: 384 readings into the shown view, then the repaint of its
// visible meters as the repaint timer would ask for it.
void BM_MeterTick(benchmark::State& state)
{
    const bool underview = state.range(0) == 0;
    Views& v = views();
    StripView& view = viewOf(static_cast<int>(state.range(0)));
    v.app.metering().setShownView(underview ? MeterView::Underview : MeterView::Overview);
    QImage image = frameFor(view);
    QRegion meters;
    for (int c = 0; c < MaxChannels; ++c) {
        const QRect r = underview ? v.under.channelRect(UnderviewLayout::ChannelPart::RangeAndPeak, c)
                                  : v.over.channelRect(OverviewLayout::ChannelPart::RangeAndPeak, c);
        if (r.intersects(view.rect()))
            meters += r.adjusted(0, 0, 0, 1);
    }
    for (auto _ : state) {
        v.readings();
        view.render(&image, meters.boundingRect().topLeft(), meters);
    }
    state.counters["visible_meters"] = static_cast<double>(meters.rectCount());
    state.SetLabel(underview ? "underview" : "overview");
}
BENCHMARK(BM_MeterTick)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// From one view to the other as the window does it: the shown view is hidden, the other
// reads the model again and paints its first frame.
void BM_SwitchView(benchmark::State& state)
{
    Views& v = views();
    QImage underImage = frameFor(v.under), overImage = frameFor(v.over);
    bool toOverview = true;
    for (auto _ : state) {
        StripView& from = toOverview ? static_cast<StripView&>(v.under) : static_cast<StripView&>(v.over);
        StripView& to = toOverview ? static_cast<StripView&>(v.over) : static_cast<StripView&>(v.under);
        from.hide();
        v.app.metering().setShownView(toOverview ? MeterView::Overview : MeterView::Underview);
        to.show();
        to.refreshFromModel();
        to.render(toOverview ? &overImage : &underImage);
        toOverview = !toOverview;
    }
    v.under.show();
    v.over.show();
}
BENCHMARK(BM_SwitchView)->Unit(benchmark::kMillisecond);

// The readings alone: what the views do while they wait for their repaint timer.
void BM_ReadingsOnly(benchmark::State& state)
{
    Views& v = views();
    v.app.metering().setShownView(MeterView::Underview);
    for (auto _ : state)
        v.readings();
}
BENCHMARK(BM_ReadingsOnly)->Unit(benchmark::kMicrosecond);

void BM_CreateBothViews(benchmark::State& state)
{
    QuietApp quiet;
    for (auto _ : state) {
        auto under = std::make_unique<UnderviewWindow>(quiet.app(), quiet.dialogs());
        auto over = std::make_unique<OverviewWindow>(quiet.app(), quiet.dialogs());
        // What the event loop does next at start-up; it also keeps the posted events
        // from piling up across iterations.
        QCoreApplication::sendPostedEvents();
        state.PauseTiming();
        under.reset();
        over.reset();
        QCoreApplication::sendPostedEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateBothViews)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    s_views.reset();
    return 0;
}
