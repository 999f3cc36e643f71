#pragma once

#include "platform/richtext/rich_text_snapshot.h"

#include <array>

namespace tunvale::notation {

// One character of a notation line on its way to becoming a timed event. While the compiler works,
// EventTime is a length in sixteenth units (a quarter note is 4).
struct CodeEvent {
    double EventTime = 0;
    int EventCode = 0; // MIDI note; 1000 rest, 3000 bar line, -2900 RAP beat, 2000 + BPM tempo, 4000.. key
    int Velocity = 0; // 0 on a note tied into the one before
    int CharPos = 0; // position in the score text, paragraph breaks counting two
    int CharCode = 0;
    int FontClass = 0; // 0 main font, 1..4 grace group of that size, 5 merged into its group
    int SegmentNo = 0;
    int BarNo = 0; // a bar line carries the number of the bar it closes
    int LineEnd = 0;
    platform::SnapshotColor CharColor = 0;
    int MidiMessage = 0;
};

// The events between two segment marks, in text order.
struct ScoreSegment {
    int FirstEvent = 0;
    int EventCount = 0;
    int FirstBar = 0;
    int BarCount = 0;
};

// MIDI note of OctaveRow r and Degree d at r * 7 + d - 1, in C.
inline constexpr std::array<int, 49> PitchTable = { 60, 62, 64, 65, 67, 69, 71, // middle
    48, 50, 52, 53, 55, 57, 59, // one octave down
    36, 38, 40, 41, 43, 45, 47, // two down
    24, 26, 28, 29, 31, 33, 35, // three down
    72, 74, 76, 77, 79, 81, 83, // one octave up
    84, 86, 88, 89, 91, 93, 95, // two up
    96, 98, 100, 101, 103, 105, 107 }; // three up

// Sixteenth units of DurIndex i and, at i + 6, of its triplet form. The triplet values are the stored
// eight-decimal ones, not exact thirds, so that timings match scores played elsewhere.
inline constexpr std::array<double, 12> DurationTable
    = { 4, 2, 1, 0.5, 0.25, 0.125, 2.66666667, 1.33333333, 0.66666667, 0.33333333, 0.16666667, 0.08333333 };

// The longest a note or rest may last, in sixteenth units: at 30 ticks a sixteenth, the longest time
// between two events that a MIDI file can hold (2^28 - 1 ticks). Dots and dashes lengthen no note past
// it, so a written score always fits a MIDI file and its times stay finite.
inline constexpr double MaxNoteLength = double(((1 << 28) - 1) / 30);

constexpr int PitchOf(int octaveRow, int degree)
{
    return PitchTable[size_t(octaveRow) * 7 + size_t(degree) - 1];
}

constexpr double DurationOf(int durIndex, bool triplet)
{
    return DurationTable[size_t(durIndex) + (triplet ? 6 : 0)];
}

} // namespace tunvale::notation
