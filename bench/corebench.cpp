// Timings of the work behind the program's controls: redrawing one band of the preview, one
// click on "Random", and saving a face; and the renderer's whole pack of faces. Every benchmark
// reports its median over repeated runs; the program prints each median against its target and
// exits non-zero when one is missed.
//
//   snoetjesmal_bench [Google Benchmark options, e.g. --benchmark_filter=Redraw]

#include "atomicfile.h"
#include "catalogue.h"
#include "facecanvas.h"
#include "facepack.h"
#include "fileprobe.h"
#include "native.h"
#include "randomvalue.h"
#include "savetarget.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <string>

namespace {

using namespace std::chrono_literals;
using Nanoseconds = std::chrono::duration<double, std::nano>;

// The most each benchmark's median may take.
const std::map<std::string, Nanoseconds>& targets()
{
    static const std::map<std::string, Nanoseconds> limits = {
        {"BM_RedrawEyes", 1us},  {"BM_RedrawMouth", 1us}, {"BM_RedrawStretchedMouth", 1us},
        {"BM_RandomClick", 5us}, {"BM_SaveFace", 3ms},    {"BM_Pack", 1s},
    };
    return limits;
}

constexpr int repetitions = 15;

// One eye band redraw, through every eye style in turn so that no single picture's size
// decides the figure.
void BM_RedrawEyes(benchmark::State& state)
{
    FaceCanvas canvas;
    int value = 0;
    for (auto _ : state) {
        canvas.recomposeEyes(value);
        benchmark::DoNotOptimize(canvas.image().constBits());
        value = value == Catalogue::eyeMaximum ? 0 : value + 1;
    }
}

// One mouth band redraw, through every mouth style in turn.
void BM_RedrawMouth(benchmark::State& state)
{
    FaceCanvas canvas;
    int value = 0;
    for (auto _ : state) {
        canvas.recomposeMouth(value);
        benchmark::DoNotOptimize(canvas.image().constBits());
        value = value == Catalogue::mouthMaximum ? 0 : value + 1;
    }
}

// Mouth 15 is the one picture that is scaled, pixel by pixel, into a taller rectangle.
void BM_RedrawStretchedMouth(benchmark::State& state)
{
    FaceCanvas canvas;
    for (auto _ : state) {
        canvas.recomposeMouth(Catalogue::mouthMaximum);
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
}

// What one click on "Random" costs the core: a style for the eyes and one for the mouth, and
// both bands redrawn.
void BM_RandomClick(benchmark::State& state)
{
    FaceCanvas canvas;
    for (auto _ : state) {
        const std::int16_t eyes = RandomValue(Catalogue::eyeMaximum);
        const std::int16_t mouth = RandomValue(Catalogue::mouthMaximum);
        canvas.recomposeEyes(eyes);
        canvas.recomposeMouth(mouth);
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
}

// The whole of "Opslaan" after the name is typed: the folder and name checks, what is already
// there (the file from the previous round, which is replaced), the BMP encoding and the
// write through a temporary file that takes the old one's place.
void BM_SaveFace(benchmark::State& state)
{
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/snoetjesmal-bench-XXXXXX"));
    if (!dir.isValid()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    FaceCanvas canvas;
    canvas.recomposeEyes(3);
    canvas.recomposeMouth(5);
    const QString typedName = QStringLiteral("emoticon");
    for (auto _ : state) {
        const QString folder = SaveTarget::withSeparator(dir.path(), Native::nameRules());
        if (!FileProbe::isFolder(folder)) {
            state.SkipWithError("the folder is gone");
            break;
        }
        const SaveTarget::FullName target = SaveTarget::fullName(
            folder, typedName, FileProbe::nameLimits(folder), Native::nameRules());
        if (!target.isValid()) {
            state.SkipWithError("the name was refused");
            break;
        }
        benchmark::DoNotOptimize(FileProbe::existingAt(target.path));
        if (!writeBmpFile(target.path, canvas.image(), WriteMode::Replace)) {
            state.SkipWithError("the file could not be written");
            break;
        }
    }
}

// snoetjesmal-render --all --fit 128 --transparent: all 336 faces as PNG files of 128 x 128
// with their index, each written and pushed onto the disk (eight at a time), then the folder
// put in place.
void BM_Pack(benchmark::State& state)
{
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/snoetjesmal-bench-XXXXXX"));
    if (!dir.isValid()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    RenderOptions options;
    options.task = RenderOptions::Task::Pack;
    options.fit = 128;
    options.transparent = true;
    QString errors;
    QTextStream err(&errors);
    int round = 0;
    for (auto _ : state) {
        options.output = dir.filePath(QStringLiteral("emoji-%1").arg(++round));
        if (FacePack::write(options, err, [](int, int) {}) != ExitStatus::success) {
            state.SkipWithError("the pack could not be written");
            break;
        }
    }
}

void configure(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Repetitions(repetitions)->ReportAggregatesOnly(true)->UseRealTime();
}

BENCHMARK(BM_RedrawEyes)->Apply(configure)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_RedrawMouth)->Apply(configure)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_RedrawStretchedMouth)->Apply(configure)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_RandomClick)->Apply(configure)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_SaveFace)->Apply(configure)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Pack)->Repetitions(5)->Iterations(1)->ReportAggregatesOnly(true)->UseRealTime()->Unit(
    benchmark::kMillisecond);

// Shows the usual table and keeps every median to compare with its target afterwards.
class TargetReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name == "median" && !run.error_occurred) {
                const double seconds =
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
                m_medians[run.run_name.function_name] = std::chrono::duration<double>(seconds);
            }
            if (run.error_occurred) {
                m_failed = true;
            }
        }
    }

    // Prints each median against its target; true when every target is met.
    bool report() const
    {
        bool met = !m_failed;
        std::printf("\n%-26s %14s %14s\n", "benchmark", "median", "target");
        for (const auto& [name, limit] : targets()) {
            const auto found = m_medians.find(name);
            if (found == m_medians.end()) {
                continue; // filtered out
            }
            const Nanoseconds median = found->second;
            const bool ok = median <= limit;
            met = met && ok;
            std::printf("%-26s %11.1f ns %11.0f ns  %s\n", name.c_str(), median.count(),
                        limit.count(), ok ? "met" : "MISSED");
        }
        return met;
    }

private:
    std::map<std::string, Nanoseconds> m_medians;
    bool m_failed = false;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    TargetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.report() ? 0 : 1;
}
