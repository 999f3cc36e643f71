#include "app/editor/editing/font_scaling.h"
#include "app/editor/editing/highlight_marks.h"
#include "app/editor/editing/symbol_run.h"
#include "platform/richtext/rtf_writer.h"
#include "tests/editing/score_builder.h"

#include <QRegularExpression>
#include <QTextDocument>

#include <cmath>

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

// Steps, ratios and raise points that no size reaches: refused, the character keeps its size; the
// values just inside the range are taken.
TEST(FontScaling, ImpossibleStepsRatiosAndPointsAreRefused)
{
    const double nan = std::nan("");
    const double big[] = { nan, 1e10, -1e10, 2147483648.0, -2147483648.0, HUGE_VAL, -HUGE_VAL };
    struct Case {
        Way way;
        double value;
        bool taken;
    };
    std::vector<Case> cases;
    for (const double value : big) {
        cases.push_back({ Way::Step, value, false });
        cases.push_back({ Way::Ratio, value, false });
    }
    // From 20 points: 1 and 1638 points are the smallest and the largest size.
    cases.insert(cases.end(),
        { { Way::Step, 1618, true }, { Way::Step, 1618.5, false }, { Way::Step, -19, true },
            { Way::Step, -19.5, false }, { Way::Ratio, 81.9, true }, { Way::Ratio, 81.95, false },
            { Way::Ratio, 0.05, true }, { Way::Ratio, 0.02, false } });
    for (const Case& c : cases) {
        platform::RichTextBox box;
        FillScore(box, { { kNote, Codes({ kBar, Note(1) }) } });
        setSize(box, 0, 2, 20);
        const std::optional<int> refused = ScaleRange(box, 0, 2, { c.way, c.value });
        EXPECT_EQ(refused == std::nullopt, c.taken) << int(c.way) << " " << c.value;
        if (!c.taken) {
            EXPECT_EQ(sizes(box, 0, 2), (std::vector<double> { 20, 20 })) << int(c.way) << " " << c.value;
        }
    }

    for (const double points : { nan, 1e10, -1e10, 2147483648.0, -2147483648.0, 32768.0, -32769.0 })
        EXPECT_EQ(RaisePointsInRange(points), std::nullopt) << points;
    EXPECT_EQ(RaisePointsInRange(32767.9), 32767);
    EXPECT_EQ(RaisePointsInRange(-32768.5), -32768);
    EXPECT_EQ(RaisePointsInRange(15), 15);
    platform::RichTextBox box;
    FillScore(box, { { kNote, Codes({ kBar, Note(1) }) } });
    for (const int points : { 32767, -32768 }) {
        SetScoreFontScale(box, 2, 1, points);
        box.select(1, 1);
        EXPECT_EQ(box.SelFontSize(), 1) << points;
    }
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
