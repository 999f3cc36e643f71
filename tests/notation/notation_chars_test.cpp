#include "app/notation/notation_chars.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace tunvale::notation;

namespace {

struct DecodeCase {
    int code;
    bool mainFont;
    const char* expected;
};

// Hand-worked from the code layout: first and last code of every row, the edges inside rows and the
// codes no row holds.
const DecodeCase DecodeCases[] = {
    // Notes in the main font.
    { 0x4E00, true, "0000" },
    { 0x4F26, true, "0100" }, // block 1: an arc begins
    { 0x504C, true, "0101" }, // block 2: inside an arc
    { 0x5172, true, "0001" }, // block 3: an arc ends
    { 0x5730, true, "0010" }, // first triplet note
    { 0x597B, true, "5010" }, // last code of the plain triplet range
    { 0x597C, true, "0000" }, // last triplet note: no TripletOn
    { 0x5AA2, true, "0111" },
    { 0x5CED, true, "5111" },
    { 0x5CEE, true, "0101" }, // last triplet note under an arc
    { 0x5E13, true, "5101" },
    { 0x5E14, true, "0000" },
    // Accidentals and glides: DurIndex within groups of 30.
    { 0x6226, true, "0000" },
    { 0x6244, true, "0101" },
    { 0x629D, true, "5101" },
    { 0x62FE, true, "0000" },
    { 0x6339, true, "5101" },
    // Unpitched beats.
    { 0x629E, true, "0000" },
    { 0x62A9, true, "5101" },
    // Time signatures: only the middle group of eight is under an arc.
    { 0x62AA, true, "0000" },
    { 0x62B2, true, "0101" },
    { 0x62C1, true, "0000" },
    // Dots and plain rests.
    { 0x62C2, true, "0000" },
    { 0x62CD, true, "5101" },
    { 0x62CE, true, "0000" },
    { 0x62D9, true, "5101" },
    // Triplet rests: arcs by groups of 18, TripletOn on first and middle members.
    { 0x62DA, true, "0010" },
    { 0x62E5, true, "5010" },
    { 0x62E6, true, "0000" },
    { 0x62EB, true, "5000" },
    { 0x62EC, true, "0111" },
    { 0x62F7, true, "5111" },
    { 0x62F8, true, "0101" },
    { 0x62FD, true, "5101" },
    // Key names and the header markers.
    { 0x633A, true, "0000" },
    { 0x634F, true, "0000" },
    { 0x6350, true, "0000" },
    // Spacer, bar line, dash.
    { 0x6351, true, "0000" },
    { 0x6353, true, "0000" },
    { 0x6354, true, "0101" },
    { 0x6356, true, "0101" },
    // Bar characters with an arc to the right, and their neighbours.
    { 0x6362, true, "0000" },
    { 0x6363, true, "0100" },
    { 0x6370, true, "0100" },
    { 0x6371, true, "0000" },
    // Outside every row.
    { '%', true, "0000" },
    { 'A', true, "0000" },
    { 0, true, "0000" },
    { -1, true, "0000" },
    { 0x10000, true, "0000" },

    // Grace and other fonts.
    { '$', false, "0000" },
    { '(', false, "0000" },
    { '%', false, "0101" },
    { ')', false, "0101" },
    { '^', false, "0100" },
    { '_', false, "0100" },
    { '`', false, "0100" },
    { 'a', false, "0100" },
    { 0x4E00, false, "0000" },
    { 0x4F26, false, "0101" },
    { 0x5730, false, "0000" }, // block 8 in a grace font: no triplet flag
    { 0x5BC7, false, "5101" },
    { 0x5BC8, false, "0000" }, // grace fonts have no blocks 12 and 13
    { 0x5E13, false, "0000" },
    { 0x6354, false, "0000" },
    { 'B', false, "0000" },
};

} // namespace

TEST(NotationChars, DecodeNoteGlyphFollowsTheRowsOfBothFonts)
{
    for (const auto& c : DecodeCases) {
        SCOPED_TRACE(QString::number(c.code, 16).toStdString() + (c.mainFont ? " main" : " other"));
        EXPECT_EQ(DecodeNoteGlyph(c.code, c.mainFont).text(), QString::fromLatin1(c.expected));
    }
}

TEST(NotationChars, EveryNoteCodeUnpacksIntoRangeAndPacksBack)
{
    int count = 0;
    for (int code = NoteGlyph::First - 1; code <= NoteGlyph::Last + 1; ++code) {
        const auto note = NoteGlyph::decode(code);
        if (code < NoteGlyph::First || code > NoteGlyph::Last) {
            EXPECT_FALSE(note.has_value());
            continue;
        }
        ASSERT_TRUE(note.has_value());
        ++count;
        EXPECT_TRUE(note->NoteBlock >= 0 && note->NoteBlock <= 13);
        EXPECT_TRUE(note->OctaveRow >= 0 && note->OctaveRow <= 6);
        EXPECT_TRUE(note->DurIndex >= 0 && note->DurIndex <= 5);
        EXPECT_TRUE(note->Degree >= 1 && note->Degree <= 7);
        EXPECT_EQ(note->code(), code);
        EXPECT_EQ(NoteGlyph::containsGrace(code), note->NoteBlock <= 11);
    }
    EXPECT_EQ(count, 4116);
}

TEST(NotationChars, NoteFieldsAndBlockMeanings)
{
    // Second octave up, sixteenth, degree 5 in the "arc ends" block.
    const NoteGlyph n { 3, 5, 2, 5 };
    EXPECT_EQ(n.code(), 0x4E00 + 3 * 294 + 5 * 42 + 2 * 7 + 4);

    std::vector<int> tieEnds, triplets;
    for (int block = 0; block <= 13; ++block) {
        const NoteGlyph g { block, 0, 0, 1 };
        if (g.isTieEnd())
            tieEnds.push_back(block);
        if (g.isTriplet())
            triplets.push_back(block);
    }
    EXPECT_EQ(tieEnds, (std::vector<int> { 3, 5, 6, 7 }));
    EXPECT_EQ(triplets, (std::vector<int> { 8, 9, 10, 11, 12, 13 }));

    const auto grace = NoteGlyph::decode(0x5AA2); // block 11
    EXPECT_EQ(grace->graceKind(), 5);
    EXPECT_TRUE(grace->graceUnderArc());
    EXPECT_EQ(NoteGlyph::decode(0x5298)->graceKind(), 2); // block 4
    EXPECT_FALSE(NoteGlyph::decode(0x5298)->graceUnderArc());
}

TEST(NotationChars, CharacterClassFields)
{
    EXPECT_EQ(TempoGlyph::bpm(0x5F80), 40);
    EXPECT_EQ(TempoGlyph::bpm(0x5F8D), 208);
    EXPECT_EQ(TempoGlyph::bpm(0x5F8E), 0);
    EXPECT_TRUE(TempoGlyph::contains(0x5F8E));
    EXPECT_FALSE(TempoGlyph::contains(0x5F8F));

    EXPECT_EQ(KeyShiftGlyph::semitones(0x5F8F), 0);
    EXPECT_EQ(KeyShiftGlyph::semitones(0x5F9A), 11);
    EXPECT_EQ(KeyShiftGlyph::semitones(0x5F9B), -1);
    EXPECT_TRUE(KeyShiftGlyph::contains(0x5F9B));

    const auto acc = AccidentalGlyph::decode(0x6262 + 3 * 5 + 4); // group 2, DurIndex 3, natural
    ASSERT_TRUE(acc.has_value());
    EXPECT_EQ(acc->group, 2);
    EXPECT_EQ(acc->DurIndex, 3);
    EXPECT_EQ(acc->kind, AccidentalGlyph::Natural);
    EXPECT_FALSE(acc->underArc);
    EXPECT_TRUE(AccidentalGlyph::decode(0x6280)->underArc);
    EXPECT_FALSE(AccidentalGlyph::decode(0x629E).has_value());

    EXPECT_EQ(RapGlyph::decode(0x62A3)->DurIndex, 5);
    EXPECT_FALSE(RapGlyph::decode(0x62A3)->underArc);
    EXPECT_TRUE(RapGlyph::decode(0x62A4)->underArc);

    EXPECT_EQ(TimeSigGlyph::decode(0x62AA + 7)->text(), QStringLiteral("12/8"));
    EXPECT_EQ(TimeSigGlyph::decode(0x62AA + 16 + 5)->text(), QStringLiteral("6/8"));
    EXPECT_EQ(TimeSigGlyph::decode(0x62AA + 16)->group, 2);

    EXPECT_TRUE(DotGlyph::decode(0x62C8)->underArc);
    EXPECT_EQ(DotGlyph::decode(0x62C8)->DurIndex, 0);

    const auto plainRest = RestGlyph::decode(0x62D5);
    EXPECT_FALSE(plainRest->triplet);
    EXPECT_TRUE(plainRest->underArc);
    EXPECT_EQ(plainRest->DurIndex, 1);
    const auto tripletRest = RestGlyph::decode(0x62DA + 18 + 12 + 2); // under an arc, last member
    EXPECT_TRUE(tripletRest->triplet);
    EXPECT_TRUE(tripletRest->underArc);
    EXPECT_EQ(tripletRest->position, 2);
    EXPECT_EQ(tripletRest->DurIndex, 2);

    const auto glide = GlideGlyph::decode(0x62FE + 30 + 4 * 5 + 3);
    EXPECT_EQ(glide->DurIndex, 4);
    EXPECT_EQ(glide->form, 3);
    EXPECT_TRUE(glide->underArc);

    EXPECT_EQ(VoiceGlyph::voice(0x6376), 3);
    EXPECT_EQ(VoiceGlyph::voice(0x6377), 0);
    EXPECT_EQ(FontRunMark::forGraceClass(4), 0x638C);

    EXPECT_TRUE(DynamicMark::contains('*') && DynamicMark::contains('8'));
    EXPECT_FALSE(DynamicMark::contains('9'));
    for (char c : QByteArray("BCDEGHIJK"))
        EXPECT_TRUE(OrnamentLetter::contains(c)) << c;
    EXPECT_FALSE(OrnamentLetter::contains('F'));
    EXPECT_FALSE(OrnamentLetter::contains('A'));
    EXPECT_FALSE(OrnamentLetter::contains('L'));
    EXPECT_TRUE(OrnamentExtender::contains('F'));
}

TEST(NotationChars, BarLinesAndSegmentMarks)
{
    EXPECT_EQ(BarLineChars.size(), 46u);
    EXPECT_EQ(SegMarkChars.size(), 38u);
    EXPECT_EQ(std::set<char16_t>(BarLineChars.begin(), BarLineChars.end()).size(), 46u);

    // The segment marks are the bar lines in the same order, less exactly eight.
    std::vector<char16_t> notMarks;
    size_t next = 0;
    for (char16_t c : BarLineChars) {
        if (next < SegMarkChars.size() && SegMarkChars[next] == c)
            ++next;
        else
            notMarks.push_back(c);
    }
    EXPECT_EQ(next, SegMarkChars.size());
    EXPECT_EQ(
        notMarks, (std::vector<char16_t> { u'$', u'%', 0x6352, 0x6355, 0x635C, 0x635D, 0x635E, 0x6362 }));
    for (char16_t c : notMarks) {
        EXPECT_TRUE(IsBarLine(c));
        EXPECT_FALSE(IsSegMark(c));
        EXPECT_EQ(SegMarkCode(c), 0);
    }

    const std::pair<int, int> codes[]
        = { { '^', 13 }, { 'a', 16 }, { 0x6357, 1 }, { 0x635B, 5 }, { 0x635F, 9 }, { 0x6371, 27 },
              { 0x6373, 29 }, { 0x637F, 41 }, { 0x6387, 49 }, { 0x638F, 57 }, { 'b', 0 }, { 0x6372, 0 } };
    for (const auto& [c, expected] : codes)
        EXPECT_EQ(SegMarkCode(c), expected) << std::hex << c;

    std::multiset<int> all;
    for (char16_t c : SegMarkChars)
        all.insert(SegMarkCode(c));
    std::multiset<int> expected { 13, 14, 15, 16, 29, 57 };
    for (int v = 1; v <= 27; ++v)
        if (v != 6 && v != 7 && v != 8 && v != 12)
            expected.insert(v);
    for (int v = 41; v <= 49; ++v)
        expected.insert(v);
    EXPECT_EQ(all, expected);
}

TEST(NotationChars, FontClassOfEachFamily)
{
    const int note = 0x4E00;
    const struct {
        QString family;
        int noteClass;
    } cases[] = {
        { QStringLiteral("KORVA_Note"), 0 },
        { QStringLiteral("KORVA_Note_Symbol"), 0 },
        { QStringLiteral("KORVA_Note_yy"), 1 },
        { QStringLiteral("KORVA_Note_yy1"), 2 },
        { QStringLiteral("KORVA_Note_yy2"), 3 },
        { QStringLiteral("KORVA_Note_yy3"), 4 },
        { QStringLiteral("宋体"), 0 },
        { QStringLiteral("DejaVu Sans"), 0 },
        { QStringLiteral("korva_note_yy"), 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.family.toStdString());
        EXPECT_EQ(FontClass(c.family, note), c.noteClass);
        EXPECT_EQ(FontClass(c.family, '('), 0);
        EXPECT_EQ(FontClass(c.family, ')'), 0);
        EXPECT_EQ(FontClass(c.family, '%'), 0);
        EXPECT_EQ(FontClass(c.family, 0x638F), 0);
    }
}
