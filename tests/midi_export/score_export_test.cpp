#include "app/frame/midi_text.h"
#include "app/notation/play_order_key.h"
#include "components/sequor/core/play_order_expansion.h"
#include "tests/support/midi_notes.h"
#include "tests/support/test_folders.h"
#include "tests/tools/score_loading.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tunvale::testing {
namespace {

struct ToolRun {
    int exitCode = -1;
    QString out, err;
};

ToolRun Scoretool(const QStringList& args)
{
    QProcess tool;
    tool.start(QStringLiteral(TUNVALE_BUILD_DIR "/bin/scoretool"), args);
    EXPECT_TRUE(tool.waitForFinished(60000));
    return { tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput()),
        QString::fromUtf8(tool.readAllStandardError()) };
}

QStringList SampleScores()
{
    const QDir samples(QStringLiteral(TUNVALE_SOURCE_DIR "/data/vls"));
    QStringList paths;
    for (const QString& name : samples.entryList({ QStringLiteral("*.vls") }, QDir::Files, QDir::Name))
        paths << samples.filePath(name);
    return paths;
}

QString ExportData(const QString& name) { return testDataPath(QStringLiteral("midi_export/") + name); }

} // namespace

// The component finds a score's stored order only when the key of the text it converts is the one
// the play order was set for.
TEST(ScoreExport, OrderKeyOfTheExportTextIsThePlayOrderKey)
{
    const QStringList scores = SampleScores()
        + QStringList { ExportData(QStringLiteral("ornaments.vls")), ExportData(QStringLiteral("drums.vls")),
              ExportData(QStringLiteral("key_change.rtf")) };
    ASSERT_GE(scores.size(), 6);
    for (const QString& path : scores) {
        platform::RichTextBox box;
        notation::ScoreHeader header;
        notation::DrumStore drums;
        QString error;
        ASSERT_TRUE(scoretool::LoadScore(path, box, header, drums, error)) << error.toStdString();
        const platform::RichTextSnapshot snapshot = box.snapshot();
        const frame::MidiText text = frame::PrepareMidiText(snapshot, 0, 0);
        EXPECT_FALSE(text.JPWord.isEmpty()) << path.toStdString();
        EXPECT_EQ(
            sequor::MakeOrderKey(text.JPWord), notation::PlayOrderKey(notation::NotationText(snapshot.lines)))
            << path.toStdString();
    }
}

TEST(ScoreExport, EverySampleExportsWithItsDefaults)
{
    QTemporaryDir dir;
    QStringList files;
    for (const QString& score : SampleScores()) {
        const QString out = dir.filePath(QFileInfo(score).completeBaseName() + QStringLiteral(".mid"));
        const ToolRun run = Scoretool({ QStringLiteral("midi-export"), score, out });
        EXPECT_EQ(run.exitCode, 0) << score.toStdString() << run.err.toStdString();
        files << out;
    }
    EXPECT_TRUE(MidiNotes(files).startsWith(QStringLiteral("format 1 division 120")));
}

// The texts and files of scores whose notes were written down by hand.
TEST(ScoreExport, HandCheckedScores)
{
    const struct {
        const char* expected;
        const char* score;
        QStringList options;
    } cases[] = {
        // A repeat in the order stored in the file (1,1,2), grace notes, a trill and a mordent.
        { "ornaments", "ornaments.vls", {} },
        // A lead-in bar in G over the score's drum pattern.
        { "drums", "drums.vls", { QStringLiteral("--score-drums") } },
        // From the grace pair of the first line across the end of the repeat and a lyric line into the
        // mordent of the second: plain bars, played as written.
        { "selection", "ornaments.vls", { QStringLiteral("--selection"), QStringLiteral("21,47") } },
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const QString name = QString::fromLatin1(c.expected);
        const QString score = ExportData(QString::fromLatin1(c.score));
        const QString out = dir.filePath(name + QStringLiteral(".mid"));
        const ToolRun run = Scoretool(QStringList { QStringLiteral("midi-export"), score, out } + c.options);
        ASSERT_EQ(run.exitCode, 0) << c.expected << run.err.toStdString();
        EXPECT_EQ(run.out.toStdString(), readAll(ExportData(name + QStringLiteral(".out"))).toStdString())
            << c.expected;
        EXPECT_EQ(MidiNotes({ out }).toStdString(),
            readAll(ExportData(name + QStringLiteral(".notes"))).toStdString())
            << c.expected;
        QStringList textArgs { QStringLiteral("midi-text"), score };
        if (c.options.contains(QStringLiteral("--selection")))
            textArgs << c.options;
        const ToolRun text = Scoretool(textArgs);
        EXPECT_EQ(text.exitCode, 0);
        EXPECT_EQ(text.out.toStdString(), readAll(ExportData(name + QStringLiteral(".text"))).toStdString())
            << c.expected;
    }
}

// A selection without notation is refused, as the component's disabled box would refuse it; nothing is
// written.
TEST(ScoreExport, EmptySelectionIsRefused)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.mid"));
    for (const QString& selection : { QStringLiteral("29,44"), QStringLiteral("5,5") }) {
        const ToolRun run = Scoretool({ QStringLiteral("midi-export"),
            ExportData(QStringLiteral("ornaments.vls")), out, QStringLiteral("--selection"), selection });
        EXPECT_EQ(run.exitCode, 2) << selection.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("no notation"))) << run.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(out));
}

// Order items are 1-based pieces: a zero, a negative or an unreadable number is a usage error.
TEST(ScoreExport, OrderItemsOutOfRangeAreRefused)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.mid"));
    for (const char* order : { "-2147483648", "1,0", "2147483648", "1,x" }) {
        const ToolRun run
            = Scoretool({ QStringLiteral("midi-export"), ExportData(QStringLiteral("ornaments.vls")), out,
                QStringLiteral("--order"), QString::fromLatin1(order) });
        EXPECT_EQ(run.exitCode, 2) << order;
        EXPECT_TRUE(run.err.contains(QStringLiteral("usage: scoretool midi-export")))
            << run.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(out));
}

// The export plays the pitches playback plays: a score in D with rests, a tie and a change to F and
// back. Rests are left out; the tied note is both a note (playback silences it) and a MIDI note.
TEST(ScoreExport, PitchesMatchPlayback)
{
    const QString score = ExportData(QStringLiteral("key_change.rtf"));
    const ToolRun compiled
        = Scoretool({ QStringLiteral("compile"), score, QStringLiteral("--key"), QStringLiteral("33") });
    ASSERT_EQ(compiled.exitCode, 0) << compiled.err.toStdString();
    QStringList played;
    for (const QString& line : compiled.out.split(u'\n')) {
        const QStringList f = line.split(u' ');
        if (f.value(0) == QStringLiteral("play") && f.value(3) != QStringLiteral("120"))
            played << f.value(3);
    }
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("keys.mid"));
    const ToolRun exported = Scoretool({ QStringLiteral("midi-export"), score, out });
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    QStringList written;
    for (const QString& line : MidiNotes({ out }).split(u'\n')) {
        const QStringList f = line.split(u' ');
        if (f.value(0) == QStringLiteral("note") && f.value(1) == QStringLiteral("2"))
            written << f.value(4);
    }
    EXPECT_EQ(played.size(), 15);
    EXPECT_EQ(written, played);
}

} // namespace tunvale::testing
