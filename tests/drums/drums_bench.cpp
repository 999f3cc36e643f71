// Speed of the drum steps on a score of 2,000 bars (a snapshot pushed, an operation applied, an undo)
// and of one paint of the bar strip at 1280 pixels for 100 and 10,000 bars, which should cost the
// same: the strip lays out only the labels in view. Run by hand: build/bin/bench_drums.

#include "app/drums/bar_strip.h"
#include "app/drums/drum_operations.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace tunvale;
using notation::DrumRecord;
using notation::DrumStore;

namespace {

constexpr int kBars = 2000;

DrumStore score(int bars)
{
    DrumStore records(static_cast<std::size_t>(bars));
    for (int i = 0; i < bars; ++i) {
        records[std::size_t(i)].HaveDrum = std::uint8_t(i % 3 == 0);
        records[std::size_t(i)].DrumRhythms[0] = std::uint8_t(i);
    }
    return records;
}

void BM_PushSnapshot(benchmark::State& state)
{
    const DrumStore records = score(kBars);
    drums::DrumUndoStack stack;
    for (auto _ : state) {
        stack.push(records);
        // Keep the stack from growing without end: an undo makes the next push reuse the slot.
        state.PauseTiming();
        DrumStore scratch = records;
        stack.undo(scratch);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PushSnapshot)->Unit(benchmark::kMicrosecond);

void BM_ApplyPasteToAll(benchmark::State& state)
{
    DrumStore records = score(kBars);
    DrumRecord clip;
    clip.HaveDrum = 1;
    for (auto _ : state) {
        drums::ApplyDrumOperation(records, clip, { drums::DrumOp::PasteAll, 0, 0, 0 }, 0);
        benchmark::DoNotOptimize(records.data());
    }
}
BENCHMARK(BM_ApplyPasteToAll)->Unit(benchmark::kMicrosecond);

void BM_UndoDrum(benchmark::State& state)
{
    DrumStore records = score(kBars);
    drums::DrumUndoStack stack;
    stack.push(records);
    for (auto _ : state) {
        stack.undo(records);
        state.PauseTiming();
        stack.redo(records);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoDrum)->Unit(benchmark::kMicrosecond);

// One paint of the strip, the current bar in the middle of the score.
void BM_PaintStrip(benchmark::State& state)
{
    const int bars = int(state.range(0));
    drums::BarStrip strip;
    strip.resize(1280, strip.height());
    strip.show();
    std::vector<bool> flags(static_cast<std::size_t>(bars));
    for (int i = 0; i < bars; i += 3)
        flags[std::size_t(i)] = true;
    strip.GetValueLong(flags, bars / 2);
    QImage image(strip.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        strip.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintStrip)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The same while the row scrolls one bar per paint, as it follows a playback.
void BM_ScrollStrip(benchmark::State& state)
{
    const int bars = int(state.range(0));
    drums::BarStrip strip;
    strip.resize(1280, strip.height());
    strip.show();
    strip.GetValueLong(std::vector<bool>(static_cast<std::size_t>(bars)), 0);
    QImage image(strip.size(), QImage::Format_ARGB32_Premultiplied);
    int bar = 0;
    for (auto _ : state) {
        bar = (bar + 1) % bars;
        strip.setPlayXJ(bar);
        strip.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_ScrollStrip)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace
