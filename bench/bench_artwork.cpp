// The cost of the painted artwork: rendering every picture from scratch (start-up, or a
// change of pixel ratio) and drawing the pictures of one channel strip from the cache
// (every repaint).
#include "ui/controls/ImageRegistry.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace deskpanel;

namespace {

void BM_RenderAllPictures(benchmark::State& state)
{
    const qreal dpr = state.range(0);
    ImageRegistry& images = ImageRegistry::instance();
    const QStringList keys = images.keys();
    for (auto _ : state) {
        images.clearCache();
        for (const QString& key : keys)
            benchmark::DoNotOptimize(images.pixmap(key, dpr));
    }
    state.counters["pictures"] = double(keys.size());
}
BENCHMARK(BM_RenderAllPictures)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The bitmaps of one underview strip at the sizes the strip draws them.
void BM_DrawOneUnderviewStrip(benchmark::State& state)
{
    const ImageRegistry& images = ImageRegistry::instance();
    QImage canvas(87, 500, QImage::Format_ARGB32_Premultiplied);
    struct Part {
        int id;
        QRect rect;
    };
    const Part parts[] = {{251, {6, 38, 76, 33}},  {257, {8, 446, 77, 26}},   {254, {82, 35, 5, 442}},
                          {253, {8, 358, 71, 30}}, {256, {57, 145, 21, 202}}, {249, {48, 390, 33, 24}},
                          {252, {4, 416, 79, 28}}, {149, {34, 167, 21, 185}}, {129, {8, 77, 35, 24}},
                          {238, {44, 77, 35, 24}}, {244, {8, 104, 35, 24}},   {247, {43, 104, 35, 24}},
                          {235, {8, 390, 39, 24}}, {133, {6, 127, 32, 234}},  {132, {6, 200, 32, 54}}};
    QPainter warm(&canvas);
    for (const Part& p : parts)
        images.draw(warm, p.id, p.rect);
    warm.end();
    for (auto _ : state) {
        QPainter painter(&canvas);
        for (const Part& p : parts)
            images.draw(painter, p.id, p.rect);
    }
    state.counters["strips_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawOneUnderviewStrip)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
