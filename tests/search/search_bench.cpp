#include "components/search/tree_search.h"
#include "tests/search/score_tree.h"

#include <benchmark/benchmark.h>

using namespace tunvale;

namespace {

// 2,000 score files in 200 folders, nested up to 8 deep, with a few other files among them.
QStringList generatedTree()
{
    QStringList entries;
    for (int f = 0; f < 200; ++f) {
        QString folder;
        for (int level = 0; level <= f % 8; ++level)
            folder += QStringLiteral("第%1层%2/").arg(level).arg(f / 8 + level);
        for (int k = 0; k < 10; ++k)
            entries << folder + QStringLiteral("我的歌 第%1集.vls").arg(f * 10 + k);
        entries << folder + QStringLiteral("说明.txt");
    }
    return entries;
}

void BM_TreeSearch2000(benchmark::State& state)
{
    const testing::ScoreTree tree(generatedTree());
    QStringList names;
    QStringList paths;
    search::Class_Search().TreeSearch(tree.root(), QString(), names, paths, true); // warm the file cache
    if (names.size() != 2000)
        state.SkipWithError("the tree does not hold 2,000 score files");
    for (auto _ : state) {
        names.clear();
        paths.clear();
        benchmark::DoNotOptimize(
            search::Class_Search().TreeSearch(tree.root(), QStringLiteral("歌"), names, paths, true));
    }
}

// One chain of folders, one inside the other, with a score at the bottom; the walk must stay linear in
// depth (under half a second at 1,000 levels).
void BM_TreeSearchChain(benchmark::State& state)
{
    const QString chain = QStringLiteral("d/").repeated(state.range(0));
    const testing::ScoreTree tree({ chain + QStringLiteral("我的歌.vls") });
    QStringList names;
    QStringList paths;
    for (auto _ : state) {
        names.clear();
        paths.clear();
        if (search::Class_Search().TreeSearch(tree.root(), QStringLiteral("歌"), names, paths, true) != 1)
            state.SkipWithError("the score at the bottom was not found");
    }
}

} // namespace

BENCHMARK(BM_TreeSearch2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeSearchChain)->Arg(250)->Arg(1000)->Arg(1500)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
