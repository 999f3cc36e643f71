#include "app/frame/read_vls.h"
#include "app/frame/vls_body.h"
#include "app/frame/write_vls.h"
#include "app/notation/play_order.h"

#include <benchmark/benchmark.h>

using namespace tunvale;

namespace {

constexpr qsizetype kMiB = 1 << 20;

QByteArray rtfOfSize(qsizetype size)
{
    QByteArray rtf = R"({\rtf1\ansi\ansicpg936\deff0 )";
    while (rtf.size() < size - 1)
        rtf += "\\'d2\\'bb ";
    rtf.truncate(size - 1);
    return rtf + '}';
}

class FixedScore final : public notation::PlayOrderScore
{
public:
    QString currentFile() const override { return {}; }
    QString notationText() const override { return QStringLiteral("一^一^一"); }
};

void ScrambleOneMiB(benchmark::State& state)
{
    QByteArray body(kMiB, 'a');
    for ([[maybe_unused]] auto _ : state) {
        frame::VlsBody().scramble(body);
        benchmark::DoNotOptimize(body.data());
    }
    state.SetBytesProcessed(state.iterations() * kMiB);
}

void DecodeScoreWithOneMiBBody(benchmark::State& state)
{
    const QByteArray file = frame::EncodeVls({}, {}, rtfOfSize(kMiB));
    for ([[maybe_unused]] auto _ : state) {
        auto document = frame::DecodeVls(file, QStringLiteral("a.vls"), {}, {}, {});
        benchmark::DoNotOptimize(document.body.data());
    }
    state.SetBytesProcessed(state.iterations() * file.size());
}

void EncodeScoreWithOneMiBBody(benchmark::State& state)
{
    const QByteArray rtf = rtfOfSize(kMiB);
    FixedScore score;
    notation::PlayOrder order;
    order.setScore(&score);
    order.Entries = { 0, 1, 2, 1 };
    const notation::DrumStore drums(64);
    for ([[maybe_unused]] auto _ : state) {
        auto file = frame::BuildVlsFile({}, {}, rtf, drums, order);
        benchmark::DoNotOptimize(file->data());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}

} // namespace

BENCHMARK(ScrambleOneMiB)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeScoreWithOneMiBBody)->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeScoreWithOneMiBBody)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
