#include "app/notation/breakpoint_cut.h"

#include <gtest/gtest.h>

namespace tunvale::notation {
namespace {

// A melody of quarter notes at 120 BPM, ending at 0.5, 1.0, ..., its accompaniment on the same
// times, and drum track 0 hitting every 0.5 s from 0 (lead-in ending at 0).
PerformanceData quarters(int notes, int mode)
{
    PerformanceData d;
    d.PlayEvents.clear();
    d.AccompPlayEvents.clear();
    for (int i = 0; i < notes; ++i) {
        const double end = 0.5 * (i + 1);
        const auto msg = std::uint32_t(0x00620090 + (60 + i) * 256);
        d.PlayEvents.push_back({ end, 60 + i, 98, i, 0, 10 * i, 0, msg, msg + 0x400, msg + 0x700 });
        d.AccompPlayEvents.push_back({ end, 0, 0x00400AB9u + std::uint32_t(i), 0x00622999u });
    }
    auto& drums = d.Drums.DrumPlayEvents[0];
    for (int k = 0; k <= notes; ++k)
        drums.push_back({ 0.5 * k, k / 2, 0x00000AB9, 0x00642399 });
    d.Drums.DrumEventCounts[0] = notes;
    d.TotalPlayTime = 0.5 * notes;
    d.PlayMode = mode;
    return d;
}

Performance startingAfter(int notes, int index, int mode)
{
    PerformanceData d = quarters(notes, mode);
    d.PlayStartIndex = index;
    d.AccompStartIndex = index;
    d.StartPlayTime = d.PlayEvents[size_t(index)].EventTime;
    return Performance(std::move(d));
}

TEST(BreakpointCut, NothingBeforeTheStartLeavesThePerformanceAsItIs)
{
    const Performance p(quarters(4, 1));
    const Performance cut = CutAtBreakpoint(p);
    EXPECT_EQ(cut.PlayEventCount(), 3);
    EXPECT_EQ(cut.TotalPlayTime(), 2);
    EXPECT_EQ(cut.DrumEventCount(0), 4);
}

TEST(BreakpointCut, MelodyAndAccompanimentMoveEarlierAndCloseWithASilentCopy)
{
    const Performance p = startingAfter(10, 3, 1);
    const Performance cut = CutAtBreakpoint(p);
    const double S = 2;
    EXPECT_EQ(cut.TotalPlayTime(), 3);
    ASSERT_EQ(cut.PlayEventCount(), 6);
    for (int i = 0; i < 6; ++i) {
        const PlayEvent& old = p.PlayEvents()[size_t(i + 4)];
        const PlayEvent& now = cut.PlayEvents()[size_t(i)];
        EXPECT_EQ(now.EventTime, old.EventTime - S);
        EXPECT_EQ(now.CharPos, old.CharPos);
        EXPECT_EQ(now.NoteOnMsg, old.NoteOnMsg);
        EXPECT_EQ(cut.AccompPlayEvents()[size_t(i)].EventTime, old.EventTime - S);
        EXPECT_EQ(cut.AccompPlayEvents()[size_t(i)].PanMsg, p.AccompPlayEvents()[size_t(i + 4)].PanMsg);
    }
    const PlayEvent& closing = cut.PlayEvents()[6];
    EXPECT_EQ(closing.EventTime, 3);
    EXPECT_EQ(closing.CharPos, 90);
    EXPECT_EQ(closing.NoteOnMsg, 0u);
    EXPECT_EQ(closing.ThirdMsg, p.PlayEvents()[9].ThirdMsg);
    ASSERT_EQ(cut.AccompEventCount(), 6);
    EXPECT_EQ(cut.AccompPlayEvents()[6].EventTime, 3);
    EXPECT_EQ(cut.AccompPlayEvents()[6].HitMsg, 0u);
    EXPECT_EQ(cut.AccompPlayEvents()[6].PanMsg, 0u);
}

TEST(BreakpointCut, DrumTracksKeepTheHitSoundingAtTheStart)
{
    struct Case {
        const char* name;
        double S;
        int count;
        double first;
        int firstBar;
    };
    // Hits every 0.5 s from 0; record k ends at 0.5 k.
    const Case cases[] = {
        { "inside a hit", 1.2, 7, 0.3, 1 }, // the hit from 1.0 to 1.5
        { "exactly on a hit", 1.0, 7, 0.5, 1 }, // struck once, at the start
        { "inside the lead-in", 0, 10, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PerformanceData d = quarters(10, 2);
        d.StartPlayTime = c.S;
        d.PlayStartIndex = 1;
        d.AccompStartIndex = 1;
        const Performance p(d);
        const Performance cut = CutAtBreakpoint(p);
        EXPECT_EQ(cut.DrumEventCount(0), c.count);
        ASSERT_EQ(cut.DrumPlayEvents(0).size(), size_t(c.count) + 1);
        EXPECT_DOUBLE_EQ(cut.DrumPlayEvents(0)[0].EventTime, c.first);
        EXPECT_EQ(cut.DrumPlayEvents(0)[0].BarNo, c.firstBar);
        const int dropped = 10 - c.count;
        for (int k = 0; k <= c.count; ++k)
            EXPECT_DOUBLE_EQ(cut.DrumPlayEvents(0)[size_t(k)].EventTime,
                p.DrumPlayEvents(0)[size_t(k + dropped)].EventTime - c.S);
    }
}

TEST(BreakpointCut, DrumsAreCutOnlyWhenTheyPlayWithTheMelody)
{
    for (int mode : { 0, 1, 2, 3, 4, 5, 6, 7 }) {
        const Performance cut = CutAtBreakpoint(startingAfter(10, 3, mode));
        const bool withDrums = mode == 1 || mode == 2 || mode == 3 || mode == 7;
        EXPECT_EQ(cut.DrumEventCount(0), withDrums ? 5 : 10) << mode;
    }
}

TEST(BreakpointCut, CaretAfterTheLastNoteLeavesOneSilentRecordEach)
{
    const Performance cut = CutAtBreakpoint(startingAfter(4, 3, 1));
    EXPECT_EQ(cut.TotalPlayTime(), 0);
    ASSERT_EQ(cut.PlayEventCount(), 0);
    EXPECT_EQ(cut.PlayEvents()[0].EventTime, 0);
    EXPECT_EQ(cut.PlayEvents()[0].NoteOnMsg, 0u);
    EXPECT_EQ(cut.PlayEvents()[0].CharPos, -1);
    ASSERT_EQ(cut.AccompEventCount(), 0);
    EXPECT_EQ(cut.AccompPlayEvents()[0].HitMsg, 0u);
    // Every drum record ends at or before the start: the track is empty.
    EXPECT_EQ(cut.DrumEventCount(0), 0);
    ASSERT_EQ(cut.DrumPlayEvents(0).size(), 1u);
    EXPECT_EQ(cut.DrumPlayEvents(0)[0].HitMsg, 0u);
}

} // namespace
} // namespace tunvale::notation
