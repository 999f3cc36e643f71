#include "app/notation/drum_accessor.h"
#include "app/notation/performance_compiler.h"

#include "tests/compiler/notation_text.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

using namespace tunvale;
using notation::clsDrum;

// A song of `bars` bars, four to a notation paragraph with a lyric line under each, mixing notes,
// rests, dots, ties, grace notes, ornaments, accidentals, dynamics and RAP beats, with a tempo term
// every fourth paragraph and a segment mark closing every fourth.
platform::RichTextSnapshot GeneratedSong(int bars)
{
    const QStringList patterns = {
        QStringLiteral("1 2e 3e 4 5 |"),  QStringLiteral("@BF 6 5 - |"),      QStringLiteral("g10:4 3 . 2e 1 |"),
        QStringLiteral("U+6226 4 4 3 2 |"), QStringLiteral("5 - 5~ 0 |"),      QStringLiteral("@- 1' 7 6 5 |"),
        QStringLiteral("U+629E 1 2 3 |"), QStringLiteral("@4 2 1 - |"),
    };
    testing::NotationScore score;
    score.text(QStringLiteral("Generated song"));
    for (int bar = 0; bar < bars; bar += 4) {
        QString line;
        if (bar % 32 == 16)
            line += QStringLiteral("U+5F89 ");
        else if (bar % 32 == 0)
            line += QStringLiteral("U+5F8E ");
        for (int k = 0; k < 4 && bar + k < bars; ++k)
            line += patterns[(bar + k) % patterns.size()] + QChar(' ');
        if (bar % 16 == 12)
            line.replace(line.size() - 2, 1, QChar(u'^')); // the paragraph's last bar line closes a segment
        score.notation(line).text(QStringLiteral("la la la la la la la la la la la la la la la la la la la la la"));
    }
    return score.build();
}

// Bars of the longest time signature (28 steps), every track hitting every step.
void FillDrums(notation::DrumStores& stores, int bars)
{
    stores.XjDrums.assign(size_t(bars), notation::DrumRecord {});
    clsDrum drum(stores);
    drum.DrumType(clsDrum::XjDrums);
    for (int bar = 0; bar < bars; ++bar) {
        drum.setDrumTimeSignature(bar, 40);
        drum.setDrumSpeed(bar, 120);
        drum.setHaveDrum(bar, 1);
        for (int t = 0; t < 8; ++t) {
            drum.setDrumChannel(bar, t, true);
            drum.setDrumSounds(bar, t, std::uint8_t(20 + t));
            drum.setDrumVolume(bar, t, 100);
            drum.setDrumSoundImage(bar, t, 64);
            for (int s = 0; s < 32; ++s)
                drum.setDrumRhythms(bar, s, t, (s + t) % 2 == 0 || t == 0);
        }
    }
}

void Compile2000Characters(benchmark::State& state)
{
    const platform::RichTextSnapshot song = GeneratedSong(100);
    notation::DrumStores stores;
    notation::获取演唱码 compiler;
    for (auto _ : state) {
        notation::CompileInput input { .snapshot = song };
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
    notation::获取演唱码 compiler;
    for (auto _ : state) {
        notation::CompileInput input { .snapshot = song };
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
    notation::获取演唱码 compiler;
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
