#include "tests/keyshift/keyshift_text.h"
#include "tests/support/scripted_prompts.h"

#include "components/keyshift/font_runs.h"
#include "components/keyshift/transposer.h"
#include "keyshift.h"

#include <gtest/gtest.h>

using namespace tunvale::keyshift;
using namespace tunvale::testing;

namespace {

const QString kRangeMessage = QStringLiteral("注意：有音符超出能表示的音域范围，本次转换被忽略。");

QString notes(std::initializer_list<QChar> chars) { return QString(chars.begin(), qsizetype(chars.size())); }

// The middle-row quarter notes.
const QChar n1 = Note(1), n2 = Note(2), n3 = Note(3), n4 = Note(4), n5 = Note(5), n6 = Note(6);
const QChar g1 = Note(2, 0, 1, 0); // a grace note

struct Case {
    const char* what;
    int step;
    std::vector<ScoreLine> input;
    std::vector<ScoreLine> expected;
};

} // namespace

// Each case reads back as the expected score: characters, fonts, sizes and raises.
TEST(Transposer, ReadsBackAsExpected)
{
    const QChar flat = tunvale::testing::Sign(g1, 1);
    const Case cases[] = {
        { "+2: a 3 then a 4 in one bar, the sharp on the 4 does not reach the 5", 2,
            { { N(notes({ n3, n4 })) } }, { { N(notes({ Sharp(n4), n4, n5 })) } } },
        { "+2: a sharp 4 then a 5", 2, { { N(notes({ Sharp(n4), n4, n5 })) } },
            { { N(notes({ Sharp(n5), n5, n6 })) } } },
        { "+1: a bar line writes the sign again", 1, { { N(notes({ n1, Bar, n1 })) } },
            { { N(notes({ Sharp(n1), n1, Bar, Sharp(n1), n1 })) } } },
        { "+1: a later sign ends the reach of the first, which is written again", 1,
            { { N(notes({ n1, n2, n1 })) } },
            { { N(notes({ Sharp(n1), n1, Sharp(n2), n2, Sharp(n1), n1 })) } } },
        { "-1: a natural where the sharp written before would reach the note", -1,
            { { N(notes({ n2, Sharp(n1), n1, n2 })) } },
            { { N(notes({ Sharp(n1), n1, Natural(n1), n1, Sharp(n1), n1 })) } } },
        { "the key line keeps its notes, the line after it in the same format is transposed", 2,
            { { N(notes({ KeyMark, QChar(0x6341), n1 })) }, { N(notes({ n1, n2 })) } },
            { { N(notes({ KeyMark, QChar(0x6341), n1 })) }, { N(notes({ n2, n3 })) } } },
        { "a sharp key name stays", -1,
            { { N(notes({ KeyMark, QChar(0x6226), QChar(0x6342) })) }, { N(notes({ n2 })) } },
            { { N(notes({ KeyMark, QChar(0x6226), QChar(0x6342) })) }, { N(notes({ Sharp(n1), n1 })) } } },
        { "a mordent before a note that needs a sharp: the sign before the mordent", 2,
            { { N(notes({ n1 })), S("BF"), N(notes({ n3 })) } },
            { { N(notes({ n2, Sharp(n4) })), S("BF"), N(notes({ n4 })) } } },
        { "a mordent in the note font", 2, { { N(notes({ n1, u'C', u'F', n3 })) } },
            { { N(notes({ n2, Sharp(n4), u'C', u'F', n4 })) } } },
        { "a dynamics mark, then a mordent: the sign between them", 2,
            { { N(notes({ n1 })), S("*BF"), N(notes({ n3 })) } },
            { { N(notes({ n2 })), S("*"), N(notes({ Sharp(n4) }), 40), S("BF"), N(notes({ n4 })) } } },
        { "a turn, which the player starts a step away: the sign right before the note", 2,
            { { N(notes({ n1 })), S("JFF"), N(notes({ n3 })) } },
            { { N(notes({ n2 })), S("JFF"), N(notes({ Sharp(n4), n4 })) } } },
        { "a letter that is no ornament of the note: the sign right before the note", 2,
            { { N(notes({ n4 })), S("B"), N(notes({ Bar, n3 })) } },
            { { N(notes({ n5 })), S("B"), N(notes({ Bar, Sharp(n4), n4 })) } } },
        { "a mordent at the end of a line decorates the first note of the next", 2,
            { { N(notes({ n4 })), S("BF") }, { T("lyric") }, { N(notes({ n3 })) } },
            { { N(notes({ n5, Sharp(n4) })), S("BF") }, { T("lyric") }, { N(notes({ n4 })) } } },
        { "a mordent at the end of the text", 2, { { N(notes({ n3 })), S("BF") } },
            { { N(notes({ Sharp(n4), n4 })), S("BF") } } },
        { "a raised, resized mordent", 2, { { N(notes({ n1 })), S("BF", 30, 6), N(notes({ n3 })) } },
            { { N(notes({ n2, Sharp(n4) })), S("BF", 30, 6), N(notes({ n4 })) } } },
        { "a grace group before a note that needs a sharp: the sign right before the note", 2,
            { { N(notes({ n1 })), Y(1, notes({ u'(', g1, u')' })), N(notes({ n3 })) } },
            { { N(notes({ n2 })), Y(1, notes({ u'(', g1, u')' })), N(notes({ Sharp(n4), n4 })) } } },
        { "a grace group without grace note keeps its (", 2,
            { { N(notes({ n1 })), Y(1, "("), N(notes({ n3 })) } },
            { { N(notes({ n2 })), Y(1, "("), N(notes({ Sharp(n4), n4 })) } } },
        { "two grace runs and a mordent in a row", 2,
            { { N(notes({ n1 })), Y(1, notes({ g1 })), Y(2, notes({ g1, g1 })), S("BF"), N(notes({ n3 })) } },
            { { N(notes({ n2 })), Y(1, notes({ g1 })), Y(2, notes({ g1, g1 })), N(notes({ Sharp(n4) }), 32),
                S("BF"), N(notes({ n4 })) } } },
        { "a grace note keeps its own sign, which reaches a later note of its pitch", 1,
            { { N(notes({ flat })), Y(1, notes({ g1 })), N(notes({ n2 })) } },
            { { N(notes({ flat })), Y(1, notes({ g1 })), N(notes({ Natural(n2), n2 })) } } },
        { "a sign before a dynamics mark alters no note and stays", 1,
            { { N(notes({ Sharp(n4) })), S("*"), N(notes({ n4 })) } },
            { { N(notes({ Sharp(n4) })), S("*"), N(notes({ Sharp(n4), n4 })) } } },
        { "a dropped accidental between", 1, { { N(notes({ n2 })), S("B"), N(notes({ Sharp(n2), n2 })) } },
            { { N(notes({ Sharp(n2), n2 })), S("B"), N(notes({ n3 })) } } },
        { "a bar line in a yy2 run", 2, { { N(notes({ n3 })), Y(3, "$"), N(notes({ n4 })) } },
            { { N(notes({ Sharp(n4), n4 })), Y(3, "$"), N(notes({ n5 })) } } },
        { "a bar line in a yy3 run", 2, { { N(notes({ n3 })), Y(4, "a"), N(notes({ n4 })) } },
            { { N(notes({ Sharp(n4), n4 })), Y(4, "a"), N(notes({ n5 })) } } },
        { "triplet block 9, duration 2", 2, { { N(notes({ Note(3, 0, 2, 9) })) } },
            { { N(notes({ QChar(0x626C), Note(4, 0, 2, 9) })) } } },
        { "DEL and the euro sign in a note run", 1, { { N(notes({ QChar(0x7F), n1, QChar(0x20AC), n2 })) } },
            { { N(notes({ QChar(0x7F), Sharp(n1), n1, QChar(0x20AC), Sharp(n2), n2 })) } } },
        { "lyrics keep their characters", 1, { { T("一丁七") }, { N(notes({ n3 })) } },
            { { T("一丁七") }, { N(notes({ n4 })) } } },
        { "a character above U+7FFF in a note run", 1, { { N(notes({ QChar(0x9F99), n1 })) } },
            { { N(notes({ QChar(0x9F99), Sharp(n1), n1 })) } } },
    };
    for (const Case& c : cases) {
        ScriptedPrompts prompts;
        const TransposeResult result = TransposeRtf(ScoreRtf(c.input), c.step, prompts);
        EXPECT_FALSE(result.outOfRange) << c.what;
        EXPECT_EQ(Glyphs(result.rtf), Glyphs(Score(c.expected))) << c.what;
        EXPECT_TRUE(prompts.shown.empty()) << c.what;
    }
}

// The melodies of the bug report, written as a musician expects and played the step away.
TEST(Transposer, PlaysTheMelodyTheStepAway)
{
    const QChar n7 = Note(7), up1 = Note(1, 4), down6 = Note(6, 1), down7 = Note(7, 1);
    const QChar flat7 = tunvale::testing::Sign(n7, 1);
    const QString scale = notes({ n1, n2, n3, n4, n5, n6, n7, Bar });
    struct Melody {
        const char* what;
        int step;
        QString input;
        QString expected;
        std::vector<int> pitches;
    };
    const Melody melodies[] = {
        { "scale +1", 1, scale,
            notes(
                { Sharp(n1), n1, Sharp(n2), n2, n4, Sharp(n4), n4, Sharp(n5), n5, Sharp(n6), n6, up1, Bar }),
            { 61, 63, 65, 66, 68, 70, 72 } },
        { "scale -1", -1, scale,
            notes({ down7, Sharp(n1), n1, Sharp(n2), n2, n3, Sharp(n4), n4, Sharp(n5), n5, Sharp(n6), n6,
                Bar }),
            { 59, 61, 63, 64, 66, 68, 70 } },
        { "scale +2", 2, scale, notes({ n2, n3, Sharp(n4), n4, n5, n6, n7, Sharp(up1), up1, Bar }),
            { 62, 64, 66, 67, 69, 71, 73 } },
        { "scale -2", -2, scale, notes({ Sharp(down6), down6, n1, n2, Sharp(n2), n2, n4, n5, n6, Bar }),
            { 58, 60, 62, 63, 65, 67, 69 } },
        { "sharp 4 +1", 1, notes({ Sharp(n4), n4, n5, n6, n5, Bar }),
            notes({ n5, Sharp(n5), n5, Sharp(n6), n6, Sharp(n5), n5, Bar }), { 67, 68, 70, 68 } },
        { "flat 7 +1", 1, notes({ flat7, n7, n6, n7, Bar }), notes({ n7, Sharp(n6), n6, n7, Bar }),
            { 71, 70, 71 } },
        { "flat 7 -1", -1, notes({ flat7, n7, n6, n7, Bar }), notes({ n6, Sharp(n5), n5, n6, Bar }),
            { 69, 68, 69 } },
        { "mordent in the note font -2", -2, notes({ u'B', u'F', n1, Bar }),
            notes({ Sharp(n1), u'B', u'F', down6, Bar }), { 58 } },
    };
    for (const Melody& m : melodies) {
        ScriptedPrompts prompts;
        const TransposeResult result = TransposeRtf(ScoreRtf({ { N(m.input) } }), m.step, prompts);
        EXPECT_EQ(Glyphs(result.rtf), Glyphs(Score({ { N(m.expected) } }))) << m.what;
        std::vector<int> pitches;
        for (const PlayedNote& note : PlayedNotes(Score({ { N(m.expected) } })))
            pitches.push_back(note.code);
        EXPECT_EQ(pitches, m.pitches) << m.what;
    }
}

// A score in eight fonts, the note font numbered 7 and the grace fonts above 2.
TEST(Transposer, FontsBeyondTheSeventh)
{
    const std::vector<ScoreLine> input = { { T("title") },
        { Piece { "Arial", "x" }, Y(1, "("), Y(2, "("), Y(3, "("), Y(4, "$"), S("B"),
            N(notes({ n1, n3 })) } };
    const QString rtf = ScoreRtf(input);
    const FontTable table = ReadFontTable(rtf);
    EXPECT_EQ(table.NoteFontTag, QStringLiteral("\\f7"));
    EXPECT_EQ(table.kindOf(7), FontKind::Note);
    EXPECT_EQ(table.kindOf(8), FontKind::Other);
    ScriptedPrompts prompts;
    const std::vector<ScoreLine> expected = { { T("title") },
        { Piece { "Arial", "x" }, Y(1, "("), Y(2, "("), Y(3, "("), Y(4, "$"), S("B"),
            N(notes({ n2, Sharp(n4), n4 })) } };
    EXPECT_EQ(Glyphs(TransposeRtf(rtf, 2, prompts).rtf), Glyphs(Score(expected)));
}

TEST(Transposer, FontTableAndRuns)
{
    struct Case {
        const char* entry;
        FontKind kind;
    };
    const Case kinds[] = { { "{\\f0\\fnil\\fcharset0 KORVA_Note_yy2;}", FontKind::Grace2 },
        { "{\\f0\\fnil korva_note_SYMBOL;}", FontKind::Symbol }, { "{\\f0 KORVA_Note_yy;}", FontKind::Grace },
        { "{\\f0 KORVA_Note_yy3;}", FontKind::Grace3 }, { "{\\f0 KORVA_Note;}", FontKind::Note },
        { "{\\f0 Arial;}", FontKind::Other } };
    for (const Case& c : kinds)
        EXPECT_EQ(ClassifyFontEntry(QString::fromLatin1(c.entry)), c.kind) << c.entry;

    const QString rtf = QStringLiteral("{\\rtf1{\\fonttbl{\\f0 KORVA_Note;}{\\f1 Arial;}{\\f2 KORVA_Note;}}"
                                       "\\f2\\fs64 a\\fs24 b\\fi-20\\f1 c\\\\f0 d\\f1e3 x\\f99999999999 y}");
    const FontTable table = ReadFontTable(rtf);
    EXPECT_EQ(table.NoteFontTag, QStringLiteral("\\f2"));
    QStringList runs;
    for (const FontRun& run : SplitFontRuns(rtf, table))
        runs << QStringLiteral("%1 %2").arg(run.Tag).arg(int(run.Kind)) + ":"
                + rtf.mid(run.Start, run.End - run.Start);
    EXPECT_EQ(runs,
        QStringList({ QStringLiteral("\\f0 6:") + rtf.left(rtf.indexOf(QLatin1String("\\f2\\fs"))),
            QStringLiteral("\\f2 0:\\f2\\fs64 a\\fs24 b\\fi-20"),
            QStringLiteral("\\f1 6:\\f1 c\\\\f0 d\\f1e3 x\\f99999999999 y}") }));
}

// Our writer's RTF with the six notation fonts, a title and lyrics: every run of text starts at a
// font switch the transposer finds, in the font the reader gives it.
TEST(Transposer, OurWritersDialectKeepsTheTextualContract)
{
    const std::vector<ScoreLine> lines = { { T("title") }, { N(notes({ KeyMark, QChar(0x6341) })) },
        { N(notes({ n1 })), S("B"), Y(1, notes({ g1 })), Y(2, notes({ g1 })), Y(3, notes({ g1 })),
            Y(4, notes({ g1 })), N(notes({ n2 })) },
        { T("lyric") } };
    const QString rtf = ScoreRtf(lines);
    const FontTable table = ReadFontTable(rtf);
    std::vector<FontKind> seen;
    for (const FontRun& run : SplitFontRuns(rtf, table)) {
        const QChar after = rtf.at(run.Start + run.Tag.size());
        if (run.Start > 0) {
            EXPECT_TRUE(after == u' ' || after == u'\\');
        }
        if (seen.empty() || seen.back() != run.Kind)
            seen.push_back(run.Kind);
    }
    const std::vector<FontKind> expected
        = { FontKind::Other, FontKind::Note, FontKind::Symbol, FontKind::Grace, FontKind::Grace1,
              FontKind::Grace2, FontKind::Grace3, FontKind::Note, FontKind::Other };
    EXPECT_EQ(seen, expected);
}

TEST(Transposer, TextWithoutNotesComesBackUnchanged)
{
    const QString rtf = ScoreRtf({ { T("title 一") }, { N(notes({ Bar, QChar(0x6353) })) }, { T("lyric") } });
    ScriptedPrompts prompts;
    for (int step : { 2, -2, 1, -1 })
        EXPECT_EQ(TransposeRtf(rtf, step, prompts).rtf, rtf) << step;
}

TEST(Transposer, EscapesInEitherCaseAreWrittenInLowerCase)
{
    QString rtf = ScoreRtf({ { N(notes({ n1 })) } });
    const qsizetype at = rtf.indexOf(QLatin1String("\\'d2\\'bb"));
    ASSERT_GE(at, 0);
    rtf.replace(at, 8, QStringLiteral("\\'D2\\'BB"));
    ScriptedPrompts prompts;
    const QString out = TransposeRtf(rtf, 1, prompts).rtf;
    EXPECT_EQ(Glyphs(out), Glyphs(Score({ { N(notes({ Sharp(n1), n1 })) } })));
    EXPECT_EQ(out.indexOf(QLatin1String("\\'D2")), -1);
}

TEST(ClsYD, InvalidStepGivesTheTextBackSilently)
{
    ScriptedPrompts prompts;
    const auto keyshifter = CreateClsYD(prompts);
    const QString rtf = ScoreRtf({ { N(notes({ n1 })) } });
    for (int step : { 0, 3, -3, 12 }) {
        keyshifter->setNUporDown(step);
        keyshifter->setTRtf(rtf);
        keyshifter->setReadNotEnought(false);
        EXPECT_EQ(keyshifter->GetNewRtf(), rtf) << step;
        EXPECT_FALSE(keyshifter->ReadNotEnought());
    }
    EXPECT_TRUE(prompts.shown.empty());
}

// Out of range: one message, "" and the flag; once the caller clears the flag the same object
// transposes a text that fits.
TEST(ClsYD, RangeWarningThenAFittingText)
{
    ScriptedPrompts prompts;
    const auto keyshifter = CreateClsYD(prompts);
    keyshifter->setNUporDown(1);
    keyshifter->setTRtf(ScoreRtf({ { N(notes({ Note(7, 6), Note(7, 6), n1 })) } }));
    keyshifter->setReadNotEnought(false);
    EXPECT_EQ(keyshifter->GetNewRtf(), QString());
    EXPECT_TRUE(keyshifter->ReadNotEnought());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, kRangeMessage);
    EXPECT_EQ(prompts.shown[0].title, QStringLiteral("Tunvale"));
    EXPECT_EQ(prompts.shown[0].icon, tunvale::platform::PromptIcon::Information);

    keyshifter->setTRtf(ScoreRtf({ { N(notes({ n1 })) } }));
    keyshifter->setReadNotEnought(false);
    EXPECT_EQ(Glyphs(keyshifter->GetNewRtf()), Glyphs(Score({ { N(notes({ Sharp(n1), n1 })) } })));
    EXPECT_FALSE(keyshifter->ReadNotEnought());
    EXPECT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(keyshifter->nUporDown(), 1);
}
