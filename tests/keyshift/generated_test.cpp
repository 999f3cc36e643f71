#include "tests/keyshift/keyshift_text.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include "app/frame/read_vls.h"
#include "app/notation/notation_chars.h"
#include "components/keyshift/note_mapping.h"
#include "components/keyshift/transposer.h"
#include "platform/richtext/rich_text_box.h"
#include "platform/richtext/rtf_reader.h"

#include <QDir>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::keyshift;
using namespace tunvale::testing;

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

bool tableWarns(int step, const SoundingNote& note)
{
    const notation::NoteGlyph glyph = *notation::NoteGlyph::decode(note.code);
    for (int running : { 0, 1 }) {
        const NoteMove cell = MappingCell(step, note.recorded, glyph.Degree, running);
        if (cell.warning || (cell.octave > 0 && glyph.OctaveRow == 6)
            || (cell.octave < 0 && glyph.OctaveRow == 3))
            return true;
    }
    return false;
}

// The transposed text reads back with every other character as it was, and every note sounding
// the step higher; or else the range message came, from a note that the table marks. Returns the
// transposed text ("" out of range).
QString checkTransposition(const QString& rtf, int step, const std::string& what)
{
    SCOPED_TRACE(what + " step " + std::to_string(step));
    ScriptedPrompts prompts;
    const TransposeResult result = TransposeRtf(rtf, step, prompts);
    const platform::RichContent input = read(rtf);
    const std::vector<SoundingNote> before = SoundingNotes(input);
    if (result.outOfRange) {
        EXPECT_EQ(prompts.shown.size(), 1u);
        EXPECT_TRUE(std::any_of(
            before.begin(), before.end(), [&](const SoundingNote& n) { return tableWarns(step, n); }));
        return QString();
    }
    EXPECT_TRUE(prompts.shown.empty());
    const platform::RichContent output = read(result.rtf);
    EXPECT_EQ(describe(OtherGlyphs(output)), describe(OtherGlyphs(input)));
    const std::vector<SoundingNote> after = SoundingNotes(output);
    EXPECT_EQ(after.size(), before.size());
    for (size_t i = 0; i < std::min(before.size(), after.size()); ++i) {
        EXPECT_EQ(after[i].pitch, before[i].pitch + step) << "note " << i;
        const auto from = *notation::NoteGlyph::decode(before[i].code);
        const auto to = *notation::NoteGlyph::decode(after[i].code);
        EXPECT_EQ(to.NoteBlock, from.NoteBlock) << "note " << i;
        EXPECT_EQ(to.DurIndex, from.DurIndex) << "note " << i;
        EXPECT_EQ(after[i].format, before[i].format) << "note " << i;
    }
    // Only sharps and naturals are written; the key line keeps its own sign.
    bool keyLine = false;
    for (const Glyph& g : GlyphList(output)) {
        const bool noteFont = g.format.font == notation::NoteFontFamily;
        keyLine = g.c != u'\n' && (keyLine || (noteFont && notation::KeyMarker::contains(g.c.unicode())));
        const auto sign = notation::AccidentalGlyph::decode(g.c.unicode());
        if (noteFont && sign && !keyLine) {
            EXPECT_TRUE(sign->kind == notation::AccidentalGlyph::Sharp
                || sign->kind == notation::AccidentalGlyph::Natural);
        }
    }
    return result.rtf;
}

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
        for (int n = 1 + pick(5); n > 0; --n) {
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

    ScoreLine notationLine()
    {
        static const QStringList symbols = { "B", "CF", "IFFF", "*", "9", "G" };
        static const int sizes[] = { 64, 64, 48, 30 };
        ScoreLine line;
        for (int n = 4 + pick(14); n > 0; --n) {
            const int kind = pick(100);
            if (kind < 45) {
                const QChar n = note();
                line.push_back(N(pick(3) == 0 ? QString(tunvale::testing::Sign(n, pick(5))) + n : QString(n),
                    sizes[pick(3)]));
            } else if (kind < 55) {
                static const char16_t bars[] = { 0x6352, 0x6355, 0x6357, 0x638E, 0x638F };
                line.push_back(N(QString(QChar(bars[pick(5)]))));
            } else if (kind < 62) {
                static const char16_t others[] = { 0x6353, 0x62C2, 0x62CE, 0x6351, u'(' };
                line.push_back(N(QString(QChar(others[pick(5)]))));
            } else if (kind < 75) {
                static const int offsets[] = { 0, 0, 6, -4 };
                line.push_back(S(symbols[pick(symbols.size())], sizes[1 + pick(3)], offsets[pick(4)]));
            } else {
                const int size = 1 + pick(4);
                QString text = pick(3) == 0 ? QStringLiteral("$") : pick(2) ? QStringLiteral("(") : QString();
                for (int k = pick(size + 1); k > 0; --k)
                    text += QChar(char16_t(notation::NoteGlyph::First + pick(0x572F - 0x4E00 + 1)));
                if (pick(2))
                    text += u')';
                if (!text.isEmpty())
                    line.push_back(Y(size, text, pick(2) ? 32 : 24));
            }
        }
        return line;
    }

    QRandomGenerator random_;
    bool everyRow_ = false;
};

// The scores that come with the program, as the editor holds them.
std::vector<std::pair<QString, QString>> sampleScores()
{
    std::vector<std::pair<QString, QString>> samples;
    const QDir folder(QStringLiteral(TUNVALE_SOURCE_DIR "/data/vls"));
    for (const QString& name : folder.entryList({ QStringLiteral("*.vls") })) {
        const frame::VlsDocument document = frame::ReadVls(folder.filePath(name), {}, {});
        platform::RichTextBox box;
        if (document.status == frame::VlsReadStatus::Ok && box.setTextRTF(QString::fromLatin1(document.body)))
            samples.emplace_back(name, box.TextRTF());
    }
    const QString features = testDataPath(QStringLiteral("rtf/score_features.rtf"));
    platform::RichTextBox box;
    if (box.setTextRTF(QString::fromLatin1(readAll(features))))
        samples.emplace_back(QStringLiteral("score_features.rtf"), box.TextRTF());
    return samples;
}

} // namespace

TEST(GeneratedScores, EveryNoteSoundsTheStepHigherAndNothingElseChanges)
{
    RandomScore scores(19);
    int transposed = 0;
    for (int i = 0; i < 300; ++i) {
        const QString rtf = ScoreRtf(scores.make(i % 4 == 0));
        for (int step : { 2, -2, 1, -1 }) {
            if (!checkTransposition(rtf, step, "score " + std::to_string(i)).isEmpty())
                ++transposed;
        }
    }
    EXPECT_GT(transposed, 900);
}

TEST(GeneratedScores, SamplesTransposeAndComeBack)
{
    const auto samples = sampleScores();
    ASSERT_GE(samples.size(), 4u);
    for (const auto& [name, rtf] : samples) {
        for (int step : { 2, -2, 1, -1 }) {
            const QString there = checkTransposition(rtf, step, name.toStdString());
            if (there.isEmpty())
                continue;
            const std::vector<SoundingNote> original = SoundingNotes(read(rtf));
            const bool withoutSigns = std::all_of(
                original.begin(), original.end(), [](const SoundingNote& n) { return n.recorded == 0; });
            const QString back = checkTransposition(there, -step, name.toStdString() + " back");
            if (!withoutSigns || back.isEmpty())
                continue;
            std::vector<int> before, after;
            for (const SoundingNote& n : original)
                before.push_back(n.code);
            for (const SoundingNote& n : SoundingNotes(read(back)))
                after.push_back(n.code);
            EXPECT_EQ(after, before) << name.toStdString() << " " << step;
        }
    }
}
