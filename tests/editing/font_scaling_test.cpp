#include "app/editor/editing/font_scaling.h"
#include "app/editor/editing/highlight_marks.h"
#include "app/editor/editing/symbol_run.h"
#include "platform/richtext/rtf_writer.h"
#include "tests/editing/score_builder.h"

#include <QRegularExpression>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::editor;
using namespace tunvale::testing;

namespace {

using Way = FontScaling::Way;

// The size of each character from `start`, in points.
std::vector<double> sizes(platform::RichTextBox& box, int start, int count)
{
    std::vector<double> out;
    for (int i = start; i < start + count; ++i) {
        box.select(i, 1);
        out.push_back(box.SelFontSize());
    }
    return out;
}

void setSize(platform::RichTextBox& box, int start, int length, double points)
{
    box.select(start, length);
    box.setSelFontSize(points);
}

} // namespace

TEST(FontScaling, TheDialogsTextsReadAsTheirLeadingNumberInAFixedOrder)
{
    EXPECT_EQ(ReadFontScaling(QStringLiteral(" -0.5 "), QStringLiteral("150"), {}).way, Way::Step);
    EXPECT_EQ(ReadFontScaling(QStringLiteral(" -0.5 "), {}, {}).value, -0.5);
    const FontScaling percent = ReadFontScaling({}, QStringLiteral(" 110% "), QStringLiteral("12"));
    EXPECT_EQ(percent.way, Way::Ratio);
    EXPECT_DOUBLE_EQ(percent.value, 1.1);
    EXPECT_EQ(ReadFontScaling({}, {}, QStringLiteral("12pt")).value, 12);
    // A text that is no number gives 0, which no size survives by ratio or as a size.
    EXPECT_EQ(ReadFontScaling({}, QStringLiteral("abc"), {}).value, 0);
    EXPECT_EQ(ReadFontScaling({}, {}, {}).way, Way::None);
}

TEST(FontScaling, EachCharacterScalesFromItsOwnSizeAndABreakOnce)
{
    platform::RichTextBox box;
    FillScore(box, { { kNote, Codes({ kBar, Note(1), Note(2) }) }, { kSong, QStringLiteral("ab") } });
    setSize(box, 0, 2, 20);
    setSize(box, 2, 1, 10);
    // The notation line, its break (its mark at 16 points) and the lyric line at 12.
    EXPECT_EQ(ScaleRange(box, 0, 7, { Way::Ratio, 1.1 }), std::nullopt);
    EXPECT_EQ(sizes(box, 0, 3), (std::vector<double> { 22, 22, 11 }));
    box.select(3, 2);
    EXPECT_EQ(box.SelFontSize(), 17.5); // 16 × 1.1 = 17.6, kept in half points
    EXPECT_EQ(sizes(box, 5, 2), (std::vector<double> { 13, 13 }));
    EXPECT_EQ(ScaleRange(box, 0, 3, { Way::Step, -2 }), std::nullopt);
    EXPECT_EQ(sizes(box, 0, 3), (std::vector<double> { 20, 20, 9 }));
}

TEST(FontScaling, ARefusedSizeStopsAtItsCharacter)
{
    platform::RichTextBox box;
    FillScore(box, { { kNote, Codes({ kBar, Note(1), Note(2), Note(3) }) } });
    setSize(box, 0, 4, 20);
    setSize(box, 2, 1, 2);
    EXPECT_EQ(ScaleRange(box, 0, 4, { Way::Step, -1.5 }), 2);
    EXPECT_EQ(sizes(box, 0, 4), (std::vector<double> { 18.5, 18.5, 2, 20 }));
    EXPECT_EQ(ScaleRange(box, 0, 4, { Way::Ratio, 0 }), 0);
    EXPECT_EQ(ScaleRange(box, 3, 1, { Way::Ratio, 100 }), 3);
    EXPECT_EQ(sizes(box, 0, 4), (std::vector<double> { 18.5, 18.5, 2, 20 }));
}

TEST(FontScaling, ShrinkAndRaiseFromTheBaseSize)
{
    platform::RichTextBox box;
    FillScore(box, { { kNote, Codes({ kBar, Note(1), Note(2), Note(3) }) } });
    SetScoreFontScale(box, 2, 1, 15);
    EXPECT_EQ(box.SelStart(), 1);
    EXPECT_EQ(box.SelLength(), 0);
    box.select(1, 1);
    EXPECT_EQ(box.SelFontSize(), 9);
    EXPECT_EQ(box.SelCharOffset(), 300);
    SetScoreFontScale(box, 3, 2, -15);
    box.select(2, 2);
    EXPECT_EQ(box.SelFontSize(), 9);
    EXPECT_EQ(box.SelCharOffset(), -300);
    SetScoreFontScale(box, 1, 1, 40);
    box.select(0, 1);
    EXPECT_EQ(box.SelFontSize(), 1);
}

TEST(HighlightMarks, MarksOfColourTwoAndUpGoThoseOfColourOneStay)
{
    platform::RichTextBox box;
    FillScore(box,
        { { kNote, Codes({ kBar, Note(1), Note(2), Note(3), kBar }) },
            { kSong, QStringLiteral("abcdefghijklmnopqrstuvwx") } });
    // Colours by first use: highlights 1 to 3, the lyrics' text colours between highlights 5 and 19
    // and the last, 30.
    box.setBackground(0, 1, QColor(255, 255, 0));
    box.setBackground(1, 1, QColor(0, 255, 0));
    box.setBackground(2, 2, QColor(0, 0, 255));
    for (int i = 0; i < 24; ++i) {
        box.select(7 + i, 1);
        box.setSelColor(QColor(i, 0, 0));
    }
    box.setBackground(7, 1, QColor(1, 2, 3));
    box.setBackground(20, 1, QColor(4, 5, 6));
    box.setBackground(30, 1, QColor(7, 8, 9));
    const QString text = box.Text();
    platform::RichContent content = platform::ExtractContent(*box.document());
    const std::vector<QRgb> table = platform::RtfColorTable(content);
    ASSERT_EQ(table.size(), 30u);
    // The writer numbers colours by the same table.
    EXPECT_EQ(table[18], QColor(4, 5, 6).rgb());
    EXPECT_TRUE(platform::WriteRtf(content).contains(QStringLiteral("\\highlight19 ")));
    EXPECT_TRUE(platform::WriteRtf(content).contains(QStringLiteral("\\highlight30 ")));

    EXPECT_GT(ClearHighlightMarks(content), 0);
    box.setTextRTF(platform::WriteRtf(content));
    EXPECT_EQ(box.Text(), text);
    const QRegularExpression highlight(QStringLiteral("\\\\highlight([1-9][0-9]*)"));
    QStringList numbers;
    for (const auto& match : highlight.globalMatch(box.TextRTF()))
        numbers << match.captured(1);
    EXPECT_EQ(numbers, QStringList { QStringLiteral("1") });
    EXPECT_EQ(ClearHighlightMarks(content), 0);
}

TEST(SymbolRun, TheCaretLeavesARunButNotItsParagraph)
{
    platform::RichTextBox box;
    FillScore(box, { { kNote, Codes({ kBar, Note(1) }) }, { kNote, Codes({ Note(2), Note(3) }) } });
    for (const int start : { 4, 0 }) {
        box.setSelStart(start);
        box.setSelFontName(kSymbol);
        box.setSelText(QStringLiteral("~~"));
    }
    // "~~" bar note, break, "~~" two notes: runs that open their paragraphs.
    box.setSelStart(8);
    MoveCaretBeforeSymbolRun(box);
    EXPECT_EQ(box.SelStart(), 6);
    box.setSelStart(1);
    MoveCaretBeforeSymbolRun(box);
    EXPECT_EQ(box.SelStart(), 0);
    box.setSelStart(3);
    MoveCaretBeforeSymbolRun(box);
    EXPECT_EQ(box.SelStart(), 3);
}
