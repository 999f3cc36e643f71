// Speed of what the score commands do before a window or a dialog can answer, beside what the same
// input cost before it was bounded (counter before_s, measured on the development machine):
// - the name the output dialogs propose, from a first line of N Chinese characters;
// - opening a score that is one unbroken line of N digits, or of N Hangul syllables, from the load to a
//   laid-out, shown window, and a digit typed at the line's end (counter key_ms).
// Run by hand: build/bin/bench_frame [--benchmark_filter=Open].

#include "app/editor/window/main_form.h"
#include "app/frame/first_text_line.h"
#include "app/frame/process_state.h"
#include "app/frame/write_vls.h"
#include "platform/richtext/rich_text_box.h"
#include "platform/richtext/rich_text_edit.h"
#include "tests/editor/window_fixture.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <map>

using namespace tunvale;

namespace {

// The old figures, in seconds, by the benchmark's argument.
double before(const std::map<int, double>& figures, int n)
{
    const auto it = figures.find(n);
    return it == figures.end() ? 0 : it->second;
}

QByteArray rtfOfLine(const QByteArray& line)
{
    return "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}\r\n"
           "\\viewkind4\\uc1\\pard\\f0\\fs24 "
        + line + "\\par\r\n1 2 3\\par\r\n}\r\n";
}

void ProposedNameOfALongFirstLine(benchmark::State& state)
{
    const int n = int(state.range(0));
    QByteArray line;
    for (int i = 0; i < n; ++i)
        line += "\\'d6\\'d0";
    platform::RichTextBox box;
    box.setTextRTF(QString::fromLatin1(rtfOfLine(line)));
    for ([[maybe_unused]] auto _ : state)
        benchmark::DoNotOptimize(frame::ProposedFileName(box.snapshot(), QStringLiteral(".bmp")));
    state.counters["before_s"] = before({ { 10'000, 0.094 }, { 100'000, 9.4 } }, n);
}

// A score whose first line is N times `character` (RTF).
void openALongLine(benchmark::State& state, const QByteArray& character, const std::map<int, double>& figures)
{
    const int n = int(state.range(0));
    testing::WindowTest t;
    notation::ScoreHeader header;
    header.CurrentFile = t.user.file(QStringLiteral("line.vls"));
    header.Speed = 120;
    header.Volume = 100;
    testing::writeAll(header.CurrentFile, frame::EncodeVls(header, {}, rtfOfLine(character.repeated(n))));
    for ([[maybe_unused]] auto _ : state) {
        t.form.reset();
        QElapsedTimer timer;
        timer.start();
        editor::MainForm& form = t.load(header.CurrentFile);
        form.resize(1000, 720);
        form.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(form.editorView()->document()->documentLayout()->documentSize());
        QApplication::processEvents();
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        state.counters["chars"] = form.editor().TextLength();
        // A digit typed at the line's end, laid out and painted.
        form.editor().setSelStart(n);
        timer.restart();
        QKeyEvent key(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
        QApplication::sendEvent(form.editorView(), &key);
        form.editorView()->viewport()->repaint();
        state.counters["key_ms"] = double(timer.nsecsElapsed()) / 1e6;
    }
    state.counters["before_s"] = before(figures, n);
}

void OpenALongLine(benchmark::State& state)
{
    openALongLine(state, "1", { { 10'000, 0.076 }, { 100'000, 0.91 }, { 400'000, 12.0 } });
}

// The layout wraps a row of Hangul syllables only where a row of letters wraps.
void OpenALongHangulLine(benchmark::State& state)
{
    openALongLine(state, "\\u-21504?", { { 10'000, 0.135 }, { 100'000, 4.6 }, { 400'000, 75.8 } });
}

void lineLengths(benchmark::internal::Benchmark* b)
{
    b->Arg(10'000)->Arg(100'000)->Arg(400'000)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(ProposedNameOfALongFirstLine)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenALongLine)->Apply(lineLengths);
BENCHMARK(OpenALongHangulLine)->Apply(lineLengths);
