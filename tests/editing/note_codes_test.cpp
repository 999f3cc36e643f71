#include "app/editor/editing/notation_keys.h"
#include "app/editor/editing/note_codes.h"
#include "app/notation/notation_chars.h"

#include <gtest/gtest.h>

#include <cmath>

#include <limits>

using namespace tunvale::editor;
using namespace tunvale::notation;

namespace {

const QString kNote = QStringLiteral("KORVA_Note");
const QString kGrace = QStringLiteral("KORVA_Note_yy");

GlyphDescriptor descriptor(const char* digits)
{
    return { digits[0] - '0', digits[1] - '0', digits[2] - '0', digits[3] - '0' };
}

} // namespace

TEST(NoteCodes, UnmirroringAnArcFormGivesWhatUnmirroringThePlainFormGives)
{
    for (int c = 0; c <= 0xFFFF; ++c)
        ASSERT_EQ(MapFontChar(MirrorNoteCode(c), kNote), MapFontChar(c, kNote)) << std::hex << c;
}

TEST(NoteCodes, OctaveAndDurationChangeExactlyTheirFieldOfEveryNote)
{
    for (int c = NoteGlyph::First; c <= NoteGlyph::Last; ++c) {
        const NoteGlyph before = *NoteGlyph::decode(c);
        for (int octave = 1; octave <= 7; ++octave) {
            NoteGlyph expected = before;
            expected.OctaveRow = octave - 1;
            ASSERT_EQ(WithOctave(c, octave), expected.code()) << std::hex << c << " octave " << octave;
        }
        for (int duration = 1; duration <= 6; ++duration) {
            NoteGlyph expected = before;
            expected.DurIndex = duration - 1;
            ASSERT_EQ(WithDuration(c, duration), expected.code())
                << std::hex << c << " duration " << duration;
        }
    }
}

TEST(NoteCodes, DurationOfTheOtherTimedSigns)
{
    struct Case {
        int code;
        int duration;
        int expected;
    };
    const Case cases[] = {
        { 0x6226, 3, 0x6226 + 10 }, // sharp, quarter to sixteenth
        { 0x6226 + 30 + 4 + 25, 1, 0x6226 + 30 + 4 }, // natural under an arc, 128th to quarter
        { 0x62FE + 2, 2, 0x62FE + 2 + 5 }, // glide
        { 0x629E + 6, 6, 0x629E + 11 }, // unpitched beat under an arc
        { 0x62C2 + 1, 1, 0x62C2 }, // dot
        { 0x62DA + 18 + 6 + 2, 4, 0x62DA + 18 + 6 + 3 }, // triplet rest keeps its place
        { 0x6352, 2, 0x6352 }, // bar line
        { u'a', 2, u'a' },
        { 0x6226 + 10, std::numeric_limits<int>::min(), 0x6226 }, // the nearest duration, a quarter
        { 0x6226, std::numeric_limits<int>::max(), 0x6226 + 25 }, // a 128th
    };
    for (const Case& c : cases)
        EXPECT_EQ(WithDuration(c.code, c.duration), c.expected) << std::hex << c.code;
    EXPECT_EQ(WithOctave(0x62CE, 5), 0x62CE);
}

TEST(NoteCodes, ArcFormsAndBack)
{
    struct Case {
        int code;
        int mirrored;
    };
    const Case cases[] = {
        { 0x4E00, 0x4E00 + 588 }, // block 0 to 2
        { 0x4E00 + 294, 0x4E00 + 294 + 882 }, // block 1 to 4
        { 0x4E00 + 588, 0x4E00 + 588 }, // block 2 stays
        { 0x4E00 + 3 * 294, 0x4E00 + 5 * 294 }, // block 3 to 5
        { 0x4E00 + 6 * 294, 0x4E00 + 7 * 294 }, // block 6 to 7
        { 0x5730, 0x5730 + 882 }, // block 8 to 11
        { 0x5AA2, 0x5AA2 }, // block 11 stays
        { 0x6226, 0x6226 + 30 }, // accidental group 0 to 1
        { 0x6226 + 60, 0x6226 + 90 }, // group 2 to 3
        { 0x629E, 0x629E + 6 },
        { 0x62AA, 0x62AA + 8 },
        { 0x62BA, 0x62BA }, // time signatures of the key line stay
        { 0x62C2, 0x62C2 + 6 }, // dot
        { 0x62CE, 0x62CE + 6 }, // rest
        { 0x62DA, 0x62DA + 18 },
        { 0x62FE, 0x62FE + 30 },
        { 0x6351, 0x6354 },
        { 0x6353, 0x6356 },
        { 0x6355, 0x6355 },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MirrorNoteCode(c.code), c.mirrored) << std::hex << c.code;
    }
    EXPECT_EQ(MapFontChar(0x4E00 + 7 * 294 + 5, kNote), 0x4E00 + 5);
    EXPECT_EQ(MapFontChar(0x62BA + 8, kNote), 0x62BA + 8); // group 2 of the time signatures stays
    // Grace fonts: odd blocks to the even one before, the bracket and bar forms back.
    EXPECT_EQ(MapFontChar(0x4E00 + 294 + 3, kGrace), 0x4E00 + 3);
    EXPECT_EQ(MapFontChar(0x4E00 + 2 * 294, kGrace), 0x4E00 + 2 * 294);
    for (char16_t c : { u'%', u'^', u'_', u'`', u'a' })
        EXPECT_EQ(MapFontChar(c, kGrace), u'$');
    EXPECT_EQ(MapFontChar(u')', kGrace), u'(');
    // Lyrics are never rewritten.
    EXPECT_EQ(MapFontChar(0x4E00 + 294, QStringLiteral("宋体")), 0x4E00 + 294);
}

TEST(NoteCodes, SideCharactersOfTheGraceFontsOnly)
{
    const QString song = QStringLiteral("宋体");
    EXPECT_EQ(SideChar(0x4E00, kGrace, SideCharKind::Arc), 0x4E00 + 294);
    EXPECT_EQ(SideChar(0x4E00 + 294, kGrace, SideCharKind::Arc), 0x4E00 + 294);
    EXPECT_EQ(SideChar(u'(', kGrace, SideCharKind::Arc), u')');
    EXPECT_EQ(SideChar(u'$', kGrace, SideCharKind::Arc), u'%');
    EXPECT_EQ(SideChar(0x4E00 + 14, kGrace, SideCharKind::Duration, 1), 0x4E00);
    EXPECT_EQ(SideChar(0x4E00 + 14, kGrace, SideCharKind::Duration, -1), 0x4E00 + 14);
    EXPECT_EQ(SideChar(0x4E00 + 14, kGrace, SideCharKind::Keep, 1), 0x4E00 + 14);
    // A lyric "一" or "(" keeps its character whatever the command.
    EXPECT_EQ(SideChar(0x4E00, song, SideCharKind::Arc), 0x4E00);
    EXPECT_EQ(SideChar(u'(', song, SideCharKind::Arc), u'(');
    EXPECT_EQ(SideChar(0x4E00 + 14, song, SideCharKind::Duration, 1), 0x4E00 + 14);
}

TEST(NoteCodes, TripletPlaces)
{
    struct Case {
        int code;
        int place;
        int expected;
        bool advances;
    };
    const Case cases[] = {
        { 0x4E00, 0, 0x4E00 + 8 * 294, true },
        { 0x4E00 + 5, 2, 0x4E00 + 10 * 294 + 5, true },
        { 0x504C, 1, 0x504C + 10 * 294, true }, // an arc note to the arc triplet blocks
        { 0x6226, 1, 0x6226 + 60, false },
        { 0x62CE, 1, 0x62DA + 6, true },
        { 0x62D4, 2, 0x62EC + 12, true },
    };
    for (const Case& c : cases) {
        const auto change = TripletCode(c.code, c.place);
        ASSERT_TRUE(change) << std::hex << c.code;
        EXPECT_EQ(change->code, c.expected) << std::hex << c.code;
        EXPECT_EQ(change->advances, c.advances);
    }
    EXPECT_FALSE(TripletCode(0x4E00 + 294, 0)); // other blocks stay
    EXPECT_FALSE(TripletCode(0x6352, 0));
}

TEST(NoteCodes, SlurEnds)
{
    const int block2 = 0x4E00 + 2 * 294;
    const int block4 = 0x4E00 + 4 * 294;
    const int block5 = 0x4E00 + 5 * 294;
    const int block7 = 0x4E00 + 7 * 294;
    struct Case {
        bool first;
        int code;
        int digit;
        int mode;
        int expected;
    };
    const Case cases[] = {
        { true, block2, 0, 0, block2 - 294 },
        { true, block2, 0, 2, block2 },
        { true, block4, 0, 1, block4 - 882 },
        { true, block4, 0, 2, block4 - 588 },
        { true, block2, 1, 0, block2 + 588 },
        { true, block5, 1, 1, block5 + 294 },
        { true, block5, 1, 2, block5 },
        { false, block2, 0, 0, block2 + 294 },
        { false, block2, 0, 1, block2 },
        { false, block5, 0, 2, block5 - 588 },
        { false, block2, 1, 0, block2 + 882 },
        { false, block4, 1, 0, block4 + 588 },
        { false, block7, 1, 2, block7 - 294 },
        { false, block7, 0, 0, block7 },
    };
    for (const Case& c : cases) {
        const int got = c.first ? SlurFirst(c.code, c.digit, c.mode) : SlurLast(c.code, c.digit, c.mode);
        EXPECT_EQ(got, c.expected) << (c.first ? "first " : "last ") << std::hex << c.code << " mode "
                                   << c.mode;
    }
}

TEST(NoteCodes, RepeatCountSigns)
{
    EXPECT_EQ(RepeatCountSign(2), QChar(char16_t(0x6358)));
    EXPECT_EQ(RepeatCountSign(3), QChar(char16_t(0x6381)));
    EXPECT_EQ(RepeatCountSign(9), QChar(char16_t(0x6387)));
    for (double n : { -1.0, 0.0, 1.0, 10.0, 1.999, 2.5, 9.001, 1e10, -1e10, 2147483648.0, -2147483648.0,
             4294967298.0, std::nan(""), HUGE_VAL, -HUGE_VAL })
        EXPECT_FALSE(RepeatCountSign(n)) << n;
}

TEST(NotationKeys, TheKeyTable)
{
    struct Case {
        int key;
        int shift;
        const char* before;
        int inserted; // 0: nothing
        bool swallowed;
    };
    const Case cases[] = {
        { 49, 0, "0100", 0x504C, true }, // "1" after a note whose arc goes on
        { 49, 0, "3000", 0x4E00, true },
        { 55, 0, "0000", 0x4E06, true },
        { 48, 0, "0100", 25294 + 6, true },
        { 32, 0, "0000", 25425, true },
        { 191, 0, "0100", 25428, true },
        { 187, 0, "0000", 25426, true },
        { 189, 0, "0000", 25427, true },
        { 190, 0, "1000", 0x62C3, true }, // "." after an eighth note
        { 56, 0, "1000", 0x6306, true }, // "8" after an eighth note
        { 57, 0, "2100", 25346 + 10 + 30, true },
        { 56, 1, "1100", 25246 + 1 + 6, true }, // Shift+8
        { 80, 1, "0000", 0, true }, // Shift+P inserts nothing
        { 65, 0, "0000", 0, true }, // a letter is swallowed
        { 49, 2, "0000", 0, false }, // Ctrl+1 goes on
        { 67, 4, "0000", 0, false },
        { 8, 0, "0000", 0, false },
        { 46, 0, "0000", 0, false },
        { 229, 0, "0000", 0, true },
    };
    for (const Case& c : cases) {
        const NotationKey k = NotationKeyAction(c.key, c.shift, descriptor(c.before), false);
        EXPECT_EQ(k.insert ? int(k.insert->unicode()) : 0, c.inserted) << c.key << " " << c.before;
        EXPECT_EQ(k.swallow, c.swallowed) << c.key;
        EXPECT_EQ(k.inputMethod, c.key == 229) << c.key;
    }
}

TEST(NotationKeys, KeypadKeysInsertWhatTheirTwinsDo)
{
    struct Twin {
        int keypad;
        int main;
    };
    const Twin twins[] = { { 96, 48 }, { 97, 49 }, { 98, 50 }, { 99, 51 }, { 100, 52 }, { 101, 53 },
        { 102, 54 }, { 103, 55 }, { 104, 56 }, { 105, 57 }, { 107, 187 }, { 109, 189 }, { 110, 190 } };
    for (const char* before : { "0000", "1000", "2100", "5101" }) {
        for (const Twin& t : twins) {
            const NotationKey a = NotationKeyAction(t.keypad, 0, descriptor(before), false);
            const NotationKey b = NotationKeyAction(t.main, 0, descriptor(before), false);
            ASSERT_TRUE(a.insert) << t.keypad;
            EXPECT_EQ(*a.insert, *b.insert) << t.keypad << " " << before;
        }
        // Keypad "*" is Shift+8 in the main font.
        EXPECT_EQ(*NotationKeyAction(106, 0, descriptor(before), false).insert,
            *NotationKeyAction(56, 1, descriptor(before), false).insert);
    }
    const NotationKey bracket = NotationKeyAction(111, 0, descriptor("0000"), false);
    EXPECT_EQ(*bracket.insert, QChar(u'('));
    EXPECT_EQ(*bracket.font, kGrace);
    EXPECT_EQ(*NotationKeyAction(111, 0, descriptor("0100"), false).insert, QChar(u')'));
}

TEST(NotationKeys, FontOverASelection)
{
    const GlyphDescriptor none;
    EXPECT_EQ(NotationKeyAction(190, 0, none, false).font, kNote); // no selection: always the main font
    EXPECT_FALSE(NotationKeyAction(190, 0, none, true).font); // a dot keeps the selection's font
    EXPECT_FALSE(NotationKeyAction(65, 0, none, true).font);
    EXPECT_EQ(NotationKeyAction(52, 0, none, true).font, kNote);
    EXPECT_EQ(NotationKeyAction(105, 0, none, true).font, kNote);
    EXPECT_EQ(NotationKeyAction(111, 0, none, true).font, kGrace);
}
