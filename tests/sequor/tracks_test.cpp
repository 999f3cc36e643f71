#include "app/notation/drum_data.h"
#include "components/sequor/core/midi_export.h"
#include "components/sequor/core/play_order_expansion.h"
#include "tests/sequor/sequor_text.h"
#include "tests/support/midi_notes.h"
#include "tests/support/test_folders.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

namespace tunvale::testing {
namespace {

using namespace sequor_text;
using notation::DrumRecord;

class SequorTracks : public ::testing::Test
{
protected:
    // Exports `text` as written (or in `order`) and returns what mido reads from track `from` on, or all
    // of it for a negative `from`.
    QString exported(
        const QString& text, sequor::ExportInput input, int from = 0, std::vector<int> order = { 0 })
    {
        input.text = text;
        input.loadedOrder = sequor::LoadedOrder { sequor::MakeOrderKey(text), std::move(order) };
        const QString path = dir_.filePath(QStringLiteral("out.mid"));
        const sequor::ExportResult result = sequor::ExportMidi(input, path);
        EXPECT_EQ(result.status, sequor::ExportResult::Written) << result.message.toStdString();
        const QString notes = MidiNotes({ path });
        return from < 0 ? notes : notes.mid(notes.indexOf(QStringLiteral("\ntrack %1\n").arg(from)) + 1);
    }

    QTemporaryDir dir_;
};

// A drum record with the given hits: (track, step, drum note, volume, pan).
struct Hit {
    int track, step, note, volume, pan;
};
DrumRecord Pattern(int timeSignature, std::initializer_list<Hit> hits)
{
    DrumRecord record;
    record.HaveDrum = 1;
    record.DrumTimeSignature = std::uint8_t(timeSignature);
    for (const Hit& h : hits) {
        record.DrumChannel |= std::uint8_t(0x80 >> h.track);
        record.DrumRhythms[std::size_t(4 * h.track + h.step / 8)] |= std::uint8_t(0x80 >> (h.step % 8));
        record.DrumSounds[std::size_t(h.track)] = std::uint8_t(h.note - 13);
        record.DrumVolume[std::size_t(h.track)] = std::uint8_t(h.volume);
        record.DrumSoundImage[std::size_t(h.track)] = std::uint8_t(h.pan);
    }
    return record;
}

TEST_F(SequorTracks, OptionsChooseTracksAndChannels)
{
    const std::vector<DrumRecord> drums = { Pattern(3, { { 0, 0, 36, 100, 64 } }) };
    const QString text = Text({ Note(1), Note(2), Bar });
    sequor::ExportInput input;
    input.drums = drums;
    input.seed = 7;
    const struct {
        bool overlay, percussion, scoreDrums, mainPan;
        const char* channels; // of the music tracks, in order
    } cases[] = {
        { false, false, false, false, "2" },
        { true, false, false, true, "2 3" },
        { false, true, true, false, "2 10 10" },
        { true, true, true, true, "2 3 10 10" },
        { false, false, true, false, "2 10" },
    };
    for (const auto& c : cases) {
        input.options.OverlayTrack = c.overlay;
        input.options.AutoPercussion = c.percussion;
        input.options.UseScoreDrums = c.scoreDrums;
        input.options.MainPanOn = c.mainPan;
        const QString notes = exported(text, input, -1);
        QStringList channels;
        const QRegularExpression trackLine(
            QStringLiteral("^track \\d+\n"), QRegularExpression::MultilineOption);
        for (const QString& track : notes.split(trackLine).mid(2)) {
            const auto note
                = QRegularExpression(QStringLiteral("^note (\\d+)"), QRegularExpression::MultilineOption)
                      .match(track);
            channels << note.captured(1);
        }
        EXPECT_EQ(channels.join(QChar(' ')), QLatin1String(c.channels));
        EXPECT_TRUE(notes.contains(QStringLiteral("tracks %1\n").arg(channels.size() + 1)));
        EXPECT_EQ(notes.contains(QStringLiteral("control 2 0 10 64")), c.mainPan);
    }
}

TEST_F(SequorTracks, OverlayStartsAtTheSongsKey)
{
    sequor::ExportInput input;
    input.OldYDiao1 = 1;
    input.options.OverlayTrack = true;
    input.options.OverlayProgram = 40;
    input.options.OverlayVolume = 50;
    input.options.OverlayPan = 30;
    EXPECT_EQ(exported(Text({ Note(1), 0x5F91, Note(1) }), input).toStdString(),
        "track 0\n"
        "meta time_signature 0 4/4\n"
        "meta key_signature 0 Db\n"
        "meta marker 0 录制软件：Tunvale\n"
        "meta end_of_track 0\n"
        "tempo 0 500000\n"
        "track 1\n"
        "meta end_of_track 240\n"
        "program 2 0 0\n"
        "tempo 0 500000\n"
        "note 2 0 120 61 98\n"
        "note 2 120 240 62 98\n"
        "track 2\n"
        "meta end_of_track 240\n"
        "program 3 0 40\n"
        "control 3 0 10 30\n"
        "control 3 0 2 64\n"
        "tempo 0 500000\n"
        "note 3 0 120 61 50\n"
        "note 3 120 240 62 50\n");
}

// Each drum comes from the list of its note's length and sounds untransposed.
TEST_F(SequorTracks, PercussionDrawsByLength)
{
    const std::vector<int> longDrums = { 46, 49, 52, 57, 59, 66 };
    const std::vector<int> middle = { 47, 50, 51, 53, 55, 60, 61, 63, 64, 69, 73, 75, 83, 86, 28, 38, 39, 40,
        41, 43, 44, 45, 48, 65, 87 };
    const std::vector<int> shortDrums
        = { 27, 31, 32, 33, 34, 35, 36, 37, 42, 54, 56, 62, 67, 68, 70, 76, 77, 80, 82, 85 };
    const QString text = Text({ Note(1, 0, 8), Note(1), Dash, 0x5F91, Note(2), Note(3, 1), Dot, Note(4, 1),
        Note(5, 2), Note(6, 0, 8), Rest(), Bar });
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        sequor::ExportInput input;
        input.OldYDiao1 = 5;
        input.Text_VolumeText1 = 100;
        input.options.AutoPercussion = true;
        input.options.PercussionVolume = 50;
        input.seed = seed;
        const QStringList lines = exported(text, input, 2).split(QChar('\n'), Qt::SkipEmptyParts);
        std::vector<int> drums;
        for (const QString& line : lines) {
            const QStringList fields = line.split(QChar(' '));
            if (fields[0] == QStringLiteral("note")) {
                drums.push_back(fields[4].toInt());
                EXPECT_EQ(fields[1], QStringLiteral("10"));
                EXPECT_EQ(fields[5], QStringLiteral("50"));
            }
        }
        ASSERT_EQ(drums.size(), 7u) << seed;
        const auto in = [](const std::vector<int>& list, int drum) {
            return std::find(list.begin(), list.end(), drum) != list.end();
        };
        EXPECT_TRUE(in(middle, drums[0])) << "nothing drawn before: middle list";
        EXPECT_TRUE(in(longDrums, drums[1]));
        EXPECT_TRUE(in(middle, drums[2]));
        EXPECT_TRUE(in(middle, drums[3]));
        EXPECT_TRUE(in(shortDrums, drums[4]));
        EXPECT_EQ(drums[5], 60);
        EXPECT_EQ(drums[6], 60) << "a triplet quarter repeats the previous drum";
        EXPECT_TRUE(lines.contains(QStringLiteral("meta end_of_track 820")));
    }
}

TEST_F(SequorTracks, DrumPatterns)
{
    const std::vector<DrumRecord> drums = {
        Pattern(
            3, { { 0, 0, 36, 100, 64 }, { 0, 8, 36, 100, 64 }, { 1, 0, 42, 80, 20 }, { 1, 4, 42, 80, 20 } }),
        DrumRecord {}, // no pattern: the bar only waits
        Pattern(
            2, { { 0, 0, 36, 100, 64 }, { 0, 11, 36, 100, 64 }, { 0, 12, 36, 100, 64 } }), // 3/4: 12 steps
        Pattern(21, { { 0, 16, 36, 100, 64 }, { 0, 17, 36, 100, 64 } }), // 4/4 +1: 17 steps
    };
    const char16_t q = Note(1);
    const QString text
        = Text({ q, q, q, q, Bar, q, q, q, q, Bar, q, q, q, q, Bar, q, q, q, q, q, Bar, q, q, q, q, Bar });
    sequor::ExportInput input;
    input.drums = drums;
    input.options.UseScoreDrums = true;
    EXPECT_EQ(exported(text, input, 2).toStdString(),
        "track 2\n"
        "meta end_of_track 1920\n"
        "control 10 0 10 64\n"
        "control 10 0 10 20\n"
        "control 10 120 10 20\n"
        "control 10 240 10 64\n"
        "control 10 960 10 64\n"
        "control 10 1290 10 64\n"
        "control 10 1920 10 64\n"
        "note 10 0 - 36 100\n"
        "note 10 0 - 42 80\n"
        "note 10 120 - 42 80\n"
        "note 10 240 - 36 100\n"
        "note 10 960 - 36 100\n"
        "note 10 1290 - 36 100\n"
        "note 10 1920 - 36 100\n");
}

// A note of 44 dots, and a bar of three, would each need a fifth byte for the time they cover: they end
// at the longest time a delta holds, 2^28 - 16 ticks.
TEST_F(SequorTracks, NotesAndWaitsEndAtTheLongestDelta)
{
    const std::vector<DrumRecord> drums(3, Pattern(3, { { 0, 0, 36, 100, 64 } }));
    const QString longNote = QString(QChar(Note(1))) + QString(44, QChar(Dot));
    const QString text
        = longNote + QChar(Bar) + longNote.repeated(3) + QChar(Bar) + QChar(Note(2)) + QChar(Bar);
    sequor::ExportInput input;
    input.drums = drums;
    input.options.UseScoreDrums = true;
    EXPECT_EQ(exported(text, input, 1).toStdString(),
        "track 1\n"
        "meta end_of_track 1073741880\n"
        "program 2 0 0\n"
        "tempo 0 500000\n"
        "note 2 0 268435440 60 98\n"
        "note 2 268435440 536870880 60 98\n"
        "note 2 536870880 805306320 60 98\n"
        "note 2 805306320 1073741760 60 98\n"
        "note 2 1073741760 1073741880 62 98\n"
        "track 2\n"
        "meta end_of_track 536870880\n"
        "control 10 0 10 64\n"
        "control 10 268435440 10 64\n"
        "control 10 536870880 10 64\n"
        "note 10 0 - 36 100\n"
        "note 10 268435440 - 36 100\n"
        "note 10 536870880 - 36 100\n");
}

// Bar i of the play text drums record BarPlayList(i) for its own length.
TEST_F(SequorTracks, RepeatsDrumTheirOwnBars)
{
    const std::vector<DrumRecord> drums = {
        Pattern(3, { { 0, 0, 36, 100, 64 }, { 0, 10, 36, 100, 64 } }),
        Pattern(3, { { 0, 0, 38, 100, 64 }, { 0, 10, 38, 100, 64 } }),
        Pattern(3, { { 0, 0, 42, 100, 64 }, { 0, 10, 42, 100, 64 } }),
    };
    const char16_t q = Note(1);
    const QString text = Text({ q, q, Bar, q, q, q, u'^', q, Bar }); // a lead-in of two quarters
    sequor::ExportInput input;
    input.drums = drums;
    input.options.UseScoreDrums = true;
    EXPECT_EQ(exported(text, input, 2, { 0, 0, 1 }).toStdString(),
        "track 2\n"
        "meta end_of_track 1200\n"
        "control 10 0 10 64\n"
        "control 10 240 10 64\n"
        "control 10 540 10 64\n"
        "control 10 600 10 64\n"
        "control 10 840 10 64\n"
        "control 10 1140 10 64\n"
        "control 10 1200 10 64\n"
        "note 10 0 - 36 100\n"
        "note 10 240 - 38 100\n"
        "note 10 540 - 38 100\n"
        "note 10 600 - 36 100\n"
        "note 10 840 - 38 100\n"
        "note 10 1140 - 38 100\n"
        "note 10 1200 - 42 100\n");
}

// Random texts with every option on and extreme values: mido reads every file, and the melody, the
// overlay and the percussion end on the same tick.
TEST_F(SequorTracks, RandomTextsReadBack)
{
    notation::DrumStore drums;
    ASSERT_TRUE(notation::ReadDrumData(drums, QStringLiteral(TUNVALE_SOURCE_DIR "/data/Drum.dat")));
    const std::vector<char16_t> pool = { Bar, u'^', 0x638F, Dot, Dash, Dash, Rest(), Rest(3), 0x62DA, 0x629E,
        Fermata, Sharp, 0x6229, Natural, 0x5F80, 0x5F8D, 0x5F8E, 0x5F8F, 0x5F9A, 0x5F9B, 0x62FE, 0x62FF,
        GraceRun(1), GraceRun(2), GraceRun(3), GraceRun(4), SymbolRun, u'*', u'3', u'4', u'5', u'6', u'7',
        u'9', u'B', u'C', u'D', u'E', u'F', u'F', u'F', u'G', u'H', u'I', u'J', u'K' };
    std::mt19937 random(2024);
    QStringList paths;
    for (int file = 0; file < 300; ++file) {
        QString text;
        const int length = int(random() % 200);
        for (int i = 0; i < length; ++i) {
            if (random() % 2)
                text += QChar(char16_t(0x4E00 + random() % 4116)); // any note, top octave too
            else
                text += QChar(pool[random() % pool.size()]);
        }
        sequor::ExportInput input;
        input.text = text;
        input.loadedOrder = sequor::LoadedOrder { sequor::MakeOrderKey(text), { 0, 0, 1, 2, 1 } };
        input.OldSpeed1 = std::array { 1, 10, 120, 300, 5000 }[random() % 5];
        input.OldYDiao1 = int(random() % 36) - 12;
        input.ComSoundsListIndex1 = int(random() % 300) - 50;
        input.Text_VolumeText1 = int(random() % 400);
        input.drums = drums;
        input.seed = std::uint32_t(file);
        sequor::ExportOptions& o = input.options;
        o.OverlayTrack = o.AutoPercussion = o.UseScoreDrums = o.MainPanOn = true;
        o.PercussionVolume = int(random() % 200);
        o.MainPan = int(random() % 300) - 50;
        o.OverlayProgram = int(random() % 300) - 50;
        o.OverlayVolume = int(random() % 200);
        o.OverlayPan = int(random() % 300) - 50;
        o.MidTitle = QStringLiteral("标题😀");
        const QString path = dir_.filePath(QStringLiteral("random%1.mid").arg(file));
        const sequor::ExportResult result = sequor::ExportMidi(input, path);
        if (result.status == sequor::ExportResult::NoOrder)
            continue;
        ASSERT_EQ(result.status, sequor::ExportResult::Written) << result.message.toStdString();
        paths << path;
    }
    ASSERT_GT(paths.size(), 200);
    const QStringList files = MidiNotes(paths).split(QStringLiteral("format 1 division 120 tracks 5\n"));
    ASSERT_EQ(files.size(), paths.size() + 1);
    const QRegularExpression end(QStringLiteral("track (\\d)\nmeta end_of_track (\\d+)\n"));
    for (qsizetype f = 1; f < files.size(); ++f) {
        std::map<int, QString> ends;
        for (const auto& match : end.globalMatch(files[f]))
            ends[match.captured(1).toInt()] = match.captured(2);
        EXPECT_EQ(ends[1], ends[2]) << paths[f - 1].toStdString();
        EXPECT_EQ(ends[1], ends[3]) << paths[f - 1].toStdString();
    }
}

// The test tool prints the order and bars, and its files read back as written down by hand.
TEST(ScoretoolMidiExport, ExportsTexts)
{
    const QString data = testDataPath(QStringLiteral("sequor"));
    const struct {
        const char* name;
        QStringList options;
    } cases[] = {
        { "export-plain",
            { QStringLiteral("--tempo"), QStringLiteral("100"), QStringLiteral("--key-shift"),
                QStringLiteral("3"), QStringLiteral("--program"), QStringLiteral("5"),
                QStringLiteral("--volume"), QStringLiteral("80"), QStringLiteral("--main-pan"),
                QStringLiteral("20"), QStringLiteral("--title"), QStringLiteral("测试"),
                QStringLiteral("--notice"), QStringLiteral("(c) 2026"), QStringLiteral("--comment"),
                QStringLiteral("注释") } },
        { "export-order",
            { QStringLiteral("--order"), QStringLiteral("2,1"), QStringLiteral("--overlay"),
                QStringLiteral("40,50,30"), QStringLiteral("--key-shift"), QStringLiteral("-2"),
                QStringLiteral("--time-sig"), QStringLiteral("3/4"), QStringLiteral("--tempo"),
                QStringLiteral("60") } },
        { "export-drums",
            { QStringLiteral("--folder"), data, QStringLiteral("--drums"),
                data + QStringLiteral("/drums.dat"), QStringLiteral("--score-drums"),
                QStringLiteral("--time-sig"), QStringLiteral("6/8"), QStringLiteral("--tempo"),
                QStringLiteral("90") } },
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const QString name = QLatin1String(c.name);
        const QString out = dir.filePath(name + QStringLiteral(".mid"));
        QProcess tool;
        tool.start(QStringLiteral(TUNVALE_BUILD_DIR "/bin/scoretool"),
            QStringList {
                QStringLiteral("midi-export"), data + QChar('/') + name + QStringLiteral(".txt"), out }
                + c.options);
        ASSERT_TRUE(tool.waitForFinished(30000));
        EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        EXPECT_EQ(tool.readAllStandardOutput().toStdString(),
            readAll(data + QChar('/') + name + QStringLiteral(".out")).toStdString());
        EXPECT_EQ(MidiNotes({ out }).toStdString(),
            readAll(data + QChar('/') + name + QStringLiteral(".notes")).toStdString());
    }
}

// No order, or no folder to write in: the message on standard error, exit 2, the target untouched.
TEST(ScoretoolMidiExport, FailuresLeaveTheTargetAlone)
{
    QTemporaryDir dir;
    const QString data = testDataPath(QStringLiteral("sequor"));
    const QString existing = dir.filePath(QStringLiteral("old.mid"));
    ASSERT_TRUE(writeAll(existing, "old"));
    const struct {
        QStringList args;
        const char* message;
    } cases[] = {
        { { data + QStringLiteral("/export-drums.txt"), existing }, "请先设置好歌曲的“演唱顺序”!" },
        { { data + QStringLiteral("/export-plain.txt"), dir.filePath(QStringLiteral("none/out.mid")) },
            "cannot write" },
        { { data + QStringLiteral("/export-plain.txt"), existing, QStringLiteral("--time-sig"),
              QStringLiteral("4/5") },
            "time signature" },
    };
    for (const auto& c : cases) {
        QProcess tool;
        tool.start(QStringLiteral(TUNVALE_BUILD_DIR "/bin/scoretool"),
            QStringList { QStringLiteral("midi-export") } + c.args);
        ASSERT_TRUE(tool.waitForFinished(30000));
        EXPECT_EQ(tool.exitCode(), 2);
        EXPECT_TRUE(QString::fromUtf8(tool.readAllStandardError()).contains(QString::fromUtf8(c.message)))
            << c.message;
    }
    EXPECT_EQ(readAll(existing), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        QStringList { QStringLiteral("old.mid") });
}

// (onset, length, pitch) of every note in 1/120 quarter notes, sorted, from midinotes output of one file.
std::vector<std::array<long, 3>> NoteList(const QString& notes)
{
    const QStringList lines = notes.split(QChar('\n'), Qt::SkipEmptyParts);
    const double division = lines.value(0).section(QChar(' '), 3, 3).toDouble();
    std::vector<std::array<long, 3>> list;
    for (const QString& line : lines) {
        const QStringList f = line.split(QChar(' '));
        if (f[0] != QStringLiteral("note"))
            continue;
        const long start = std::lround(f[2].toDouble() * 120 / division);
        list.push_back({ start, std::lround(f[3].toDouble() * 120 / division) - start, f[4].toLong() });
    }
    std::sort(list.begin(), list.end());
    return list;
}

// The benchmark's melody through our export and through abc2midi: the same notes at the same times.
TEST(ScoretoolMidiBench, AgreesWithAbc2midi)
{
    QTemporaryDir dir;
    QProcess tool;
    tool.start(QStringLiteral(TUNVALE_BUILD_DIR "/bin/scoretool"),
        { QStringLiteral("midi-bench"), QStringLiteral("--notes"), QStringLiteral("2000"),
            QStringLiteral("--keep"), dir.path() });
    ASSERT_TRUE(tool.waitForFinished(120000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_TRUE(tool.readAllStandardOutput().contains("ratio "));
    const auto ours = NoteList(MidiNotes({ dir.filePath(QStringLiteral("ours.mid")) }));
    const auto theirs = NoteList(MidiNotes({ dir.filePath(QStringLiteral("abc2midi.mid")) }));
    EXPECT_GT(ours.size(), 1500u);
    EXPECT_TRUE(ours == theirs) << ours.size() << " notes against " << theirs.size();
}

} // namespace
} // namespace tunvale::testing
