#include "tests/keyshift/keyshift_text.h"
#include "tests/compiler/compile_helpers.h"

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

} // namespace

std::string Glyphs(const platform::RichContent& content) { return describe(GlyphList(content)); }

std::string Glyphs(const QString& rtf)
{
    const std::optional<platform::RichContent> content = platform::ReadRtf(rtf, platform::DefaultTextFont());
    return content ? Glyphs(*content) : std::string();
}

std::vector<Glyph> WrittenNotes(const platform::RichContent& content)
{
    std::vector<Glyph> notes;
    bool keyLine = false;
    for (const Glyph& g : GlyphList(content)) {
        const bool noteFont = g.format.font == NoteFontFamily;
        keyLine = g.c != u'\n' && (keyLine || (noteFont && KeyMarker::contains(g.c.unicode())));
        if (noteFont && !keyLine && NoteGlyph::contains(g.c.unicode()))
            notes.push_back(g);
    }
    return notes;
}

std::vector<PlayedNote> PlayedNotes(const platform::RichContent& content)
{
    platform::RichTextSnapshotBuilder builder;
    for (size_t i = 0; i < content.size(); ++i) {
        if (i > 0)
            builder.paragraph();
        for (const platform::TextRun& run : content[i].runs)
            builder.run(run.text, run.format.font);
    }
    const platform::RichTextSnapshot score = builder.build();
    const PerformanceCompiler compiler = Compile(score);
    const std::vector<CodeEvent>& events = compiler.workingEvents();
    std::vector<PlayedNote> notes;
    for (size_t i = 0; i < events.size(); ++i) {
        if (!NoteGlyph::contains(events[i].CharCode) || score.fontAt(events[i].CharPos) != NoteFontFamily)
            continue;
        double graceTime = 0;
        for (size_t j = i; j-- > 0;) {
            const bool grace = events[j].FontClass >= 1 && events[j].FontClass <= MergedGraceFontClass;
            if (!grace && !AccidentalGlyph::contains(events[j].CharCode))
                break;
            graceTime += events[j].EventTime;
        }
        notes.push_back(PlayedNote { events[i].EventCode, events[i].EventTime, graceTime });
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
