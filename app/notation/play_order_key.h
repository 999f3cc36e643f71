#pragma once

#include "app/notation/score_sections.h"

#include <QString>

#include <vector>

// Which lines of a score are notation, and the key that ties a stored play order to the arrangement
// of segment marks in them. The compiler's scan and the play order both use these, so they always
// read the same text.
namespace tunvale::notation {

// A display line is a notation line when the font at its start is one of the notation families and
// it holds neither the key marker nor the header marker.
bool IsNotationLine(const QString& lineText, const QString& startFont);

// The texts of the notation lines joined in order; `lines` is any sequence of records with `text`
// and `startFont` (the rich-text snapshot's lines, say).
template <class Lines> QString NotationText(const Lines& lines)
{
    QString joined;
    for (const auto& line : lines) {
        if (IsNotationLine(line.text, line.startFont))
            joined += line.text;
    }
    return joined;
}

// One radix-64 digit per segment mark, in text order; "0" in front when the notation does not start
// with a mark and "0" behind when it does not end with one. Line breaks, spacers and "(" are ignored.
// An empty text gives "", a text without marks "00".
QString PlayOrderKey(const QString& notationText);

// The most events a play order may expand to. A score file holds at most kMaxScoreFileBytes of text,
// in which a note takes at least 8 bytes (\'xx\'yy): 524,288 notes, played through eight times over.
// A file of nothing but one-byte characters, played once, fits too.
inline constexpr qsizetype MaxPlayedEvents = kMaxScoreFileBytes / 8 * 8;

// "(" and spacers: a segment mark after nothing but these still opens the score.
bool IsOpeningFiller(int code);

// The number of events of each segment of the notation, in text order, as the compiler's scan cuts
// them: a segment ends with its mark, and a mark that only "(" and spacers stand before belongs to
// the first segment.
std::vector<qsizetype> SegmentLengths(const QString& notationText);

} // namespace tunvale::notation
