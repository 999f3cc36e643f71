#include "app/notation/breakpoint_cut.h"
#include "app/notation/drum_events.h"
#include "app/notation/notation_chars.h"
#include "app/notation/performance_compiler.h"

#include "platform/richtext/rich_text_snapshot_builder.h"
#include "tests/performance/generated_song.h"
#include "tests/support/test_folders.h"
#include "tests/tools/score_loading.h"

#include <QDir>
#include <QDirIterator>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace tunvale::notation {
namespace {

// The melody's own length: the end of its last record that a character stands for.
double melodyLength(const Performance& p)
{
    double length = 0;
    for (const PlayEvent& e : p.PlayEvents())
        if (e.CharPos >= 0)
            length = std::max(length, e.EventTime);
    return length;
}

void expectInvariants(const Performance& p)
{
    const auto& play = p.PlayEvents();
    for (size_t i = 1; i < play.size(); ++i)
        ASSERT_LE(play[i - 1].EventTime, play[i].EventTime) << "melody record " << i;
    const auto& marks = p.TempoMarks();
    ASSERT_GE(marks.size(), 2u);
    for (size_t j = 1; j < marks.size(); ++j)
        ASSERT_LE(marks[j - 1].TempoStart, marks[j].TempoStart) << "tempo mark " << j;
    EXPECT_EQ(marks.back().TempoStart, melodyLength(p));
    EXPECT_GE(p.TotalPlayTime(), melodyLength(p));
    ASSERT_EQ(p.AccompEventCount(), p.PlayEventCount());
    for (size_t i = 0; i < play.size(); ++i)
        ASSERT_EQ(p.AccompPlayEvents()[i].EventTime, play[i].EventTime);
    if (ModeHasDrums(p.PlayMode())) {
        for (int t = 0; t < DrumTrackCount; ++t) {
            const auto& track = p.DrumPlayEvents(t);
            for (int k = 1; k <= p.DrumEventCount(t); ++k)
                ASSERT_LE(track[size_t(k - 1)].EventTime, track[size_t(k)].EventTime);
            EXPECT_GE(p.TotalPlayTime(), track[size_t(p.DrumEventCount(t))].EventTime);
        }
    }
}

// The first record of a track that ends after S, found independently of the cut.
int firstEndingAfter(const Performance& p, int track, double S)
{
    for (int k = 0; k <= p.DrumEventCount(track); ++k)
        if (p.DrumPlayEvents(track)[size_t(k)].EventTime > S)
            return k;
    return -1;
}

void expectCut(const Performance& p)
{
    const Performance cut = CutAtBreakpoint(p);
    const double S = p.StartPlayTime();
    if (!(S > 0)) {
        EXPECT_EQ(cut.PlayEventCount(), p.PlayEventCount());
        return;
    }
    EXPECT_DOUBLE_EQ(cut.TotalPlayTime(), p.TotalPlayTime() - S);
    const int a = p.PlayStartIndex();
    ASSERT_EQ(cut.PlayEventCount(), std::max(p.PlayEventCount() - a, 0));
    for (int i = 0; i + a + 1 <= p.PlayEventCount(); ++i)
        ASSERT_EQ(cut.PlayEvents()[size_t(i)].EventTime, p.PlayEvents()[size_t(i + a + 1)].EventTime - S);
    const int b = p.AccompStartIndex();
    for (int i = 0; i + b + 1 <= p.AccompEventCount(); ++i)
        ASSERT_EQ(cut.AccompPlayEvents()[size_t(i)].EventTime,
            p.AccompPlayEvents()[size_t(i + b + 1)].EventTime - S);
    if (!ModePlaysDrumsWithMelody(p.PlayMode()))
        return;
    for (int t = 0; t < DrumTrackCount; ++t) {
        const int first = firstEndingAfter(p, t, S);
        if (first < 0) {
            EXPECT_EQ(cut.DrumEventCount(t), 0);
            continue;
        }
        ASSERT_EQ(cut.DrumEventCount(t), p.DrumEventCount(t) - first);
        for (int k = 0; k <= cut.DrumEventCount(t); ++k)
            ASSERT_EQ(cut.DrumPlayEvents(t)[size_t(k)].EventTime,
                p.DrumPlayEvents(t)[size_t(k + first)].EventTime - S);
    }
}

TEST(PerformanceInvariants, GeneratedSongsInEveryModeAndAtSeveralCarets)
{
    for (int bars : { 4, 40 }) {
        const platform::RichTextSnapshot song = testing::GeneratedSong(bars);
        DrumStores stores;
        testing::FillDrums(stores, bars / 2); // the later bars grow zeroed: the drumming stops there
        for (int mode = 0; mode <= 7; ++mode) {
            for (bool sameSpeed : { false, true }) {
                for (int caret : { 0, song.size() / 3, song.size() * 2 / 3, song.size() }) {
                    SCOPED_TRACE(::testing::Message() << bars << " bars, mode " << mode << ", same speed "
                                                      << sameSpeed << ", caret " << caret);
                    CompileInput input(song);
                    input.PlayMode = mode;
                    input.PZType = mode % 4;
                    input.SameSpeed = sameSpeed;
                    input.PlaySelStart = caret;
                    input.drums = &stores;
                    input.seed = std::uint32_t(caret);
                    PerformanceCompiler compiler;
                    compiler.Get_CodeEvents(input);
                    expectInvariants(compiler.performance());
                    expectCut(compiler.performance());
                }
            }
        }
    }
}

// Every score file and RTF score under tests/data, and the sample scores we ship.
QStringList sampleScores()
{
    QStringList files;
    for (const QString& dir : { testing::testDataPath({}), QStringLiteral(TUNVALE_SOURCE_DIR "/data/vls") }) {
        QDirIterator it(dir, { QStringLiteral("*.vls"), QStringLiteral("*.rtf") }, QDir::Files,
            QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
    }
    return files;
}

TEST(PerformanceInvariants, SampleScoresInEveryModeWithDrumsAndAtSeveralCarets)
{
    const QStringList files = sampleScores();
    ASSERT_GE(files.size(), 4);
    for (const QString& file : files) {
        platform::RichTextBox box;
        ScoreHeader header;
        DrumStores stores;
        QString error;
        ASSERT_TRUE(scoretool::LoadScore(file, box, header, stores.XjDrums, error)) << error.toStdString();
        const platform::RichTextSnapshot score = box.snapshot();
        for (int mode = 0; mode <= 7; ++mode) {
            for (int caret : { 0, score.size() / 2, score.size() }) {
                SCOPED_TRACE(
                    ::testing::Message() << file.toStdString() << ", mode " << mode << ", caret " << caret);
                CompileInput input(score);
                input.Volume = header.Volume;
                input.Speed = header.Speed;
                input.PZType = mode % 4;
                input.RapDrum = header.RapDrum;
                input.SameSpeed = header.SameSpeed;
                input.PlayMode = mode;
                input.PlaySelStart = caret;
                input.playOrder = LoadedPlayOrder(header.CurrentFile);
                input.drums = &stores;
                PerformanceCompiler compiler;
                compiler.Get_CodeEvents(input);
                expectInvariants(compiler.performance());
                expectCut(compiler.performance());
            }
        }
    }
}

// Random scores: characters from every class of the notation set in every notation font, odd line
// breaks, header and lyric paragraphs, odd headers, orders and drum records. Nothing may crash, and
// every performance keeps the invariants above.
class RandomScore
{
public:
    explicit RandomScore(std::uint32_t seed)
        : random_(seed)
    {
    }

    int below(int n) { return int(random_() % std::uint32_t(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }

    platform::RichTextSnapshot score()
    {
        static const QString families[]
            = { NoteFontFamily, NoteFontFamily, NoteFontFamily, SymbolFontFamily, GraceFontFamilies[0],
                  GraceFontFamilies[1], GraceFontFamilies[2], GraceFontFamilies[3], TextFontFamily };
        platform::RichTextSnapshotBuilder builder;
        const int paragraphs = between(0, 4);
        for (int p = 0; p < paragraphs; ++p) {
            if (p > 0)
                builder.paragraph();
            const int length = between(0, 40);
            for (int k = 0; k < length; ++k) {
                builder.run(
                    QString(QChar(char16_t(character()))), families[below(9)], std::uint32_t(below(3)));
                if (below(12) == 0)
                    builder.lineBreak();
            }
        }
        return builder.build();
    }

    void fillDrums(DrumStores& stores)
    {
        stores.XjDrums.resize(size_t(between(0, 6)));
        stores.DrumTemplates.resize(size_t(between(0, 3)));
        for (auto* store : { &stores.XjDrums, &stores.DrumTemplates })
            for (DrumRecord& record : *store)
                for (int b = 0; b < DrumRecord::Size; ++b)
                    record.bytes()[b] = std::uint8_t(below(256));
    }

    std::vector<int> order()
    {
        std::vector<int> entries(size_t(between(0, 5)));
        for (int& entry : entries)
            entry = between(-1, 4);
        return entries;
    }

private:
    int character()
    {
        static const std::vector<std::pair<int, int>> ranges = {
            { NoteGlyph::First, NoteGlyph::Last },
            { NoteGlyph::First, NoteGlyph::Last },
            { 0x5F80, 0x5F9B },
            { 0x5FEB, 0x5FEB },
            { 0x6226, 0x629D },
            { 0x629E, 0x62FD },
            { 0x62FE, 0x6356 },
            { 0x6357, 0x638F },
            { '$', 'a' },
            { '(', ')' },
            { 'B', 'K' },
            { 'F', 'F' },
        };
        const auto& [first, last] = ranges[size_t(below(int(ranges.size())))];
        return between(first, last);
    }

    std::mt19937 random_;
};

TEST(PerformanceInvariants, RandomScoresCompileWithoutHarm)
{
    for (std::uint32_t seed = 1; seed <= 1000; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        RandomScore random(seed);
        const platform::RichTextSnapshot score = random.score();
        DrumStores stores;
        random.fillDrums(stores);
        CompileInput input(score);
        input.Volume = random.between(0, 127);
        input.Speed = random.between(-10, 400);
        input.ScoreKey = random.between(0, 54);
        input.BaseKey = random.between(31, 42);
        input.PZType = random.between(0, 4);
        input.PlayMode = random.between(0, 7); // the modes that play a melody
        input.PlaySelStart = random.between(-1, score.size() + 1);
        input.SameSpeed = random.below(2) == 1;
        input.RapDrum = random.between(0, 80);
        input.drums = &stores;
        input.seed = seed;
        if (random.below(2) == 1)
            input.playOrder = [order = random.order()](const QString&) { return order; };
        PerformanceCompiler compiler;
        compiler.Get_CodeEvents(input);
        const Performance& performance = compiler.performance();
        SCOPED_TRACE(::testing::Message() << "mode " << input.PlayMode);
        expectInvariants(performance);
        expectCut(performance);
        for (const PlayEvent& e : performance.PlayEvents())
            ASSERT_LT(e.CharPos, score.size()) << "the highlighter selects every record's character";

        const int drumsOnly = random.between(8, 10);
        const auto drums
            = compiler.Get_DrumCodeEvents(drumsOnly, random.order(), 0, stores, input.SameSpeed, input.Speed);
        ASSERT_TRUE(drums);
        for (int t = 0; t < DrumTrackCount; ++t) {
            const int count = drums->tracks.DrumEventCounts[size_t(t)];
            ASSERT_LT(size_t(count), drums->tracks.DrumPlayEvents[size_t(t)].size());
            EXPECT_GE(drums->TotalPlayTime, drums->tracks.DrumPlayEvents[size_t(t)][size_t(count)].EventTime);
        }
    }
}

} // namespace
} // namespace tunvale::notation
