#pragma once

#include <QString>

#include <array>
#include <optional>

// The notation character set: every sign of a score is one UTF-16 character of a notation font, and its
// meaning is its code together with its font. This header is the one place that spells the code
// ranges; the compiler, the play order and the editor ask it instead of repeating a range.
//
// Codes are passed as int (a UTF-16 unit, 0..0xFFFF); anything outside a range simply is not in it.
namespace tunvale::notation {

// ---------------------------------------------------------------------------------------------------
// Font families

inline const QString NoteFontFamily = QStringLiteral("KORVA_Note");
inline const QString SymbolFontFamily = QStringLiteral("KORVA_Note_Symbol");
// Grace-note fonts for groups of one to four notes, FontClass 1 to 4 in this order.
inline const std::array<QString, 4> GraceFontFamilies = { QStringLiteral("KORVA_Note_yy"),
    QStringLiteral("KORVA_Note_yy1"), QStringLiteral("KORVA_Note_yy2"), QStringLiteral("KORVA_Note_yy3") };
// The font of titles and lyrics; never on a notation line.
inline const QString TextFontFamily = QStringLiteral("宋体");

// The class the compiler gives a grace note once it has been merged into its main note.
inline constexpr int MergedGraceFontClass = 5;

// 1..4 for the four grace fonts (exact family name), 0 for every other font. "(", ")" and every bar
// line are 0 whatever their font.
int FontClass(const QString& fontFamily, int code);

// ---------------------------------------------------------------------------------------------------
// Notes: code = U+4E00 + NoteBlock*294 + OctaveRow*42 + DurIndex*7 + (Degree - 1)

struct NoteGlyph {
    static constexpr int First = 0x4E00;
    static constexpr int Last = 0x5E13;
    static constexpr int Count = Last - First + 1; // 4116
    // In the grace fonts only blocks 0..11 are notes.
    static constexpr int GraceLast = 0x5BC7;

    int NoteBlock = 0; // 0..13: 0 plain, 1..7 arc forms, 8..13 triplet members (two-thirds duration)
    int OctaveRow = 0; // 0 middle, 1..3 one to three octaves down, 4..6 one to three octaves up
    int DurIndex = 0; // 0 quarter, each step halves (4 / 2^d sixteenth units)
    int Degree = 1; // scale degree 1..7

    static constexpr bool contains(int code) { return code >= First && code <= Last; }
    static constexpr bool containsGrace(int code) { return code >= First && code <= GraceLast; }
    // The fields of a note code, or nothing when the code is not a note.
    static constexpr std::optional<NoteGlyph> decode(int code)
    {
        if (!contains(code))
            return std::nullopt;
        const int n = code - First;
        return NoteGlyph { n / 294, n % 294 / 42, n % 42 / 7, n % 7 + 1 };
    }
    // Packs the fields back into a code; the fields must be in range.
    constexpr int code() const
    {
        return First + NoteBlock * 294 + OctaveRow * 42 + DurIndex * 7 + Degree - 1;
    }

    // Blocks 3, 5, 6 and 7 close a tie when the previous note has the same pitch.
    constexpr bool isTieEnd() const { return NoteBlock == 3 || (NoteBlock >= 5 && NoteBlock <= 7); }
    // Blocks 8..13 sound two-thirds of their written duration.
    constexpr bool isTriplet() const { return NoteBlock >= 8; }
    // Read in a grace font: the kind of grace note (0..5) and whether it lies under an arc.
    constexpr int graceKind() const { return NoteBlock / 2; }
    constexpr bool graceUnderArc() const { return NoteBlock % 2 == 1; }
};

// ---------------------------------------------------------------------------------------------------
// Other character classes (main font unless said)

// Tempo terms in the symbol font, and the mark that goes back to the score's tempo.
struct TempoGlyph {
    static constexpr int First = 0x5F80;
    static constexpr int Last = 0x5F8D;
    static constexpr int ScoreTempo = 0x5F8E;
    static constexpr std::array<int, 14> Bpm
        = { 40, 46, 52, 56, 60, 66, 69, 88, 108, 132, 152, 160, 184, 208 };

    static constexpr bool contains(int code) { return code >= First && code <= ScoreTempo; }
    // The tempo of a term; 0 for the back-to-score-tempo mark and for any other code.
    static constexpr int bpm(int code) { return code >= First && code <= Last ? Bpm[code - First] : 0; }
};

// Key changes to the key k semitones above C (key code 31 + k), and the mark back to the score's key.
struct KeyShiftGlyph {
    static constexpr int First = 0x5F8F;
    static constexpr int Last = 0x5F9A;
    static constexpr int ScoreKey = 0x5F9B;

    static constexpr bool contains(int code) { return code >= First && code <= ScoreKey; }
    // 0..11 for a key change; -1 for the back-to-score-key mark and any other code.
    static constexpr int semitones(int code) { return code >= First && code <= Last ? code - First : -1; }
};

struct FermataGlyph {
    static constexpr int Code = 0x5FEB;
    static constexpr bool contains(int code) { return code == Code; }
};

// 120 accidentals: four groups of 30, within a group kind + 5 * DurIndex.
struct AccidentalGlyph {
    static constexpr int First = 0x6226;
    static constexpr int Last = 0x629D;
    enum Kind { Sharp, Flat, DoubleSharp, DoubleFlat, Natural };

    int group = 0; // 0..3
    int DurIndex = 0;
    int kind = 0; // Kind
    bool underArc = false; // odd groups

    static constexpr bool contains(int code) { return code >= First && code <= Last; }
    static constexpr std::optional<AccidentalGlyph> decode(int code)
    {
        if (!contains(code))
            return std::nullopt;
        const int k = code - First;
        return AccidentalGlyph { k / 30, k % 30 / 5, k % 5, k / 30 % 2 == 1 };
    }
};

// Unpitched beat: two groups of six by DurIndex, the second under an arc.
struct RapGlyph {
    static constexpr int First = 0x629E;
    static constexpr int Last = 0x62A9;

    int DurIndex = 0;
    bool underArc = false;

    static constexpr bool contains(int code) { return code >= First && code <= Last; }
    static constexpr std::optional<RapGlyph> decode(int code)
    {
        if (!contains(code))
            return std::nullopt;
        const int k = code - First;
        return RapGlyph { k % 6, k / 6 % 2 == 1 };
    }
};

// The texts of the eight time signatures, shared by the time-signature marks and the drum records.
inline constexpr std::array<const char*, 8> TimeSignatureTexts
    = { "1/4", "2/4", "3/4", "4/4", "3/8", "6/8", "9/8", "12/8" };

// Time-signature marks: three groups of eight (the order of TimeSignatureTexts), the second under an arc.
struct TimeSigGlyph {
    static constexpr int First = 0x62AA;
    static constexpr int Last = 0x62C1;

    int signature = 0; // index into TimeSignatureTexts
    int group = 0; // 0..2
    bool underArc = false;

    static constexpr bool contains(int code) { return code >= First && code <= Last; }
    static constexpr std::optional<TimeSigGlyph> decode(int code)
    {
        if (!contains(code))
            return std::nullopt;
        const int k = code - First;
        return TimeSigGlyph { k % 8, k / 8, k / 8 % 2 == 1 };
    }
    QString text() const { return QString::fromLatin1(TimeSignatureTexts[signature]); }
};

// Augmentation dot: six by DurIndex, then six under an arc.
struct DotGlyph {
    static constexpr int First = 0x62C2;
    static constexpr int Last = 0x62CD;

    int DurIndex = 0;
    bool underArc = false;

    static constexpr bool contains(int code) { return code >= First && code <= Last; }
    static constexpr std::optional<DotGlyph> decode(int code)
    {
        if (!contains(code))
            return std::nullopt;
        const int k = code - First;
        return DotGlyph { k % 6, k / 6 == 1 };
    }
};

// Rests: twelve plain ones (six by DurIndex, then six under an arc) and 36 triplet rests (two groups of
// 18, the second under an arc; within a group six by DurIndex for each position first, middle, last).
struct RestGlyph {
    static constexpr int First = 0x62CE;
    static constexpr int TripletFirst = 0x62DA;
    static constexpr int Last = 0x62FD;

    int DurIndex = 0;
    bool underArc = false;
    bool triplet = false;
    int position = 0; // triplet rests: 0 first, 1 middle, 2 last

    static constexpr bool contains(int code) { return code >= First && code <= Last; }
    static constexpr std::optional<RestGlyph> decode(int code)
    {
        if (!contains(code))
            return std::nullopt;
        if (code < TripletFirst) {
            const int k = code - First;
            return RestGlyph { k % 6, k / 6 % 2 == 1, false, 0 };
        }
        const int m = code - TripletFirst;
        return RestGlyph { m % 6, m / 18 == 1, true, m % 18 / 6 };
    }
};

// Glide marks: two groups of 30, within a group form + 5 * DurIndex; the second group under an arc.
struct GlideGlyph {
    static constexpr int First = 0x62FE;
    static constexpr int Last = 0x6339;

    int DurIndex = 0;
    int form = 0; // 0..4
    bool underArc = false;

    static constexpr bool contains(int code) { return code >= First && code <= Last; }
    static constexpr std::optional<GlideGlyph> decode(int code)
    {
        if (!contains(code))
            return std::nullopt;
        const int k = code - First;
        return GlideGlyph { k % 30 / 5, k % 5, k / 30 % 2 == 1 };
    }
};

// Letters that spell the key after the key marker.
struct KeyNameGlyph {
    static constexpr int First = 0x633A;
    static constexpr int Last = 0x634E;
    static constexpr bool contains(int code) { return code >= First && code <= Last; }
};

// Drawn as "1="; a line holding it is a header line, not a notation line.
struct KeyMarker {
    static constexpr int Code = 0x634F;
    static constexpr bool contains(int code) { return code == Code; }
};

// The second header-line marker; its line is not a notation line either.
struct HeaderMarker {
    static constexpr int Code = 0x6350;
    static constexpr bool contains(int code) { return code == Code; }
};

struct SpacerGlyph {
    static constexpr int Plain = 0x6351;
    static constexpr int UnderArc = 0x6354;
    static constexpr bool contains(int code) { return code == Plain || code == UnderArc; }
};

// The plain bar line and the one under an arc.
struct PlainBarLine {
    static constexpr int Plain = 0x6352;
    static constexpr int UnderArc = 0x6355;
    static constexpr bool contains(int code) { return code == Plain || code == UnderArc; }
};

// A dash lengthens the preceding sounding note by a quarter.
struct DashGlyph {
    static constexpr int Plain = 0x6353;
    static constexpr int UnderArc = 0x6356;
    static constexpr bool contains(int code) { return code == Plain || code == UnderArc; }
};

// Voice marks one, two and three.
struct VoiceGlyph {
    static constexpr int First = 0x6374;
    static constexpr int Last = 0x6376;
    static constexpr bool contains(int code) { return code >= First && code <= Last; }
    // 1..3, or 0 for any other code.
    static constexpr int voice(int code) { return contains(code) ? code - First + 1 : 0; }
};

// Markers put in front of each run of grace-font (four sizes) and symbol-font characters in the text
// handed to the MIDI file export; never stored in a score.
struct FontRunMark {
    static constexpr int First = 0x6389;
    static constexpr int Symbol = 0x638D;
    static constexpr bool contains(int code) { return code >= First && code <= Symbol; }
    // The marker for a FontClass 1..4, or for the symbol font.
    static constexpr int forGraceClass(int fontClass) { return First + fontClass - 1; }
};

// Dynamics in the symbol font: "*" pppp .. "3" ffff, "4" cresc., "5" dim., "6" sfz, "7" fp, "8" sfp.
struct DynamicMark {
    static constexpr int First = '*';
    static constexpr int Last = '8';
    static constexpr bool contains(int code) { return code >= First && code <= Last; }
};

// The accent "9" of the symbol font.
struct AccentMark {
    static constexpr int Code = '9';
    static constexpr bool contains(int code) { return code == Code; }
};

// Ornament letters of the symbol font, written before the note they decorate: B C D E mordents,
// G H staccato, I trill, J K turns. The filler "F" is OrnamentExtender, not a letter.
struct OrnamentLetter {
    static constexpr bool contains(int code)
    {
        return (code >= 'B' && code <= 'E') || (code >= 'G' && code <= 'K');
    }
};

// One "F" after an ornament letter for each further note of the ornament.
struct OrnamentExtender {
    static constexpr int Code = 'F';
    static constexpr bool contains(int code) { return code == Code; }
};

// Where an ornament letter finds its note, as the player spells ornaments: `distance` characters after
// the letter, its first note `offset` semitones from that note.
struct OrnamentReach {
    int distance = 0;
    int offset = 0;
};

// The reach of ornament letter `letter` followed by `extenders` filler characters; nothing for a
// letter that then spells no ornament.
std::optional<OrnamentReach> ReachOfOrnament(int letter, int extenders);

// ---------------------------------------------------------------------------------------------------
// Bar lines and segment marks

// Every character that counts one bar, in their fixed order.
extern const std::array<char16_t, 46> BarLineChars;
// The bar lines that also close a play-order segment, in their fixed order.
extern const std::array<char16_t, 38> SegMarkChars;

bool IsBarLine(int code);
bool IsSegMark(int code);
// The number a segment mark has in the play-order key: "^" "_" "`" "a" give 13..16, U+6357..U+6371
// give 1..27, U+6373 gives 29, U+637F..U+6387 give 41..49, U+638F gives 57. 0 for any other code.
int SegMarkCode(int code);

// ---------------------------------------------------------------------------------------------------
// Glyph descriptor

// What the editor needs to redraw a character: its duration index and three flags.
struct GlyphDescriptor {
    int DurIndex = 0;
    int ArcRight = 0; // an arc runs on to the right
    int TripletOn = 0; // first or middle member of a triplet
    int ArcLeft = 0; // an arc comes in from the left

    // The four digits in the order above, e.g. "0111".
    QString text() const;
    friend bool operator==(const GlyphDescriptor&, const GlyphDescriptor&) = default;
};

// The descriptor of a character. `mainFont` is true when its font is KORVA_Note, false for any other
// font. Never fails: a code outside every range gives "0000".
GlyphDescriptor DecodeNoteGlyph(int code, bool mainFont);

} // namespace tunvale::notation
