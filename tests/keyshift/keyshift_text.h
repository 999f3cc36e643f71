#pragma once

#include "platform/richtext/rich_text_content.h"

#include <QChar>
#include <QString>

#include <string>
#include <vector>

// Scores for the transposer's tests: lines of runs in the notation fonts, written in our RTF, and
// what a transposed RTF reads back as.
namespace tunvale::testing {

// A run of text in one font; sizes in half points.
struct Piece {
    QString font;
    QString text;
    int halfPoints = 64;
    int offset = 0;
};
using ScoreLine = std::vector<Piece>;

Piece N(const QString& text, int halfPoints = 64); // KORVA_Note
Piece S(const QString& text, int halfPoints = 40, int offset = 0); // KORVA_Note_Symbol
Piece Y(int size, const QString& text, int halfPoints = 32); // grace font of a group of `size` notes
Piece T(const QString& text); // 宋体

platform::RichContent Score(const std::vector<ScoreLine>& lines);
QString ScoreRtf(const std::vector<ScoreLine>& lines);

// A note character, and the accidental signs drawn for it (kind 0 sharp, 1 flat, 2 double sharp,
// 3 double flat, 4 natural).
QChar Note(int degree, int row = 0, int dur = 0, int block = 0);
QChar Sign(QChar note, int kind);
QChar Sharp(QChar note);
QChar Natural(QChar note);
inline const QChar Bar(char16_t(0x6352));
inline const QChar KeyMark(char16_t(0x634F));

// Every character of the RTF as read back, with its font, size and raise, one per line; paragraph
// breaks as "par". Empty when the text is not RTF.
std::string Glyphs(const QString& rtf);
std::string Glyphs(const platform::RichContent& content);

// A character of a read-back score with its format.
struct Glyph {
    QChar c;
    platform::RunFormat format;
    bool operator==(const Glyph&) const = default;
};
std::vector<Glyph> GlyphList(const platform::RichContent& content); // paragraph breaks as '\n'

// The notes of the note font outside the key line, in text order.
std::vector<Glyph> WrittenNotes(const platform::RichContent& content);

// A note of the note font as the performance compiler plays it.
struct PlayedNote {
    int code = 0; // MIDI note; 1000 where an ornament made a rest of it
    double length = 0; // in sixteenths
    double graceTime = 0; // of the grace notes right before it, which take their time from it
};
// The notes of the note font (grace notes left out) in play order.
std::vector<PlayedNote> PlayedNotes(const platform::RichContent& content);

// The glyphs other than the notes and accidentals of the note font outside the key line.
std::vector<Glyph> OtherGlyphs(const platform::RichContent& content);

} // namespace tunvale::testing
