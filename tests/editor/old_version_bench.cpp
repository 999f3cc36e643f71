// Speed of 版本转换 on an old score of more than 20 A4 pages (400 systems of a notation line and a lyric
// line; the counter "pages" says how many the window's text fills): the converter over the score's
// lines, and the whole command in the main window (question answered, conversion as one undo step, drum
// records fitted). Run by hand: build/bin/bench_old_version.

#include "tests/editor/old_score.h"
#include "tests/editor/window_fixture.h"

#include "app/editor/editing/line_table.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_old_version.h"
#include "app/frame/old_score_converter.h"
#include "app/frame/process_state.h"
#include "platform/richtext/rich_text_edit.h"
#include "platform/richtext/rich_text_format.h"

#include <QApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>

using namespace tunvale;

namespace {

constexpr int kSystems = 400;

const testing::OldScore& oldScore()
{
    static const testing::OldScore score = testing::MakeOldScore(kSystems);
    return score;
}

void BM_ConverterOverTheLines(benchmark::State& state)
{
    platform::RichTextBox box;
    box.setTextRTF(oldScore().rtf);
    const platform::RichTextSnapshot score = box.snapshot();
    std::vector<bool> notation;
    for (const editor::LineInfo& line : editor::BuildLineTable(score))
        notation.push_back(line.IsJpLine);
    std::size_t replaced = 0;
    for (auto _ : state) {
        const std::vector<frame::CodeReplacement> replacements
            = frame::ConvertOldScore(frame::OldScoreLines(score, notation));
        replaced = replacements.size();
        benchmark::DoNotOptimize(replacements.data());
    }
    state.counters["characters"] = double(score.size());
    state.counters["replaced"] = double(replaced);
}

void BM_CommandInTheWindow(benchmark::State& state)
{
    testing::WindowTest test;
    editor::MainForm& form = test.load();
    form.resize(1000, 800);
    form.show();
    editor::UndoEngine& undo = form.part<editor::MainFormEditing>().undo();
    for (auto _ : state) {
        state.PauseTiming();
        form.editor().setTextRTF(oldScore().rtf);
        form.JzRTB(0);
        undo.Reset();
        QApplication::processEvents();
        state.ResumeTiming();
        form.part<editor::MainFormOldVersion>().convertOldVersion();
    }
    state.counters["bars"] = undo.XJInteger();
    state.counters["lines"] = form.editor().LineCount();
    const frame::StartValues& start = frame::Process().start;
    state.counters["pages"] = form.editorView()->document()->size().height()
        / platform::TwipsToPixels(start.PageHeightTwips - 2 * 1440);
}

BENCHMARK(BM_ConverterOverTheLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CommandInTheWindow)->Unit(benchmark::kMillisecond);

} // namespace
