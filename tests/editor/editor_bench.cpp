// Speed of the score editor on a 40-line score: a keystroke through both key handlers up to the
// repainted view, one undo and one redo step with the window's JzRTB, the snapshot after a pause in
// typing, the end of a margin gesture and a line-spacing step, scaling the whole score by 110 % and
// clearing its highlight marks, each up to the repainted view. Run by hand: build/bin/bench_editor.

#include "app/editor/parts/main_form_clipboard.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_fonts.h"
#include "app/editor/parts/main_form_margins.h"
#include "app/editor/window/main_form.h"
#include "app/frame/process_state.h"
#include "platform/desktop/notation_fonts.h"
#include "platform/richtext/rich_text_edit.h"
#include "platform/richtext/rich_text_format.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QThread>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

using namespace tunvale;

namespace {

constexpr int kBar = 0x6352;
constexpr int kDash = 0x6353;
constexpr int kDot = 0x62C2;

int note(int degree, int block, int row, int dur)
{
    return 0x4E00 + block * 294 + row * 42 + dur * 7 + degree - 1;
}

// One notation line of 48 signs: bars of eight, mixed octaves and durations, a dot and a dash, a slur
// over three notes and a triplet.
QString notationLine(int line)
{
    QString text;
    auto put = [&](int code) { text += QChar(char16_t(code)); };
    put(kBar);
    for (int bar = 0; bar < 5; ++bar) {
        for (int i = 0; i < 8; ++i) {
            const int degree = (line + bar * 3 + i) % 7 + 1;
            const int row = (i + line) % 5 == 0 ? 1 : (i + bar) % 6 == 0 ? 4 : 0;
            if (bar == 1 && i < 3)
                put(note(degree, i + 1, row, 1)); // slur start, middle, end
            else if (bar == 3 && i < 3)
                put(note(degree, 8 + i, row, 1)); // triplet
            else if (i == 5)
                put(kDot + 1);
            else if (i == 7 && bar % 2 == 0)
                put(kDash);
            else
                put(note(degree, 0, row, (i + bar) % 3));
        }
        put(kBar);
    }
    return text.left(48);
}

QString cpuModel()
{
    QFile file(QStringLiteral("/proc/cpuinfo"));
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.startsWith("model name"))
                return QString::fromUtf8(line.mid(line.indexOf(':') + 1)).trimmed();
        }
    }
    return QStringLiteral("unknown");
}

// The main window's editor with the score, shown offscreen at the A4 text width.
struct Editor {
    editor::MainForm form;
    platform::RichTextBox& box = form.editor();

    Editor()
    {
        form.addPart<editor::MainFormEditing>();
        form.addPart<editor::MainFormMargins>();
        form.addPart<editor::MainFormClipboard>();
        form.addPart<editor::MainFormFonts>();
        const frame::StartValues& start = frame::Process().start;
        const notation::ScoreHeader& header = frame::Process().ScoreHeader;
        form.editorView()->setLineWrapMode(QTextEdit::FixedPixelWidth);
        form.editorView()->setLineWrapColumnOrWidth(
            int(platform::TwipsToPixels(start.PageWidthTwips - header.LeftSpace - header.RightSpace)));
        form.resize(1000, 800);
        form.show();
        auto type = [&](const QString& font, double size, const QString& text) {
            box.setSelStart(box.TextLength());
            box.setSelFontName(font);
            box.setSelFontSize(size);
            box.setSelText(text);
        };
        type(QStringLiteral("宋体"), 18, QStringLiteral("小星星\r\n"));
        type(QStringLiteral("KORVA_Note"), 16,
            QString(QChar(char16_t(0x634F))) + QChar(char16_t(0x633A)) + "\r\n");
        for (int line = 0; line < 40; ++line) {
            type(QStringLiteral("KORVA_Note"), 32, notationLine(line) + "\r\n");
            type(QStringLiteral("宋体"), 12, QString(24, QChar(char16_t(0x4E00 + 500 + line))) + "\r\n");
        }
        form.part<editor::MainFormEditing>().undo().Reset();
        QApplication::processEvents();
    }

    void key(int key, const QString& text)
    {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(form.editorView(), &down);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(form.editorView(), &up);
        form.editorView()->viewport()->repaint();
    }

    // A pause longer than the debounce: the snapshot fires from the event loop.
    void pause()
    {
        QElapsedTimer waited;
        waited.start();
        while (form.part<editor::MainFormEditing>().undo().SnapshotPending() && waited.elapsed() < 1000) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(2);
        }
    }

    // The caret in the middle of the 20th notation line.
    void placeCaret() { box.setSelStart(box.LineIndex(2 * 20 + 2) + 24); }
};

std::unique_ptr<Editor>& shared()
{
    static std::unique_ptr<Editor> editor;
    if (!editor)
        editor = std::make_unique<Editor>();
    return editor;
}

void BM_KeystrokeToRepaint(benchmark::State& state)
{
    Editor& e = *shared();
    e.placeCaret();
    const int keys[] = { Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_Period, Qt::Key_5, Qt::Key_Equal, Qt::Key_6,
        Qt::Key_Minus, Qt::Key_7, Qt::Key_Space };
    std::vector<double> times;
    for (auto _ : state) {
        times.clear();
        for (int i = 0; i < 200; ++i) {
            const int k = keys[i % std::size(keys)];
            QElapsedTimer timer;
            timer.start();
            e.key(k, QString(QChar(char16_t(k))));
            times.push_back(timer.nsecsElapsed() / 1e6);
            state.SetIterationTime(timer.nsecsElapsed() / 1e9);
            if (i % 12 == 11)
                e.pause();
        }
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["p95_ms"] = times[size_t(times.size() * 95 / 100)];
    state.counters["max_ms"] = times.back();
}

void BM_SnapshotAfterPause(benchmark::State& state)
{
    Editor& e = *shared();
    e.placeCaret();
    for (auto _ : state) {
        state.PauseTiming();
        e.key(Qt::Key_4, QStringLiteral("4"));
        state.ResumeTiming();
        e.form.part<editor::MainFormEditing>().undo().FlushSnapshot();
    }
}

void undoOrRedo(benchmark::State& state, bool undo)
{
    Editor& e = *shared();
    editor::UndoEngine& u = e.form.part<editor::MainFormEditing>().undo();
    e.placeCaret();
    e.key(Qt::Key_5, QStringLiteral("5"));
    u.FlushSnapshot();
    for (auto _ : state) {
        if (!undo) {
            state.PauseTiming();
            u.undo(1);
            state.ResumeTiming();
        }
        if (undo)
            u.undo(1);
        else
            u.Redo(1);
        // A whole text read back is laid out later, bit by bit: the step is done when the layout is.
        e.form.editorView()->document()->documentLayout()->documentSize();
        e.form.editorView()->viewport()->repaint();
        if (undo) {
            state.PauseTiming();
            u.Redo(1);
            state.ResumeTiming();
        }
    }
}

// The end of a margin gesture: every paragraph re-laid as one undo step, up to the repainted view.
void BM_MarginGestureEnd(benchmark::State& state)
{
    Editor& e = *shared();
    editor::MainFormMargins& margins = e.form.part<editor::MainFormMargins>();
    int left = 820;
    for (auto _ : state) {
        state.PauseTiming();
        left = left == 820 ? 1100 : 820;
        margins.beginMarginGesture();
        margins.changeMargins(left, 820);
        state.ResumeTiming();
        margins.endMarginGesture();
        e.form.editorView()->viewport()->repaint();
    }
}

// One step of the spinner on the notation lines, up to the repainted view.
void BM_SpacingStep(benchmark::State& state)
{
    Editor& e = *shared();
    editor::MainFormMargins& margins = e.form.part<editor::MainFormMargins>();
    int spacing = 600;
    for (auto _ : state) {
        spacing = spacing == 600 ? 610 : 600;
        margins.spaceLines(0, spacing);
        e.form.editorView()->viewport()->repaint();
    }
}

void BM_UndoStep(benchmark::State& state) { undoOrRedo(state, true); }
void BM_RedoStep(benchmark::State& state) { undoOrRedo(state, false); }

// 110 % over the whole score as one undo step, then back (untimed) so that every run scales the same.
void BM_ScaleWholeScore(benchmark::State& state)
{
    Editor& e = *shared();
    editor::MainFormFonts& fonts = e.form.part<editor::MainFormFonts>();
    editor::UndoEngine& u = e.form.part<editor::MainFormEditing>().undo();
    for (auto _ : state) {
        fonts.scaleRangeByRatio(1.1, 0, e.box.TextLength() - 1);
        QApplication::processEvents();
        e.form.editorView()->viewport()->repaint();
        state.PauseTiming();
        u.undo(1);
        state.ResumeTiming();
    }
}

// Highlight marks in colours 2 to 5 on every notation line, cleared from the whole score.
void BM_HighlightRemoval(benchmark::State& state)
{
    Editor& e = *shared();
    editor::MainFormClipboard& clipboard = e.form.part<editor::MainFormClipboard>();
    const QColor colours[] = { QColor(255, 255, 0), QColor(0, 255, 0), QColor(0, 255, 255),
        QColor(255, 0, 255), QColor(200, 200, 200) };
    for (auto _ : state) {
        state.PauseTiming();
        for (int line = 2; line < e.box.LineCount(); line += 2)
            e.box.setBackground(e.box.LineIndex(line) + 4, 6, colours[line % 5]);
        state.ResumeTiming();
        clipboard.cleanHighlightMarks();
        QApplication::processEvents();
        e.form.editorView()->viewport()->repaint();
    }
}

BENCHMARK(BM_KeystrokeToRepaint)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapshotAfterPause)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarginGestureEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpacingStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScaleWholeScore)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HighlightRemoval)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::loadNotationFonts();
    benchmark::AddCustomContext("cpu_model", cpuModel().toStdString());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    shared().reset();
    benchmark::Shutdown();
    return 0;
}
