#include "app/notation/accompaniment.h"

#include "tests/support/test_folders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace tunvale::notation {
namespace {

// A timed melody: end times in seconds.
std::vector<CodeEvent> melody(std::initializer_list<std::pair<double, int>> endsAndVelocities, int code = 60)
{
    std::vector<CodeEvent> events;
    for (const auto& [end, velocity] : endsAndVelocities) {
        CodeEvent e;
        e.EventTime = end;
        e.EventCode = code;
        e.Velocity = velocity;
        events.push_back(e);
    }
    return events;
}

int keyOf(const DrumPlayEvent& e) { return int(e.HitMsg >> 8 & 0xFF); }
int velocityOf(const DrumPlayEvent& e) { return int(e.HitMsg >> 16 & 0xFF); }
int panOf(const DrumPlayEvent& e) { return int(e.PanMsg >> 16 & 0xFF); }

TEST(Accompaniment, LengthClasses)
{
    struct Case {
        double seconds;
        int lengthClass;
    };
    const Case cases[]
        = { { 2, 0 }, { 1.5, 0 }, { 1.499, 1 }, { 1, 1 }, { 0.5, 2 }, { 0.25, 3 }, { 0.249, 4 }, { 0, 4 } };
    for (const Case& c : cases)
        EXPECT_EQ(AccompLengthClass(c.seconds), c.lengthClass) << c.seconds;
}

TEST(Accompaniment, StyleKeysAreGeneralMidiDrumNotes)
{
    struct Case {
        const char* text;
        int index;
    };
    const Case cases[] = { { "13", 0 }, { "42", 29 }, { "87", 74 }, { "88", 0 }, { "12", 0 }, { "", 0 },
        { "abc", 0 }, { " 36 ", 23 }, { "42.5", 29 }, { "-40", 0 } };
    for (const Case& c : cases)
        EXPECT_EQ(AccompKeyFromText(QString::fromUtf8(c.text)), c.index) << c.text;
}

TEST(Accompaniment, NamedStylesReadTheirKeysFromTheIni)
{
    testing::ScopedUserFolder folder;
    ASSERT_TRUE(testing::writeAll(folder.file(QStringLiteral("banzhou.ini")),
        "[伴奏类型]\nType10=49\nType11=38\nType12=36\nType13=200\n"
        "Type20=57\nType21=40\nType22=35\nType23=46\nType24=42\n"));
    EXPECT_EQ(ReadAccompKeys(3), (AccompKeys { 36, 25, 23, 0, 0 }));
    EXPECT_EQ(ReadAccompKeys(4), (AccompKeys { 44, 27, 22, 33, 29 }));
    EXPECT_EQ(ReadAccompKeys(5), (AccompKeys {}));
    EXPECT_EQ(ReadAccompKeys(2), (AccompKeys {})) << "the random style reads no keys";
    EXPECT_EQ(ReadAccompKeys(0), (AccompKeys {}));

    // A quarter at 120 (0.5 s) is class 2, one at 60 (1 s) class 1, a half at 60 (2 s) class 0.
    auto events = melody({ { 0.5, 98 }, { 1.5, 98 }, { 3.5, 98 } });
    AccompInput input;
    input.PZType = 3;
    input.PlayMode = 2;
    input.keys = ReadAccompKeys(3);
    AccompRandom random(1);
    const auto result = MakeAccompaniment(events, input, random);
    ASSERT_EQ(result.AccompPlayEvents.size(), 3u);
    EXPECT_EQ(keyOf(result.AccompPlayEvents[0]), 36);
    EXPECT_EQ(keyOf(result.AccompPlayEvents[1]), 38);
    EXPECT_EQ(keyOf(result.AccompPlayEvents[2]), 49);
}

TEST(Accompaniment, RandomStyleDrawsFromTheClassListsWithPansBelow127)
{
    std::vector<CodeEvent> events;
    double end = 0;
    for (int i = 0; i < 200; ++i) {
        end += 0.1 + 0.02 * (i % 90);
        events.push_back(melody({ { end, 98 } })[0]);
    }
    AccompInput input;
    input.PZType = RandomStyle;
    input.PlayMode = 3;
    AccompRandom random(7);
    const auto played = MakeAccompaniment(events, input, random).AccompPlayEvents;
    std::array<std::vector<int>, AccompClassCount> seen;
    for (size_t i = 0; i < played.size(); ++i) {
        const double length = events[i].EventTime - (i ? events[i - 1].EventTime : 0);
        const auto& list = RandomKeyLists[size_t(AccompLengthClass(length))];
        const int sound = keyOf(played[i]) - 13;
        EXPECT_NE(std::find(list.begin(), list.end(), sound), list.end()) << i;
        EXPECT_LE(panOf(played[i]), 126);
        seen[size_t(AccompLengthClass(length))].push_back(sound);
    }
    for (const auto& sounds : seen)
        EXPECT_GT(std::set<int>(sounds.begin(), sounds.end()).size(), 1u) << "draws vary";
}

TEST(Accompaniment, ModesTiesAndRapBeats)
{
    struct Case {
        int mode;
        std::vector<int> velocities; // note, tied note, RAP beat
    };
    const Case cases[] = {
        { 0, { 0, 0, 90 } },
        { 1, { 0, 0, 90 } },
        { 2, { 90, 0, 90 } },
        { 3, { 90, 0, 90 } },
        { 4, { 90, 0, 90 } },
        { 5, { 0, 0, 90 } },
        { 6, { 90, 0, 90 } },
        { 7, { 0, 0, 90 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        auto events = melody({ { 0.5, 98 }, { 1, 0 }, { 1.5, 98 } });
        events[2].EventCode = -2900;
        AccompInput input;
        input.PlayMode = c.mode;
        input.Volume = 90;
        input.RapDrum = 26;
        AccompRandom random(1);
        const auto played = MakeAccompaniment(events, input, random).AccompPlayEvents;
        std::vector<int> velocities;
        for (const auto& e : played)
            velocities.push_back(velocityOf(e));
        EXPECT_EQ(velocities, c.velocities);
        EXPECT_EQ(played[2].PanMsg, 4197049u);
        EXPECT_EQ(keyOf(played[2]), 39);
        EXPECT_EQ(played[2].EventTime, 1.5);
        EXPECT_EQ(events[2].EventCode, 120);
        EXPECT_EQ(events[2].Velocity, 2);
        EXPECT_EQ(events[2].MidiMessage, 161936);
    }
}

TEST(Accompaniment, StartIndexIsTheLastRecordEndingByTheStart)
{
    struct Case {
        double start;
        int index;
    };
    const Case cases[] = { { 0, 0 }, { 0.4, 0 }, { 0.5, 0 }, { 1, 2 }, { 1.2, 2 }, { 9, 3 } };
    for (const Case& c : cases) {
        auto events = melody({ { 0.5, 98 }, { 1, 98 }, { 1, 98 }, { 1.5, 98 } });
        AccompInput input;
        input.StartPlayTime = c.start;
        AccompRandom random(1);
        EXPECT_EQ(MakeAccompaniment(events, input, random).AccompStartIndex, c.index) << c.start;
    }
}

} // namespace
} // namespace tunvale::notation
