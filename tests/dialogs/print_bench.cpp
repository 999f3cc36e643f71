#include "app/dialogs/preview_printing.h"
#include "app/dialogs/rtf_print_preview.h"
#include "platform/desktop/notation_fonts.h"
#include "platform/richtext/rich_text_content.h"
#include "tests/dialogs/paged_score.h"

#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextDocument>

#include <benchmark/benchmark.h>

using namespace tunvale;

namespace {

using tunvale::testing::kPageHeight;
using tunvale::testing::kPageWidth;

// A song of `pages` A4 pages: a title, then notation lines of 30 signs in 32 points at an exact
// spacing of 900 twips, each with a lyric line at 500 (ten pairs a page).
std::unique_ptr<QTextDocument> song(int pages)
{
    platform::loadNotationFonts();
    platform::RichContent content;
    platform::RunFormat note;
    note.font = QStringLiteral("KORVA_Note");
    note.halfPoints = 64;
    platform::RunFormat lyric;
    lyric.font = QStringLiteral("宋体");
    content.push_back({ { 0, 0, 900 }, { { lyric, QStringLiteral("小河流水") } }, lyric });
    for (int line = 0; line < pages * 10; ++line) {
        QString signs;
        for (int i = 0; i < 30; ++i)
            signs += QChar(char16_t(i % 5 == 4 ? 0x6352 : 0x4E00 + (line + i) % 7));
        content.push_back({ { 450, 550, 900 }, { { note, signs } }, note });
        content.push_back({ { 450, 550, 500 }, { { lyric, QString(24, QChar(u'歌')) } }, lyric });
    }
    auto document = std::make_unique<QTextDocument>();
    platform::SetContent(*document, content);
    return document;
}

void BM_Paginate20Pages(benchmark::State& state)
{
    const auto document = song(20);
    dialogs::RtfPrintPreview pages;
    for (auto _ : state) {
        pages.FormatRtfPages(*document, QSizeF(kPageWidth, kPageHeight), dialogs::kPaginationMargins);
        benchmark::DoNotOptimize(pages.RtfPageCount);
    }
    state.counters["pages"] = pages.RtfPageCount;
}
BENCHMARK(BM_Paginate20Pages)->Unit(benchmark::kMillisecond);

void paginate(benchmark::State& state, const QTextDocument& document)
{
    dialogs::RtfPrintPreview pages;
    for (auto _ : state) {
        pages.FormatRtfPages(document, QSizeF(kPageWidth, kPageHeight), dialogs::kPaginationMargins);
        benchmark::DoNotOptimize(pages.RtfPageCount);
    }
    state.counters["pages"] = pages.RtfPageCount;
}

// Empty 32-point lines, 758 twips each: 11,000 of them stay below 2^23 twips, 12,000 pass it.
void BM_PaginateEmpty32PointLines(benchmark::State& state)
{
    paginate(state, *tunvale::testing::RepeatedParagraphs(int(state.range(0)), {}, 32));
}
BENCHMARK(BM_PaginateEmpty32PointLines)->Arg(11000)->Arg(12000)->Arg(20000)->Unit(benchmark::kMillisecond);

// One-digit lines at the largest size, 1638 points.
void BM_PaginateLinesAt1638Points(benchmark::State& state)
{
    paginate(state, *tunvale::testing::RepeatedParagraphs(int(state.range(0)), QStringLiteral("1"), 1638));
}
BENCHMARK(BM_PaginateLinesAt1638Points)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

// A song of notation and lyric lines, `range` lines in all.
void BM_PaginateSongLines(benchmark::State& state) { paginate(state, *song(int(state.range(0)) / 20)); }
BENCHMARK(BM_PaginateSongLines)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The preview draws every page once on its first paint, at the screen's resolution.
void BM_RenderPreviewOf10Pages(benchmark::State& state)
{
    const auto document = song(10);
    dialogs::RtfPrintPreview pages;
    pages.FormatRtfPages(*document, QSizeF(kPageWidth, kPageHeight), dialogs::kPaginationMargins);
    for (auto _ : state) {
        for (int page = 1; page <= pages.RtfPageCount; ++page) {
            QImage image(794, 1123, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            pages.PrintRtfPage(page, dialogs::PageMargins(page), painter,
                { QSizeF(kPageWidth, kPageHeight), 96 / 1440.0, false });
        }
    }
    state.counters["pages"] = pages.RtfPageCount;
}
BENCHMARK(BM_RenderPreviewOf10Pages)->Unit(benchmark::kMillisecond);

void BM_PaginateAndPrintPdfOf10Pages(benchmark::State& state)
{
    const auto document = song(10);
    QTemporaryDir dir;
    dialogs::PrintServices services;
    services.target = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("song.pdf"));
        return std::make_unique<dialogs::PrinterTarget>(printer);
    };
    int pageCount = 0;
    for (auto _ : state) {
        dialogs::RtfPrintPreview pages;
        pages.FormatRtfPages(*document, QSizeF(kPageWidth, kPageHeight), dialogs::kPaginationMargins);
        dialogs::PreviewPrinting printing(pages, services);
        if (printing.printRTF(dialogs::PreviewPrinting::kSilent).outcome
            != dialogs::PrintResult::Outcome::Printed)
            state.SkipWithError("printing failed");
        pageCount = pages.RtfPageCount;
    }
    state.counters["pages"] = pageCount;
}
BENCHMARK(BM_PaginateAndPrintPdfOf10Pages)->Unit(benchmark::kMillisecond);

} // namespace
