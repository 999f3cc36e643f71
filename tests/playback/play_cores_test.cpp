#include "app/playback/follower_core.h"
#include "app/playback/sender_core.h"

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::playback;
using notation::DrumPlayEvent;
using notation::PlayEvent;

namespace {

constexpr std::uint32_t noteOn(int note, int velocity = 98)
{
    return 0x90u | unsigned(note) << 8 | unsigned(velocity) << 16;
}

PlayEvent melody(double end, int note, int velocity = 98, int pos = 0, int bar = 0, int lineEnd = 0)
{
    PlayEvent e;
    e.EventTime = end;
    e.Note = note;
    e.Velocity = velocity;
    e.CharPos = pos;
    e.BarNo = bar;
    e.LineEnd = lineEnd;
    e.NoteOnMsg = noteOn(note, velocity);
    e.ThirdMsg = noteOn(note + 4, velocity);
    e.FifthMsg = noteOn(note + 7, velocity);
    return e;
}

DrumPlayEvent hit(double end, std::uint32_t tag, int bar = 0)
{
    return { end, bar, 0x0AB9u | tag << 16, 0x99u | tag << 8 };
}

SendCall off(int note) { return { SendCall::NoteOff, std::uint32_t(note), 0 }; }
SendCall on(std::uint32_t message) { return { SendCall::NoteOn01, message, 0 }; }
SendCall drum(const DrumPlayEvent& e) { return { SendCall::DrumNoteOn01, e.PanMsg, e.HitMsg }; }

// Melody 60 (to 0.5), 62 tied (to 1.0), 64 (to 1.5); accompaniment a0 (to 0.5), a1 (to 1.5); drum
// track 0 d0 (lead-in, to 0), d1 (to 1.0), d2 (to 1.5), track 3 e0 (to 0.75) e1 (to 1.5).
notation::Performance sample()
{
    notation::PerformanceData data;
    data.PlayEvents = { melody(0.5, 60, 98, 0, 0), melody(1.0, 62, 0, 2, 0, -1), melody(1.5, 64, 98, 5, 1) };
    data.AccompPlayEvents = { hit(0.5, 0xA0), hit(1.5, 0xA1) };
    data.Drums.DrumPlayEvents[0] = { hit(0, 0xD0), hit(1.0, 0xD1, 0), hit(1.5, 0xD2, 1) };
    data.Drums.DrumEventCounts[0] = 2;
    data.Drums.DrumPlayEvents[3] = { hit(0.75, 0xE0, 0), hit(1.5, 0xE1, 2) };
    data.Drums.DrumEventCounts[3] = 1;
    data.TotalPlayTime = 1.5;
    return notation::Performance(std::move(data));
}

std::vector<SendCall> leadIns(const notation::Performance& p)
{
    std::vector<SendCall> calls;
    for (int t = 0; t < notation::DrumTrackCount; ++t)
        calls.push_back(drum(p.DrumPlayEvents(t)[0]));
    return calls;
}

TEST(SenderCore, SendsEachStreamByTheDueRule)
{
    const notation::Performance p = sample();
    const auto& m = p.PlayEvents();
    const auto& a = p.AccompPlayEvents();
    const auto& d0 = p.DrumPlayEvents(0);
    const auto& d3 = p.DrumPlayEvents(3);
    struct Case {
        int mode;
        std::vector<SendCall> start;
        std::vector<std::pair<double, std::vector<SendCall>>> passes;
    };
    auto withLeadIns = [&](std::vector<SendCall> tail) {
        std::vector<SendCall> calls = leadIns(p);
        calls.insert(calls.end(), tail.begin(), tail.end());
        return calls;
    };
    const Case cases[] = {
        { 0, { off(60), on(m[0].NoteOnMsg), drum(a[0]) },
            { { 0.4, {} }, { 0.5, { on(m[1].NoteOnMsg), drum(a[1]) } }, { 0.9, {} },
                { 1.0, { off(62), on(m[2].NoteOnMsg) } }, { 2.0, {} } } },
        { 5,
            { off(60), off(64), off(67), on(m[0].NoteOnMsg), on(m[0].ThirdMsg), on(m[0].FifthMsg),
                drum(a[0]) },
            // The tied record sends its chord and switches nothing off.
            { { 0.5, { on(m[1].NoteOnMsg), on(m[1].ThirdMsg), on(m[1].FifthMsg), drum(a[1]) } },
                { 1.0,
                    { off(62), off(66), off(69), on(m[2].NoteOnMsg), on(m[2].ThirdMsg),
                        on(m[2].FifthMsg) } } } },
        { 1, withLeadIns({ off(60), on(m[0].NoteOnMsg), drum(a[0]) }),
            { { 0.0, { drum(d0[1]) } }, { 0.5, { on(m[1].NoteOnMsg), drum(a[1]) } },
                { 0.75, { drum(d3[1]) } }, { 1.0, { drum(d0[2]), off(62), on(m[2].NoteOnMsg) } },
                { 1.5, {} } } },
        { 8, leadIns(p), { { 0.0, { drum(d0[1]) } }, { 1.0, { drum(d0[2]), drum(d3[1]) } }, { 1.5, {} } } },
        { 9, leadIns(p), { { 5.0, { drum(d0[1]), drum(d3[1]) } }, { 5.0, { drum(d0[2]) } } } },
        { 11, {}, { { 5.0, {} } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        SenderCore core(p, c.mode);
        EXPECT_EQ(core.start(), c.start);
        for (const auto& [clock, calls] : c.passes)
            EXPECT_EQ(core.pass(clock), calls) << clock;
        EXPECT_FALSE(core.nextDue()) << "every stream is done";
    }
}

TEST(SenderCore, OneRecordPerStreamAndPass)
{
    const notation::Performance p = sample();
    SenderCore core(p, 0);
    core.start();
    EXPECT_EQ(core.nextDue(), 0.5);
    // The clock already passed both pending records: they go out on two passes.
    EXPECT_EQ(core.pass(1.2).size(), 2u);
    EXPECT_EQ(core.nextDue(), 1.0);
    EXPECT_EQ(core.pass(1.2).size(), 2u);
    EXPECT_FALSE(core.nextDue());
}

TEST(SenderCore, AMelodyOfOneRecordSendsItAtTheStartOnly)
{
    notation::PerformanceData data;
    data.PlayEvents = { melody(1.0, 67) };
    data.TotalPlayTime = 1;
    const notation::Performance p(std::move(data));
    SenderCore core(p, 4);
    EXPECT_EQ(core.start().size(), 3u);
    EXPECT_TRUE(core.pass(2).empty());
}

TEST(FollowerCore, HighlightsTheMelodyAndPassesItsBars)
{
    notation::PerformanceData data;
    // Record 0 ends a line but the first highlight never scrolls; the last record (drums outlasting
    // the melody) stands for no character.
    data.PlayEvents = { melody(0.5, 60, 98, 0, 0, -1), melody(1.0, 62, 98, 3, 1, -1),
        melody(1.5, 64, 98, 6, 1), melody(3.0, 0, 0, -1, 0) };
    data.TotalPlayTime = 3;
    const notation::Performance p(std::move(data));
    FollowerCore core(p, 3);
    EXPECT_EQ(core.start(), (std::vector<FollowUpdate> { { 0, 0, false, 0 } }));
    EXPECT_TRUE(core.pass(0.4).empty());
    EXPECT_EQ(core.pass(0.5), (std::vector<FollowUpdate> { { 1, 0, true, 1 } }));
    EXPECT_EQ(core.pass(1.0), (std::vector<FollowUpdate> { { 2, 1, false, 1 } }));
    EXPECT_EQ(core.nextDue(), 1.5);
    EXPECT_TRUE(core.pass(1.5).empty()) << "the closing record is not highlighted";
    EXPECT_FALSE(core.nextDue());
}

TEST(FollowerCore, DrumsOnlyPassesTheBarOfTheLastTrackMoved)
{
    const notation::Performance p = sample();
    FollowerCore core(p, 8);
    // Tracks 0 to 7 pass their lead-in bars in turn; track 7's (an empty lead-in, bar 0) wins.
    EXPECT_EQ(core.start(), (std::vector<FollowUpdate> { { -1, 0, false, 0 } }));
    EXPECT_EQ(core.pass(0.0), (std::vector<FollowUpdate> { { -1, 0, false, 0 } }));
    EXPECT_EQ(core.pass(1.0), (std::vector<FollowUpdate> { { -1, 0, false, 2 } })) << "track 3 after track 0";
    for (int mode : { 9, 10, -1 }) {
        FollowerCore none(p, mode);
        EXPECT_TRUE(none.start().empty());
        EXPECT_TRUE(none.pass(9).empty());
    }
}

} // namespace
