#include "app/notation/code_event.h"
#include "components/sequor/core/jianpu_parser.h"
#include "tests/sequor/sequor_text.h"
#include "tests/support/test_folders.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tunvale::testing {
namespace {

using namespace sequor_text;
using sequor::ParseJianpu;
using sequor::ScoreEvent;

struct Expected {
    std::size_t index;
    int code;
    double length;
    double factor = 1.0;
};

void ExpectRecords(const QString& text, std::initializer_list<Expected> expected, const char* what)
{
    const auto events = ParseJianpu(text).ScoreEvents;
    ASSERT_EQ(events.size(), std::size_t(text.size())) << what;
    for (const Expected& e : expected) {
        ASSERT_LT(e.index, events.size()) << what;
        const ScoreEvent& r = events[e.index];
        EXPECT_EQ(r.Code, e.code) << what << " record " << e.index;
        EXPECT_NEAR(r.Length, e.length, 1e-9) << what << " record " << e.index;
        EXPECT_NEAR(r.VelocityFactor, e.factor, 1e-9) << what << " record " << e.index;
    }
}

// One field of every record of the parsed text.
template <class T> std::vector<T> Column(const QString& text, T ScoreEvent::*field)
{
    std::vector<T> values;
    for (const ScoreEvent& e : ParseJianpu(text).ScoreEvents)
        values.push_back(e.*field);
    return values;
}

std::vector<int> Codes(const QString& text) { return Column(text, &ScoreEvent::Code); }

void ExpectColumn(
    const QString& text, double ScoreEvent::*field, const std::vector<double>& expected, const char* what)
{
    const std::vector<double> values = Column(text, field);
    ASSERT_EQ(values.size(), expected.size()) << what;
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_NEAR(values[i], expected[i], 1e-9) << what << " record " << i;
}

void ExpectLengths(const QString& text, const std::vector<double>& expected, const char* what)
{
    ExpectColumn(text, &ScoreEvent::Length, expected, what);
}

void ExpectFactors(const QString& text, const std::vector<double>& expected, const char* what)
{
    ExpectColumn(text, &ScoreEvent::VelocityFactor, expected, what);
}

// ---------------------------------------------------------------------------------------------------

TEST(SequorParser, EmptyTextGivesNothing)
{
    const auto parsed = ParseJianpu(QString());
    EXPECT_TRUE(parsed.ScoreEvents.empty());
    EXPECT_TRUE(parsed.BarLengths.empty());
}

// The first and last code of every class, each alone and all together.
TEST(SequorParser, ClassifiesEveryCharacterClass)
{
    const struct {
        char16_t c;
        int code;
        double length;
        double factor;
    } cases[] = {
        { 0x4E00, 60, 4, 1 }, // block 0, middle 1, quarter
        { 0x572F, 107, 0.125, 1 }, // block 7, three up 7, 128th
        { 0x5730, 60, 2.66667, 1 }, // block 8: two-thirds
        { 0x5E13, 107, 0.08333, 1 }, { Note(5, 1, 0, 3), 31, 2, 1 }, // three down 5, eighth
        { Note(3, 2, 0, 5), 88, 1, 1 }, { 0x629E, 29, 4, 1 }, // rap beat
        { 0x62A9, 29, 0.125, 1 }, { 0x62CE, 1000, 4, 1 }, // rests
        { 0x62D9, 1000, 0.125, 1 }, { 0x62DA, 1000, 2.66667, 1 }, { 0x62FD, 1000, 0.08333, 1 },
        { u'$', 3000, 0, 0 }, // bar marks
        { u'a', 3000, 0, 0 }, { 0x6352, 3000, 0, 0 }, { 0x6387, 3000, 0, 0 },
        { 0x638E, 3000, 0, 0 }, // the join mark
        { 0x638F, 3000, 0, 0 }, // counted as a bar by the notation too
        { 0x62C2, 0, 0, 0 }, // a dot with nothing before
        { 0x6356, 0, 0, 0 }, // a dash with nothing before
        { 0x6389, 0, 0, 0 }, // run marks
        { 0x638D, 0, 0, 0 }, { u'F', 0, 0, 0 }, { u'x', 0, 0, 0 }, { 0x5F80, 2040, 0, 0 }, // tempo terms
        { 0x5F8D, 2208, 0, 0 }, { 0x5F8E, 2001, 0, 0 }, { 0x5F8F, 4000, 0, 0 }, // key changes
        { 0x5F9A, 4011, 0, 0 }, { 0x5F9B, 4012, 0, 0 }, { 0x62FE, 3100, 0, 0 }, // glides
        { 0x62FF, 3200, 0, 0 }, { 0x6300, 0, 0, 0 }, { 0x6335, 3100, 0, 0 }, { 0x6339, 0, 0, 0 },
        { 0x6226, 1000, 0, 0 }, // accidentals
        { 0x629D, 1000, 0, 0 }, { 0x5FEB, 0, 0, 0 }, // fermata
    };
    QString all;
    for (const auto& c : cases) {
        const QString text = Text({ c.c });
        all += text;
        const auto events = ParseJianpu(text).ScoreEvents;
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].Code, c.code) << std::hex << int(c.c);
        EXPECT_DOUBLE_EQ(events[0].Length, c.length) << std::hex << int(c.c);
        EXPECT_DOUBLE_EQ(events[0].VelocityFactor, c.factor) << std::hex << int(c.c);
        EXPECT_EQ(events[0].CharCode, int(c.c));
        EXPECT_EQ(events[0].GraceSize, 0);
    }
    const auto events = ParseJianpu(all).ScoreEvents;
    ASSERT_EQ(events.size(), std::size_t(all.size()));
    for (std::size_t k = 0; k < events.size(); ++k)
        EXPECT_EQ(events[k].CharCode, int(all[qsizetype(k)].unicode()));
}

TEST(SequorParser, DotsAndDashesLengthenTheLastTimedRecord)
{
    const struct {
        QString text;
        std::vector<double> lengths;
        const char* what;
    } cases[] = {
        { Text({ Bar, Note(1), Dot }), { 0, 6, 0 }, "quarter, dot" },
        { Text({ Bar, Note(1), Dash }), { 0, 8, 0 }, "quarter, dash" },
        { Text({ Bar, Note(1), Dash, Dot }), { 0, 12, 0, 0 }, "dash then dot" },
        { Text({ Bar, Note(1), Dot, Dash }), { 0, 10, 0, 0 }, "dot then dash" },
        { Text({ Bar, Note(1), Dash, Dash, Dash }), { 0, 16, 0, 0, 0 }, "three dashes" },
        { Text({ Bar, Note(1, 1), Dot }), { 0, 3, 0 }, "eighth, dot" },
        { Text({ Bar, Rest(), Dot }), { 0, 6, 0 }, "a rest counts" },
        { Text({ Note(1), Bar, Dot }), { 6, 0, 0 }, "over a bar mark" },
        { Text({ Dot, Dash, Note(1) }), { 0, 0, 4 }, "nothing before" },
        { Text({ Note(1), Dot }), { 6, 0 }, "a text that begins with a dotted note" },
        { Text({ Note(1), Dash }), { 8, 0 }, "a text that begins with a half note" },
    };
    for (const auto& c : cases)
        ExpectLengths(c.text, c.lengths, c.what);
}

TEST(SequorParser, DotsAndDashesEndAtTheLongestNoteAFileHolds)
{
    // From 37 dots on a quarter note outgrows a four-byte delta; 2,000 overflow a double.
    for (const int dots : { 36, 37, 44, 2000 }) {
        const QString text = Text({ Bar, Note(1) }) + QString(dots, QChar(Dot)) + Text({ Dash, Bar });
        const sequor::ParsedScore parsed = ParseJianpu(text);
        const double length = std::min(4 * std::pow(1.5, dots) + 4, notation::MaxNoteLength);
        EXPECT_DOUBLE_EQ(parsed.ScoreEvents[1].Length, length) << dots;
        EXPECT_EQ(parsed.BarLengths, std::vector<double> { std::floor(length) }) << dots;
    }
}

// Every row of the grace table, before a quarter (L >= 4) and before an eighth (L < 4).
TEST(SequorParser, GraceGroupsTakeTheirTimeFromTheMainNote)
{
    const struct {
        int size;
        int block; // of the grace notes
        bool mainAfter;
        double graceLong, mainLong; // main note a quarter
        double graceShort, mainShort; // main note an eighth
    } rows[] = {
        { 1, 0, true, 2, 2, 1, 1 },
        { 1, 1, true, 2, 2, 1, 1 },
        { 1, 2, true, 1, 3, 0.5, 1.5 },
        { 1, 3, true, 1, 3, 0.5, 1.5 },
        { 1, 4, false, 1, 3, 1, 1 },
        { 1, 5, false, 1, 3, 1, 1 },
        { 1, 6, false, 1, 3, 0.5, 1.5 },
        { 1, 7, false, 1, 3, 0.5, 1.5 },
        { 2, 4, true, 1, 2, 0.5, 1 },
        { 2, 5, true, 1, 2, 0.5, 1 },
        { 2, 6, true, 0.5, 3, 0.25, 1.5 },
        { 2, 7, true, 0.5, 3, 0.25, 1.5 },
        { 2, 8, false, 1, 2, 0.5, 1 },
        { 2, 9, false, 1, 2, 0.5, 1 },
        { 2, 10, false, 0.5, 3, 0.25, 1.5 },
        { 2, 11, false, 0.5, 3, 0.25, 1.5 },
        { 3, 4, true, 2.0 / 3, 2, 1.0 / 3, 1 },
        { 4, 6, true, 0.25, 3, 0.125, 1.5 },
        { 4, 10, false, 0.25, 3, 0.125, 1.5 },
    };
    for (const auto& row : rows) {
        for (const int mainDur : { 0, 1 }) {
            QString text;
            if (!row.mainAfter)
                text += QChar(Note(5, mainDur));
            text += QChar(GraceRun(row.size));
            for (int i = 0; i < row.size; ++i)
                text += QChar(Note(i + 1, 1, row.block));
            if (row.mainAfter)
                text += QChar(Note(5, mainDur));
            const auto events = ParseJianpu(text).ScoreEvents;
            const std::size_t mark = row.mainAfter ? 0 : 1;
            const std::size_t main = row.mainAfter ? events.size() - 1 : 0;
            const std::string what = "size " + std::to_string(row.size) + " block "
                + std::to_string(row.block) + (mainDur == 0 ? " quarter" : " eighth");
            EXPECT_EQ(events[mark].Length, 0) << what;
            EXPECT_EQ(events[main].GraceSize, 0) << what;
            EXPECT_NEAR(events[main].Length, mainDur == 0 ? row.mainLong : row.mainShort, 1e-12) << what;
            for (std::size_t i = mark + 1; i <= mark + std::size_t(row.size); ++i) {
                EXPECT_NEAR(events[i].Length, mainDur == 0 ? row.graceLong : row.graceShort, 1e-12) << what;
                EXPECT_EQ(events[i].GraceSize, row.size) << what;
                EXPECT_EQ(events[i].Code, 60 + 2 * int(i - mark - 1) - (i - mark > 3 ? 1 : 0)) << what;
            }
        }
    }
    // A single grace note before a half note: an eighth of it.
    ExpectLengths(Text({ GraceRun(1), Note(1), Note(5), Dash }), { 0, 2, 6, 0 }, "before a half note");
    // Groups that decide in no row, or lack their main note, keep every length.
    ExpectLengths(Text({ GraceRun(1), Rest(), Note(5) }), { 0, 4, 4 }, "rest as deciding character");
    ExpectLengths(Text({ GraceRun(2), Note(1, 1, 0), Note(2, 1, 0), Note(5) }), { 0, 2, 2, 4 }, "block 0");
    ExpectLengths(Text({ GraceRun(1), Note(1, 1, 8), Note(5) }), { 0, 1.33333, 4 }, "size 1, block 8");
    ExpectLengths(Text({ GraceRun(1), Note(1, 1, 4) }), { 0, 2 }, "no record before the mark");
    ExpectLengths(Text({ GraceRun(1), Note(1, 1, 0) }), { 0, 2 }, "no record after the group");
    ExpectLengths(Text({ GraceRun(3), Note(1, 1, 4), Note(2, 1, 4) }), { 0, 2, 2 }, "group cut off");
    // The symbol-font mark flags nothing.
    const auto events = ParseJianpu(Text({ SymbolRun, Note(1) })).ScoreEvents;
    EXPECT_EQ(events[1].GraceSize, 0);
    EXPECT_EQ(events[1].Length, 4);
}

TEST(SequorParser, TiesMergeIntoTheFirstNote)
{
    const struct {
        QString text;
        std::vector<double> lengths;
        const char* what;
    } cases[] = {
        { Text({ Note(1, 0, 1), Rest(), Bar, Note(1, 1, 3) }), { 6, 4, 0, 0 }, "across a rest and a bar" },
        { Text({ Note(1, 0, 1), Note(2, 0, 1), Note(1, 1, 3) }), { 4, 4, 2 }, "another pitch stops" },
        { Text({ Note(1, 0, 1), GraceRun(1), Note(1, 0, 12), Note(1, 1, 3) }), { 4, 0, 2.66667, 2 },
            "a grace note before is not merged" },
        { Text({ Note(1, 0, 6), Note(1, 0, 7), Note(1, 0, 6), Note(1, 0, 5) }), { 16, 0, 0, 0 },
            "a chain in blocks 6 and 7" },
        { Text({ Note(1, 0, 1), Note(1, 0, 3), Note(1, 1, 3) }), { 8, 0, 2 }, "an end is no start" },
        { Text({ Note(1, 0, 0), Note(1, 0, 3) }), { 4, 4 }, "block 0 starts no tie" },
        { Text({ Note(1, 0, 4), Note(1, 0, 5) }), { 8, 0 }, "a text that begins with a tie" },
        { Text({ Note(1, 0, 3) }), { 4 }, "nothing to tie to" },
        { Text({ Note(1, 0, 1), GraceRun(1), Note(1, 0, 3) }), { 4, 0, 4 }, "a grace note is no tie end" },
    };
    for (const auto& c : cases)
        ExpectLengths(c.text, c.lengths, c.what);
    const auto events = ParseJianpu(Text({ Note(1, 0, 1), Note(1, 1, 3) })).ScoreEvents;
    EXPECT_EQ(events[1].Code, 60);
    EXPECT_EQ(events[1].VelocityFactor, 1.0);
}

TEST(SequorParser, MeasuresBars)
{
    std::initializer_list<char16_t> tripletBar
        = { Bar, Note(1, 1, 8), Note(2, 1, 8), Note(3, 1, 8), Note(1, 1, 8), Note(2, 1, 8), Note(3, 1, 8),
              Note(1, 1, 8), Note(2, 1, 8), Note(3, 1, 8), Note(1, 1, 8), Note(2, 1, 8), Note(3, 1, 8), Bar };
    const struct {
        QString text;
        std::vector<double> bars;
        const char* what;
    } cases[] = {
        { Text({ Bar, Note(1), Note(2), Bar, Note(3), Bar }), { 8, 4 }, "two bars" },
        { Text({ Bar, Note(1), Note(2), Bar, Note(3, 0, 8), Bar }), { 8, 2 }, "truncated" },
        { Text(tripletBar), { 16 }, "a bar of eighth-note triplets" },
        { Text({ Note(1), Note(2), Bar, Note(3), Bar, Note(4) }), { 8, 4 }, "a lead-in is bar 0" },
        { Text({ Note(1), Note(2) }), {}, "no bar mark" },
        { Text({ Bar, Note(1), Note(2) }), {}, "one bar mark" },
        { Text({ Bar, Bar }), { 0 }, "an empty bar" },
        { Text({ Bar, Fermata, Note(1), Bar }), { 8 }, "a fermata counts its note twice" },
        { Text({ Bar, Fermata }), {}, "a fermata at the end" },
        { Text({ Bar, GraceRun(1), Note(1), Note(5), Dash, Bar }), { 8 }, "grace share" },
        { Text({ Note(1), 0x638F, Note(2), 0x638F }), { 4, 4 }, "U+638F is a bar mark" },
        { Text({ Note(1), 0x638E, Note(2), u'^', Note(3), Dot, u'$' }), { 4, 4, 6 },
            "join and segment marks" },
        { Text({ Bar, Note(1, 0, 1), Bar, Note(1, 0, 3), Bar }), { 4, 4 }, "summed before ties" },
    };
    for (const auto& c : cases) {
        const std::vector<double> bars = ParseJianpu(c.text).BarLengths;
        EXPECT_EQ(bars, c.bars) << c.what;
    }
}

TEST(SequorParser, LoudnessMarks)
{
    const struct {
        char16_t mark;
        double factor;
    } scales[] = { { u'*', 0.2 }, { u'+', 0.4 }, { u',', 0.6 }, { u'-', 0.8 }, { u'.', 0.9 }, { u'/', 1.1 },
        { u'0', 1.2 }, { u'1', 1.4 }, { u'2', 1.6 }, { u'3', 1.8 }, { u'9', 1.2 } };
    for (const auto& s : scales)
        ExpectFactors(Text({ SymbolRun, s.mark, Note(1) }), { 0, 0, s.factor }, "scale");

    const char16_t Note1 = Note(1);
    const struct {
        QString text;
        std::vector<double> factors;
        const char* what;
    } cases[] = {
        { Text({ u'3', u'3', Note1 }), { 0, 0, 1.8 }, "the first 3 acts on the second" },
        { Text({ u'6', Bar, Note1 }), { 0, 0, 127 }, "sfz over a bar mark" },
        { Text({ u'8', Note1, Note1 }), { 0, 127, 1 }, "sfp" },
        { Text({ u'6', u'/', Note1 }), { 0, 0, 127 }, "capped at 127" },
        { Text({ u'7', Bar, Note1, Note1 }), { 0, 0, 1.2, 1 }, "fp" },
        { Text({ u'4', Note1, Note1, Note1, Bar, Note1, Note1, Note1, Note1 }),
            { 0, 1, 1.05, 1.1, 0, 1.15, 1.2, 1.25, 1 }, "cresc. over six notes" },
        { Text({ u'5', Note1, Note1, Note1, Note1, Note1, Note1 }), { 0, 1, 0.95, 0.9, 0.85, 0.8, 0.75 },
            "dim." },
        { Text({ u'5', u'5', u'5', u'5', Note1, Note1, Note1, Note1, Note1, Note1 }),
            { 0, 0, 0, 0, 1, 0.8, 0.6, 0.4, 0.25, 0.25 }, "dim. stops at 0.25" },
        { Text({ u'4', u'*', Note1 }), { 0, 0, 0.2 }, "the scale acts after the cresc." },
        { Text({ u'*', Note1, u'4', Note1, Note1 }), { 0, 0.2, 0, 1, 1.05 }, "cresc. after a soft note" },
        { Text({ u'4', u'5', u'6', u'7', u'8', u'*' }), { 0, 0, 0, 0, 0, 0 }, "nothing to act on" },
    };
    for (const auto& c : cases)
        ExpectFactors(c.text, c.factors, c.what);
}

TEST(SequorParser, Ornaments)
{
    const char16_t main = Note(1); // 60
    const char16_t F = u'F';
    const struct {
        QString text;
        std::vector<int> codes;
        std::vector<double> lengths;
        const char* what;
    } cases[] = {
        { Text({ u'B', F, main, Dash }), { 60, 62, 60, 0 }, { 0.125, 0.125, 7.75, 0 }, "B long" },
        { Text({ u'B', F, Note(1, 1) }), { 60, 62, 60 }, { 0.25, 0.25, 1.5 }, "B short" },
        { Text({ u'C', F, main }), { 60, 58, 60 }, { 0.125, 0.125, 3.75 }, "C long" },
        { Text({ u'C', F, Note(1, 1) }), { 60, 58, 60 }, { 0.25, 0.25, 1.5 }, "C short" },
        { Text({ u'D', F, F, F, main, Dash }), { 60, 62, 60, 62, 60, 0 },
            { 0.125, 0.125, 0.125, 0.125, 7.5, 0 }, "D long" },
        { Text({ u'D', F, F, F, Note(1, 1) }), { 60, 62, 60, 62, 60 }, { 0.25, 0.25, 0.25, 0.25, 1 },
            "D short" },
        { Text({ u'E', F, F, F, main }), { 60, 58, 60, 58, 60 }, { 0.125, 0.125, 0.125, 0.125, 3.5 },
            "E long" },
        { Text({ u'E', F, F, F, Note(1, 1) }), { 60, 58, 60, 58, 60 }, { 0.25, 0.25, 0.25, 0.25, 1 },
            "E short" },
        { Text({ u'I', F, F, F, F, F, main, Dash }), { 60, 62, 60, 62, 60, 62, 60, 0 },
            { 1, 1, 1, 1, 1, 1, 2, 0 }, "I with five F, long" },
        { Text({ u'I', F, F, F, F, F, Note(1, 1) }), { 60, 62, 60, 62, 60, 62, 60 },
            { 0.25, 0.25, 0.25, 0.25, 0.25, 0.25, 0.5 }, "I with five F, short" },
        { Text({ u'I', F, F, main, Dash }), { 62, 60, 62, 60, 0 }, { 2, 2, 2, 2, 0 }, "I with two F, long" },
        { Text({ u'I', F, F, Note(1, 1) }), { 62, 60, 62, 60 }, { 0.5, 0.5, 0.5, 0.5 },
            "I with two F, short" },
        { Text({ u'I', F, F, F, main }), { 0, 0, 0, 0, 60 }, { 0, 0, 0, 0, 4 }, "I with three F" },
        { Text({ u'I', F, F, F, F, F, F, main }), { 0, 0, 0, 0, 0, 0, 0, 60 }, { 0, 0, 0, 0, 0, 0, 0, 4 },
            "I with six F" },
        { Text({ u'J', F, F, main, Dash }), { 62, 60, 58, 60, 0 }, { 2, 2, 2, 2, 0 }, "J long" },
        { Text({ u'J', F, F, Note(1, 1) }), { 62, 60, 58, 60 }, { 0.5, 0.5, 0.5, 0.5 }, "J short" },
        { Text({ u'K', F, F, main }), { 58, 60, 62, 60 }, { 1, 1, 1, 1 }, "K long" },
        { Text({ u'K', F, F, Note(1, 1) }), { 58, 60, 62, 60 }, { 0.5, 0.5, 0.5, 0.5 }, "K short" },
        { Text({ F, main }), { 0, 60 }, { 0, 4 }, "F alone" },
        { Text({ u'B', F }), { 0, 0 }, { 0, 0 }, "no main note" },
        { Text({ u'G', main }), { 60, 1000 }, { 2, 2 }, "G" },
        { Text({ u'H', main }), { 60, 1000 }, { 1, 3 }, "H" },
        { Text({ u'G' }), { 0 }, { 0 }, "G at the end" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Codes(c.text), c.codes) << c.what;
        ExpectLengths(c.text, c.lengths, c.what);
    }
    // Made records take the main note's factor; staccato plays at 1.0 whatever stood before.
    ExpectFactors(Text({ u'B', F, u'*', main }), { 0, 0, 0, 0.2 }, "B before a soft main note");
    ExpectFactors(Text({ u'*', u'B', F, main }), { 0, 1, 1, 1 }, "B after a scale");
    ExpectFactors(Text({ u'/', u'G', main }), { 0, 1, 1 }, "staccato");
    ExpectFactors(Text({ u'0', main, u'G', main }), { 0, 1.2, 1, 1 }, "staccato after loud");
}

TEST(SequorParser, TempoKeyFermataAndGlides)
{
    ExpectRecords(Text({ 0x5F83, Note(1), 0x5F8E, 0x5F95, Note(1), 0x5F9B }),
        { { 0, 2056, 0, 0 }, { 2, 2001, 0, 0 }, { 3, 4006, 0, 0 }, { 5, 4012, 0, 0 } }, "tempo and key");
    ExpectRecords(
        Text({ Fermata, Note(1, 1), Note(1) }), { { 0, 0, 0, 0 }, { 1, 60, 4 }, { 2, 60, 4 } }, "fermata");
    ExpectRecords(Text({ Note(1), 0x62FE, 0x6303, 0x6304, 0x6305 }),
        { { 1, 3100, 0, 0 }, { 2, 3100, 0, 0 }, { 3, 3200, 0, 0 }, { 4, 0, 0, 0 } }, "glides");
}

TEST(SequorParser, AccidentalsActOnTheirNoteForTheRestOfTheBar)
{
    const char16_t four = Note(4), five = Note(5);
    const struct {
        QString text;
        std::vector<int> codes;
        const char* what;
    } cases[] = {
        { Text({ Sharp, four, four, four, Bar, four }), { 1000, 66, 66, 66, 3000, 65 }, "to the bar line" },
        { Text({ Sharp, four, five, four, Bar, four }), { 1000, 66, 67, 66, 3000, 65 }, "only its pitch" },
        { Text({ Sharp, Natural, four }), { 1000, 1000, 65 }, "a natural ends it" },
        { Text({ Sharp, four, Natural, four }), { 1000, 66, 1000, 65 }, "a natural after" },
        { Text({ 0x622B, Note(4, 1) }), { 1000, 66 }, "the sharp of an eighth note" },
        { Text({ 0x6227, four }), { 1000, 64 }, "flat" },
        { Text({ 0x6228, four }), { 1000, 67 }, "double sharp" },
        { Text({ 0x6229, four }), { 1000, 63 }, "double flat" },
        { Text({ 0x6281, Note(4, 0, 12) }), { 1000, 64 }, "a flat of the last set" },
        { Text({ Sharp, SymbolRun, u'*', four }), { 1000, 0, 0, 66 }, "marks between" },
        { Text({ Sharp, Bar, four }), { 1000, 3000, 65 }, "no note in the bar" },
        { Text({ Sharp, Rest(), four }), { 1000, 1000, 66 }, "a rest between" },
        { Text({ Sharp }), { 1000 }, "at the end" },
        { Text({ 0x6227, Note(7, 0, 0, 1), four, Note(7, 0, 0, 1) }), { 1000, 58, 65, 58 }, "low 7 flat" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Codes(c.text), c.codes) << c.what;
}

// Cut texts never read outside the records: run under the sanitizers by scripts/test.sh.
TEST(SequorParser, EveryPrefixAndSuffixParses)
{
    const QString text
        = Text({ u'^', 0x6389, Note(1, 1, 1), Note(5, 0, 0), Dash, Dot, 0x638A, Note(1, 1, 4), Note(2, 1, 5),
              Note(3), 0x638D, u'4', u'B', u'F', Note(2, 0, 1), Bar, Note(2, 1, 3), 0x638B, Note(1, 1, 8),
              Note(2, 1, 9), Note(3, 1, 9), Note(5, 0, 4), 0x638C, Note(1, 2, 10), Note(2, 2, 10),
              Note(1, 2, 10), Note(2, 2, 10), u'I', u'F', u'F', u'F', u'F', u'F', Note(6), Fermata,
              Note(1, 0, 6), Note(1, 0, 7), Note(1, 0, 5), Sharp, Note(4), u'6', u'5', u'7', u'8', u'G', u'H',
              0x5F83, 0x5F9B, 0x62FE, 0x62FF, Rest(2), 0x62DA, 0x629E, u'D', u'F', u'F', u'F', u'J', u'F',
              u'F', 0x638F, u'E', u'C', u'K', u'I', u'F', u'F', 0x638E, u'$' })
        + Text({ 0x6389, 0x638A, 0x638B, 0x638C, u'G', u'*', Fermata, Sharp, 0x6229 });
    for (qsizetype n = 0; n <= text.size(); ++n) {
        for (const QString& piece : { text.left(n), text.right(n) }) {
            const auto parsed = ParseJianpu(piece);
            ASSERT_EQ(parsed.ScoreEvents.size(), std::size_t(piece.size()));
            for (const ScoreEvent& e : parsed.ScoreEvents) {
                EXPECT_TRUE(std::isfinite(e.Length) && e.Length >= 0);
                EXPECT_TRUE(e.VelocityFactor >= 0 && e.VelocityFactor <= 127);
            }
        }
    }
}

// The test tool prints the records of two texts exactly as written down by hand.
TEST(ScoretoolMidiParse, PrintsRecordsAndBars)
{
    for (const char* name : { "parse-marks", "parse-bars" }) {
        QProcess tool;
        tool.start(QStringLiteral(TUNVALE_BUILD_DIR "/bin/scoretool"),
            { QStringLiteral("midi-parse"),
                testDataPath(QStringLiteral("sequor/%1.txt").arg(QLatin1String(name))) });
        ASSERT_TRUE(tool.waitForFinished(30000));
        EXPECT_EQ(tool.exitCode(), 0);
        const QByteArray expected
            = readAll(testDataPath(QStringLiteral("sequor/%1.out").arg(QLatin1String(name))));
        EXPECT_EQ(tool.readAllStandardOutput().toStdString(), expected.toStdString()) << name;
    }
}

} // namespace
} // namespace tunvale::testing
