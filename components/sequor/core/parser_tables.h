#pragma once

#include <array>

// The parser's own tables and character sets. The character classes come from the notation library;
// only what the export reads differently lives here.
namespace tunvale::sequor {

// Sixteenth units by duration index: plain values, then the two-thirds values rounded to five
// significant digits, as the export has always timed them.
inline constexpr std::array<double, 12> DurationTable
    = { 4, 2, 1, 0.5, 0.25, 0.125, 2.66667, 1.33333, 0.66667, 0.33333, 0.16667, 0.08333 };

// MIDI notes by OctaveRow * 7 + Degree - 1: the major scale in the middle octave, three below and three
// above. Keys are applied by the writer as a transpose.
inline constexpr std::array<int, 49> PitchTable = {
    60, 62, 64, 65, 67, 69, 71, //
    48, 50, 52, 53, 55, 57, 59, //
    36, 38, 40, 41, 43, 45, 47, //
    24, 26, 28, 29, 31, 33, 35, //
    72, 74, 76, 77, 79, 81, 83, //
    84, 86, 88, 89, 91, 93, 95, //
    96, 98, 100, 101, 103, 105, 107, //
};

// Note blocks that may start and end a tie.
inline constexpr std::array<int, 4> TieStartBlocks = { 1, 4, 6, 7 };
inline constexpr std::array<int, 4> TieEndBlocks = { 3, 5, 6, 7 };

// Joins the pieces of the play order in the export text; counts as a bar mark.
inline constexpr int SegmentJoinMark = 0x638E;

// The one-note rap beat sounds as this fixed note.
inline constexpr int RapNote = 29;

// Every bar line of the notation and the join mark.
bool IsBarMark(int code);

// The note block of a note character, or -1 for any other character.
int NoteBlockOf(int code);

} // namespace tunvale::sequor
