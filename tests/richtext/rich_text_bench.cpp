#include "platform/richtext/rich_text_box.h"
#include "platform/richtext/rtf_reader.h"
#include "platform/richtext/rtf_writer.h"

#include <benchmark/benchmark.h>

using namespace tunvale::platform;

namespace {

// A score of 20 notation lines (or `notationLines`) of 100 signs with grace notes and ornaments in
// their own fonts, each followed by a lyric line; with `fontsOfItsOwn`, a paragraph in each of that many
// sizes besides.
QString scoreRtf(int notationLines = 20, int fontsOfItsOwn = 0)
{
    RichContent content;
    RunFormat note;
    note.font = QStringLiteral("KORVA_Note");
    note.halfPoints = 64;
    RunFormat grace = note;
    grace.font = QStringLiteral("KORVA_Note_yy1");
    RunFormat symbol = note;
    symbol.font = QStringLiteral("KORVA_Note_Symbol");
    symbol.offset = 6;
    RunFormat lyric;
    lyric.font = QStringLiteral("宋体");
    for (int line = 0; line < notationLines; ++line) {
        RichParagraph notation;
        notation.mark = note;
        notation.format.lineSpacing = 900;
        for (int i = 0; i < 100; ++i) {
            const RunFormat& f = i % 10 == 3 ? grace : i % 17 == 5 ? symbol : note;
            const QChar c(char16_t(0x4e00 + (line * 7 + i) % 600));
            if (!notation.runs.empty() && notation.runs.back().format == f)
                notation.runs.back().text += c;
            else
                notation.runs.push_back({ f, QString(c) });
        }
        content.push_back(notation);
        RichParagraph words;
        words.mark = lyric;
        words.runs.push_back(
            { lyric, QStringLiteral("一闪一闪亮晶晶，满天都是小星星。挂在天上放光明，好像许多小眼睛。") });
        content.push_back(words);
    }
    for (int i = 0; i < fontsOfItsOwn; ++i) {
        RunFormat own = lyric;
        own.halfPoints = 200 + i;
        content.push_back({ {}, { { own, QStringLiteral("1") } }, own });
    }
    return WriteRtf(content);
}

void ReadScoreRtf(benchmark::State& state)
{
    const QString rtf = scoreRtf();
    RichTextBox box;
    for (auto _ : state)
        benchmark::DoNotOptimize(box.setTextRTF(rtf));
    state.counters["chars"] = box.TextLength();
}

void WriteScoreRtf(benchmark::State& state)
{
    RichTextBox box;
    box.setTextRTF(scoreRtf());
    for (auto _ : state) {
        const QString rtf = box.TextRTF();
        benchmark::DoNotOptimize(rtf.size());
    }
}

void MapTenThousandPositions(benchmark::State& state)
{
    RichTextBox box;
    box.setTextRTF(scoreRtf());
    const int length = box.TextLength();
    box.toDocumentPosition(0);
    for (auto _ : state) {
        int sum = 0;
        for (int i = 0; i < 10000; ++i) {
            const int qt = box.toDocumentPosition((i * 7919) % length);
            sum += box.fromDocumentPosition(qt);
        }
        benchmark::DoNotOptimize(sum);
    }
}

// The font check of a sign in a font of its own put in at the caret, on a score of state.range(0)
// notation lines in a handful of fonts, and on one with state.range(1) fonts besides, where the check
// reads the text.
void CheckFontsOfASign(benchmark::State& state)
{
    RichTextBox box;
    box.setTextRTF(scoreRtf(int(state.range(0)), int(state.range(1))));
    box.setSelStart(box.TextLength() / 2);
    RunFormat sign = box.insertionFormat();
    sign.font = QStringLiteral("KORVA_Note_Symbol");
    sign.bold = true;
    bool refused = false;
    for (auto _ : state) {
        refused = box.tooManyFontsWith(box.SelStart(), 0, { sign });
        benchmark::DoNotOptimize(refused);
    }
    state.counters["chars"] = box.TextLength();
    state.counters["refused"] = refused;
}

} // namespace

BENCHMARK(ReadScoreRtf)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteScoreRtf)->Unit(benchmark::kMillisecond);
BENCHMARK(MapTenThousandPositions)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckFontsOfASign)
    ->Args({ 20, 0 })
    ->Args({ 2000, 0 })
    ->Args({ 20, 996 })
    ->Args({ 2000, 996 })
    ->Unit(benchmark::kMicrosecond);
