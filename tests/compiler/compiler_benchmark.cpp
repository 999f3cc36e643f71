#include "tests/compiler/compile_helpers.h"

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
        compiler.Get_CodeEvents({ .snapshot = song });
        benchmark::DoNotOptimize(compiler.workingEvents().data());
    }
    state.counters["characters"] = song.size();
    state.counters["events"] = double(compiler.workingEvents().size());
}
BENCHMARK(CompileWorkingStage)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
