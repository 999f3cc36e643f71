#include "app/frame/midi_text.h"

#include "tests/frame/hand_snapshot.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tunvale;
using frame::PrepareMidiText;
using tunvale::testing::Paragraph;
using tunvale::testing::snapshotOf;

TEST(PrepareMidiText, MarkersCountersAndEnds)
{
    struct Case {
        const char* name;
        std::vector<Paragraph> score;
        const char16_t* JPWord;
    };
    const std::vector<Case> cases = {
        { "two pairs in the two-note grace font",
            { { { 'n', u"1" }, { '1', u"一二" }, { 'n', u"2" }, { '1', u"三四" } } }, u"1掊一二2掊三四" },
        { "a lone grace note shifts the pairing for the rest of the score",
            { { { '1', u"一" }, { 'n', u"1" } }, { { 'n', u"2" }, { '1', u"二三" }, { 'n', u"3" } } },
            u"掊一12二掊三3" },
        { "groups of three and four", { { { '2', u"一二三四五六" }, { '3', u"一二三四五" } } },
            u"掋一二三掋四五六掌一二三四掌五" },
        { "every single grace note is marked", { { { 'n', u"1" }, { '0', u"一二" } } }, u"1掉一掉二" },
        { "brackets in a grace font get no marker and do not count",
            { { { 'n', u"1" }, { '1', u"(一)(二" }, { 'n', u"2" }, { '1', u"三四)" } } },
            u"1(掊一)(二2掊三四)" },
        { "a symbol F is plain, other symbols keep the marker",
            { { { 'n', u"1" }, { 's', u"F9" }, { 'n', u"2" }, { 's', u"F" } } }, u"1F掍92F" },
        { "spacers and brackets go at the ends of the whole text only",
            { { { 'n', u"\u6351(1 2\u6351" } }, { { 'n', u"\u6351(3\u6351(" } } }, u"1 2\u6351\u6351(3" },
        { "blanks at the ends go, then spacers", { { { 'n', u"  \u6351 1 \u6351" } } }, u" 1 " },
        { "lyric and title lines are left out",
            { { { 't', u"歌名" } }, { { 'n', u"1 2" } }, { { 't', u"歌词" } }, { { 'n', u"3" } } }, u"1 23" },
        { "the key line is left out", { { { 'n', u"\u634F1=C" } }, { { 'n', u"5" } } }, u"5" },
        { "no notation", { { { 't', u"歌名" } } }, u"" },
    };
    for (const Case& c : cases) {
        const frame::MidiText text = PrepareMidiText(snapshotOf(c.score), 0, 0);
        EXPECT_EQ(text.JPWord, QString::fromUtf16(c.JPWord)) << c.name;
        EXPECT_EQ(text.JPWord2, QString()) << c.name;
    }
}

TEST(PrepareMidiText, Selection)
{
    const std::vector<Paragraph> score = {
        { { 't', u"歌名" } }, // 0..1, break 2..3
        { { 'n', u"(1" }, { '1', u"一二" }, { 'n', u"2" } }, // 4..8, break 9..10
        { { 't', u"歌词" } }, // 11..12, break 13..14
        { { 'n', u"3" }, { 's', u"F" }, { 'n', u"4(" } }, // 15..18
    };
    const platform::RichTextSnapshot snapshot = snapshotOf(score);
    ASSERT_EQ(snapshot.text.size(), 19);
    struct Case {
        const char* name;
        int start, end;
        const char16_t* JPWord2;
    };
    const std::vector<Case> cases = {
        { "no selection", 6, 6, u"" },
        { "only lyrics", 11, 13, u"" },
        { "from the title into the notation", 1, 7, u"1掊一" },
        { "a grace group cut after its marker", 7, 9, u"二2" },
        { "to the end of a notation line", 6, 9, u"掊一二2" },
        { "over a line end and a lyric line", 8, 16, u"23" },
        { "to the end of the text, the bracket dropped", 15, 19, u"3F4" },
        { "beyond the end", 17, 40, u"4" },
        { "the whole text", 0, 19, u"1掊一二23F4" },
    };
    for (const Case& c : cases) {
        const frame::MidiText text = PrepareMidiText(snapshot, c.start, c.end);
        EXPECT_EQ(text.JPWord2, QString::fromUtf16(c.JPWord2)) << c.name;
        EXPECT_EQ(text.JPWord, QStringLiteral("1掊一二23F4")) << c.name;
    }
}

TEST(PrepareMidiText, SelectionBeyondSixteenBits)
{
    const std::u16string lyrics(40000, u'歌');
    const platform::RichTextSnapshot snapshot
        = snapshotOf({ { { 't', lyrics.c_str() } }, { { 'n', u"1 2 3" } } });
    const int notes = 40002;
    const frame::MidiText text = PrepareMidiText(snapshot, notes + 2, notes + 5);
    EXPECT_EQ(text.JPWord2, QStringLiteral("2 3"));
    EXPECT_EQ(text.JPWord, QStringLiteral("1 2 3"));
}
