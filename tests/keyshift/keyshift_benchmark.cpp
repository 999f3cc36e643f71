#include "tests/compiler/benchmark_song.h"

#include "components/keyshift/transposer.h"
#include "platform/desktop/prompts.h"
#include "platform/richtext/rtf_writer.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tunvale;

// The compiler benchmark's song, `copies` times over, in our RTF, transposed up two semitones.
void TransposeSong(benchmark::State& state)
{
    const platform::RichContent song = testing::SnapshotContent(testing::BenchmarkSong(20000));
    platform::RichContent content;
    for (int64_t i = 0; i < state.range(0); ++i)
        content.insert(content.end(), song.begin(), song.end());
    const QString rtf = platform::WriteRtf(content);
    qsizetype size = 0;
    for (auto _ : state) {
        const keyshift::TransposeResult result = keyshift::TransposeRtf(rtf, 2, platform::Prompts::current());
        size = result.rtf.size();
        benchmark::DoNotOptimize(result.rtf.data());
    }
    state.counters["rtf characters"] = double(rtf.size());
    state.counters["new rtf characters"] = double(size);
}
BENCHMARK(TransposeSong)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

} // namespace
