#include "tests/keyshift/keyshift_text.h"

#include "app/notation/notation_chars.h"
#include "platform/richtext/rtf_reader.h"
#include "platform/richtext/rtf_writer.h"

#include <array>

namespace tunvale::testing {

using namespace notation;

Piece N(const QString& text, int halfPoints) { return Piece { NoteFontFamily, text, halfPoints, 0 }; }
Piece S(const QString& text, int halfPoints, int offset)
{
    return Piece { SymbolFontFamily, text, halfPoints, offset };
}
Piece Y(int size, const QString& text, int halfPoints)
{
    return Piece { GraceFontFamilies[size_t(size - 1)], text, halfPoints, 0 };
}
Piece T(const QString& text) { return Piece { TextFontFamily, text, 24, 0 }; }

platform::RichContent Score(const std::vector<ScoreLine>& lines)
{
    platform::RichContent content;
    for (const ScoreLine& line : lines) {
        platform::RichParagraph paragraph;
        for (const Piece& piece : line) {
            platform::TextRun run;
            run.format.font = piece.font;
            run.format.halfPoints = piece.halfPoints;
            run.format.offset = piece.offset;
            run.text = piece.text;
            paragraph.runs.push_back(run);
        }
        if (!paragraph.runs.empty())
            paragraph.mark = paragraph.runs.back().format;
        content.push_back(paragraph);
    }
    if (content.empty())
        content.emplace_back();
    return content;
}

QString ScoreRtf(const std::vector<ScoreLine>& lines) { return platform::WriteRtf(Score(lines)); }

QChar Note(int degree, int row, int dur, int block)
{
    return QChar(char16_t(NoteGlyph { block, row, dur, degree }.code()));
}

QChar Sign(QChar note, int kind)
{
    // The accidental set that goes with each note block.
    constexpr std::array<int, 14> sets = { 0, 0, 1, 1, 1, 1, 1, 1, 0, 2, 2, 1, 3, 3 };
    const NoteGlyph glyph = *NoteGlyph::decode(note.unicode());
    return QChar(
        char16_t(AccidentalGlyph::First + sets[size_t(glyph.NoteBlock)] * 30 + glyph.DurIndex * 5 + kind));
}
QChar Sharp(QChar note) { return Sign(note, AccidentalGlyph::Sharp); }
QChar Natural(QChar note) { return Sign(note, AccidentalGlyph::Natural); }

std::vector<Glyph> GlyphList(const platform::RichContent& content)
{
    std::vector<Glyph> glyphs;
    for (size_t i = 0; i < content.size(); ++i) {
        if (i > 0)
            glyphs.push_back(Glyph { QChar(u'\n'), {} });
        for (const platform::TextRun& run : content[i].runs) {
            for (QChar c : run.text)
                glyphs.push_back(Glyph { c, run.format });
        }
    }
    return glyphs;
}

namespace {

std::string describe(const std::vector<Glyph>& glyphs)
{
    std::string out;
    for (const Glyph& g : glyphs) {
        if (g.c == u'\n') {
            out += "par\n";
            continue;
        }
        out += QStringLiteral("U+%1 %2 %3 %4\n")
                   .arg(g.c.unicode(), 4, 16, QLatin1Char('0'))
                   .arg(g.format.font)
                   .arg(g.format.halfPoints)
                   .arg(g.format.offset)
                   .toStdString();
    }
    return out;
}

bool isStateReset(int code)
{
    return code == 0x6352 || code == 0x6355 || (code >= 0x6357 && code <= 0x6371) || code == 0x6373
        || (code >= 0x637F && code <= 0x6387) || code == 0x638E || code == 0x638F;
}

bool isGraceFont(const QString& font)
{
    return std::find(GraceFontFamilies.begin(), GraceFontFamilies.end(), font) != GraceFontFamilies.end();
}

} // namespace

std::string Glyphs(const platform::RichContent& content) { return describe(GlyphList(content)); }

std::string Glyphs(const QString& rtf)
{
    const std::optional<platform::RichContent> content = platform::ReadRtf(rtf, platform::DefaultTextFont());
    return content ? Glyphs(*content) : std::string();
}

std::vector<SoundingNote> SoundingNotes(const platform::RichContent& content)
{
    constexpr std::array<int, 7> semitones = { 0, 2, 4, 5, 7, 9, 11 };
    constexpr std::array<int, 7> octaves = { 0, -1, -2, -3, 1, 2, 3 };
    constexpr std::array<int, 5> signValues = { 1, -1, 2, -2, 0 };
    std::vector<SoundingNote> notes;
    int inEffect = 0;
    bool keyLine = false;
    for (const Glyph& g : GlyphList(content)) {
        const int code = g.c.unicode();
        if (g.c == u'\n') {
            keyLine = false;
        } else if (keyLine) {
        } else if (g.format.font == NoteFontFamily) {
            if (const std::optional<NoteGlyph> note = NoteGlyph::decode(code)) {
                const int pitch
                    = octaves[size_t(note->OctaveRow)] * 12 + semitones[size_t(note->Degree - 1)] + inEffect;
                notes.push_back(SoundingNote { pitch, inEffect, code, g.format });
            } else if (AccidentalGlyph::contains(code)) {
                inEffect = signValues[size_t(AccidentalGlyph::decode(code)->kind)];
            } else if (isStateReset(code)) {
                inEffect = 0;
            } else if (KeyMarker::contains(code)) {
                keyLine = true;
            }
        } else if (isGraceFont(g.format.font) && QStringLiteral("$%^_`a").contains(g.c)) {
            inEffect = 0;
        }
    }
    return notes;
}

std::vector<Glyph> OtherGlyphs(const platform::RichContent& content)
{
    std::vector<Glyph> glyphs;
    bool keyLine = false;
    for (const Glyph& g : GlyphList(content)) {
        const int code = g.c.unicode();
        const bool noteFont = g.format.font == NoteFontFamily;
        keyLine = g.c != u'\n' && (keyLine || (noteFont && KeyMarker::contains(code)));
        if (keyLine || !noteFont || !(NoteGlyph::contains(code) || AccidentalGlyph::contains(code)))
            glyphs.push_back(g);
    }
    return glyphs;
}

} // namespace tunvale::testing
