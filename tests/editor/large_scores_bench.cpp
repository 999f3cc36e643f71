// How the window copes with large scores: scores of about 100 KB, 1 MB and 4 MB (the sample "两只老虎"
// repeated, lyrics and a drum pattern under every bar, written by vlsgen's code into a temporary folder)
// are opened, saved, edited, undone, redone and played in the main window offscreen, and each figure is
// measured beside its floor in the same run:
// - open (file to the document shown in the editor) against QTextDocument::setPlainText of its text;
// - save (document to the verified file) against reading the file's bytes;
// - one undo and one redo step after a typed note, a key plus the snapshot after the pause, and play
//   start to the first note handed to the output (compile included), against a keystroke;
// - "scoretool vls-resave" as a whole process against the tool's own start;
// - a new window from its creation to its first paint with each score, and with scores of an odd make
//   that the reader accepts: 20,000 font names each used once, 4 MB as one paragraph of 400 runs of 9,999
//   digits, one line of 400,000 digits, and 4 MB as one paragraph of ten-digit words (counter ms only).
// Counters: ms (median), floor_ms (median of the floor) and ratio. Run by hand:
// build/bin/bench_large_scores [--benchmark_filter=Undo].

#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_playback.h"
#include "app/editor/parts/main_form_score_files.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/start_up.h"
#include "app/editor/window/wheel_filter.h"
#include "app/frame/process_state.h"
#include "app/frame/write_vls.h"
#include "app/notation/notation_chars.h"
#include "app/playback/playback_state.h"
#include "platform/desktop/notation_fonts.h"
#include "platform/desktop/prompts.h"
#include "platform/richtext/rich_text_edit.h"
#include "platform/settings/program_folder.h"
#include "tests/support/fake_devices.h"
#include "tools/vlsgen/score_description.h"
#include "tools/vlsgen/score_document.h"

#include <QApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QThread>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <memory>

using namespace tunvale;

namespace {

constexpr qint64 kSizes[] = { 100'000, 1'000'000, 4'000'000 };

// Every question is answered with its default; nothing waits for a user.
class DefaultAnswers final : public platform::Prompts
{
public:
    platform::PromptAnswer ask(const platform::PromptRequest& request) override
    {
        return request.defaultAnswer;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    void beep() override { }
};

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(benchmark::State& state, const std::vector<double>& times, const std::vector<double>& floors)
{
    const double ms = median(times);
    const double floor = median(floors);
    state.counters["ms"] = ms;
    state.counters["floor_ms"] = floor;
    state.counters["ratio"] = floor > 0 ? ms / floor : 0;
}

double elapsedMs(const QElapsedTimer& timer) { return double(timer.nsecsElapsed()) / 1e6; }

// The folder of the generated scores, the user folder and the settings, for the whole run.
struct Folders {
    QTemporaryDir scores;
    QTemporaryDir user;
    QTemporaryDir settings;

    Folders()
    {
        platform::ProgramFolder::overrideUserDir(user.path());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    }
};

Folders& folders()
{
    static Folders f;
    return f;
}

vlsgen::ScoreDescription sample()
{
    QFile file(QStringLiteral(TUNVALE_SOURCE_DIR "/tools/vlsgen/scores/liangzhilaohu.txt"));
    file.open(QIODevice::ReadOnly);
    return vlsgen::ReadScoreDescription(QString::fromUtf8(file.readAll())).description;
}

// The sample's lines `times` over, with its drum pattern under every bar.
QString writeScore(const QString& name, int times)
{
    vlsgen::ScoreDescription d = sample();
    const std::vector<vlsgen::ScoreLine> melody = d.lines;
    const notation::DrumStore pattern = d.drums;
    d.lines.clear();
    d.drums.clear();
    int bars = 0;
    for (int i = 0; i < times; ++i) {
        for (const vlsgen::ScoreLine& line : melody) {
            d.lines.push_back(line);
            if (line.kind == vlsgen::ScoreLine::Kind::Notes) {
                bars += int(std::count_if(line.text.begin(), line.text.end(),
                    [](QChar c) { return notation::IsBarLine(c.unicode()); }));
            }
        }
    }
    for (int bar = 0; bar < bars; ++bar)
        d.drums.push_back(pattern[size_t(bar) % pattern.size()]);
    d.output = name;
    d.order.clear();
    vlsgen::WriteScoreFile(d, folders().scores.path());
    return QDir(folders().scores.path()).filePath(name);
}

// A score of about `bytes`: the repetitions found from a small one, written once per run.
QString largeScore(qint64 bytes)
{
    static std::map<qint64, QString> made;
    if (const auto it = made.find(bytes); it != made.end())
        return it->second;
    const QString probe = writeScore(QStringLiteral("probe.vls"), 20);
    const double perTime = double(QFileInfo(probe).size()) / 20;
    const int times = std::max(1, int(double(bytes) / perTime));
    const QString path = writeScore(QStringLiteral("large_%1.vls").arg(bytes), times);
    made[bytes] = path;
    return path;
}

// The main window with a score, shown offscreen, playing into a recording sink.
struct Window {
    testing::FakeDevices* devices = nullptr;
    std::unique_ptr<editor::MainForm> form;
    editor::MainFormPlayback* playback = nullptr;
    QString path;

    explicit Window(const QString& score)
        : path(score)
    {
        frame::ProcessState& state = frame::Process();
        state.ScoreHeader = {};
        state.ColorScheme = {};
        state.start = {};
        auto owned = std::make_unique<testing::FakeDevices>();
        devices = owned.get();
        editor::MainFormServices services;
        services.midiDevices = std::move(owned);
        services.screenSaver = [] {
            return std::make_unique<platform::ScreenSaverInhibitor>(QDBusConnection(QStringLiteral("none")));
        };
        // As the program starts a further window on a score: no splash, the window at its start size.
        form = editor::StartProgram({ QStringLiteral("/OpenFile"), score }, std::move(services)).window;
        if (!form)
            return;
        playback = &form->part<editor::MainFormPlayback>();
        settle();
    }

    ~Window()
    {
        if (!form)
            return;
        playback->commands().stop();
        frame::Process().ScoreHeader.ScoreSaved = true;
        form->unload();
        form.reset();
        playback::NotePlayer.reset();
        editor::UnhookWheel();
    }

    platform::RichTextBox& box() const { return form->editor(); }
    editor::UndoEngine& undo() const { return form->part<editor::MainFormEditing>().undo(); }

    void settle()
    {
        QApplication::processEvents();
        form->editorView()->viewport()->repaint();
    }

    void key(int key, const QString& text)
    {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(form->editorView(), &down);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(form->editorView(), &up);
        form->editorView()->viewport()->repaint();
    }

    // The caret in the middle of the middle notation line.
    void placeCaret()
    {
        std::vector<int> starts;
        for (const editor::LineInfo& line : undo().LineTable()) {
            if (line.IsJpLine)
                starts.push_back(line.LineStart);
        }
        box().setSelStart(starts.empty() ? 0 : starts[starts.size() / 2] + 8);
        form->editorView()->ensureCursorVisible();
        settle();
    }
};

std::unique_ptr<Window>& window()
{
    static std::unique_ptr<Window> w;
    return w;
}

// The window with the score of size index `size`; one window at a time.
Window& windowWith(benchmark::State& state)
{
    const QString path = largeScore(kSizes[state.range(0)]);
    if (!window() || window()->path != path) {
        window().reset();
        window() = std::make_unique<Window>(path);
    }
    state.counters["KB"] = double(QFileInfo(path).size()) / 1000;
    return *window();
}

double keystrokeMs(Window& w)
{
    QElapsedTimer timer;
    timer.start();
    w.key(Qt::Key_3, QStringLiteral("3"));
    const double ms = elapsedMs(timer);
    w.undo().FlushSnapshot();
    return ms;
}

void Open(benchmark::State& state)
{
    Window& w = windowWith(state);
    const QString text = w.box().Text();
    std::vector<double> times, floors;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        w.form->part<editor::MainFormScoreFiles>().commands().OpenVls(w.path, true);
        w.settle();
        times.push_back(elapsedMs(timer));
        state.SetIterationTime(times.back() / 1000);

        QTextDocument plain;
        timer.restart();
        plain.setPlainText(text);
        floors.push_back(elapsedMs(timer));
    }
    report(state, times, floors);
}

void Save(benchmark::State& state)
{
    Window& w = windowWith(state);
    std::vector<double> times, floors;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        const bool saved = w.form->part<editor::MainFormScoreFiles>().commands().save();
        times.push_back(elapsedMs(timer));
        state.SetIterationTime(times.back() / 1000);
        if (!saved)
            state.SkipWithError("the score was not saved");

        timer.restart();
        QFile file(w.path);
        file.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(file.readAll().size());
        floors.push_back(elapsedMs(timer));
    }
    report(state, times, floors);
}

void undoOrRedo(benchmark::State& state, bool undoing)
{
    Window& w = windowWith(state);
    w.placeCaret();
    w.key(Qt::Key_5, QStringLiteral("5"));
    w.undo().FlushSnapshot();
    std::vector<double> times, floors;
    for (auto _ : state) {
        if (!undoing)
            w.undo().undo(1);
        QElapsedTimer timer;
        timer.start();
        if (undoing)
            w.undo().undo(1);
        else
            w.undo().Redo(1);
        w.form->editorView()->viewport()->repaint();
        times.push_back(elapsedMs(timer));
        state.SetIterationTime(times.back() / 1000);
        if (undoing)
            w.undo().Redo(1);
        floors.push_back(keystrokeMs(w));
        w.undo().undo(1);
    }
    report(state, times, floors);
}

void UndoStep(benchmark::State& state) { undoOrRedo(state, true); }
void RedoStep(benchmark::State& state) { undoOrRedo(state, false); }

void KeyAndSnapshot(benchmark::State& state)
{
    Window& w = windowWith(state);
    w.placeCaret();
    std::vector<double> times, floors;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        w.key(Qt::Key_4, QStringLiteral("4"));
        w.undo().FlushSnapshot();
        times.push_back(elapsedMs(timer));
        state.SetIterationTime(times.back() / 1000);
        floors.push_back(keystrokeMs(w));
    }
    report(state, times, floors);
}

void PlayToFirstNote(benchmark::State& state)
{
    Window& w = windowWith(state);
    w.box().setSelStart(0);
    playback::PlayCommands& commands = w.playback->commands();
    platform::MidiRecording& recording = *w.devices->builtInRecording;
    auto firstNote = [&]() -> std::optional<std::chrono::steady_clock::time_point> {
        for (const platform::RecordedMessage& m : recording.messages()) {
            if ((m.message.status & 0xF0) == 0x90 && m.message.data2 > 0)
                return m.time;
        }
        return std::nullopt;
    };
    std::vector<double> times, floors;
    for (auto _ : state) {
        recording.clear();
        const auto start = std::chrono::steady_clock::now();
        commands.play(0);
        QElapsedTimer waited;
        waited.start();
        std::optional<std::chrono::steady_clock::time_point> note;
        while (!(note = firstNote()) && waited.elapsed() < 5000) {
            QApplication::processEvents(QEventLoop::AllEvents, 1);
            QThread::usleep(200);
        }
        commands.stop();
        if (!note) {
            state.SkipWithError("no note was played");
            break;
        }
        times.push_back(std::chrono::duration<double, std::milli>(*note - start).count());
        state.SetIterationTime(times.back() / 1000);
        w.settle();
        floors.push_back(keystrokeMs(w));
    }
    report(state, times, floors);
}

double processMs(const QStringList& args)
{
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral(TUNVALE_BUILD_DIR "/bin/scoretool"), args);
    process.waitForFinished(60000);
    return elapsedMs(timer);
}

void ResaveProcess(benchmark::State& state)
{
    const QString path = largeScore(kSizes[state.range(0)]);
    state.counters["KB"] = double(QFileInfo(path).size()) / 1000;
    const QString out = QDir(folders().scores.path()).filePath(QStringLiteral("resaved.vls"));
    std::vector<double> times, floors;
    for (auto _ : state) {
        times.push_back(processMs({ QStringLiteral("vls-resave"), path, out }));
        state.SetIterationTime(times.back() / 1000);
        floors.push_back(processMs({}));
    }
    report(state, times, floors);
}

// Scores the reader takes that are made unlike any song: many fonts, long runs without a place to wrap.
QString oddScore(int kind)
{
    static std::map<int, QString> made;
    if (const auto it = made.find(kind); it != made.end())
        return it->second;
    QByteArray fonts = "{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}";
    QByteArray body;
    switch (kind) {
    case 0:
        for (int i = 1; i <= 20'000; ++i) {
            fonts += "{\\f" + QByteArray::number(i) + "\\fnil Font" + QByteArray::number(i) + ";}";
            body += "\\f" + QByteArray::number(i) + " 1\\par\r\n";
        }
        break;
    case 1:
    case 3:
        // 4 MB as one paragraph: in long runs between spaces, or in words of ten digits.
        for (int i = 0; i < 400; ++i)
            body += kind == 1 ? QByteArray(9'999, '1') + ' ' : QByteArray("1234567890 ").repeated(909);
        body += "\\par\r\n";
        break;
    default:
        body = QByteArray(400'000, '1') + "\\par\r\n";
        break;
    }
    const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl" + fonts
        + "}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 " + body + "}\r\n";
    notation::ScoreHeader header;
    const QString path = QDir(folders().scores.path()).filePath(QStringLiteral("odd_%1.vls").arg(kind));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(frame::EncodeVls(header, {}, rtf));
    made[kind] = path;
    return path;
}

// From a new window to its first paint: the three sizes, then the odd scores.
void OpenToPaintedWindow(benchmark::State& state)
{
    const int which = int(state.range(0));
    const QString path = which < 3 ? largeScore(kSizes[which]) : oddScore(which - 3);
    state.counters["KB"] = double(QFileInfo(path).size()) / 1000;
    window().reset();
    std::vector<double> times;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        auto w = std::make_unique<Window>(path);
        times.push_back(elapsedMs(timer));
        state.SetIterationTime(times.back() / 1000);
        state.counters["chars"] = w->form ? w->box().TextLength() : 0;
    }
    state.counters["ms"] = median(times);
}

void sizes(benchmark::internal::Benchmark* b)
{
    b->ArgName("size")->DenseRange(0, 2)->UseManualTime()->Unit(benchmark::kMillisecond);
}

BENCHMARK(Open)->Apply(sizes)->Iterations(5);
BENCHMARK(Save)->Apply(sizes)->Iterations(5);
BENCHMARK(UndoStep)->Apply(sizes)->Iterations(15);
BENCHMARK(RedoStep)->Apply(sizes)->Iterations(15);
BENCHMARK(KeyAndSnapshot)->Apply(sizes)->Iterations(15);
BENCHMARK(PlayToFirstNote)->Apply(sizes)->Iterations(5);
BENCHMARK(ResaveProcess)->Apply(sizes)->Iterations(5);
BENCHMARK(OpenToPaintedWindow)
    ->ArgName("score")
    ->DenseRange(0, 6)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::Prompts::install(std::make_unique<DefaultAnswers>());
    folders();
    platform::loadNotationFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    window().reset();
    benchmark::Shutdown();
    return 0;
}
