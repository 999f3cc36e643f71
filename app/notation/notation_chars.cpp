#include "app/notation/notation_chars.h"

#include <algorithm>
#include <bitset>

namespace tunvale::notation {

const std::array<char16_t, 46> BarLineChars = { u'$', u'%', u'^', u'_', u'`', u'a', 0x6352, 0x6355, 0x6357,
    0x6358, 0x6359, 0x635A, 0x635B, 0x635C, 0x635D, 0x635E, 0x635F, 0x6360, 0x6361, 0x6362, 0x6363, 0x6364,
    0x6365, 0x6366, 0x6367, 0x6368, 0x6369, 0x636A, 0x636B, 0x636C, 0x636D, 0x636E, 0x636F, 0x6370, 0x6371,
    0x6373, 0x637F, 0x6380, 0x6381, 0x6382, 0x6383, 0x6384, 0x6385, 0x6386, 0x6387, 0x638F };

const std::array<char16_t, 38> SegMarkChars = { u'^', u'_', u'`', u'a', 0x6357, 0x6358, 0x6359, 0x635A,
    0x635B, 0x635F, 0x6360, 0x6361, 0x6363, 0x6364, 0x6365, 0x6366, 0x6367, 0x6368, 0x6369, 0x636A, 0x636B,
    0x636C, 0x636D, 0x636E, 0x636F, 0x6370, 0x6371, 0x6373, 0x637F, 0x6380, 0x6381, 0x6382, 0x6383, 0x6384,
    0x6385, 0x6386, 0x6387, 0x638F };

namespace {

// One bit per UTF-16 unit, read once per character of every scan of a score.
template <size_t N> std::bitset<0x10000> setOf(const std::array<char16_t, N>& chars)
{
    std::bitset<0x10000> set;
    for (char16_t c : chars)
        set.set(c);
    return set;
}

bool inSet(const std::bitset<0x10000>& set, int code)
{
    return code >= 0 && code < 0x10000 && set[size_t(code)];
}

} // namespace

bool IsBarLine(int code)
{
    static const std::bitset<0x10000> set = setOf(BarLineChars);
    return inSet(set, code);
}

bool IsSegMark(int code)
{
    static const std::bitset<0x10000> set = setOf(SegMarkChars);
    return inSet(set, code);
}

int SegMarkCode(int code)
{
    if (!IsSegMark(code))
        return 0;
    // The ASCII marks follow on from 'Q' (81); the others count from U+6356.
    return code < 0x80 ? code - 81 : code - 25430;
}

int FontClass(const QString& fontFamily, int code)
{
    if (code == '(' || code == ')' || IsBarLine(code))
        return 0;
    const auto it = std::find(GraceFontFamilies.begin(), GraceFontFamilies.end(), fontFamily);
    return it == GraceFontFamilies.end() ? 0 : int(it - GraceFontFamilies.begin()) + 1;
}

QString GlyphDescriptor::text() const
{
    return QString::number(DurIndex) + QString::number(ArcRight) + QString::number(TripletOn)
        + QString::number(ArcLeft);
}

namespace {

bool inRange(int code, int first, int last) { return code >= first && code <= last; }

// Arc flags of the fourteen note blocks.
constexpr std::array<int, 14> BlockArcRight = { 0, 1, 1, 0, 1, 1, 1, 1, 0, 0, 0, 1, 1, 1 };
constexpr std::array<int, 14> BlockArcLeft = { 0, 0, 1, 1, 1, 1, 1, 1, 0, 0, 0, 1, 1, 1 };

GlyphDescriptor decodeMainFont(int code)
{
    GlyphDescriptor d;
    if (const auto note = NoteGlyph::decode(code)) {
        d.DurIndex = note->DurIndex;
        d.ArcRight = BlockArcRight[note->NoteBlock];
        d.ArcLeft = BlockArcLeft[note->NoteBlock];
    } else if (AccidentalGlyph::contains(code) || GlideGlyph::contains(code)) {
        const int k = code - (AccidentalGlyph::contains(code) ? AccidentalGlyph::First : GlideGlyph::First);
        d.DurIndex = k % 30 / 5;
        d.ArcRight = d.ArcLeft = k / 30 % 2;
    } else if (RapGlyph::contains(code)) {
        const int k = code - RapGlyph::First;
        d.DurIndex = k % 6;
        d.ArcRight = d.ArcLeft = k / 6 % 2;
    } else if (TimeSigGlyph::contains(code)) {
        d.ArcRight = d.ArcLeft = (code - TimeSigGlyph::First) / 8 % 2;
    } else if (inRange(code, DotGlyph::First, RestGlyph::Last)) {
        // Dots, plain rests and triplet rests share one row: six codes per DurIndex throughout.
        const int k = code - DotGlyph::First;
        d.DurIndex = k % 6;
        d.ArcRight = d.ArcLeft
            = code >= RestGlyph::TripletFirst ? (code - RestGlyph::TripletFirst) / 18 % 2 : k / 6 % 2;
    } else if (inRange(code, SpacerGlyph::Plain, DashGlyph::UnderArc)) {
        d.ArcRight = d.ArcLeft = (code - SpacerGlyph::Plain) / 3;
    } else if (inRange(code, 0x6363, 0x6370)) {
        // These bar characters are drawn with an arc running on to the right.
        d.ArcRight = 1;
    }
    // Key names and the two header markers fall through as "0000".
    d.TripletOn = inRange(code, 0x5730, 0x597B) || inRange(code, 0x5AA2, 0x5CED)
        || inRange(code, 0x62DA, 0x62E5) || inRange(code, 0x62EC, 0x62F7);
    return d;
}

GlyphDescriptor decodeOtherFont(int code)
{
    GlyphDescriptor d;
    if (code == '%' || code == ')') {
        d.ArcRight = d.ArcLeft = 1;
    } else if (code == '^' || code == '_' || code == '`' || code == 'a') {
        d.ArcRight = 1;
    } else if (NoteGlyph::containsGrace(code)) {
        const int n = code - NoteGlyph::First;
        d.DurIndex = n % 42 / 7;
        d.ArcRight = d.ArcLeft = n / 294 % 2;
    }
    return d;
}

} // namespace

GlyphDescriptor DecodeNoteGlyph(int code, bool mainFont)
{
    return mainFont ? decodeMainFont(code) : decodeOtherFont(code);
}

std::optional<OrnamentReach> ReachOfOrnament(int letter, int extenders)
{
    switch (letter) {
    case 'B':
    case 'C':
        return OrnamentReach { 2, 0 };
    case 'D':
    case 'E':
        return OrnamentReach { 4, 0 };
    case 'G':
    case 'H':
        return OrnamentReach { 1, 0 };
    case 'I':
        // The short trill starts a whole tone up, the long one on its note; other lengths spell nothing.
        if (extenders == 2)
            return OrnamentReach { 3, 2 };
        if (extenders == 5)
            return OrnamentReach { 6, 0 };
        return std::nullopt;
    case 'J':
        return OrnamentReach { 3, 2 };
    case 'K':
        return OrnamentReach { 3, -2 };
    default:
        return std::nullopt;
    }
}

} // namespace tunvale::notation
