#include "components/keyshift/note_mapping.h"
#include "components/keyshift/rtf_tokens.h"

#include "app/notation/notation_chars.h"

#include <gtest/gtest.h>

#include <array>

using namespace tunvale::keyshift;
using tunvale::notation::NoteGlyph;

namespace {

constexpr std::array<int, 7> kSemitones = { 0, 2, 4, 5, 7, 9, 11 };
constexpr std::array<int, 7> kOctaveOfRow = { 0, -1, -2, -3, 1, 2, 3 };

int pitch(const NoteGlyph& note, int inEffect)
{
    return kOctaveOfRow[size_t(note.OctaveRow)] * 12 + kSemitones[size_t(note.Degree - 1)] + inEffect;
}

} // namespace

// Every step, recorded accidental, degree, running state, row, block and duration: the new note
// sounds the old pitch plus the step, keeps its block and duration, and only the cells of the
// flat 1 shifted down two and the moves beyond the outer rows warn.
TEST(NoteMapping, EveryCellSoundsTheShiftOrWarnsWhereNoRowIsLeft)
{
    int results = 0;
    int warnings = 0;
    for (int shift : { 2, -2, 1, -1 }) {
        for (int recorded : { 0, 1, -1, 2, -2 }) {
            for (int degree = 1; degree <= 7; ++degree) {
                for (int running : { 0, 1 }) {
                    const NoteMove cell = MappingCell(shift, recorded, degree, running);
                    for (int row = 0; row < 7; ++row) {
                        for (int block = 0; block < 14; ++block) {
                            for (int dur = 0; dur < 6; ++dur) {
                                const NoteGlyph source { block, row, dur, degree };
                                const auto shifted = MapShiftedNote(source.code(), shift, recorded, running);
                                const bool flatOneDown = shift == -2 && recorded == -1 && degree == 1;
                                const bool beyond
                                    = (cell.octave > 0 && row == 6) || (cell.octave < 0 && row == 3);
                                SCOPED_TRACE(testing::Message()
                                    << "shift " << shift << " r " << recorded << " degree " << degree << " a "
                                    << running << " row " << row << " block " << block << " dur " << dur);
                                ASSERT_EQ(!shifted, flatOneDown || beyond);
                                if (!shifted) {
                                    ++warnings;
                                    continue;
                                }
                                const std::optional<NoteGlyph> result = NoteGlyph::decode(shifted->code);
                                ASSERT_TRUE(result);
                                EXPECT_EQ(result->NoteBlock, block);
                                EXPECT_EQ(result->DurIndex, dur);
                                const int written = shifted->sign == Sign::Sharp ? 1
                                    : shifted->sign == Sign::Natural             ? 0
                                                                                 : running;
                                EXPECT_EQ(pitch(*result, written), pitch(source, recorded) + shift);
                                ++results;
                            }
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(results, 0);
    EXPECT_GT(warnings, 0);
}

TEST(NoteMapping, OctaveStepsAndTheirEnds)
{
    struct Case {
        int row;
        int up;
        int down;
    };
    const Case cases[] = { { 0, 161, 49 }, { 1, -49, 49 }, { 2, -49, 49 }, { 3, -49, 0 }, { 4, 35, -161 },
        { 5, 35, -35 }, { 6, 0, -35 } };
    for (const Case& c : cases) {
        for (int block : { 0, 5, 13 }) {
            const int code = NoteGlyph { block, c.row, 3, 4 }.code();
            EXPECT_EQ(ShiftOctave(code, true), c.up) << c.row << " " << block;
            EXPECT_EQ(ShiftOctave(code, false), c.down) << c.row << " " << block;
        }
    }
}

TEST(NoteMapping, NotesAtTheEdgesOfTheRange)
{
    struct Case {
        const char* what;
        NoteGlyph source;
        int shift;
        int recorded;
        int running;
        std::optional<NoteGlyph> result;
        Sign sign;
    };
    const Case cases[] = {
        { "7 in the top row, +2", { 0, 6, 0, 7 }, 2, 0, 0, std::nullopt, Sign::None },
        { "7 in the top row, +1", { 0, 6, 0, 7 }, 1, 0, 0, std::nullopt, Sign::None },
        { "7 in the top row, +1, sharp in effect", { 0, 6, 0, 7 }, 1, 0, 1, NoteGlyph { 0, 6, 0, 7 },
            Sign::None },
        { "1 in the bottom row, -1", { 0, 3, 0, 1 }, -1, 0, 0, std::nullopt, Sign::None },
        { "1 in the bottom row, -2", { 0, 3, 0, 1 }, -2, 0, 0, std::nullopt, Sign::None },
        { "1 an octave up, -2", { 0, 4, 0, 1 }, -2, 0, 0, NoteGlyph { 0, 0, 0, 6 }, Sign::Sharp },
        { "flat 3, -2", { 0, 0, 0, 3 }, -2, -1, 0, NoteGlyph { 0, 0, 0, 1 }, Sign::Sharp },
        { "flat 1, -2, middle row", { 0, 0, 0, 1 }, -2, -1, 0, std::nullopt, Sign::None },
        { "slur piece keeps its block", { 5, 0, 2, 3 }, 2, 0, 0, NoteGlyph { 5, 0, 2, 4 }, Sign::Sharp },
    };
    for (const Case& c : cases) {
        const auto shifted = MapShiftedNote(c.source.code(), c.shift, c.recorded, c.running);
        ASSERT_EQ(bool(shifted), bool(c.result)) << c.what;
        if (shifted) {
            EXPECT_EQ(shifted->code, c.result->code()) << c.what;
            EXPECT_EQ(shifted->sign, c.sign) << c.what;
        }
    }
}

TEST(RtfEscapes, DecodeAndWriteCodePage936)
{
    EXPECT_EQ(EscapeToCode(u"\\'d2\\'bb"), 0x4E00);
    EXPECT_EQ(EscapeToCode(u"\\'D2\\'BB"), 0x4E00);
    EXPECT_EQ(EscapeToCode(u"\\'d2\\'b"), 0xFFFD);
    EXPECT_EQ(CodeToEscape(0x4E00), QStringLiteral("\\'d2\\'bb"));
    for (int code = NoteGlyph::First; code <= 0x629D; code += 37)
        EXPECT_EQ(EscapeToCode(CodeToEscape(code)), code) << code;

    QString s = QStringLiteral("abc");
    InsertText(s, 3, QStringLiteral("x"));
    EXPECT_EQ(s, QStringLiteral("abcx"));
    InsertText(s, 0, QStringLiteral("y"));
    EXPECT_EQ(s, QStringLiteral("yabcx"));
}

TEST(RtfEscapes, TokensOfDamagedAndForeignText)
{
    struct Case {
        const char16_t* text;
        TokenType type;
        qsizetype length;
        int code;
    };
    const Case cases[] = {
        { u"\\'d2\\'bbx", TokenType::CharEscape, 8, 0x4E00 },
        { u"\\'7f\\'d2", TokenType::ByteEscape, 4, 0x7F }, // DEL, not a lead byte
        { u"\\'80\\'d2\\'bb", TokenType::ByteEscape, 4, 0x80 }, // the euro sign
        { u"\\'1f\\'d2", TokenType::ByteEscape, 4, 0x1F },
        { u"\\'d2x", TokenType::ByteEscape, 4, 0xD2 }, // a lone lead byte
        { u"\\'d2\\'z1", TokenType::ByteEscape, 4, 0xD2 },
        { u"\\'zz", TokenType::Char, 1, u'\\' }, // not hex: text as it stands
        { u"\\'d", TokenType::Char, 1, u'\\' }, // cut off by the end
        { u"\\", TokenType::Char, 1, u'\\' },
        { u"\\par\r\n", TokenType::Par, 4, 0 },
        { u"\\pard\\li10", TokenType::Control, 5, 0 },
        { u"\\fs64 x", TokenType::Control, 6, 0 },
        { u"\\up-6 x", TokenType::Control, 6, 0 },
        { u"\\tab x", TokenType::TextWord, 5, 0 },
        { u"\\\\f2 ", TokenType::TextWord, 2, u'\\' },
        { u"{", TokenType::Control, 1, 0 },
        { u"\r", TokenType::Control, 1, 0 },
        { u"a", TokenType::Char, 1, u'a' },
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        const RtfToken token = ReadToken(text, 0, text.size());
        EXPECT_EQ(token.type, c.type) << text.toStdString();
        EXPECT_EQ(token.length, c.length) << text.toStdString();
        if (c.type == TokenType::Char || c.type == TokenType::ByteEscape || c.type == TokenType::CharEscape) {
            EXPECT_EQ(token.code, c.code) << text.toStdString();
        }
    }
}
