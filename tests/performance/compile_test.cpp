#include "app/notation/breakpoint_cut.h"
#include "app/notation/drum_accessor.h"
#include "app/notation/notation_chars.h"
#include "app/notation/performance_compiler.h"

#include "tests/compiler/notation_text.h"
#include "tests/support/drum_bars.h"
#include "tests/support/test_folders.h"

#include <gtest/gtest.h>

namespace tunvale::notation {
namespace {

using testing::NotationScore;

struct Compiled {
    PerformanceCompiler compiler;
    Performance performance;
};

class CompileToPerformance : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testing::writeAll(folder.file(QStringLiteral("banzhou.ini")),
            "[唱名]\n0cm=do\n2cm=re\n4cm=mi\n5cm=fa\n6cm=#fa\n7cm=sol\n9cm=la\n11cm=si\n"
            "[伴奏类型]\nType10=49\nType11=38\nType12=36\nType13=42\nType14=42\n"));
    }

    Performance compile(const platform::RichTextSnapshot& score, int mode = 0, int caret = 0)
    {
        CompileInput input(score);
        input.PlayMode = mode;
        input.PlaySelStart = caret;
        input.ScoreKey = scoreKey;
        input.MarkKey = markKey;
        input.Speed = speed;
        input.PZType = pzType;
        input.SameSpeed = sameSpeed;
        input.drums = &stores;
        input.seed = 1;
        compiler.Get_CodeEvents(input);
        return compiler.performance();
    }

    testing::ScopedUserFolder folder;
    DrumStores stores;
    PerformanceCompiler compiler;
    int scoreKey = 31;
    std::optional<int> markKey;
    int speed = 120;
    int pzType = 0;
    bool sameSpeed = false;
};

std::vector<double> playTimes(const Performance& p)
{
    std::vector<double> t;
    for (const PlayEvent& e : p.PlayEvents())
        t.push_back(e.EventTime);
    return t;
}

std::vector<double> drumTimes(const Performance& p, int track)
{
    std::vector<double> t;
    for (int k = 0; k <= p.DrumEventCount(track); ++k)
        t.push_back(p.DrumPlayEvents(track)[size_t(k)].EventTime);
    return t;
}

TEST_F(CompileToPerformance, MidPieceTempoTermMovesTheDrumsUnderSameSpeed)
{
    // Bar 1 turns Adagio (56 BPM): its quarters last 60/56 s. The drums (2/4 bars at their own tempo
    // 200, hits on steps 0 and 4) follow the melody's tempo from the first hit that starts after it.
    tunvale::testing::SetDrumBar(stores, DrumAccessor::XjDrums, 0, 1, 200, { 0, 4 });
    tunvale::testing::SetDrumBar(stores, DrumAccessor::XjDrums, 1, 1, 200, { 0, 4 });
    sameSpeed = true;
    const Performance p = compile(NotationScore().notation(QStringLiteral("1 2 | U+5F83 3 4 |")).build(), 1);

    EXPECT_EQ(playTimes(p), (std::vector<double> { 0.5, 1, 2.071, 3.143 }));
    ASSERT_EQ(p.TempoMarks().size(), 3u);
    EXPECT_EQ(p.TempoMarks()[1].TempoBpm, 56);
    EXPECT_EQ(p.TempoMarks()[1].TempoStart, 1);
    EXPECT_EQ(p.TempoMarks()[2].TempoBpm, 120);
    EXPECT_EQ(p.TempoMarks()[2].TempoStart, 3.143);
    EXPECT_EQ(drumTimes(p, 0), (std::vector<double> { 0, 0.5, 1, 2.071, 3.143 }));
    EXPECT_EQ(p.TotalPlayTime(), 3.143);
    EXPECT_EQ(p.PlayEventCount(), 3) << "the drums end with the melody: no closing record";
    EXPECT_EQ(p.DrumPlayBars(), (std::vector<int> { 0, 1 }));
    EXPECT_EQ(p.CMingText(), QStringLiteral("sol la si do"));
    for (const DrumPlayEvent& hit : p.AccompPlayEvents())
        EXPECT_EQ(hit.HitMsg >> 16, 0u) << "mode 1 keeps the accompaniment silent";
}

TEST_F(CompileToPerformance, DrumsLongerThanTheMelodyAddOneClosingRecord)
{
    tunvale::testing::SetDrumBar(stores, DrumAccessor::XjDrums, 0, 3, 120, { 0 });
    pzType = 3;
    const Performance p = compile(NotationScore().notation(QStringLiteral("1 |")).build(), 2);
    EXPECT_EQ(p.TotalPlayTime(), 2);
    ASSERT_EQ(p.PlayEventCount(), 1);
    const PlayEvent& closing = p.PlayEvents()[1];
    EXPECT_EQ(closing.EventTime, 2);
    EXPECT_EQ(closing.CharPos, -1);
    EXPECT_EQ(closing.NoteOnMsg, 0x190u);
    EXPECT_EQ(closing.Velocity, 0);
    ASSERT_EQ(p.AccompEventCount(), 1);
    EXPECT_EQ(p.AccompPlayEvents()[1].EventTime, 2);
    EXPECT_EQ(p.AccompPlayEvents()[1].HitMsg >> 16, 0u);
    EXPECT_EQ(p.AccompPlayEvents()[0].HitMsg & 0xFFFF, 0x2499u) << "a 0.5 s note: class 2, key 36";
}

TEST_F(CompileToPerformance, NotesMessagesAndSyllables)
{
    struct Case {
        const char* name;
        int key;
        QString tokens;
        std::vector<std::uint32_t> messages;
        const char* syllables;
    };
    const Case cases[] = {
        { "a tie and a rest", 31, QStringLiteral("1 1~ 0"), { 0x00623C90, 0x190, 0x00027890 }, "sol" },
        { "a high note in a high key plays silent", 54, QStringLiteral("U+4F02 1"), { 0x190, 0x00625390 },
            "#fa" },
        { "a note below 0 in key 0 is silent", 0, QStringLiteral("U+4E7E 1"), { 0x190, 0x00621D90 }, "do" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        scoreKey = c.key;
        const Performance p = compile(NotationScore().notation(c.tokens).build());
        std::vector<std::uint32_t> messages;
        for (const PlayEvent& e : p.PlayEvents())
            messages.push_back(e.NoteOnMsg);
        EXPECT_EQ(messages, c.messages);
        EXPECT_EQ(p.CMingText(), QString::fromUtf8(c.syllables));
        EXPECT_EQ(compiler.GetCMingStr(), p.CMingText());
    }
}

TEST_F(CompileToPerformance, SolfegeCompileSingsTheDegreesAndFollowsKeyChanges)
{
    scoreKey = 0;
    markKey = 38;
    EXPECT_EQ(compile(NotationScore().notation(QStringLiteral("1 2 3 4 | 5 6 7")).build()).CMingText(),
        QStringLiteral("do re mi fa sol la si"));
    // After the change to D a G score's 1 sounds as D, the fifth of G.
    EXPECT_EQ(compile(NotationScore().notation(QStringLiteral("1 U+5F91 1 | U+5F9B 1")).build()).CMingText(),
        QStringLiteral("do sol do"));
}

TEST_F(CompileToPerformance, DamagedTempoIsKeptInTheTempoControlsRange)
{
    const auto score = NotationScore().notation(QStringLiteral("1")).build();
    struct Case {
        int stored;
        int used;
        double quarter;
    };
    for (const Case& c : { Case { 0, 10, 6.0 }, Case { -40, 10, 6.0 }, Case { 1000, 300, 0.2 } }) {
        speed = c.stored;
        const Performance p = compile(score);
        EXPECT_EQ(p.TotalPlayTime(), c.quarter) << c.stored;
        EXPECT_EQ(p.TempoMarks().back().TempoBpm, c.used) << c.stored;
    }
}

TEST_F(CompileToPerformance, StartPositionAndCut)
{
    const auto score = NotationScore().notation(QStringLiteral("1 2 3 4")).build();
    const Performance p = compile(score, 2, 2);
    EXPECT_EQ(p.StartPlayTime(), 1);
    EXPECT_EQ(p.PlayStartIndex(), 1);
    EXPECT_EQ(p.AccompStartIndex(), 1);
    const Performance cut = CutAtBreakpoint(p);
    EXPECT_EQ(playTimes(cut), (std::vector<double> { 0.5, 1, 1 }));
    EXPECT_EQ(cut.PlayEvents()[0].Note, 64);
    EXPECT_EQ(cut.TotalPlayTime(), 1);
    EXPECT_EQ(p.PlayEventCount(), 3) << "the compiled value is left as it was";

    const Performance atStart = compile(score, 2, 0);
    EXPECT_EQ(atStart.StartPlayTime(), 0);
    EXPECT_EQ(atStart.PlayStartIndex(), 0);
    EXPECT_EQ(atStart.AccompStartIndex(), 0);
}

TEST_F(CompileToPerformance, DrumOnlyBuildUsesTheLastTempoMapAndZeroedBarsOutsideTheStore)
{
    tunvale::testing::SetDrumBar(stores, DrumAccessor::XjDrums, 0, 1, 120, { 0, 4 });
    tunvale::testing::SetDrumBar(stores, DrumAccessor::XjDrums, 1, 1, 120, { 0, 4 });
    // No compile yet: the score's tempo.
    auto alone = compiler.Get_DrumCodeEvents(8, { 0, 1, 7, 0 }, 0, stores, true, 60);
    ASSERT_TRUE(alone);
    EXPECT_EQ(alone->tracks.DrumEventCounts[0], 4) << "bar 7 is outside the store and stops the drumming";
    EXPECT_EQ(alone->TotalPlayTime, 4);
    EXPECT_FALSE(compiler.Get_DrumCodeEvents(0, { 0 }, 0, stores, true, 60));

    compile(NotationScore().notation(QStringLiteral("U+5F8C 1 |")).build()); // Presto, 184 BPM
    auto following = compiler.Get_DrumCodeEvents(8, { 0 }, 0, stores, true, 60);
    ASSERT_TRUE(following);
    EXPECT_EQ(following->TotalPlayTime, 0.652); // 8 steps of 60/184/4 s
    EXPECT_EQ(stores.XjDrums.size(), 2u);
}

TEST_F(CompileToPerformance, PlayOrderKeyWithBarLineFlags)
{
    struct Case {
        QString tokens;
        const char* key;
        bool left;
        bool right;
    };
    const Case cases[] = {
        { QStringLiteral("1 2 |"), "00", false, true },
        { QStringLiteral("( | 1 ^ 2"), "0d0", true, false },
        { QStringLiteral("^ 1 ^"), "dd", false, false },
    };
    for (const Case& c : cases) {
        bool left = false;
        bool right = false;
        const QString key = compiler.Get_PlayMod1(NotationScore().notation(c.tokens).build(), left, right);
        EXPECT_EQ(key, QString::fromLatin1(c.key)) << c.tokens.toStdString();
        EXPECT_EQ(left, c.left) << c.tokens.toStdString();
        EXPECT_EQ(right, c.right) << c.tokens.toStdString();
    }
}

} // namespace
} // namespace tunvale::notation
