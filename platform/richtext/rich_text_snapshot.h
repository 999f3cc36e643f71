#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// A plain copy of a score's rich text as the compiler and other core code read it: no widget, no
// QTextDocument. Positions are the adapter's: 0-based UTF-16 units in which every paragraph break
// counts two characters, "\r\n".
namespace tunvale::platform {

// A colour as 0xAARRGGBB, the layout of QRgb, kept here without Qt Gui so core code needs Qt Core only.
using SnapshotColor = std::uint32_t;

struct RichTextSnapshot {
    struct Line {
        int start = 0; // position of the display line's first character
        QString text; // ends with "\r\n" where the line ends a paragraph that is not the last
        QString startFont; // the font an empty selection at the line's start reports
    };

    QString text; // paragraphs joined by "\r\n"
    QStringList fontNames; // the font families in use, as stored
    std::vector<std::uint16_t> fonts; // per position: index into fontNames
    std::vector<SnapshotColor> colors; // per position: foreground colour
    std::vector<Line> lines; // display lines at the document's text width

    int size() const { return int(text.size()); }
    QString fontAt(int pos) const
    {
        return pos >= 0 && pos < int(fonts.size()) ? fontNames.value(fonts[size_t(pos)]) : QString();
    }
    SnapshotColor colorAt(int pos) const
    {
        return pos >= 0 && pos < int(colors.size()) ? colors[size_t(pos)] : 0;
    }
};

} // namespace tunvale::platform
