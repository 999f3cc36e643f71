#include "tests/keyshift/keyshift_text.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include "app/frame/read_vls.h"
#include "app/notation/code_event.h"
#include "app/notation/notation_chars.h"
#include "components/keyshift/note_mapping.h"
#include "components/keyshift/transposer.h"
#include "platform/richtext/rich_text_box.h"
#include "platform/richtext/rtf_reader.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::keyshift;
using namespace tunvale::testing;
using notation::NoteGlyph;

namespace {

platform::RichContent read(const QString& rtf)
{
    const std::optional<platform::RichContent> content = platform::ReadRtf(rtf, platform::DefaultTextFont());
    return content ? *content : platform::RichContent {};
}

std::string describe(const std::vector<Glyph>& glyphs)
{
    platform::RichContent content(1);
    for (const Glyph& g : glyphs) {
        if (g.c == u'\n')
            content.emplace_back();
        else
            content.back().runs.push_back(platform::TextRun { g.format, QString(g.c) });
    }
    return Glyphs(content);
}

// A played note: its pitch (1000 where an ornament made a rest of it) and length in sixteenths,
// together with the grace notes right before it. The player takes a grace group's time from the
// character right after the group, so a sign between a grace group and its note leaves the note the
// group's time: a note that needs a sign after a grace group keeps its pitch, not its grace notes.
struct Played {
    int code = 0;
    double length = 0;
    bool operator==(const Played&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Played& note)
{
    return os << note.code << ':' << note.length;
}

std::vector<Played> played(const std::vector<PlayedNote>& notes, int step = 0)
{
    std::vector<Played> result;
    result.reserve(notes.size());
    for (const PlayedNote& n : notes)
        result.push_back(Played { n.code == 1000 ? 1000 : n.code + step, n.length + n.graceTime });
    return result;
}

// A refusal comes from a note whose mapping cell leaves the drawable rows, for the alteration the
// player gives it (any, for a note an ornament made a rest of).
bool refusalExplained(const platform::RichContent& score, int step)
{
    const std::vector<Glyph> written = WrittenNotes(score);
    const std::vector<PlayedNote> events = PlayedNotes(score);
    for (size_t i = 0; i < written.size() && i < events.size(); ++i) {
        const NoteGlyph glyph = *NoteGlyph::decode(written[i].c.unicode());
        const int alteration = events[i].code - notation::PitchOf(glyph.OctaveRow, glyph.Degree);
        for (int recorded : { -2, -1, 0, 1, 2 }) {
            if (events[i].code != 1000 && recorded != alteration)
                continue;
            for (int running : { 0, 1 }) {
                const NoteMove cell = MappingCell(step, recorded, glyph.Degree, running);
                if (cell.warning || (cell.octave > 0 && glyph.OctaveRow == 6)
                    || (cell.octave < 0 && glyph.OctaveRow == 3))
                    return true;
            }
        }
    }
    return false;
}

// The signs the transposer writes, those right in front of a note of the note font, are single
// sharps and naturals.
void expectSingleSharpsAndNaturals(const platform::RichContent& score)
{
    const std::vector<Glyph> glyphs = GlyphList(score);
    bool keyLine = false;
    for (size_t i = 0; i + 1 < glyphs.size(); ++i) {
        const bool noteFont = glyphs[i].format.font == notation::NoteFontFamily;
        keyLine = glyphs[i].c != u'\n'
            && (keyLine || (noteFont && notation::KeyMarker::contains(glyphs[i].c.unicode())));
        const auto sign = notation::AccidentalGlyph::decode(glyphs[i].c.unicode());
        const Glyph& next = glyphs[i + 1];
        if (!noteFont || !sign || keyLine || next.format.font != notation::NoteFontFamily
            || !NoteGlyph::contains(next.c.unicode()))
            continue;
        EXPECT_TRUE(sign->kind == notation::AccidentalGlyph::Sharp
            || sign->kind == notation::AccidentalGlyph::Natural)
            << "glyph " << i;
        EXPECT_FALSE(i > 0 && notation::AccidentalGlyph::contains(glyphs[i - 1].c.unicode()))
            << "two signs at glyph " << i;
    }
}

struct Tally {
    int transposed = 0;
    int refused = 0;
};

// One step of one score: refused because of a note the mapping cannot draw, or a text whose notes
// play exactly the step away, keep their blocks, durations and formats, with nothing else changed;
// and the opposite step gives the melody back.
void checkStep(const QString& rtf, int step, const std::string& what, Tally& tally)
{
    SCOPED_TRACE(what + " step " + std::to_string(step));
    const platform::RichContent source = read(rtf);
    ScriptedPrompts prompts;
    const TransposeResult there = TransposeRtf(rtf, step, prompts);
    if (there.outOfRange) {
        ++tally.refused;
        EXPECT_EQ(prompts.shown.size(), 1u);
        EXPECT_TRUE(refusalExplained(source, step));
        return;
    }
    ++tally.transposed;
    EXPECT_TRUE(prompts.shown.empty());
    const platform::RichContent target = read(there.rtf);
    const std::vector<PlayedNote> original = PlayedNotes(source);
    ASSERT_EQ(played(PlayedNotes(target)), played(original, step));
    EXPECT_EQ(describe(OtherGlyphs(target)), describe(OtherGlyphs(source)));
    const std::vector<Glyph> before = WrittenNotes(source);
    const std::vector<Glyph> after = WrittenNotes(target);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        const NoteGlyph from = *NoteGlyph::decode(before[i].c.unicode());
        const NoteGlyph to = *NoteGlyph::decode(after[i].c.unicode());
        EXPECT_EQ(to.NoteBlock, from.NoteBlock) << "note " << i;
        EXPECT_EQ(to.DurIndex, from.DurIndex) << "note " << i;
        EXPECT_EQ(after[i].format, before[i].format) << "note " << i;
    }
    expectSingleSharpsAndNaturals(target);

    const TransposeResult back = TransposeRtf(there.rtf, -step, prompts);
    if (back.outOfRange) {
        // The way back may need what cannot be written, such as a flat 1 of the lowest row.
        EXPECT_TRUE(refusalExplained(target, -step));
        return;
    }
    EXPECT_EQ(played(PlayedNotes(read(back.rtf))), played(original));
}

// Scores as the editor writes them, with signs of every kind before notes and ornaments, ornaments
// the player spells from their note, grace-note groups the player does not lend the next note, bar
// lines and segment marks.
class RandomScore
{
public:
    explicit RandomScore(quint32 seed)
        : random_(seed)
    {
    }

    std::vector<ScoreLine> make(bool everyRow)
    {
        everyRow_ = everyRow;
        std::vector<ScoreLine> lines = { { T(QStringLiteral("一丁 title")) }, keyLine() };
        for (int n = 1 + pick(4); n > 0; --n) {
            lines.push_back(notationLine());
            lines.push_back({ T(QStringLiteral("一 la 七 丁")) });
        }
        return lines;
    }

private:
    int pick(int n) { return int(random_.bounded(n)); }

    ScoreLine keyLine()
    {
        QString key = QString(KeyMark);
        if (pick(2))
            key += QChar(char16_t(notation::AccidentalGlyph::First + pick(2)));
        key += QChar(char16_t(notation::KeyNameGlyph::First + pick(21)));
        ScoreLine line { N(key) };
        if (pick(2))
            line.push_back(N(QString(note())));
        return line;
    }

    QChar note()
    {
        static const int someRows[] = { 0, 1, 2, 4, 5 };
        const int row = everyRow_ ? pick(7) : someRows[pick(5)];
        return Note(1 + pick(7), row, pick(6), pick(14));
    }

    // Up to two signs of any kind, an ornament, a note.
    void decoratedNote(ScoreLine& line)
    {
        static const QStringList ornaments
            = { "BF", "CF", "DFFF", "EFFF", "G", "H", "IFFFFF", "IFFF", "*", "9", "-", "*BF" };
        static const int sizes[] = { 64, 64, 48, 30 };
        const QChar n = note();
        QString signs;
        for (int k = pick(6) == 0 ? 2 : pick(2); k > 0; --k)
            signs += tunvale::testing::Sign(n, pick(5));
        const int ornament = pick(8);
        if (ornament == 0) {
            line.push_back(N(signs + QStringLiteral("CF") + n, sizes[pick(3)]));
            return;
        }
        if (!signs.isEmpty())
            line.push_back(N(signs));
        if (ornament == 1)
            line.push_back(S(ornaments[pick(ornaments.size())], sizes[1 + pick(3)], pick(3) == 0 ? 6 : 0));
        line.push_back(N(QString(n), sizes[pick(3)]));
    }

    // A group as the editor writes it, n notes in the font of n: of a kind that the player takes
    // from the note before it, or of no kind; or a group of any kind in brackets, whose notes the
    // player all takes into the group, which ends at the bracket; or a grace-font bar line.
    void graceGroup(ScoreLine& line)
    {
        const int size = 1 + pick(4);
        if (pick(6) == 0) {
            line.push_back(Y(size, QStringLiteral("$")));
            return;
        }
        const bool bracketed = pick(2) == 0;
        // The deciding note is the first of a single grace note, else the second.
        const int deciding = size == 1 ? 0 : 1;
        QString text = bracketed ? QStringLiteral("(") : QString();
        for (int k = 0; k < size; ++k) {
            int block = pick(12);
            if (k == deciding)
                block = bracketed ? (size == 1 ? pick(8) : 4 + pick(8))
                                  : (size == 1 ? 4 + pick(8) : 8 + pick(4));
            text += Note(1 + pick(7), pick(7), pick(6), block);
        }
        if (bracketed)
            text += u')';
        else if (pick(3) == 0)
            line.push_back(
                N(QString(tunvale::testing::Sign(text.at(0), pick(5))))); // the grace note's own sign
        line.push_back(Y(size, text, pick(2) ? 32 : 24));
    }

    ScoreLine notationLine()
    {
        ScoreLine line;
        for (int n = 4 + pick(14); n > 0; --n) {
            const int kind = pick(100);
            if (kind < 50) {
                decoratedNote(line);
            } else if (kind < 62) {
                static const char16_t bars[]
                    = { 0x6352, 0x6352, 0x6355, 0x6357, 0x6358, 0x635D, 0x638F, 0x638E, u'^', u'a' };
                line.push_back(N(QString(QChar(bars[pick(10)]))));
            } else if (kind < 72) {
                static const char16_t others[] = { 0x6353, 0x62C2, 0x62CE, 0x6351, u'(', 0x6226 };
                line.push_back(N(QString(QChar(others[pick(6)]))));
            } else {
                graceGroup(line);
            }
        }
        return line;
    }

    QRandomGenerator random_;
    bool everyRow_ = false;
};

// The scores that come with the program, the compiler's test song, and a few bars with signs, as
// the editor holds them.
std::vector<std::pair<QString, QString>> sampleScores()
{
    std::vector<std::pair<QString, QString>> samples;
    QStringList files;
    const QDir folder(QStringLiteral(TUNVALE_SOURCE_DIR "/data/vls"));
    for (const QString& name : folder.entryList({ QStringLiteral("*.vls") }))
        files << folder.filePath(name);
    files << testDataPath(QStringLiteral("compiler/song.vls"));
    for (const QString& file : files) {
        const frame::VlsDocument document = frame::ReadVls(file, {}, {});
        platform::RichTextBox box;
        if (document.status == frame::VlsReadStatus::Ok && box.setTextRTF(QString::fromLatin1(document.body)))
            samples.emplace_back(QFileInfo(file).fileName(), box.TextRTF());
    }
    for (const QString& file :
        { QStringLiteral("rtf/score_features.rtf"), QStringLiteral("compiler/song.rtf") }) {
        platform::RichTextBox box;
        if (box.setTextRTF(QString::fromLatin1(readAll(testDataPath(file)))))
            samples.emplace_back(file, box.TextRTF());
    }
    const QChar n4 = Note(4), n5 = Note(5), n6 = Note(6), n7 = Note(7);
    samples.emplace_back(
        QStringLiteral("sharp 4"), ScoreRtf({ { N(QString(Sharp(n4)) + n4 + n5 + n6 + n5 + Bar) } }));
    samples.emplace_back(QStringLiteral("flat 7"),
        ScoreRtf({ { N(QString(tunvale::testing::Sign(n7, 1)) + n7 + n6 + n7 + Bar) } }));
    samples.emplace_back(QStringLiteral("signs of every kind"),
        ScoreRtf({ { N(QString(tunvale::testing::Sign(n4, 2)) + n4 + tunvale::testing::Sign(n6, 3) + n6 + n4
            + Natural(n4) + n4 + Bar + n4 + n6) } }));
    return samples;
}

} // namespace

// Random scores, every step: the melody plays exactly the step away, or the step is refused; the
// opposite step plays the original again.
TEST(GeneratedScores, EveryNotePlaysTheStepAwayAndNothingElseChanges)
{
    RandomScore scores(19);
    Tally tally;
    for (int i = 0; i < 1200; ++i) {
        const QString rtf = ScoreRtf(scores.make(i % 4 == 0));
        for (int step : { 2, -2, 1, -1 })
            checkStep(rtf, step, "score " + std::to_string(i), tally);
        if (HasFatalFailure())
            return;
    }
    EXPECT_GT(tally.transposed, 4000);
    EXPECT_GT(tally.refused, 100);
}

TEST(GeneratedScores, SamplesPlayTheStepAwayAndComeBack)
{
    const auto samples = sampleScores();
    ASSERT_GE(samples.size(), 9u);
    Tally tally;
    for (const auto& [name, rtf] : samples) {
        for (int step : { 2, -2, 1, -1 }) {
            checkStep(rtf, step, name.toStdString(), tally);
            // A score without signs comes back note for note.
            const std::vector<Glyph> glyphs = GlyphList(read(rtf));
            if (std::any_of(glyphs.begin(), glyphs.end(),
                    [](const Glyph& g) { return notation::AccidentalGlyph::contains(g.c.unicode()); }))
                continue;
            const std::vector<Glyph> original = WrittenNotes(read(rtf));
            ScriptedPrompts prompts;
            const QString there = TransposeRtf(rtf, step, prompts).rtf;
            const QString back = there.isEmpty() ? QString() : TransposeRtf(there, -step, prompts).rtf;
            if (!back.isEmpty()) {
                EXPECT_EQ(describe(WrittenNotes(read(back))), describe(original))
                    << name.toStdString() << " " << step;
            }
        }
    }
    EXPECT_GT(tally.transposed, 32);
}
