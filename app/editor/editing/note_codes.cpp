#include "app/editor/editing/note_codes.h"

#include "app/notation/notation_chars.h"

#include <algorithm>
#include <cmath>

namespace tunvale::editor {

using namespace notation;

namespace {

constexpr int kBlock = 294;

bool in(int code, int first, int last) { return code >= first && code <= last; }

int noteBlock(int code) { return (code - NoteGlyph::First) / kBlock; }

// `code` with one of its fields, now `field`, set to `value`; one step of the field is `step` codes.
int withField(int code, int field, int value, int step) { return code + step * (value - field); }

bool isGraceFont(const QString& font)
{
    return std::find(GraceFontFamilies.begin(), GraceFontFamilies.end(), font) != GraceFontFamilies.end();
}

} // namespace

int WithOctave(int code, int octave)
{
    const auto note = NoteGlyph::decode(code);
    return note ? withField(code, note->OctaveRow, octave - 1, 42) : code;
}

int WithDuration(int code, int duration)
{
    const int d = std::clamp(duration, 1, 6) - 1;
    if (const auto note = NoteGlyph::decode(code))
        return withField(code, note->DurIndex, d, 7);
    if (AccidentalGlyph::contains(code))
        return withField(code, (code - AccidentalGlyph::First) % 30 / 5, d, 5);
    if (GlideGlyph::contains(code))
        return withField(code, (code - GlideGlyph::First) % 30 / 5, d, 5);
    for (const int first : { RapGlyph::First, DotGlyph::First, RestGlyph::First }) {
        const int last = first == RapGlyph::First ? RapGlyph::Last
            : first == DotGlyph::First            ? DotGlyph::Last
                                                  : RestGlyph::Last;
        if (in(code, first, last))
            return withField(code, (code - first) % 6, d, 1);
    }
    return code;
}

int MirrorNoteCode(int c)
{
    if (in(c, NoteGlyph::First, 0x572F)) {
        switch (noteBlock(c)) {
        case 0:
            return c + 588;
        case 1:
            return c + 882;
        case 3:
            return c + 588;
        case 6:
            return c + 294;
        default:
            return c;
        }
    }
    if (in(c, 0x5730, 0x5E13))
        return c + 882 * ((0x5E13 - c) / 882);
    if (in(c, 0x6226, 0x629D))
        return c + 30 * (((0x629D - c) / 30) % 2);
    if (in(c, 0x629E, 0x62A9))
        return c + 6 * ((0x62A9 - c) / 6);
    if (in(c, 0x62AA, 0x62B9))
        return c + 8 * ((0x62B9 - c) / 8);
    if (in(c, 0x62C2, 0x62D9))
        return c + 6 * (((0x62D9 - c) / 6) % 2);
    if (in(c, 0x62DA, 0x62FD))
        return c + 18 * ((0x62FD - c) / 18);
    if (in(c, 0x62FE, 0x6339))
        return c + 30 * ((0x6339 - c) / 30);
    if (in(c, 0x6351, 0x6356))
        return c + 3 * ((0x6356 - c) / 3);
    return c;
}

QString MirrorNoteCodes(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        c = QChar(char16_t(MirrorNoteCode(c.unicode())));
    return out;
}

int MapFontChar(int c, const QString& font)
{
    if (font == NoteFontFamily) {
        if (in(c, NoteGlyph::First, 0x572F))
            return c - kBlock * noteBlock(c);
        if (in(c, 0x5730, 0x5E13))
            return c - 882 * ((c - 0x5730) / 882);
        if (in(c, 0x6226, 0x629D))
            return ((c - 0x6226) / 30) % 2 ? c - 30 : c;
        if (in(c, 0x629E, 0x62A9))
            return 0x629E + (c - 0x629E) % 6;
        if (in(c, 0x62AA, 0x62C1))
            return (c - 0x62AA) / 8 == 1 ? c - 8 : c;
        if (in(c, 0x62C2, 0x62D9))
            return ((c - 0x62C2) / 6) % 2 ? c - 6 : c;
        if (in(c, 0x62DA, 0x62FD))
            return 0x62DA + (c - 0x62DA) % 18;
        if (in(c, 0x62FE, 0x6339))
            return 0x62FE + (c - 0x62FE) % 30;
        if (in(c, 0x6351, 0x6356))
            return 0x6351 + (c - 0x6351) % 3;
        return c;
    }
    if (isGraceFont(font)) {
        if (NoteGlyph::containsGrace(c))
            return noteBlock(c) % 2 ? c - kBlock : c;
        if (c == u'%' || c == u'^' || c == u'_' || c == u'`' || c == u'a')
            return u'$';
        if (c == u')')
            return u'(';
    }
    return c;
}

int SideChar(int c, const QString& font, SideCharKind kind, int value)
{
    if (!isGraceFont(font))
        return c;
    switch (kind) {
    case SideCharKind::Keep:
        return c;
    case SideCharKind::Arc:
        if (in(c, NoteGlyph::First, 0x5BC7) && noteBlock(c) % 2 == 0)
            return c + kBlock;
        if (c == u'(')
            return u')';
        if (c == u'$')
            return u'%';
        return c;
    case SideCharKind::Duration:
        if (value >= 1 && value <= 6 && NoteGlyph::containsGrace(c))
            return withField(c, (c - NoteGlyph::First) % 42 / 7, value - 1, 7);
        return c;
    }
    return c;
}

std::optional<TripletChange> TripletCode(int c, int place)
{
    if (in(c, 0x4E00, 0x4F25))
        return TripletChange { c + 2352 + kBlock * place, true };
    if (in(c, 0x504C, 0x5171))
        return TripletChange { c + 2646 + kBlock * place, true };
    if (in(c, 0x6226, 0x6261))
        return TripletChange { c + 60, false };
    if (in(c, 0x62CE, 0x62D3))
        return TripletChange { c + 12 + 6 * place, true };
    if (in(c, 0x62D4, 0x62D9))
        return TripletChange { c + 24 + 6 * place, true };
    return std::nullopt;
}

int SlurFirst(int f, int leftArcRight, int mode)
{
    if (!NoteGlyph::contains(f))
        return f;
    const int block = noteBlock(f);
    const bool whole = mode == 0 || mode == 1;
    if (leftArcRight == 0) {
        if (block == 2)
            return whole ? f - 294 : f;
        if (block == 4)
            return whole ? f - 882 : f - 588;
    } else if (leftArcRight == 1 && whole) {
        if (block == 2)
            return f + 588;
        if (block == 5)
            return f + 294;
    }
    return f;
}

int SlurLast(int l, int rightArcLeft, int mode)
{
    if (!NoteGlyph::contains(l) || mode == 1)
        return l;
    const int block = noteBlock(l);
    if (rightArcLeft == 0) {
        if (block == 2)
            return l + 294;
        if (block == 5)
            return l - 588;
    } else if (rightArcLeft == 1) {
        if (block == 2)
            return l + 882;
        if (block == 4)
            return l + 588;
        if (block == 7)
            return l - 294;
    }
    return l;
}

std::optional<QChar> RepeatCountSign(double count)
{
    if (!(count >= 2 && count <= 9) || count != std::floor(count))
        return std::nullopt;
    if (count == 2)
        return QChar(char16_t(0x6358));
    return QChar(char16_t(25470 + int(count)));
}

int AccidentalCode(int index, int durIndex, int arcRight, int tripletOn)
{
    return AccidentalGlyph::First + index + 5 * durIndex + 30 * arcRight + 60 * tripletOn;
}

int KeyChangeCode(int index) { return index == 13 ? KeyShiftGlyph::ScoreKey : KeyShiftGlyph::First + index; }

} // namespace tunvale::editor
