#include "tests/compiler/compile_helpers.h"

#include "platform/richtext/rich_text_box.h"
#include "platform/richtext/rich_text_content.h"

#include <QApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

using namespace tunvale;

// A song of about 20,000 characters: notation paragraphs with ornaments, grace notes, accidentals,
// ties and dynamics, a lyric line under each, and a segment mark every fourth paragraph.
platform::RichTextSnapshot GeneratedSong(int characters)
{
    const QStringList bars = { QStringLiteral("@4 1 2e 3e 4 5 |"), QStringLiteral("@BF 6 5 - |"),
        QStringLiteral("g10:4 3 . 2e 1 |"), QStringLiteral("U+6226 4 4 3 2 |"),
        QStringLiteral("@IFFFFF 5 - 5~ |"), QStringLiteral("@- 1' 7 6 5 |"),
        QStringLiteral("U+5F91 1 g12:2 3 0 |"), QStringLiteral("@JFF 2 1 - U+5F9B |") };
    testing::NotationScore score;
    score.text(QStringLiteral("Generated song"));
    int size = 0;
    for (int paragraph = 0; size < characters; ++paragraph) {
        QString line;
        for (int bar = 0; bar < 4; ++bar)
            line += bars[(paragraph * 4 + bar) % bars.size()] + QChar(' ');
        if (paragraph % 4 == 3)
            line += QStringLiteral("^");
        score.notation(line).text(QStringLiteral("la la la la la la la la la la la la"));
        size = score.build().size();
    }
    return score.build();
}

void CompileWorkingStage(benchmark::State& state)
{
    const platform::RichTextSnapshot song = GeneratedSong(20000);
    notation::获取演唱码 compiler;
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
    notation::获取演唱码 compiler;
    for (auto _ : state) {
        compiler.Get_CodeEvents(notation::CompileInput(score));
        benchmark::DoNotOptimize(compiler.workingEvents().data());
    }
    state.counters["marks"] = double(state.range(0));
    state.counters["events"] = double(compiler.workingEvents().size());
}
BENCHMARK(CompileDynamicsMarks)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);

// The same song as a document: one paragraph per "\r\n", one run per stretch of equal font and colour.
platform::RichContent AsContent(const platform::RichTextSnapshot& song)
{
    platform::RichContent content(1);
    for (int pos = 0; pos < song.size(); ++pos) {
        if (song.text.at(pos) == QChar('\r')) {
            content.emplace_back();
            ++pos;
            continue;
        }
        auto& runs = content.back().runs;
        if (runs.empty() || runs.back().format.font != song.fontAt(pos)
            || runs.back().format.color != song.colorAt(pos)) {
            platform::TextRun run;
            run.format.font = song.fontAt(pos);
            run.format.color = song.colorAt(pos);
            runs.push_back(run);
        }
        runs.back().text += song.text.at(pos);
    }
    return content;
}

void TakeSnapshotOfLaidOutDocument(benchmark::State& state)
{
    platform::RichTextBox box;
    platform::SetContent(*box.document(), AsContent(GeneratedSong(20000)));
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

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
