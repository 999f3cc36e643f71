#include "tests/compiler/compile_helpers.h"

#include "app/notation/character_scan.h"
#include "app/notation/notation_chars.h"
#include "app/notation/play_order_key.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace tunvale::testing {
namespace {

using notation::CodeEvent;

QString Segments(const notation::PerformanceCompiler& compiler)
{
    QStringList parts;
    for (const auto& s : compiler.ScoreSegments())
        parts << QStringLiteral("%1:%2:%3:%4")
                     .arg(s.FirstEvent)
                     .arg(s.EventCount)
                     .arg(s.FirstBar)
                     .arg(s.BarCount);
    return parts.join(QChar(' '));
}

template <typename T, typename Field> QString Join(const std::vector<T>& items, Field field)
{
    QStringList parts;
    for (const T& item : items)
        parts << QString::number(field(item));
    return parts.join(QChar(','));
}

QString Bars(const notation::PerformanceCompiler& compiler)
{
    return Join(compiler.DrumPlayBars(), [](int bar) { return bar; });
}

struct SegmentCase {
    const char* name;
    const char* tokens;
    std::optional<std::vector<int>> order;
    const char* key;
    const char* segments; // FirstEvent:EventCount:FirstBar:BarCount
    const char* drumBars;
    int eventCount;
};

void PrintTo(const SegmentCase& c, std::ostream* os) { *os << c.name; }

class Segmenting : public ::testing::TestWithParam<SegmentCase>
{
};

TEST_P(Segmenting, FindsSegmentsBarsAndPlayedBars)
{
    const SegmentCase& c = GetParam();
    const auto compiler = Compile(NotationScore().notation(QString::fromUtf8(c.tokens)).build(),
        c.order ? Order(*c.order) : CompileOptions {});
    EXPECT_EQ(compiler.POrderStr(), QString::fromUtf8(c.key));
    EXPECT_EQ(Segments(compiler), QString::fromUtf8(c.segments));
    EXPECT_EQ(Bars(compiler), QString::fromUtf8(c.drumBars));
    EXPECT_EQ(int(compiler.workingEvents().size()), c.eventCount);
}

const SegmentCase kSegmentCases[] = {
    { "ends with a plain bar line", "1 2 | 3 4 | 5 6 |", {}, "00", "0:9:0:3", "0,1,2", 9 },
    { "ends with a segment mark", "1 | 2 ^ 3 | 4 ^", {}, "0dd", "0:4:0:2 4:4:2:2", "0,1,2,3", 8 },
    { "unterminated last bar", "1 | 2", {}, "00", "0:3:0:1", "0", 3 },
    { "last segment without a bar line", "1 ^ 2 3", {}, "0d0", "0:2:0:1 2:2:1:0", "0", 4 },
    { "opening segment mark", "^ 1 | 2 ^", {}, "dd", "0:5:0:2", "0,1", 5 },
    { "segment mark after opening fillers", "( sp ^ 1 | 2 ^", {}, "dd", "0:7:0:2", "0,1", 7 },
    { "repeated segment", "1 | 2 ^ 3 | 4 ^", std::vector<int> { 0, 1, 0 }, "0dd", "0:4:0:2 4:4:2:2",
        "0,1,2,3,0,1", 12 },
    { "entries naming no segment", "1 | 2 ^ 3 | 4 ^", std::vector<int> { 1, 5, -1, 0 }, "0dd",
        "0:4:0:2 4:4:2:2", "2,3,0,1", 8 },
    { "empty order", "1 | 2 |", std::vector<int> {}, "00", "0:4:0:2", "0", 0 },
    { "a score that is one mark", "^", {}, "d", "0:1:0:1", "0", 0 },
    { "a mark after a spacer", "sp ^", {}, "d", "0:2:0:1", "0", 0 },
};
INSTANTIATE_TEST_SUITE_P(Scan, Segmenting, ::testing::ValuesIn(kSegmentCases));

TEST(Scan, SpacerBeforeOpeningMarkKeepsTheBarNumbersOfTheScoreWithout)
{
    const auto plain = Compile(NotationScore().notation("^ 1 | 2 ^ 3 |").build());
    const auto spaced = Compile(NotationScore().notation("( sp ^ 1 | 2 ^ 3 |").build());
    ASSERT_EQ(spaced.workingEvents().size(), plain.workingEvents().size() + 2);
    for (size_t i = 0; i < plain.workingEvents().size(); ++i) {
        EXPECT_EQ(spaced.workingEvents()[i + 2].BarNo, plain.workingEvents()[i].BarNo) << i;
        EXPECT_EQ(spaced.workingEvents()[i + 2].SegmentNo, plain.workingEvents()[i].SegmentNo) << i;
    }
    EXPECT_EQ(Sounding(spaced.workingEvents()), "60:4:98 62:4:98 64:4:98");
    EXPECT_EQ(Bars(spaced), Bars(plain));
}

TEST(Scan, EmptyScoreCompilesToNothing)
{
    for (const auto& score : { NotationScore().build(), NotationScore().text("Title").header("C").build() }) {
        const auto compiler = Compile(score);
        EXPECT_TRUE(compiler.workingEvents().empty());
        EXPECT_TRUE(compiler.PlayOrder().empty());
        EXPECT_EQ(compiler.POrderStr(), QString());
        EXPECT_EQ(Bars(compiler), "0");
    }
}

NotationScore SongWithText(bool wrapped)
{
    const char* first = wrapped ? "1 2 / 3 | @BF 4 / g10:5 5 ^" : "1 2 3 | @BF 4 g10:5 5 ^";
    const char* second = wrapped ? "6 . 7e | / 1' - |" : "6 . 7e | 1' - |";
    return std::move(NotationScore()
                         .text("Song")
                         .header("C")
                         .notation(first)
                         .text("lyrics one")
                         .notation(second)
                         .text("end"));
}

TEST(Scan, ReadsOnlyNotationLinesAtTheirPositions)
{
    const auto score = SongWithText(false).build();
    const auto compiler = Compile(score);
    const auto& events = compiler.workingEvents();
    // "Song\r\n" and the header line "1=C\r\n" come first.
    ASSERT_EQ(events.size(), 17U);
    EXPECT_EQ(events.front().CharPos, 10);
    EXPECT_EQ(events[10].CharPos, 34); // after "...^\r\n" and "lyrics one\r\n"
    for (const CodeEvent& e : events) {
        EXPECT_EQ(score.text.at(e.CharPos).unicode(), e.CharCode) << e.CharPos;
        EXPECT_EQ(score.colorAt(e.CharPos), e.CharColor) << e.CharPos;
    }
    EXPECT_EQ(
        Join(events, [](const CodeEvent& e) { return e.FontClass; }), "0,0,0,0,0,0,0,1,0,0,0,0,0,0,0,0,0");
    EXPECT_EQ(Join(events, [](const CodeEvent& e) { return e.BarNo; }), "0,0,0,0,1,1,1,1,1,1,2,2,2,2,3,3,3");
    EXPECT_EQ(
        Join(events, [](const CodeEvent& e) { return e.SegmentNo; }), "0,0,0,0,0,0,0,0,0,0,1,1,1,1,1,1,1");
}

TEST(Scan, WrappedNotationLinesGiveTheSameEvents)
{
    const auto compiler = Compile(SongWithText(false).build());
    const auto wrapped = Compile(SongWithText(true).build());
    ASSERT_EQ(wrapped.workingEvents().size(), compiler.workingEvents().size());
    for (size_t i = 0; i < compiler.workingEvents().size(); ++i) {
        const CodeEvent& a = compiler.workingEvents()[i];
        const CodeEvent& b = wrapped.workingEvents()[i];
        EXPECT_EQ(std::tie(a.CharPos, a.CharCode, a.BarNo, a.SegmentNo, a.EventCode, a.EventTime, a.Velocity),
            std::tie(b.CharPos, b.CharCode, b.BarNo, b.SegmentNo, b.EventCode, b.EventTime, b.Velocity))
            << i;
    }
    EXPECT_EQ(Segments(wrapped), Segments(compiler));
}

TEST(Scan, RepeatedSegmentKeepsItsCharacterPositions)
{
    const auto score = SongWithText(false).build();
    const auto once = Compile(score);
    const auto twice = Compile(score, Order({ 0, 1, 0 }));
    const auto& segment0 = once.ScoreSegments().front();
    const auto& events = twice.workingEvents();
    ASSERT_EQ(events.size(), once.workingEvents().size() + size_t(segment0.EventCount));
    for (int i = 0; i < segment0.EventCount; ++i)
        EXPECT_EQ(events[events.size() - size_t(segment0.EventCount) + size_t(i)].CharPos,
            events[size_t(i)].CharPos);
    EXPECT_EQ(Bars(twice), "0,1,2,3,0,1");
}

TEST(Scan, FontClassComesFromTheFontExceptForBracketsAndBarLines)
{
    platform::RichTextSnapshotBuilder builder;
    builder.run(QStringLiteral("(1"), notation::GraceFontFamilies[1]);
    builder.run(QStringLiteral("$"), notation::GraceFontFamilies[3]);
    builder.run(QStringLiteral(")"), notation::GraceFontFamilies[0]);
    builder.run(QStringLiteral("B"), notation::SymbolFontFamily);
    const auto compiler = Compile(builder.build());
    EXPECT_EQ(Join(compiler.workingEvents(), [](const CodeEvent& e) { return e.FontClass; }), "0,2,0,0,0");
}

TEST(Scan, SegmentLengthsOfTheNotationTextAreTheScannedSegments)
{
    for (const SegmentCase& c : kSegmentCases) {
        const auto score = NotationScore().notation(QString::fromUtf8(c.tokens)).build();
        std::vector<qsizetype> scanned;
        for (const notation::ScoreSegment& s : notation::ScanNotation(score).segments)
            scanned.push_back(s.EventCount);
        EXPECT_EQ(notation::SegmentLengths(notation::NotationText(score.lines)), scanned) << c.name;
    }
}

TEST(Scan, AnOrderPlayingMoreThanTheStoresHoldPlaysTheScoreOnce)
{
    // Two segments of 64 events; 100,000 entries would play 6,400,000.
    const QString half = QStringLiteral("1 ").repeated(63);
    const auto score = NotationScore().notation(half + "^ " + half + "1").build();
    std::vector<int> order(100'000);
    for (size_t i = 1; i < order.size(); i += 2)
        order[i] = 1;
    const auto compiler = Compile(score, Order(order));
    EXPECT_EQ(compiler.PlayOrder(), (std::vector<int> { 0, 1 }));
    EXPECT_EQ(compiler.workingEvents().size(), 128U);
}

} // namespace
} // namespace tunvale::testing
