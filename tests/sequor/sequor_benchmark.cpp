#include "components/sequor/core/jianpu_parser.h"
#include "tests/sequor/sequor_text.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tunvale::testing::sequor_text;

constexpr int TextSize = 100000;

// Bars with every kind of mark: grace groups, dots and dashes, ties, loudness, ornaments, staccato,
// tempo and key changes, the fermata, accidentals, glides and segment marks.
QString MixedText()
{
    const QString bars[] = {
        Text({ SymbolRun, u'4', Note(1), Note(2, 1), Note(3, 1), Note(4), Dot, Note(5, 1), Bar }),
        Text({ GraceRun(1), Note(1, 1), Note(5), Dash, SymbolRun, u'B', u'F', Note(6), Bar }),
        Text({ Note(1, 0, 1), Note(1, 0, 6), Note(1, 0, 7), Note(1, 0, 5), Bar }),
        Text({ Sharp, Note(4), Note(5), Note(4), GraceRun(2), Note(1, 2, 4), Note(2, 2, 4), Note(3), Bar }),
        Text({ SymbolRun, u'I', u'F', u'F', u'F', u'F', u'F', Note(5), Dash, Bar }),
        Text({ 0x5F83, 0x5F91, Fermata, Note(1), SymbolRun, u'G', Note(2), 0x62FE, Note(3), 0x5F9B, Bar }),
        Text({ SymbolRun, u'6', u'*', Note(1, 1, 8), Note(2, 1, 8), Note(3, 1, 8), u'5', Note(4), Rest(),
            u'^' }),
        Text({ SymbolRun, u'J', u'F', u'F', Note(2), 0x629E, u'7', Note(1), 0x638E, Note(6, 0, 0, 1), Bar }),
    };
    QString text;
    for (int i = 0; text.size() < TextSize; ++i)
        text += bars[i % std::size(bars)];
    return text.left(TextSize);
}

QString Repeated(QString prefix, char16_t c)
{
    prefix.resize(TextSize, QChar(c));
    return prefix;
}

void Parse(benchmark::State& state, const QString& text)
{
    for (auto _ : state) {
        const auto parsed = tunvale::sequor::ParseJianpu(text);
        benchmark::DoNotOptimize(parsed.ScoreEvents.data());
    }
    state.counters["characters"] = double(text.size());
}

void ParseMixed(benchmark::State& state) { Parse(state, MixedText()); }
void ParseDots(benchmark::State& state) { Parse(state, Repeated(Text({ Bar }), Dot)); }
void ParseCrescendos(benchmark::State& state) { Parse(state, Repeated(Text({ Note(1), Bar }), u'4')); }
void ParseAccents(benchmark::State& state) { Parse(state, Repeated(Text({ Note(1), Bar }), u'6')); }
void ParseTieEnds(benchmark::State& state) { Parse(state, Repeated(Text({ Bar }), Note(1, 0, 3))); }
void ParseAccidentals(benchmark::State& state) { Parse(state, Repeated(Text({ Bar }), Sharp)); }

BENCHMARK(ParseMixed)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseDots)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseCrescendos)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseAccents)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseTieEnds)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseAccidentals)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
