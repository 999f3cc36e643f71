#pragma once

#include "app/notation/notation_chars.h"
#include "platform/richtext/rich_text_snapshot.h"

#include <vector>

namespace tunvale::testing {

// Fonts by letter: n notation, s symbol, 0..3 the grace fonts (single note, groups of 2, 3, 4),
// t the text font.
inline QString fontOf(char letter)
{
    switch (letter) {
    case 'n':
        return notation::NoteFontFamily;
    case 's':
        return notation::SymbolFontFamily;
    case 't':
        return notation::TextFontFamily;
    default:
        return notation::GraceFontFamilies[size_t(letter - '0')];
    }
}

struct Run {
    char font;
    const char16_t* text;
};
using Paragraph = std::vector<Run>;

// One display line per paragraph, joined by "\r\n".
inline platform::RichTextSnapshot snapshotOf(const std::vector<Paragraph>& paragraphs)
{
    platform::RichTextSnapshot s;
    for (const char letter : QByteArray("nst0123"))
        s.fontNames << fontOf(letter);
    auto fontIndex = [&](char letter) { return std::uint16_t(s.fontNames.indexOf(fontOf(letter))); };
    for (size_t p = 0; p < paragraphs.size(); ++p) {
        platform::RichTextSnapshot::Line line;
        line.start = s.size();
        for (const Run& run : paragraphs[p]) {
            const QString text = QString::fromUtf16(run.text);
            line.text += text;
            s.fonts.insert(s.fonts.end(), size_t(text.size()), fontIndex(run.font));
        }
        line.startFont = paragraphs[p].empty() ? QString() : fontOf(paragraphs[p].front().font);
        if (p + 1 < paragraphs.size()) {
            line.text += QStringLiteral("\r\n");
            s.fonts.insert(s.fonts.end(), 2, s.fonts.empty() ? 0 : s.fonts.back());
        }
        s.text += line.text;
        s.lines.push_back(line);
    }
    return s;
}

} // namespace tunvale::testing
