#include "tests/compiler/benchmark_song.h"
#include "tests/compiler/compile_helpers.h"

#include "platform/richtext/rich_text_box.h"
#include "platform/richtext/rich_text_content.h"

#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

using namespace tunvale;

void CompileWorkingStage(benchmark::State& state)
{
    const platform::RichTextSnapshot song = testing::BenchmarkSong(20000);
    notation::PerformanceCompiler compiler;
    for (auto _ : state) {
        compiler.Get_CodeEvents(notation::CompileInput(song));
        benchmark::DoNotOptimize(compiler.workingEvents().data());
    }
    state.counters["characters"] = song.size();
    state.counters["events"] = double(compiler.workingEvents().size());
}
BENCHMARK(CompileWorkingStage)->Unit(benchmark::kMillisecond);

// A notation line of cresc. and dim. marks ("4" and "5" in the symbol font) with a few notes in front:
// every mark looks for sounding events after it and finds none.
void CompileDynamicsMarks(benchmark::State& state)
{
    QString marks;
    for (int i = 0; i < state.range(0); ++i)
        marks += i % 2 == 0 ? QStringLiteral(" @4") : QStringLiteral(" @5");
    const platform::RichTextSnapshot score
        = testing::NotationScore().notation(QStringLiteral("1 2 3") + marks).build();
    notation::PerformanceCompiler compiler;
    for (auto _ : state) {
        compiler.Get_CodeEvents(notation::CompileInput(score));
        benchmark::DoNotOptimize(compiler.workingEvents().data());
    }
    state.counters["marks"] = double(state.range(0));
    state.counters["events"] = double(compiler.workingEvents().size());
}
BENCHMARK(CompileDynamicsMarks)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);

void TakeSnapshotOfLaidOutDocument(benchmark::State& state)
{
    platform::RichTextBox box;
    platform::SetContent(*box.document(), testing::SnapshotContent(testing::BenchmarkSong(20000)));
    box.document()->setTextWidth(900);
    platform::RichTextSnapshot snapshot = box.snapshot(); // lays the document out once
    for (auto _ : state) {
        snapshot = box.snapshot();
        benchmark::DoNotOptimize(snapshot.text.data());
    }
    state.counters["characters"] = snapshot.size();
    state.counters["lines"] = double(snapshot.lines.size());
}
BENCHMARK(TakeSnapshotOfLaidOutDocument)->Unit(benchmark::kMillisecond);

} // namespace
