#pragma once

#include <QString>

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

} // namespace tunvale::notation
