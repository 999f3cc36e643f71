// Speed of what a large template library costs the window: the Insert menu's pattern items filled as
// the menu opens, and the drum editor opened on a bar (its template list and the menu again), for 1,000,
// 2,500 and 5,000 templates; both should grow in step with the count. Run by hand: build/bin/bench_drums.

#include "tests/editor/window_fixture.h"

#include "app/drums/drum_editor.h"
#include "app/editor/parts/main_form_drum_editor.h"
#include "app/editor/window/main_form.h"
#include "app/notation/drum_accessor.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

#include <benchmark/benchmark.h>

using namespace tunvale;

namespace {

notation::DrumStore library(int count)
{
    notation::DrumStores stores;
    stores.DrumTemplates.resize(std::size_t(count));
    notation::DrumAccessor drum(stores);
    drum.DrumType(notation::DrumAccessor::DrumTemplates);
    for (int i = 0; i < count; ++i)
        drum.setDrumName(i, QStringLiteral("节奏 %1").arg(i));
    return stores.DrumTemplates;
}

void BM_InsertMenuPatterns(benchmark::State& state)
{
    testing::WindowTest test;
    editor::MainForm& form = test.load(test.sampleScore());
    notation::ProcessDrumStores().DrumTemplates = library(int(state.range(0)));
    QMenu* insert = form.menu(QStringLiteral("My_instr"));
    for (auto _ : state) {
        emit insert->aboutToShow();
        benchmark::DoNotOptimize(form.action(QStringLiteral("DrumArray"), 0));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_InsertMenuPatterns)
    ->Arg(1000)
    ->Arg(2500)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_OpenDrumEditor(benchmark::State& state)
{
    testing::WindowTest test;
    editor::MainForm& form = test.load(test.sampleScore());
    notation::ProcessDrumStores().DrumTemplates = library(int(state.range(0)));
    QAction* edit = form.action(QStringLiteral("instrDrum"));
    for (auto _ : state) {
        edit->trigger();
        state.PauseTiming();
        form.part<editor::MainFormDrumEditor>().drumEditor()->close();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_OpenDrumEditor)->Arg(1000)->Arg(2500)->Arg(5000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace
