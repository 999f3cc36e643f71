#pragma once

#include <QString>

// Jianpu written in plain ASCII, as the score descriptions hold it, turned into characters of the
// notation font. Tokens are separated by blanks:
//
//   1 .. 7     a note of that degree; after the digit, in this order:
//                '  one octave up (repeatable, at most three), ,  one octave down (likewise),
//                _  halves the duration (repeatable: _ eighth, __ sixteenth ...),
//                .  a dot after the note
//   0          a rest, with _ and . as for notes
//   -          a dash: the note before goes on a quarter
//   |  |:  :|  ||    bar line, begin repeat, end repeat, final bar line
//   ( )        put before a note and after a later one: the notes between lie under a slur (a tie when
//              the two ends have the same pitch); dashes, dots and bar lines inside take their slur forms
//
// Example: "5 3_ 5_ | (6. 5_) 6 |: 1' - :| ||"
namespace tunvale::vlsgen {

struct JianpuResult {
    QString text; // notation-font characters, or the spaced lyric line
    QString error; // empty when the line was read
};

JianpuResult JianpuToGlyphs(const QString& line);

// A lyric line under a notation line: `syllables` holds one blank-separated token per note of `glyphs`
// (rests take none), "-" for a note that continues the syllable before. Each syllable is centred
// under its note with blanks, the text font's half-width blank being the unit: lyrics are "宋体"
// 12 pt under notation at 32 pt. Notes left over at the end go without syllables.
JianpuResult LyricsUnderNotes(const QString& glyphs, const QString& syllables);

} // namespace tunvale::vlsgen
