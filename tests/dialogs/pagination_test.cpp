#include "app/dialogs/rtf_print_preview.h"
#include "platform/desktop/notation_fonts.h"
#include "tests/dialogs/ink.h"
#include "tests/dialogs/paged_score.h"

#include <QImage>
#include <QPainter>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::testing;
using dialogs::RtfMargins;
using dialogs::RtfPageInfo;
using dialogs::RtfPrintPreview;

namespace {

const QSizeF kPage(kPageWidth, kPageHeight);
const RtfMargins kPreviewMargins { 0, 720, 0, 1440 };

class Pagination : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { platform::loadNotationFonts(); }

    void paginate(const platform::RichTextBox& box)
    {
        pages.FormatRtfPages(*box.document(), kPage, kPreviewMargins);
    }

    // Page `page` drawn on a white A4 image at 96 dpi.
    QImage render(int page, const RtfMargins& margins, bool printer = false) const
    {
        QImage image(794, 1123, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        pages.PrintRtfPage(page, margins, painter, { kPage, 96 / 1440.0, printer });
        return image;
    }

    RtfPrintPreview pages;
};

// Adapter position of paragraph `n` (0-based).
int paragraphStart(const platform::RichTextBox& box, int n)
{
    int position = 0;
    for (int i = 0; i < n; ++i)
        position = int(box.Text().indexOf(QStringLiteral("\r\n"), position)) + 2;
    return position;
}

} // namespace

TEST_F(Pagination, PagesFollowEachOtherAndASecondPaginationReplacesTheFirst)
{
    platform::RichTextBox shortSong;
    FillSong(shortSong, 3, 600); // title and six lines
    paginate(shortSong);
    ASSERT_EQ(pages.RtfPageCount, 1);
    EXPECT_EQ(pages.RtfPages, (std::vector<RtfPageInfo> { { 1, 0, -1, 7 * 600 } }));
    EXPECT_EQ(pages.RtfLastPageHeight, 7 * 600);

    platform::RichTextBox longSong;
    FillSong(longSong, 40, 600); // 81 lines, 24 a page
    paginate(longSong);
    ASSERT_EQ(pages.RtfPageCount, 4);
    for (int k = 0; k < 4; ++k) {
        const RtfPageInfo& page = pages.RtfPages[size_t(k)];
        EXPECT_EQ(page.PageNo, k + 1);
        EXPECT_EQ(page.StartChar, paragraphStart(longSong, 24 * k)) << "page " << k + 1;
        EXPECT_EQ(page.EndChar, k < 3 ? paragraphStart(longSong, 24 * (k + 1)) : -1) << "page " << k + 1;
        EXPECT_EQ(page.Height, k < 3 ? 24 * 600 : 9 * 600) << "page " << k + 1;
    }
    EXPECT_EQ(pages.RtfLastPageHeight, 9 * 600);

    paginate(shortSong);
    EXPECT_EQ(pages.RtfPages.size(), 1u);
    EXPECT_EQ(pages.RtfPages[0].EndChar, -1);
}

TEST_F(Pagination, ExactSpacingFillsAPageAndABreakMayFallInsideAParagraph)
{
    for (const int spacing : { 300, 455, 1000 }) {
        platform::RichTextBox box;
        FillSong(box, 30, spacing);
        paginate(box);
        const int perPage = kLayoutHeight / spacing;
        ASSERT_GE(pages.RtfPageCount, 2) << spacing;
        EXPECT_EQ(pages.RtfPages[0].Height, perPage * spacing) << spacing;
        EXPECT_EQ(pages.RtfPages[1].StartChar, paragraphStart(box, perPage)) << spacing;
    }

    // One long lyric paragraph wraps into more lines than a page holds.
    platform::RichTextBox box;
    AddParagraph(box, QString(3000, QChar(u'歌')), QStringLiteral("宋体"), 12, 400);
    paginate(box);
    ASSERT_EQ(pages.RtfPageCount, 2);
    EXPECT_EQ(pages.RtfPages[0].Height, kLayoutHeight / 400 * 400);
    EXPECT_GT(pages.RtfPages[1].StartChar, 0);
    EXPECT_LT(pages.RtfPages[1].StartChar, 3000);
}

TEST_F(Pagination, IndentsAreTwipsOnThePage)
{
    platform::RichTextBox box;
    AddParagraph(box, QStringLiteral("一二三四五六七八九十"), QStringLiteral("宋体"), 12, 0);
    box.select(0, 0);
    box.setSelIndent(1440);
    box.setSelRightIndent(9000); // leaves 1466 twips: six characters of 240 a line
    paginate(box);
    const QRect ink = InkBounds(render(1, kPreviewMargins));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.left(), 1440 / 15, 3);
    EXPECT_LE(ink.right(), (kPageWidth - 9000) / 15 + 1);
    EXPECT_GT(ink.height(), 240 / 15); // wrapped onto a second line
}

TEST_F(Pagination, EmptyTextAndGiantLinesStillMakePages)
{
    platform::RichTextBox empty;
    paginate(empty);
    ASSERT_EQ(pages.RtfPageCount, 1);
    EXPECT_EQ(pages.RtfPages[0].StartChar, 0);
    EXPECT_EQ(pages.RtfPages[0].EndChar, -1);

    platform::RichTextBox box;
    AddParagraph(box, QStringLiteral("上"));
    AddParagraph(box, QStringLiteral("巨"), QStringLiteral("宋体"), 1600); // 32000 twips, twice a page
    AddParagraph(box, QStringLiteral("下"));
    paginate(box);
    ASSERT_EQ(pages.RtfPageCount, 3);
    EXPECT_EQ(pages.RtfPages[1].StartChar, 3);
    EXPECT_EQ(pages.RtfPages[1].Height, kLayoutHeight); // clipped to the page
    EXPECT_EQ(pages.RtfPages[2].StartChar, 6);
    // Its page is drawn inside the page's layout rectangle all the same.
    const QRect ink = InkBounds(render(2, { 0, 1440, 0, 720 }));
    EXPECT_GE(ink.top(), 1440 / 15);
    EXPECT_LE(ink.bottom(), (kPageHeight - 720) / 15);
}

TEST_F(Pagination, APageInksOnlyInsideItsLayoutRectangleAndThePrinterReachesFurtherRight)
{
    // Lines packed tighter than their glyphs, pushed left of the margin and past the right one.
    platform::RichTextBox box;
    for (int i = 0; i < 120; ++i)
        AddParagraph(box, QString(60, QChar(i % 2 ? u'歌' : u'\u4E0E')),
            i % 2 ? QStringLiteral("宋体") : QStringLiteral("KORVA_Note"), i % 2 ? 12 : 20, 250);
    box.select(0, box.TextLength());
    box.setSelIndent(-1000);
    box.setSelRightIndent(-2000);
    paginate(box);
    ASSERT_GE(pages.RtfPageCount, 3);
    const RtfMargins margins { 1440, 1440, 1440, 720 };
    const QRect inside(
        QPoint(1440 / 15, 1440 / 15), QPoint((kPageWidth - 1440) / 15, (kPageHeight - 720) / 15));
    const QRect ink = InkBounds(render(2, margins));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(inside.adjusted(-1, -1, 1, 1).contains(ink))
        << ink.left() << "," << ink.top() << " " << ink.right() << "," << ink.bottom();
    EXPECT_GE(ink.right(), inside.right() - 1); // the text does reach the edge

    const QRect printed = InkBounds(render(2, margins, true));
    EXPECT_GT(printed.right(), inside.right() + 10);
    EXPECT_LE(printed.right(), inside.right() + 400 / 15 + 1);
}

TEST_F(Pagination, TextsOfAnyHeightComeToAnEndPageByPage)
{
    // Far past 2^23 twips, where Qt's layout of the whole text in 26.6 fixed point never ends.
    const auto empty = RepeatedParagraphs(20000, {}, 32);
    pages.FormatRtfPages(*empty, kPage, kPreviewMargins);
    // An empty paragraph counts two with its break; the first, in the default size, is lower.
    ASSERT_GE(pages.RtfPageCount, 2);
    const int second = pages.RtfPages[1].StartChar / 2;
    const int perPage = pages.RtfPages[1].EndChar / 2 - second;
    ASSERT_GT(perPage, 0);
    ASSERT_EQ(pages.RtfPageCount, 1 + (20000 - second + perPage - 1) / perPage);
    for (int k = 1; k < pages.RtfPageCount; ++k)
        ASSERT_EQ(pages.RtfPages[size_t(k)].StartChar, 2 * (second + perPage * (k - 1))) << "page " << k + 1;
    EXPECT_EQ(pages.RtfPages.back().EndChar, -1);

    // Lines at the largest size, each taller than a page, take a page each: as paragraphs and as the
    // wrapped lines of one paragraph.
    const auto paragraphs = RepeatedParagraphs(2000, QStringLiteral("1"), 1638);
    pages.FormatRtfPages(*paragraphs, kPage, kPreviewMargins);
    ASSERT_EQ(pages.RtfPageCount, 2000);
    EXPECT_EQ(pages.RtfPages[1999].StartChar, 3 * 1999);
    EXPECT_EQ(pages.RtfPages[0].Height, kLayoutHeight);

    const auto wrapped = RepeatedParagraphs(1, QString(300, QChar(u'1')), 1638);
    pages.FormatRtfPages(*wrapped, kPage, kPreviewMargins);
    ASSERT_EQ(pages.RtfPageCount, 300);
    EXPECT_EQ(pages.RtfPages[299].StartChar, 299);
}

TEST_F(Pagination, IndentsThatLeaveNoRoomAreCutBackToAnInchOfLine)
{
    platform::RichTextBox box;
    AddParagraph(box, QString(100, QChar(u'歌')), QStringLiteral("宋体"), 12, 300);
    box.select(0, 0);
    box.setSelIndent(20000);
    box.setSelRightIndent(20000);
    paginate(box);
    // 20000 twips each side of an 11906-twip line become 5233: an inch of line, six characters.
    ASSERT_EQ(pages.RtfPageCount, 1);
    EXPECT_EQ(pages.RtfPages[0].Height, 17 * 300);
    const QRect ink = InkBounds(render(1, kPreviewMargins));
    EXPECT_NEAR(ink.left(), 5233 / 15, 2);
    EXPECT_LE(ink.right(), (5233 + 1440) / 15 + 1);
}

TEST_F(Pagination, ACharacterOfAnySizeIsDrawnAtItsSizeOnAPageOfItsOwn)
{
    // DejaVu's metrics overflow Qt's fixed point above about 880 points on a twip device.
    for (const QString& font : { QStringLiteral("宋体"), QStringLiteral("DejaVu Sans") }) {
        for (const double points : { 900.0, 1500.0, 1638.0 }) {
            platform::RichTextBox box;
            AddParagraph(box, QStringLiteral("上"));
            AddParagraph(box, QStringLiteral("X"), font, points);
            AddParagraph(box, QStringLiteral("下"));
            paginate(box);
            ASSERT_EQ(pages.RtfPageCount, 3) << font.toStdString() << " " << points;
            const RtfMargins margins { 0, 1440, 0, 720 };
            const QRect ink = InkBounds(render(2, margins));
            ASSERT_FALSE(ink.isEmpty()) << font.toStdString() << " " << points;
            // Far taller than any line of text, its arms reaching the page's bottom.
            EXPECT_GT(ink.height(), 4500 / 15) << font.toStdString() << " " << points;
            EXPECT_GE(ink.bottom(), (kPageHeight - 720) / 15 - 2) << font.toStdString() << " " << points;
            EXPECT_GE(ink.top(), 1440 / 15);
        }
    }
}
