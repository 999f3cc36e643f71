#include "app/notation/performance_compiler.h"

#include "tests/performance/generated_song.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

using namespace tunvale;
using testing::FillDrums;
using testing::GeneratedSong;

void Compile2000Characters(benchmark::State& state)
{
    const platform::RichTextSnapshot song = GeneratedSong(100);
    notation::DrumStores stores;
    notation::PerformanceCompiler compiler;
    for (auto _ : state) {
        notation::CompileInput input(song);
        input.PlayMode = 2;
        input.drums = &stores;
        compiler.Get_CodeEvents(input);
        benchmark::DoNotOptimize(compiler.performance().PlayEvents().data());
    }
    state.counters["characters"] = song.size();
    state.counters["events"] = compiler.performance().PlayEventCount() + 1;
}
BENCHMARK(Compile2000Characters)->Unit(benchmark::kMillisecond);

void Compile1000BarsWithDrumsAndRandomStyle(benchmark::State& state)
{
    const platform::RichTextSnapshot song = GeneratedSong(1000);
    notation::DrumStores stores;
    FillDrums(stores, 1000);
    notation::PerformanceCompiler compiler;
    for (auto _ : state) {
        notation::CompileInput input(song);
        input.PlayMode = 3;
        input.PZType = 2;
        input.SameSpeed = true;
        input.drums = &stores;
        compiler.Get_CodeEvents(input);
        benchmark::DoNotOptimize(compiler.performance().PlayEvents().data());
    }
    state.counters["characters"] = song.size();
    state.counters["bars"] = double(compiler.performance().DrumPlayBars().size());
    state.counters["events"] = compiler.performance().PlayEventCount() + 1;
    state.counters["drumhits"] = compiler.performance().DrumEventCount(0);
}
BENCHMARK(Compile1000BarsWithDrumsAndRandomStyle)->Unit(benchmark::kMillisecond);

void DrumOnly1000Bars(benchmark::State& state)
{
    notation::DrumStores stores;
    FillDrums(stores, 1000);
    std::vector<int> bars(1000);
    for (int i = 0; i < 1000; ++i)
        bars[size_t(i)] = i;
    notation::PerformanceCompiler compiler;
    for (auto _ : state) {
        auto build = compiler.Get_DrumCodeEvents(8, bars, 0, stores, false, 120);
        benchmark::DoNotOptimize(build->tracks.DrumPlayEvents[0].data());
    }
}
BENCHMARK(DrumOnly1000Bars)->Unit(benchmark::kMillisecond);

// The track builder alone on full 32-step bars, longer than any time signature gives a record.
void DrumTracks1000BarsOf32Steps(benchmark::State& state)
{
    notation::BarPattern pattern;
    pattern.steps = 32;
    pattern.speed = 120;
    pattern.haveDrum = true;
    pattern.channel.fill(true);
    pattern.rhythm.fill(0xFFFFFFFFu);
    const std::vector<notation::BarPattern> bars(1000, pattern);
    for (auto _ : state) {
        auto build = notation::BuildDrumTracks(bars, 8, 0, {});
        benchmark::DoNotOptimize(build->tracks.DrumPlayEvents[0].data());
    }
    state.counters["hits"] = 1000 * 8 * 32;
}
BENCHMARK(DrumTracks1000BarsOf32Steps)->Unit(benchmark::kMillisecond);

} // namespace

// The compile reads "banzhou.ini" from the program folder, which needs an application object.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
