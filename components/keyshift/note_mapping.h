#pragma once

#include <optional>

// What a transposed note becomes: the mapping from a note, the step and the accidentals in effect
// to the note and sign written in its place.
namespace tunvale::keyshift {

enum class Sign { None, Sharp, Natural };

// One cell of the mapping table.
struct NoteMove {
    int Degree = 1; // the degree written, 1..7
    Sign sign = Sign::None;
    int octave = 0; // -1 into the octave below, 1 into the octave above
    bool warning = false; // no note to write: the range warning
};

// The cell for step `shift` (2, -2, 1, -1), the accidental recorded for the note in the source
// (0 none or natural, 1 sharp, -1 flat, 2 double sharp, -2 double flat), its degree (1..7) and the
// running state of the new text (0 nothing, 1 a sharp in effect). Values out of range give a warning.
NoteMove MappingCell(int shift, int recorded, int degree, int running);

// The code delta that moves note `code` into the neighbouring row one octave up or down, counted
// so that degree 7 lands one place below degree 1 of the row above (and degree 1 one place above
// degree 7 of the row below); 0 when there is no such row.
int ShiftOctave(int code, bool up);

struct ShiftedNote {
    int code = 0;
    Sign sign = Sign::None;
};

// The note written for source note `code`; nothing when the result cannot be drawn.
std::optional<ShiftedNote> MapShiftedNote(int code, int shift, int recorded, int running);

} // namespace tunvale::keyshift
