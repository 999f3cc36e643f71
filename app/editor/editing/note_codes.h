#pragma once

#include <QString>

#include <optional>

// The code arithmetic of the editor's note commands: each function maps one notation character to the
// character a command turns it into. Nothing here reads or writes a document.
namespace tunvale::editor {

// A note moved to octave row `octave` - 1 (1 middle, 2..4 down, 5..7 up); any other code unchanged.
int WithOctave(int code, int octave);
// The duration index `duration` - 1 (1 quarter .. 6 a 128th, a value beyond them the nearest) on notes,
// accidentals, unpitched beats, dots, rests and glides; any other code unchanged.
int WithDuration(int code, int duration);

// The arc form of a character of the main notation font.
int MirrorNoteCode(int code);
QString MirrorNoteCodes(const QString& text);
// A character without its arc form, read in `font`.
int MapFontChar(int code, const QString& font);

// How the characters of the side fonts (grace notes, ornaments, lyrics) inside a rewritten stretch
// are written back.
enum class SideCharKind {
    Arc, // "l": grace notes to their arc block, "(" to ")", "$" to "%"
    Keep, // "d": unchanged
    Duration, // "c": grace notes to the duration `value` (-1: unchanged)
};
// Only the grace-note fonts are rewritten; ornament letters, lyrics and titles go back unchanged.
int SideChar(int code, const QString& font, SideCharKind kind, int value = -1);

// The triplet form of a character at place `place` (0 first, 1 middle, 2 last) of a triplet; nothing
// for a character that a triplet leaves as it is. `advances` tells whether the character takes a
// place (a note or a rest) or sits beside one (an accidental).
struct TripletChange {
    int code = 0;
    bool advances = false;
};
std::optional<TripletChange> TripletCode(int code, int place);

// The slur's first and last characters after MirrorNoteCodes, given the neighbour's descriptor
// digit (arc continuing to the right for the left neighbour, arc coming from the left for the right
// one). `mode` 0 a whole slur, 1 the left half of one that runs on, 2 the right half.
int SlurFirst(int code, int leftArcRight, int mode);
int SlurLast(int code, int rightArcLeft, int mode);

// The repeat sign for "前后反复N次记号...": 2 gives U+6358, 3..9 U+6381..U+6387; nothing for any other
// number, a fraction or no number.
std::optional<QChar> RepeatCountSign(double count);

// The character a key-signature accidental or in-text key change inserts.
int AccidentalCode(int index, int durIndex, int arcRight, int tripletOn);
int KeyChangeCode(int index);

} // namespace tunvale::editor
