#pragma once

#include <QString>

#include <array>

// The time signatures the drum editor offers, by TimeSigCode: the eight plain ones, a heading, then
// each plain one with one to four extra sixteenth steps for a bar with a prolonged note.
namespace tunvale::drums {

struct TimeSignatureRow {
    QString item; // what the list shows
    QString accents; // the accent pattern shown beside the list
    // Where the grid's bar-end line stands, as the grid's step labels place it: after `stepsInto`
    // steps of the four-step label `label`. The heading has none (-1).
    int label = -1;
    int stepsInto = 0;

    // The step after which the bar ends; -1 for the heading.
    int barEnd() const { return label < 0 ? -1 : label * 4 + stepsInto; }
};

inline constexpr int kTimeSignatureRows = 41;
// The row that only heads the custom signatures and cannot be chosen.
inline constexpr int kCustomHeadingRow = 8;

const std::array<TimeSignatureRow, kTimeSignatureRows>& TimeSignatureRows();

} // namespace tunvale::drums
