#include "app/frame/midi_text.h"

#include "app/notation/notation_chars.h"
#include "app/notation/play_order_key.h"

#include <array>

namespace tunvale::frame {

namespace {

constexpr int kFirstIdeograph = 0x4E00;

// The "F" of the symbol font is a plain "F" to the export.
void dropSymbolMarkBeforeF(QString& text)
{
    text.replace(QString(QChar(notation::FontRunMark::Symbol)) + u'F', QStringLiteral("F"));
}

// Drops the characters `strippable` accepts at both ends.
void stripEnds(QString& text, auto strippable)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && strippable(text[first]))
        ++first;
    while (last > first && strippable(text[last - 1]))
        --last;
    text = text.mid(first, last - first);
}

} // namespace

MidiText PrepareMidiText(const platform::RichTextSnapshot& score, int selStart, int selEnd)
{
    // Groups of 2, 3 and 4 notes in KORVA_Note_yy1 .. KORVA_Note_yy3: the marker goes before the first
    // note of each group.
    std::array<int, 3> graceCount {};
    MidiText result;
    for (const platform::RichTextSnapshot::Line& line : score.lines) {
        if (!notation::IsNotationLine(line.text, line.startFont))
            continue;
        QString text = line.text;
        if (text.endsWith(QStringLiteral("\r\n")))
            text.chop(2);
        for (int c = 0; c < text.size(); ++c) {
            const int position = line.start + c;
            const QChar character = text[c];
            const QString font = score.fontAt(position);
            QString written;
            if (font == notation::SymbolFontFamily) {
                written += QChar(notation::FontRunMark::Symbol);
            } else if (character.unicode() >= kFirstIdeograph) {
                if (font == notation::GraceFontFamilies[0]) {
                    written += QChar(notation::FontRunMark::forGraceClass(1));
                } else {
                    for (int g = 1; g < 4; ++g) {
                        if (font != notation::GraceFontFamilies[size_t(g)])
                            continue;
                        if (graceCount[size_t(g - 1)]++ % (g + 1) == 0)
                            written += QChar(notation::FontRunMark::forGraceClass(g + 1));
                    }
                }
            }
            written += character;
            result.JPWord += written;
            if (position >= selStart && position < selEnd)
                result.JPWord2 += written;
        }
    }
    stripEnds(result.JPWord, [](QChar c) { return c == u' '; });
    // Spacers and "(" mean nothing at the ends of the text.
    for (QString* text : { &result.JPWord, &result.JPWord2 }) {
        dropSymbolMarkBeforeF(*text);
        stripEnds(*text, [](QChar c) { return c.unicode() == notation::SpacerGlyph::Plain || c == u'('; });
    }
    return result;
}

} // namespace tunvale::frame
