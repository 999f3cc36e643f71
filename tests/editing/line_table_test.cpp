#include "app/editor/editing/line_table.h"
#include "app/editor/editing/undo_engine.h"
#include "app/notation/notation_chars.h"
#include "tests/editing/score_builder.h"

#include <QTextDocument>

#include <gtest/gtest.h>

#include <limits>

using namespace tunvale;
using namespace tunvale::editor;
using namespace tunvale::testing;

namespace {

BarScan scan(const platform::RichTextBox& box, int start = 0, int length = 0)
{
    return ScanBars(BuildLineTable(box.snapshot()), start, length);
}

const QChar kPlainBar { char16_t(kBar) };

} // namespace

TEST(LineTable, RowsOfAScoreWithTitleKeyNotationAndLyrics)
{
    platform::RichTextBox box;
    // Title, key line (notation font with "1=" and a bar character that does not count), a notation
    // line without a bar line at its start, a lyric line, an empty lyric line, a second notation line.
    FillScore(box,
        { { kSong, QStringLiteral("标题") }, { kNote, Codes({ 0x634F, 0x633A, kBar }) },
            { kNote, Codes({ Note(1), kBar, Note(2), kBar, Note(3), kBar }) },
            { kSong, QStringLiteral("一二三") }, { kSong, QString() },
            { kNote, Codes({ Note(4), Note(5), kBar, 0x6358 }) } });
    const BarScan s = scan(box);
    struct Row {
        int start;
        bool jp;
        int length;
    };
    const Row rows[] = { { 0, false, 4 }, { 4, false, 5 }, { 9, true, 8 }, { 17, false, 5 }, { 22, false, 2 },
        { 24, true, 4 } };
    ASSERT_EQ(s.LineTable.size(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(s.LineTable[i].LineStart, rows[i].start) << i;
        EXPECT_EQ(s.LineTable[i].IsJpLine, rows[i].jp) << i;
        EXPECT_EQ(s.LineTable[i].LineLen, rows[i].length) << i;
    }
    // The table's copy of the first notation line starts with a bar line; the score does not.
    EXPECT_EQ(s.LineTable[2].LineText[0], kPlainBar);
    EXPECT_EQ(box.Text()[9], QChar(char16_t(Note(1))));
    EXPECT_EQ(s.LineTable[5].LineText[0], QChar(char16_t(Note(4))));
    EXPECT_EQ(Hex(s.info.XjxStr), Hex(Codes({ kBar, kBar, kBar, kBar, kBar, 0x6358 })));
    EXPECT_EQ(s.info.XJInteger, 6);
    EXPECT_EQ(s.BarStarts, (std::vector<int> { 10, 11, 13, 15, 27, 28 }));
}

TEST(LineTable, CaretAndSelectionBars)
{
    platform::RichTextBox box;
    // Bar lines at 0, 2, 4, 6: bars start behind them at 1, 3, 5, 7.
    FillScore(box, { { kNote, Codes({ kBar, Note(1), kBar, Note(2), kBar, Note(3), kBar, Note(4) }) } });
    struct Case {
        int start;
        int length;
        int onXj;
        int selLength;
    };
    const Case cases[] = {
        { 0, 0, 0, 0 }, // before the first bar line
        { 1, 0, 0, 0 }, // behind it
        { 2, 0, 0, 0 },
        { 3, 0, 1, 0 },
        { 5, 0, 2, 0 }, // behind the third
        { 8, 0, 3, 0 },
        { 3, 2, 1, 1 }, // starts on a bar position: not counted; ends on one: counted
        { 2, 1, 0, 1 },
        { 1, 7, 0, 3 },
        { 4, 0, 1, 0 },
        { 1, std::numeric_limits<int>::max(), 0, 3 }, // ends far behind the text, without overflow
        { std::numeric_limits<int>::max(), 1 << 30, 3, 0 },
    };
    const BarScan full = scan(box);
    for (const Case& c : cases) {
        const BarScan s = scan(box, c.start, c.length);
        EXPECT_EQ(s.info.OnXj, c.onXj) << c.start << "+" << c.length;
        EXPECT_EQ(s.info.XjxSelStart, c.onXj) << c.start << "+" << c.length;
        EXPECT_EQ(s.info.XjxSelLength, c.selLength) << c.start << "+" << c.length;
        const XjxInfo quick = BarsOfSelection(full, c.start, c.length);
        EXPECT_EQ(quick.OnXj, s.info.OnXj);
        EXPECT_EQ(quick.XjxSelLength, s.info.XjxSelLength);
    }
}

TEST(LineTable, PlayOnXj)
{
    const std::vector<int> starts { 1, 3, 5, 7 };
    struct Case {
        int position;
        int bar;
    };
    const Case cases[]
        = { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 1 }, { 4, 1 }, { 5, 2 }, { 6, 2 }, { 7, 0 }, { 50, 0 } };
    for (const Case& c : cases)
        EXPECT_EQ(PlayOnXj(starts, c.position), c.bar) << c.position;
    // The first bar starts two characters before its position; the search takes the first bar that fits.
    const std::vector<int> wide { 3, 10, 20 };
    EXPECT_EQ(PlayOnXj(wide, 1), 0);
    EXPECT_EQ(PlayOnXj(wide, 9), 0);
    EXPECT_EQ(PlayOnXj(wide, 10), 1);
    EXPECT_EQ(PlayOnXj(wide, 19), 1);
    EXPECT_EQ(PlayOnXj(wide, 25), 0); // behind the last bar line
    EXPECT_EQ(PlayOnXj({}, 3), 0);
}

TEST(LineTable, MarkerLinesLongLinesWrappedLinesAndEmptyLyricLines)
{
    platform::RichTextBox box;
    QString longLine;
    for (int i = 0; i < 100; ++i)
        longLine += Codes({ Note(i % 7 + 1), 0x6351, kBar });
    FillScore(box,
        { { kNote, Codes({ 0x6350, kBar, kBar }) }, { kNote, longLine }, { kSong, QString() },
            { kSong, QStringLiteral("歌词") } });
    BarScan s = scan(box);
    ASSERT_EQ(s.LineTable.size(), 4u);
    EXPECT_FALSE(s.LineTable[0].IsJpLine); // the header marker
    EXPECT_TRUE(s.LineTable[1].IsJpLine);
    EXPECT_EQ(s.LineTable[1].LineLen, 302); // whole, with its break
    EXPECT_FALSE(s.LineTable[2].IsJpLine); // an empty line whose mark is in the text font
    EXPECT_EQ(s.LineTable[2].LineText, QStringLiteral("\r\n"));
    EXPECT_EQ(s.info.XJInteger, 101); // the first note reads as a bar line
    EXPECT_EQ(s.BarStarts.back(), 5 + 300);

    // Wrapped at a narrow width, the notation line becomes several display lines, each a notation line
    // (a continuation line starts in the font of the character before it), with the same bars.
    box.document()->setTextWidth(200);
    s = scan(box);
    ASSERT_GT(s.LineTable.size(), 5u);
    int notationLength = 0;
    for (size_t i = 1; i + 2 < s.LineTable.size(); ++i) {
        EXPECT_TRUE(s.LineTable[i].IsJpLine) << i;
        notationLength += s.LineTable[i].LineLen;
    }
    EXPECT_EQ(notationLength, 302);
    EXPECT_EQ(s.info.XJInteger, 101);
    EXPECT_EQ(s.BarStarts.back(), 5 + 300);
}

TEST(LineTable, ALineBeyondTheTableIsALyricLine)
{
    const std::vector<LineInfo> table { { 0, true, 3, QStringLiteral("abc") } };
    EXPECT_TRUE(IsJpLine(table, 0));
    EXPECT_FALSE(IsJpLine(table, 1));
    EXPECT_FALSE(IsJpLine(table, -1));
}

TEST(LineTable, WhileTheLayoutIsBusySelectionChangesLeaveTheBarStateAlone)
{
    platform::RichTextBox box;
    FillScore(box,
        { { kNote, Codes({ kBar, Note(1), kBar, Note(2), kBar, Note(3) }) },
            { kSong, QStringLiteral("歌") } });
    notation::ScoreHeader header;
    bool layoutBusy = false;
    bool cmdBusy = false;
    UndoEngine undo(box, { &header, &layoutBusy, &cmdBusy, {}, {} });
    box.setSelStart(5);
    EXPECT_EQ(undo.OnXj(), 2);
    const size_t lines = undo.LineTable().size();
    const QString bars = undo.XjxStr();
    layoutBusy = true;
    box.setSelStart(1);
    box.setSelText(Codes({ kBar }));
    box.setSelStart(2);
    EXPECT_EQ(undo.OnXj(), 2);
    EXPECT_EQ(undo.XjxStr(), bars);
    EXPECT_EQ(undo.LineTable().size(), lines);
    layoutBusy = false;
    box.setSelStart(3);
    EXPECT_EQ(undo.OnXj(), 1);
    EXPECT_EQ(undo.XJInteger(), 4);
}

// The line that takes the plain bar line is found by reading the notation from both ends; it must be
// the one the rule's own wording gives: join the notation lines, trim blanks at both ends, drop
// spacers, brackets, breaks and old control characters, and look at the first character left.
TEST(LineTable, TheFirstBarMarkFollowsTheRuleOnAnyNotation)
{
    const char16_t alphabet[] = { u' ', u'(', u')', u'\r', u'\n', 16, 0x6351, 0x6354, char16_t(kBar),
        char16_t(Note(1)), char16_t(Note(5)) };
    auto byTheRule = [](const std::vector<LineInfo>& table) {
        QString text;
        for (const LineInfo& line : table)
            text += line.IsJpLine ? line.LineText : QString();
        while (text.startsWith(u' '))
            text.remove(0, 1);
        while (text.endsWith(u' '))
            text.chop(1);
        text.removeIf([](QChar c) {
            const char16_t u = c.unicode();
            return u == 0x6351 || u == 0x6354 || u == u'(' || u == u')' || u == u'\r' || u == u'\n' || u == 16
                || u == 19 || u == 0;
        });
        const auto first
            = std::find_if(table.begin(), table.end(), [](const LineInfo& l) { return l.IsJpLine; });
        const bool marked = first != table.end() && !first->LineText.isEmpty() && !text.isEmpty()
            && !notation::IsBarLine(text.front().unicode());
        return marked ? int(first - table.begin()) : -1;
    };
    unsigned seed = 99;
    auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 8) % unsigned(n));
    };
    for (int round = 0; round < 5000; ++round) {
        std::vector<LineInfo> table(size_t(1 + next(4)));
        for (LineInfo& line : table) {
            line.IsJpLine = next(3) != 0;
            for (int i = next(5); i > 0; --i)
                line.LineText += QChar(alphabet[next(int(std::size(alphabet)))]);
        }
        ASSERT_EQ(FirstBarLine(table), byTheRule(table)) << round;
    }
}
