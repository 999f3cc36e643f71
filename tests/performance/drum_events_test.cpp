#include "app/notation/drum_events.h"

#include <gtest/gtest.h>

namespace tunvale::notation {
namespace {

BarPattern bar(int barNo, int steps, int speed, std::initializer_list<int> track0Steps)
{
    BarPattern b;
    b.barNo = barNo;
    b.steps = steps;
    b.speed = speed;
    b.haveDrum = true;
    b.channel[0] = true;
    b.sound[0] = 22;
    b.volume[0] = 100;
    b.pan[0] = 5;
    for (int s : track0Steps)
        b.rhythm[0] |= 1u << s;
    return b;
}

std::vector<double> times(const DrumBuild& build, int track)
{
    std::vector<double> result;
    const auto& events = build.tracks.DrumPlayEvents[size_t(track)];
    for (int k = 0; k <= build.tracks.DrumEventCounts[size_t(track)]; ++k)
        result.push_back(events[size_t(k)].EventTime);
    return result;
}

TEST(DrumTracks, HitsLaidEndToEndAtEachBarsTempo)
{
    struct Case {
        const char* name;
        std::vector<BarPattern> bars;
        int mode;
        double melody;
        std::vector<double> track0;
        double total;
    };
    const Case cases[] = {
        { "two bars, hits on 0 and 8", { bar(0, 16, 120, { 0, 8 }), bar(1, 16, 120, { 0, 8 }) }, 8, 0,
            { 0, 1, 2, 3, 4 }, 4 },
        { "lead-in before the first hit", { bar(0, 16, 120, { 4 }) }, 8, 0, { 0.5, 2 }, 2 },
        { "a single hit plays like any other count", { bar(0, 16, 120, { 2 }) }, 8, 0, { 0.25, 2 }, 2 },
        { "end times on half a millisecond round to even", { bar(0, 8, 240, { 1, 3 }) }, 8, 0,
            { 0.062, 0.188, 0.5 }, 0.5 },
        { "with the melody the longer part decides", { bar(0, 16, 120, { 0, 8 }) }, 1, 5.25, { 0, 1, 2 },
            5.25 },
        { "drums only ignore the melody's length", { bar(0, 16, 120, { 0, 8 }) }, 9, 5.25, { 0, 1, 2 }, 2 },
        { "a tempo-0 bar stops the drumming",
            { bar(0, 16, 120, { 0 }), bar(1, 16, 0, { 0 }), bar(2, 16, 120, { 0 }) }, 8, 0, { 0, 2 }, 2 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto build = BuildDrumTracks(c.bars, c.mode, c.melody, DrumTimeline {});
        ASSERT_TRUE(build.has_value());
        EXPECT_EQ(times(*build, 0), c.track0);
        EXPECT_DOUBLE_EQ(build->TotalPlayTime, c.total);
        for (int t = 1; t < DrumTrackCount; ++t)
            EXPECT_EQ(build->tracks.DrumEventCounts[size_t(t)], 0);
    }
}

TEST(DrumTracks, HitsOfBarsAfterATempoZeroBarStayZeroedRecords)
{
    const auto build = BuildDrumTracks({ bar(0, 16, 120, { 0 }), bar(1, 16, 0, { 0, 4 }) }, 8, 0, {});
    ASSERT_TRUE(build);
    const auto& track = build->tracks.DrumPlayEvents[0];
    ASSERT_EQ(track.size(), 4u); // three hits counted, one laid
    EXPECT_EQ(build->tracks.DrumEventCounts[0], 1);
    EXPECT_EQ(track[2].EventTime, 0);
    EXPECT_EQ(track[3].HitMsg, 0u);
}

TEST(DrumTracks, MessagesAndSilentBars)
{
    BarPattern silent = bar(3, 4, 120, { 0 });
    silent.haveDrum = false;
    struct Case {
        int mode;
        std::uint32_t hit;
    };
    // Bars without a pattern keep their time but fall silent whenever the melody or the score's own
    // bars play; the templates are always heard.
    const Case cases[]
        = { { 1, 0x00002399 }, { 7, 0x00002399 }, { 8, 0x00002399 }, { 9, 0x00642399 }, { 10, 0x00642399 } };
    for (const Case& c : cases) {
        const auto build = BuildDrumTracks({ silent }, c.mode, 0, {});
        ASSERT_TRUE(build);
        const auto& track = build->tracks.DrumPlayEvents[0];
        EXPECT_EQ(track[1].HitMsg, c.hit) << c.mode;
        EXPECT_EQ(track[1].PanMsg, 0x00050AB9u);
        EXPECT_EQ(track[1].BarNo, 3);
        EXPECT_EQ(track[0].HitMsg, 0x00000D99u) << "the lead-in is key 13 at velocity 0";
        EXPECT_EQ(track[0].PanMsg, 0x00000AB9u);
    }
}

TEST(DrumTracks, ModesWithoutDrumsBuildNothing)
{
    for (int mode : { 0, 4, 5, 6 })
        EXPECT_FALSE(BuildDrumTracks({ bar(0, 16, 120, { 0 }) }, mode, 0, {})) << mode;
}

TEST(DrumTracks, BarsWithoutHitsGiveTwoSilentRecordsSpanningThePlay)
{
    const auto build = BuildDrumTracks({ bar(0, 16, 120, {}), bar(1, 16, 120, {}) }, 2, 5, {});
    ASSERT_TRUE(build);
    EXPECT_DOUBLE_EQ(build->TotalPlayTime, 5);
    for (int t = 0; t < DrumTrackCount; ++t) {
        const auto& track = build->tracks.DrumPlayEvents[size_t(t)];
        ASSERT_EQ(track.size(), 2u);
        EXPECT_EQ(track[0].EventTime, 0);
        EXPECT_EQ(track[1].EventTime, 5);
        EXPECT_EQ(track[1].HitMsg, 0u);
        EXPECT_EQ(build->tracks.DrumEventCounts[size_t(t)], 0);
    }
}

TEST(DrumTracks, SameSpeedFollowsTheMelodyTempoWhereEachHitBegins)
{
    DrumTimeline timeline;
    timeline.SameSpeed = true;
    timeline.TempoMarks = { { 120, 0 }, { 60, 0.5 }, { 120, 2.5 } }; // the last is the end mark
    // Bar tempo 200 is ignored. Hit 1 starts at 0 (120: eight steps of 0.125 s, though the change
    // falls inside it), hit 2 at 1.0 (60: 0.25 s steps), hit 3 at 3.0, past the end mark, takes the
    // first mark's tempo again.
    auto first = bar(0, 16, 200, { 0, 8 });
    auto second = bar(1, 8, 200, { 0 });
    const auto build = BuildDrumTracks({ first, second }, 8, 0, timeline);
    ASSERT_TRUE(build);
    EXPECT_EQ(times(*build, 0), (std::vector<double> { 0, 1, 3, 4 }));
}

TEST(TimeAtStep, SpanLookupAndFallbacks)
{
    const std::vector<TempoMark> marks { { 100, 0 }, { 60, 1 }, { 60, 1 }, { 150, 2 }, { 100, 3 } };
    struct Case {
        double t;
        int bpm;
    };
    const Case cases[]
        = { { 0, 100 }, { 0.99951, 60 }, { 0.9994, 100 }, { 1, 60 }, { 2.5, 150 }, { 3, 100 }, { 7, 100 } };
    for (const Case& c : cases)
        EXPECT_EQ(TimeAtStep(marks, c.t, 77), c.bpm) << c.t;
    EXPECT_EQ(TimeAtStep({}, 1, 77), 77);
}

} // namespace
} // namespace tunvale::notation
