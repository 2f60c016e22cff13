// Saving and loading a full project (199 scenes, about 44 MB), each beside plain buffered
// stdio writing or reading the same number of bytes in the same run. After the runs the
// program prints each ratio of medians.
//
// The save replaces the file atomically and syncs it to the disk, which plain buffered
// writing does not; so the plain write is measured both without and with an fsync at
// its end, and both ratios are printed.

#include "core/model/Project.h"
#include "core/persistence/ByteSource.h"
#include "core/persistence/ProjectFileReader.h"
#include "core/persistence/ProjectFileWriter.h"

#include "tests/support/QuietHost.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

using namespace deskpanel;

namespace {

struct Fixture {
    Fixture()
    {
        char pattern[] = "/tmp/deskpanel-bench-XXXXXX";
        folder = mkdtemp(pattern);
        projectPath = folder + "/full.vpf";
        plainPath = folder + "/plain.bin";
        for (int c = 0; c < MaxChannels; ++c)
            project.channels[static_cast<std::size_t>(c)].notes = "notes of channel " + std::to_string(c + 1);
        for (int n = 1; n <= 199; ++n) {
            Scene scene;
            scene.name = "Scene number " + std::to_string(n);
            scene.notes = "Notes of scene " + std::to_string(n);
            scene.settings = project.snapshotSettings();
            for (int c = 0; c < MaxChannels; ++c)
                scene.settings[static_cast<std::size_t>(c)].gainPosition = (c + n) % 73;
            scene.channelNames = project.channelNames();
            project.scenes.append(scene);
        }
        ProjectFileWriter::write(project, projectPath);
        FILE* f = std::fopen(projectPath.c_str(), "rb");
        bytes.resize(44219306);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
    }
    ~Fixture()
    {
        std::remove(projectPath.c_str());
        std::remove(plainPath.c_str());
        rmdir(folder.c_str());
    }

    std::string folder;
    std::string projectPath;
    std::string plainPath;
    Project project;
    std::vector<char> bytes;
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void plainWrite(bool sync)
{
    Fixture& f = fixture();
    FILE* out = std::fopen(f.plainPath.c_str(), "wb");
    constexpr std::size_t Chunk = 222212;
    for (std::size_t at = 0; at < f.bytes.size(); at += Chunk)
        std::fwrite(f.bytes.data() + at, 1, std::min(Chunk, f.bytes.size() - at), out);
    std::fflush(out);
    if (sync)
        fsync(fileno(out));
    std::fclose(out);
}

void BM_SaveProject(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        const auto result = ProjectFileWriter::write(f.project, f.projectPath);
        if (result != ProjectFileWriter::Result::Saved)
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes.size()));
}

void BM_PlainWrite(benchmark::State& state)
{
    for (auto _ : state)
        plainWrite(false);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fixture().bytes.size()));
}

void BM_PlainWriteSynced(benchmark::State& state)
{
    for (auto _ : state)
        plainWrite(true);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fixture().bytes.size()));
}

void BM_LoadProject(benchmark::State& state)
{
    Fixture& f = fixture();
    test::QuietOperator op;
    test::IdleTimers timers;
    for (auto _ : state) {
        Project project;
        FileSource source(f.projectPath);
        ProjectFileReader(project, op, timers).read(source);
        if (project.scenes.count() != 200)
            state.SkipWithError("load incomplete");
        benchmark::DoNotOptimize(project);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes.size()));
}

void BM_PlainRead(benchmark::State& state)
{
    Fixture& f = fixture();
    std::vector<char> into(f.bytes.size());
    for (auto _ : state) {
        FILE* in = std::fopen(f.projectPath.c_str(), "rb");
        constexpr std::size_t Chunk = 222212;
        for (std::size_t at = 0; at < into.size(); at += Chunk)
            std::fread(into.data() + at, 1, std::min(Chunk, into.size() - at), in);
        std::fclose(in);
        benchmark::DoNotOptimize(into.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes.size()));
}

constexpr int Repetitions = 7;

BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(Repetitions);
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(Repetitions);
BENCHMARK(BM_PlainWriteSynced)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(Repetitions);
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(Repetitions);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(Repetitions);

// Prints as usual and keeps each benchmark's median for the ratios.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const auto& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medianMs[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medianMs;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& m = reporter.medianMs;
    auto ratio = [&](const char* a, const char* b) {
        if (m.count(a) && m.count(b) && m[b] > 0)
            std::printf("%-28s %6.2f  (%.1f ms / %.1f ms)\n", (std::string(a) + " / " + b).c_str(), m[a] / m[b], m[a],
                        m[b]);
    };
    std::printf("\nratios of medians:\n");
    ratio("BM_SaveProject", "BM_PlainWrite");
    ratio("BM_SaveProject", "BM_PlainWriteSynced");
    ratio("BM_LoadProject", "BM_PlainRead");
    if (m.count("BM_LoadProject"))
        std::printf("load of a full project from the page cache: %.1f ms (target under 250 ms)\n", m["BM_LoadProject"]);
    benchmark::Shutdown();
    return 0;
}
