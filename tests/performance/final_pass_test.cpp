#include "app/notation/final_pass.h"
#include "app/notation/tempo_map.h"

#include "platform/richtext/rich_text_snapshot.h"

#include <gtest/gtest.h>

namespace tunvale::notation {
namespace {

constexpr int Quarter = 4;

CodeEvent ev(int code, double units, int pos = 0, int velocity = 98)
{
    CodeEvent e;
    e.EventCode = code;
    e.EventTime = units;
    e.Velocity = velocity;
    e.CharPos = pos;
    return e;
}

CodeEvent bar() { return ev(3000, 0, 0, 0); }
CodeEvent silent() { return ev(0, 0, 0, 0); }

std::vector<double> endTimes(const TimedMelody& m)
{
    std::vector<double> t;
    for (const CodeEvent& e : m.CodeEvents)
        t.push_back(e.EventTime);
    return t;
}

std::vector<std::pair<int, double>> marksOf(const std::vector<TempoMark>& marks)
{
    std::vector<std::pair<int, double>> result;
    for (const TempoMark& m : marks)
        result.emplace_back(m.TempoBpm, m.TempoStart);
    return result;
}

TEST(TempoMapAndEndTimes, GoldenTimings)
{
    struct Case {
        const char* name;
        int speed;
        std::vector<CodeEvent> working;
        std::vector<double> ends;
        std::vector<std::pair<int, double>> marks;
    };
    const double triplet = 1.33333333;
    const Case cases[] = {
        { "four quarters at 120", 120,
            { ev(60, Quarter), ev(62, Quarter), bar(), ev(64, Quarter), ev(65, Quarter), bar() },
            { 0.5, 1, 1.5, 2 }, { { 120, 0 }, { 120, 2 } } },
        { "a quarter at 100", 100, { ev(60, Quarter) }, { 0.6 }, { { 100, 0 }, { 100, 0.6 } } },
        { "triplets are rounded only after summing", 120,
            { ev(60, triplet), ev(62, triplet), ev(64, triplet) }, { 0.167, 0.333, 0.5 },
            { { 120, 0 }, { 120, 0.5 } } },
        { "ends on half a millisecond round to even", 240, { ev(60, 1), ev(62, 2) }, { 0.062, 0.188 },
            { { 240, 0 }, { 240, 0.188 } } },
        { "a tempo term first replaces the opening mark", 120, { ev(2132, 0), ev(60, Quarter) }, { 0.455 },
            { { 132, 0 }, { 120, 0.455 } } },
        { "a mid-piece term starts where its events start", 120,
            { ev(60, Quarter), ev(62, Quarter), bar(), silent(), ev(2056, 0), ev(64, Quarter), ev(2001, 0),
                ev(65, Quarter) },
            { 0.5, 1, 2.071, 2.571 }, { { 120, 0 }, { 56, 1 }, { 120, 2.071 }, { 120, 2.571 } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto working = c.working;
        EXPECT_EQ(marksOf(BuildTempoMap(working, c.speed)), c.marks);
        const TimedMelody m = CompactAndTime(working, 0);
        EXPECT_EQ(endTimes(m), c.ends);
        EXPECT_EQ(m.TotalPlayTime, c.ends.back());
        EXPECT_EQ(m.TotalPlayTime, c.marks.back().second) << "the end mark carries the melody's length";
    }
}

TEST(FinalPass, CodesVelocitiesAndMessages)
{
    struct Case {
        const char* name;
        CodeEvent event;
        int code;
        int velocity;
        std::uint32_t message;
    };
    const Case cases[] = {
        { "note", ev(60, 1), 60, 98, 0x00623C90 },
        { "velocity is cut to 127", ev(60, 1, 0, 140), 60, 127, 0x007F3C90 },
        { "rest plays note 120 at velocity 2", ev(1000, 1), 120, 2, 0x00027890 },
        { "tied note keeps its time", ev(62, 1, 0, 0), 62, 0, 0x00003E90 },
        { "RAP beat waits for the accompaniment", ev(-2900, 1), -2900, 98, 0 },
        { "a note above 127 is silent", ev(130, 1), 130, 98, 0x190 },
        { "a note below 0 is silent", ev(-3, 1), -3, 98, 0x190 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TimedMelody m = CompactAndTime({ c.event }, 0);
        ASSERT_EQ(m.CodeEvents.size(), 1u);
        const CodeEvent& e = m.CodeEvents[0];
        EXPECT_EQ(e.EventCode, c.code);
        EXPECT_EQ(e.Velocity, c.velocity);
        EXPECT_EQ(std::uint32_t(e.MidiMessage), c.message);
        EXPECT_EQ(e.EventTime, 1);
    }
}

TEST(FinalPass, StartPosition)
{
    std::vector<CodeEvent> working { ev(60, 0.5, 10), bar(), ev(62, 0.5, 12), ev(64, 0.5, 13),
        ev(65, 0.5, 14) };
    struct Case {
        int caret;
        double start;
        int index;
    };
    const Case cases[] = { { 0, 0, 0 }, { 10, 0, 0 }, { 11, 0.5, 0 }, { 13, 1, 1 }, { 99, 2, 3 } };
    for (const Case& c : cases) {
        const TimedMelody m = CompactAndTime(working, c.caret);
        EXPECT_EQ(m.StartPlayTime, c.start) << c.caret;
        EXPECT_EQ(m.PlayStartIndex, c.index) << c.caret;
    }
}

TEST(FinalPass, NothingThatTakesTimeLeavesOneZeroedElement)
{
    const TimedMelody m = CompactAndTime({ bar(), silent(), ev(2132, 0) }, 5);
    ASSERT_EQ(m.CodeEvents.size(), 1u);
    EXPECT_EQ(m.CodeEvents[0].EventTime, 0);
    EXPECT_EQ(m.CodeEvents[0].CharPos, -1) << "no character to highlight";
    EXPECT_EQ(m.TotalPlayTime, 0);
    EXPECT_EQ(m.PlayStartIndex, 0);
}

TEST(MarkLineEnds, FlagsTheLastEventBeforeEachLineStart)
{
    platform::RichTextSnapshot two; // two notation lines, no lyric line between them
    two.lines = { { 0, QStringLiteral("ABCD\r\n"), {} }, { 6, QStringLiteral("EFG"), {} } };
    platform::RichTextSnapshot lyric; // a lyric line between the notation lines
    lyric.lines = { { 0, QStringLiteral("ABCD\r\n"), {} }, { 6, QStringLiteral("xx\r\n"), {} },
        { 10, QStringLiteral("EF"), {} } };
    struct Case {
        const char* name;
        const platform::RichTextSnapshot& snapshot;
        std::vector<int> positions;
        std::vector<int> flags;
    };
    const Case cases[] = {
        { "next line starts on the next event", two, { 0, 1, 3, 6, 8 }, { 0, 0, -1, 0, 0 } },
        { "a lyric line between", lyric, { 0, 3, 10, 11 }, { 0, -1, 0, 0 } },
        { "a repeat jumping back is no line end", lyric, { 10, 11, 0, 3 }, { 0, 0, 0, 0 } },
        { "a wrapped line inside a paragraph", two, { 5, 6 }, { -1, 0 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<CodeEvent> events;
        for (int pos : c.positions)
            events.push_back(ev(60, 1, pos));
        MarkLineEnds(events, c.snapshot);
        std::vector<int> flags;
        for (const CodeEvent& e : events)
            flags.push_back(e.LineEnd);
        EXPECT_EQ(flags, c.flags);
    }
}

} // namespace
} // namespace tunvale::notation
