#pragma once

#include "platform/richtext/rich_text_box.h"

#include <QString>

#include <initializer_list>
#include <vector>

// Scores for the editor's tests, built through the rich-text adapter.
namespace tunvale::testing {

struct ScoreLine {
    QString font;
    QString text; // without the line break
};

// One paragraph per line, notation in 16 points, text in 12.
void FillScore(platform::RichTextBox& box, std::initializer_list<ScoreLine> lines);
// Appends text in a font at the end.
void Append(platform::RichTextBox& box, const QString& font, const QString& text);
// Appends paragraphs of a digit, each in a size of its own, until the text uses kMostFonts fonts; gives
// the number it then uses.
qsizetype PadToFontLimit(platform::RichTextBox& box);

// Text of notation characters by code.
QString Codes(std::initializer_list<int> codes);
QString Codes(const std::vector<int>& codes);
// The codes of a text, "U+XXXX" joined by blanks, for readable failures.
std::string Hex(const QString& text);

inline const QString kNote = QStringLiteral("KORVA_Note");
inline const QString kSymbol = QStringLiteral("KORVA_Note_Symbol");
inline const QString kGrace = QStringLiteral("KORVA_Note_yy");
inline const QString kSong = QStringLiteral("宋体");

constexpr int kBar = 0x6352;
// A plain note of degree 1..7, middle octave, quarter.
constexpr int Note(int degree) { return 0x4E00 + degree - 1; }

} // namespace tunvale::testing
