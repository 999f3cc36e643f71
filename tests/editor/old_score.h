#pragma once

#include <QString>

// Scores in the codes of versions before 5.2, written from the conversion tables, with the text they
// convert to.
namespace tunvale::testing {

struct OldScore {
    QString rtf; // the old score
    QString converted; // its text in the current codes
    int bars = 0; // bar lines
};

// A title, the composer, a line of text and the key on line 4, then `systems` pairs of a notation line
// (bar lines, notes of every old row, dashes and dots) and a lyric line.
OldScore MakeOldScore(int systems);

} // namespace tunvale::testing
