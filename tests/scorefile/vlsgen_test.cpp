#include "tests/support/test_folders.h"
#include "tools/vlsgen/jianpu_text.h"
#include "tools/vlsgen/score_description.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tunvale;
using tunvale::testing::readAll;

namespace {

QString chars(std::initializer_list<int> codes)
{
    QString s;
    for (int c : codes)
        s += QChar(c);
    return s;
}

const QString kSources = QStringLiteral(TUNVALE_SOURCE_DIR "/tools/vlsgen/scores");
const QString kData = QStringLiteral(TUNVALE_SOURCE_DIR "/data");
const QString kBin = QStringLiteral(TUNVALE_BUILD_DIR "/bin");

// Runs a program of the build; its standard output, or no value when it failed.
std::optional<QByteArray> run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(QDir(kBin).filePath(program), args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << ": " << process.readAllStandardError().toStdString();
        return std::nullopt;
    }
    return process.readAllStandardOutput();
}

const QStringList kScoreFiles
    = { "NullVls.Dat", "vls/liangzhilaohu.vls", "vls/molihua.vls", "vls/xiaoxingxing.vls" };

} // namespace

TEST(Jianpu, NotesSignsAndSlurs)
{
    const struct {
        const char* text;
        QString glyphs;
    } cases[] = {
        { "1", chars({ 0x4E00 }) },
        { "1' 5,, 3_", chars({ 0x4EA8, 0x4E58, 0x4E09 }) },
        { "6__. 0_ -", chars({ 0x4E13, 0x62C4, 0x62CF, 0x6353 }) },
        { "| |: :| ||", chars({ 0x6352, 0x6357, 0x6358, 0x635D }) },
        { "(5_ 6_)", chars({ 0x4F31, 0x517E }) },
        { "(1 - 2 | 0 3)", chars({ 0x4F26, 0x6356, 0x504D, 0x6355, 0x62D4, 0x5174 }) },
        { "(5. 3.) 1", chars({ 0x4F2A, 0x62C8, 0x5174, 0x62C2, 0x4E00 }) },
        { "  ", QString() },
    };
    for (const auto& c : cases) {
        const auto result = vlsgen::JianpuToGlyphs(QString::fromUtf8(c.text));
        EXPECT_TRUE(result.error.isEmpty()) << c.text << ": " << result.error.toStdString();
        EXPECT_EQ(result.text, c.glyphs) << c.text;
    }
    for (const char* bad : { "8", "1',", "1______", "1''''", "x", "(1", "1)", "(1)", "(1 -)", "3-" })
        EXPECT_FALSE(vlsgen::JianpuToGlyphs(QString::fromUtf8(bad)).error.isEmpty()) << bad;
}

TEST(Jianpu, LyricsSitUnderTheirNotes)
{
    const struct {
        const char* notes;
        const char* syllables;
        const char* text;
    } cases[] = {
        { "1 2 3 1", "两 只 - 虎", " 两 只    虎" },
        { "1 0 2", "a b", " a     b" },
        // Bar lines are narrower than notes and don't take whole blanks.
        { "1 | 2 | 3 | 4", "一 二 三 四", " 一  二   三   四" },
        { "1_ 2_ 3_ 4_", "你 好", " 你 好" },
        { "|: 1", "a", "   a" },
    };
    for (const auto& c : cases) {
        const auto glyphs = vlsgen::JianpuToGlyphs(QString::fromUtf8(c.notes));
        const auto lyrics = vlsgen::LyricsUnderNotes(glyphs.text, QString::fromUtf8(c.syllables));
        EXPECT_TRUE(lyrics.error.isEmpty()) << c.notes;
        EXPECT_EQ(lyrics.text, QString::fromUtf8(c.text)) << c.notes;
    }
    EXPECT_FALSE(vlsgen::LyricsUnderNotes(chars({ 0x4E00, 0x62CE }), "一 二").error.isEmpty());
}

TEST(ScoreDescription, HeaderLinesDrumsAndOrder)
{
    const auto read
        = vlsgen::ReadScoreDescription(QStringLiteral("# a score\n"
                                                      "output: vls/a.vls\n"
                                                      "title: 歌\n"
                                                      "key: G\ntime: 3/4\ntempo: 90\ninstrument: 40\n"
                                                      "notes: 1 2 3 |  # first line\n"
                                                      "lyrics: 一 二 三\n"
                                                      "drum: 2-3 华尔兹 3/4 90\n"
                                                      "track: 36 100 64 x...........\n"
                                                      "track: 42 70 72 ....x...x...\n"
                                                      "order: 1,1\n"));
    ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    const vlsgen::ScoreDescription& d = read.description;
    EXPECT_EQ(d.output, "vls/a.vls");
    EXPECT_EQ(d.title, "歌");
    EXPECT_EQ(d.keyLetter, 4);
    EXPECT_EQ(d.timeSig, 2);
    EXPECT_EQ(d.header.Speed, 90);
    EXPECT_EQ(d.header.Instrument, 40);
    EXPECT_EQ(d.header.Volume, 98);
    ASSERT_EQ(d.lines.size(), 2u);
    EXPECT_EQ(d.lines[0].text, chars({ 0x4E00, 0x4E01, 0x4E02, 0x6352 }));
    EXPECT_EQ(d.lines[1].text, " 一 二 三");
    EXPECT_EQ(d.order, "1,1");

    ASSERT_EQ(d.drums.size(), 3u);
    EXPECT_EQ(d.drums[0], notation::DrumRecord {});
    EXPECT_EQ(d.drums[1], d.drums[2]);
    const notation::DrumRecord& r = d.drums[1];
    EXPECT_EQ(r.DrumTimeSignature, 2);
    EXPECT_EQ(r.DrumSpeed, 90);
    EXPECT_EQ(r.HaveDrum, 1);
    EXPECT_EQ(r.DrumChannel, 0xC0);
    EXPECT_EQ(r.DrumSounds[0], 23);
    EXPECT_EQ(r.DrumVolume[1], 70);
    EXPECT_EQ(r.DrumSoundImage[1], 72);
    EXPECT_EQ(r.DrumRhythms[0], 0x80);
    EXPECT_EQ(r.DrumRhythms[4], 0x08);
    EXPECT_EQ(r.DrumRhythms[5], 0x80);

    for (const char* bad : { "title: x\n", "output: a\nfoo: 1\n", "output: a\ntrack: 36 100 64 x...\n",
             "output: a\ndrum: 1-2 x 2/4 90\ntrack: 36 100 64 x...\n", "output: a\nkey: H\n",
             "output: a\ntime: 5/4\n", "output: a\nnotes: 9\n", "output: a\ndrum: 3-1 x 2/4 90\n",
             "output: a\nlyrics: 一\n", "output: a\nnotes: 1\nlyrics: 一 二\n" })
        EXPECT_FALSE(vlsgen::ReadScoreDescription(QString::fromUtf8(bad)).error.isEmpty()) << bad;
}

TEST(ShippedScores, AreWhatTheDescriptionsGive)
{
    QTemporaryDir out;
    ASSERT_TRUE(run("vlsgen", { kSources, out.path() }));
    for (const QString& name : kScoreFiles) {
        const QByteArray committed = readAll(QDir(kData).filePath(name));
        EXPECT_FALSE(committed.isEmpty()) << name.toStdString();
        EXPECT_EQ(readAll(out.filePath(name)), committed)
            << name.toStdString() << " differs: rebuild vlsgen_data";
    }
}

TEST(ShippedScores, ResaveUnchanged)
{
    QTemporaryDir out;
    for (const QString& name : kScoreFiles) {
        const QString copy = out.filePath(QFileInfo(name).fileName());
        ASSERT_TRUE(run("scoretool", { "vls-resave", QDir(kData).filePath(name), copy }));
        EXPECT_EQ(readAll(copy), readAll(QDir(kData).filePath(name))) << name.toStdString();
    }
}

TEST(ShippedScores, DumpShowsDrumsAndPlayOrder)
{
    const auto drums = run("scoretool", { "vls-dump", QDir(kData).filePath("vls/liangzhilaohu.vls") });
    ASSERT_TRUE(drums);
    EXPECT_TRUE(drums->contains("\nDrumRecords: 8\n")) << drums->left(800).toStdString();
    EXPECT_TRUE(drums->contains("\nBodyStart: ")) << drums->left(800).toStdString();

    const auto repeats = run("scoretool", { "vls-dump", QDir(kData).filePath("vls/molihua.vls") });
    ASSERT_TRUE(repeats);
    EXPECT_TRUE(repeats->contains("\nPOrderStr: 120\nPlayOrder: 0,0,1\n"))
        << repeats->left(800).toStdString();

    const auto empty = run("scoretool", { "vls-dump", QDir(kData).filePath("NullVls.Dat") });
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->startsWith("ScreenDpi: 96\nRapDrum: 14\nInstrument: 0\nSpeed: 120\nVolume: 98\n"
                                  "FileVer: 5\nDrumPZ: -1\nHeYing: 0\nSameSpeed: -1\nPZType: 0\n"));
    EXPECT_TRUE(
        empty->contains("LeftSpace: 820\nRightSpace: 820\nEditBackColor: 00FFFFFF\nPlayNoteColor: 00FFFFFF\n"
                        "PlayNoteBackColor: 007F7F7F\nJpLineColor: 00008000\nLyricLineColor: 0001077E\n"));
    EXPECT_TRUE(empty->contains("\nDrumRecords: 0\nPOrderStr: \nPlayOrder: \n"));
}
