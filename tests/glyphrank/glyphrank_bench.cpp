#include "glyphrank.h"

#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <iostream>
#include <random>

using namespace tunvale;

namespace {

// 20,000 titles of Chinese mixed with Latin letters and digits, up to 30 characters, many of them
// sharing long prefixes: series such as "我的歌 第1集" ... "我的歌 第300集".
QStringList titles()
{
    const QString common = QStringLiteral("我的歌春天花开月亮星星小河流水山高茉莉两只老虎中国梦想回家");
    const QString latin = QStringLiteral("abcXYZ0123456789 ");
    std::mt19937 random(7);
    auto pick = [&random](const QString& from) { return from[random() % from.size()]; };
    QStringList out;
    while (out.size() < 20000) {
        if (random() % 4 == 0) {
            QString series;
            for (int k = 0; k < 3 + int(random() % 6); ++k)
                series += pick(common);
            for (int n = 1; n <= 300 && out.size() < 20000; ++n)
                out << QStringLiteral("%1 第%2集").arg(series).arg(n);
            continue;
        }
        QString title;
        const int length = 1 + int(random() % 30);
        while (title.size() < length)
            title += random() % 3 == 0 ? pick(latin) : pick(common);
        out << title;
    }
    std::shuffle(out.begin(), out.end(), random);
    return out;
}

void sortTitles(benchmark::State& state, glyphrank::SortOrder order)
{
    const QStringList input = titles();
    for (auto _ : state) {
        state.PauseTiming();
        QStringList a = input;
        QStringList paths = input;
        state.ResumeTiming();
        auto sorter = glyphrank::createSorter(order);
        sorter->Glyphrank(a, paths);
        benchmark::DoNotOptimize(a);
    }
}

void BM_SortPY20000(benchmark::State& state) { sortTitles(state, glyphrank::SortOrder::Pinyin); }
void BM_SortBH20000(benchmark::State& state) { sortTitles(state, glyphrank::SortOrder::Strokes); }

} // namespace

BENCHMARK(BM_SortPY20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortBH20000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    // The first sorter of each order reads its table and builds the rank table once per process.
    for (const auto order : { glyphrank::SortOrder::Pinyin, glyphrank::SortOrder::Strokes }) {
        QElapsedTimer timer;
        timer.start();
        auto sorter = glyphrank::createSorter(order);
        std::cout << (order == glyphrank::SortOrder::Pinyin ? "SortPY" : "SortBH")
                  << " first creation (rank table built): " << timer.nsecsElapsed() / 1000 << " us\n";
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
