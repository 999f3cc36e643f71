#include "tests/editing/score_builder.h"
#include "tests/editor/old_score.h"
#include "tests/support/scoretool_run.h"
#include "tests/support/test_folders.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using tunvale::testing::testDataPath;

namespace {

struct Result {
    int exitCode = -1;
    QString out;
};

Result scoretool(const QStringList& args)
{
    const tunvale::testing::ScoretoolResult result = tunvale::testing::RunScoretool(args);
    return { result.exitCode, QString::fromUtf8(result.out) };
}

} // namespace

TEST(EditorTool, BarsOfAScoreWhoseNotationStartsWithANote)
{
    const Result result
        = scoretool({ QStringLiteral("bars"), testDataPath(QStringLiteral("editor/two_bars.rtf")),
            QStringLiteral("--sel"), QStringLiteral("6"), QStringLiteral("2") });
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.toStdString(),
        "0 start 0 len 4 text U+0061 U+0062 CR LF\n"
        "1 start 4 len 6 jp U+6352 U+6352 U+4E01 U+6352 CR LF\n"
        "2 start 10 len 2 text U+0063 U+0064\n"
        "XjxStr U+6352 U+6352 U+6352\n"
        "XJInteger 3\n"
        "BarStarts 5 6 8\n"
        "OnXj 1\n"
        "XjxSelStart 1\n"
        "XjxSelLength 1\n");
}

TEST(EditorTool, EditRunsKeysAndCommands)
{
    QTemporaryDir dir;
    const QString in = testDataPath(QStringLiteral("editor/two_bars.rtf"));
    const QString out = dir.filePath(QStringLiteral("out.rtf"));
    Result result = scoretool(
        { QStringLiteral("edit"), in, QStringLiteral("--sel"), QStringLiteral("5"), QStringLiteral("2"),
            QStringLiteral("--cmd"), QStringLiteral("SetNoteOctave"), QStringLiteral("5"), out });
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.contains(QStringLiteral("KORVA_Note 32 000000 U+4E00 U+6352 U+4EA9 U+6352\n")))
        << result.out.toStdString();
    EXPECT_TRUE(QFile::exists(out));
    // Typed notes, then a pause and Ctrl+Z: the typing is one step and goes.
    result = scoretool({ QStringLiteral("edit"), in, QStringLiteral("--sel"), QStringLiteral("8"),
        QStringLiteral("0"), QStringLiteral("--keys"), QStringLiteral("3 Num+- a | 5 | Ctrl+Z"), out });
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.contains(QStringLiteral("U+4E00 U+6352 U+4E01 U+6352 U+4E02 U+6353\n")))
        << result.out.toStdString();
    result = scoretool({ QStringLiteral("edit"), in, QStringLiteral("--sel"), QStringLiteral("8"),
        QStringLiteral("0"), QStringLiteral("--keys"), QStringLiteral("Bogus+Q"), out });
    EXPECT_EQ(result.exitCode, 2);
}

TEST(EditorTool, SymbolPickPrintsTheParagraphTheCaretTheSizeBoxAndTheSteps)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.rtf"));
    const QString score = QStringLiteral(TUNVALE_BUILD_DIR "/data/vls/xiaoxingxing.vls");
    const QString ini = testDataPath(QStringLiteral("symbolpick/kinds.ini"));
    // Line 3 holds the melody: a pick, a raised erhu sign, a typed note and one undo.
    Result result = scoretool(
        { QStringLiteral("symbol-pick"), score, QStringLiteral("--ini"), ini, QStringLiteral("--sel"),
            QStringLiteral("12"), QStringLiteral("0"), QStringLiteral("1/2/b"), QStringLiteral("3/1/u/s20"),
            QStringLiteral("key"), QStringLiteral("1"), QStringLiteral("undo"), out });
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.startsWith(QStringLiteral("char 11 U+4E00 KORVA_Note 64 0 0\n"
                                                     "char 12 U+6375 KORVA_Note 64 1 0\n"
                                                     "char 13 U+004D KORVA_Note_Symbol 18 0 30\n"
                                                     "char 14 U+4E00 KORVA_Note 64 0 0\n")))
        << result.out.toStdString();
    EXPECT_TRUE(result.out.endsWith(QStringLiteral("caret 14\nsizebox 9\nundo 2\n")))
        << result.out.toStdString();

    // A lyric line refuses; nothing is picked.
    result = scoretool({ QStringLiteral("symbol-pick"), score, QStringLiteral("--sel"), QStringLiteral("40"),
        QStringLiteral("0"), QStringLiteral("1/0"), out });
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.endsWith(QStringLiteral("caret 40\nsizebox \nundo 0\n")))
        << result.out.toStdString();
}

TEST(EditorTool, NumbersOutOfRangeAreRefusedAndALongSelectionEndsWithTheText)
{
    QTemporaryDir dir;
    const QString in = testDataPath(QStringLiteral("editor/two_bars.rtf"));
    const QString out = dir.filePath(QStringLiteral("out.rtf"));
    std::vector<QStringList> refused = {
        { QStringLiteral("bars"), in, QStringLiteral("--sel"), QStringLiteral("-1"), QStringLiteral("2") },
        { QStringLiteral("bars"), in, QStringLiteral("--sel"), QStringLiteral("0"),
            QStringLiteral("2147483648") },
        { QStringLiteral("edit"), in, QStringLiteral("--sel"), QStringLiteral("-5"), QStringLiteral("0"),
            QStringLiteral("--keys"), QStringLiteral("1"), out },
        { QStringLiteral("edit"), in, QStringLiteral("--sel"), QStringLiteral("4"), QStringLiteral("1"),
            QStringLiteral("--cmd"), QStringLiteral("SetNoteDuration"), QStringLiteral("9999999999"), out },
    };
    // Handlers that take a whole number, keys beyond those a key mark gives, and timings of no length or
    // longer than a day.
    for (const char* name : { "RichTextBox1_MouseUp", "FormatTool_Click", "Toolbar1_ButtonClick" })
        refused.push_back({ QStringLiteral("edit"), in, QStringLiteral("--sel"), QStringLiteral("4"),
            QStringLiteral("1"), QStringLiteral("--cmd"), QLatin1String(name), QStringLiteral("nan"), out });
    for (const char* key : { "2147483647", "55", "-1" })
        refused.push_back({ QStringLiteral("compile"), in, QStringLiteral("--key"), QLatin1String(key) });
    for (const char* command : { "play-bench", "clock-jitter" }) {
        for (const char* seconds : { "nan", "inf", "0", "86401" })
            refused.push_back(
                { QLatin1String(command), QStringLiteral("--seconds"), QLatin1String(seconds) });
    }
    for (const QStringList& args : refused)
        EXPECT_EQ(scoretool(args).exitCode, 2) << args.join(u' ').toStdString();
    EXPECT_FALSE(QFile::exists(out));

    // Bars of a selection beyond every position, and a duration beyond the shortest: the shortest.
    Result result = scoretool({ QStringLiteral("bars"), in, QStringLiteral("--sel"),
        QStringLiteral("2147483647"), QStringLiteral("1073741824") });
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.contains(QStringLiteral("XjxSelLength 0\n"))) << result.out.toStdString();
    result = scoretool({ QStringLiteral("edit"), in, QStringLiteral("--sel"), QStringLiteral("4"),
        QStringLiteral("2147483647"), QStringLiteral("--cmd"), QStringLiteral("SetNoteDuration"),
        QStringLiteral("2147483647"), out });
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.contains(QStringLiteral("U+4E23 U+6352 U+4E24 U+6352\n")))
        << result.out.toStdString();
    EXPECT_EQ(
        scoretool({ QStringLiteral("compile"), in, QStringLiteral("--key"), QStringLiteral("54") }).exitCode,
        0);
}

namespace {

// The tool's program folder and settings in fresh folders for the test's runs.
class PrivateFolders
{
public:
    PrivateFolders()
    {
        for (const char* name : { "XDG_DATA_HOME", "XDG_CONFIG_HOME" }) {
            kept_.push_back({ name, qgetenv(name) });
            qputenv(name, QFile::encodeName(dir_.filePath(QString::fromLatin1(name))));
        }
    }
    ~PrivateFolders()
    {
        for (const auto& [name, value] : kept_) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    std::vector<std::pair<const char*, QByteArray>> kept_;
};

QString sample(const char* name)
{
    return QStringLiteral(TUNVALE_BUILD_DIR "/data/vls/") + QLatin1String(name);
}

} // namespace

// Picks, an access key and Cancel: the sample showed the picks, and the score, its colours, the saved
// flag, the undo steps and the selection are as before.
TEST(EditorTool, ColorDialogCancelTakesThePicksBack)
{
    PrivateFolders folders;
    const QString untouched = folders.file(QStringLiteral("untouched.rtf"));
    const QString cancelled = folders.file(QStringLiteral("cancelled.rtf"));
    const QStringList common = { QStringLiteral("--sel"), QStringLiteral("30"), QStringLiteral("30") };
    ASSERT_EQ(scoretool(QStringList { QStringLiteral("color-dialog"), sample("molihua.vls"), untouched }
                  + common + QStringList { QStringLiteral("--cancel") })
                  .exitCode,
        0);
    const Result result
        = scoretool(QStringList { QStringLiteral("color-dialog"), sample("molihua.vls"), cancelled } + common
            + QStringList { "--check1", "--pick", "2", "FF0000", "--pick", "4", "00FF00", "--key", "1",
                "--pick", "1", "cancel", "--cancel" });
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.toStdString(),
        "check1 on\ncheck2 on\npicks 3\nEditBackColor: 00FFFFFF\nPlayNoteColor: 00FFFFFF\n"
        "PlayNoteBackColor: 007F7F7F\nJpLineColor: 00008000\nLyricLineColor: 0001077E\nsample back FFFFFF\n"
        "sample notation 008000\nsample note3 FF0000 on 808080\nsample lyric 7E0701\nScoreSaved -1\nundo 0\n"
        "selection 30 30\n");
    EXPECT_EQ(tunvale::testing::readAll(cancelled), tunvale::testing::readAll(untouched));
}

// An old score converted and taken back; answered No it stays as it was.
TEST(EditorTool, ConvertOldAndUndo)
{
    PrivateFolders folders;
    const QString in = folders.file(QStringLiteral("old.rtf"));
    const tunvale::testing::OldScore old = tunvale::testing::MakeOldScore(2);
    ASSERT_TRUE(tunvale::testing::writeAll(in, old.rtf.toLatin1()));
    const QString converted = folders.file(QStringLiteral("converted.rtf"));
    const QString refused = folders.file(QStringLiteral("refused.rtf"));
    const QString undone = folders.file(QStringLiteral("undone.rtf"));
    const Result yes = scoretool({ QStringLiteral("convert-old"), in, converted });
    ASSERT_EQ(yes.exitCode, 0);
    const QStringList lines = old.converted.split(QStringLiteral("\r\n"));
    EXPECT_TRUE(yes.out.contains(QString::fromStdString(tunvale::testing::Hex(lines[4]))))
        << yes.out.toStdString();
    EXPECT_TRUE(yes.out.endsWith(QStringLiteral("drums %1\n").arg(old.bars))) << yes.out.toStdString();

    const Result no = scoretool({ QStringLiteral("convert-old"), in, refused, QStringLiteral("--no") });
    ASSERT_EQ(no.exitCode, 0);
    EXPECT_FALSE(no.out.contains(QString::fromStdString(tunvale::testing::Hex(lines[4]))));
    ASSERT_EQ(scoretool({ QStringLiteral("convert-old"), in, undone, QStringLiteral("--undo") }).exitCode, 0);
    EXPECT_EQ(tunvale::testing::readAll(undone), tunvale::testing::readAll(refused));
}

// A syllable typed and saved on the settings tab spells the score when the first tab comes back.
TEST(EditorTool, SolfegeWindowSavesASyllable)
{
    PrivateFolders folders;
    const Result result = scoretool({ QStringLiteral("solfege-window"), sample("molihua.vls"),
        QStringLiteral("--type"), QStringLiteral("0"), QStringLiteral(" doh "), QStringLiteral("--save") });
    ASSERT_EQ(result.exitCode, 0);
    const QStringList out = result.out.split(u'\n');
    ASSERT_EQ(out.size(), 2 + 1 + 12 + 1 + 1 + 2 + 1);
    EXPECT_EQ(out[0], QStringLiteral("tab1 command1 off"));
    EXPECT_TRUE(out[1].startsWith(QStringLiteral("text mi mi sol la do do")));
    EXPECT_EQ(out[2], QStringLiteral("tab2 command1 off command2 off"));
    EXPECT_EQ(out[3], QStringLiteral("box 0 do"));
    EXPECT_EQ(out[15], QStringLiteral("typed command2 on"));
    EXPECT_EQ(out[16], QStringLiteral("saved command2 off"));
    EXPECT_EQ(out[18], QString(out[1]).replace(QStringLiteral(" do"), QStringLiteral(" doh")));
}

TEST(EditorTool, EditRunsItsStepsInOrderAndAnswersTheDialog)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.rtf"));
    const Result result = scoretool({ QStringLiteral("edit"),
        testDataPath(QStringLiteral("editor/two_bars.rtf")), QStringLiteral("--sel"), QStringLiteral("0"),
        QStringLiteral("0"), QStringLiteral("--cmd"), QStringLiteral("FormatTool_Click"), QStringLiteral("0"),
        QStringLiteral("--cmd"), QStringLiteral("Toolbar1_ButtonClick"), QStringLiteral("25"),
        QStringLiteral("--sel"), QStringLiteral("4"), QStringLiteral("1"), QStringLiteral("--cmd"),
        QStringLiteral("RichTextBox1_MouseUp"), QStringLiteral("1"), QStringLiteral("--sel"),
        QStringLiteral("4"), QStringLiteral("4"), QStringLiteral("--cmd"), QStringLiteral("SFZH_Click"),
        QStringLiteral("0"), QStringLiteral("--answer"), QStringLiteral("set 1 2;ok;cancel"),
        QStringLiteral("--sel"), QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("--cmd"),
        QStringLiteral("CQSF_Click"), QStringLiteral("0"), out });
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.toStdString(),
        "宋体 28 000000 U+0061 U+0062\n"
        "PAR 宋体\n"
        "KORVA_Note 36 000000 U+4EA8 U+6352 U+4E01 U+6352\n"
        "PAR KORVA_Note\n"
        "宋体 24 000000 U+0063 U+0064\n"
        "SEL 0 2\n"
        "PANEL 7 字号缩放值：2\n"
        "PANEL 8 字号:14\n"
        "PANEL 10 先按音高或音长格式按钮，后选中音符，逐类进行格式化。\n");
}

TEST(EditorTool, EditRunsTheNotationMarksAndAnswersTheirDialogs)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.rtf"));
    const QString in = testDataPath(QStringLiteral("editor/key_and_repeat.rtf"));
    // The key: F takes no flat, so the flat is not marked and G goes in alone. A volta over the bar
    // line and two notes; a long grace group typed and chosen after the first note, under its slur.
    Result result = scoretool({ QStringLiteral("edit"), in, QStringLiteral("--sel"), QStringLiteral("5"),
        QStringLiteral("1"), QStringLiteral("--cmd"), QStringLiteral("M_YD"), QStringLiteral("0"),
        QStringLiteral("--answer"), QStringLiteral("press 1 3;option 2;press 1 4;ok"),
        QStringLiteral("--sel"), QStringLiteral("8"), QStringLiteral("3"), QStringLiteral("--cmd"),
        QStringLiteral("TYJH"), QStringLiteral("0"), QStringLiteral("--sel"), QStringLiteral("10"),
        QStringLiteral("0"), QStringLiteral("--cmd"), QStringLiteral("DoNoteMark"), QStringLiteral("0"),
        QStringLiteral("--answer"), QStringLiteral("type 0;press 4 0;confirm;digit 3;ok"), out });
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.toStdString(),
        "宋体 24 000000 U+0061 U+0062\n"
        "PAR 宋体\n"
        "KORVA_Note 32 000000 U+634F U+6345\n"
        "PAR KORVA_Note\n"
        "KORVA_Note 32 000000 U+6363 U+504C\n"
        "KORVA_Note_yy1 32 000000 U+4FCE U+53C0\n"
        "KORVA_Note 32 000000 U+504D U+6358 U+4E02\n"
        "SEL 12 0\n"
        "PANEL 8 字号:16\n");
    // The close boxes: no key and no grace notes; an ornament after them.
    result = scoretool({ QStringLiteral("edit"), in, QStringLiteral("--sel"), QStringLiteral("5"),
        QStringLiteral("1"), QStringLiteral("--cmd"), QStringLiteral("M_YD"), QStringLiteral("0"),
        QStringLiteral("--answer"), QStringLiteral("press 0 0;close"), QStringLiteral("--sel"),
        QStringLiteral("10"), QStringLiteral("0"), QStringLiteral("--cmd"), QStringLiteral("DoNoteMark"),
        QStringLiteral("0"), QStringLiteral("--answer"), QStringLiteral("confirm;close"),
        QStringLiteral("--sel"), QStringLiteral("12"), QStringLiteral("1"), QStringLiteral("--cmd"),
        QStringLiteral("instrBY"), QStringLiteral("1"), out });
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.toStdString(),
        "宋体 24 000000 U+0061 U+0062\n"
        "PAR 宋体\n"
        "KORVA_Note 32 000000 U+634F U+6341\n"
        "PAR KORVA_Note\n"
        "KORVA_Note 32 000000 U+6352 U+4E00 U+4E01 U+6358\n"
        "KORVA_Note_Symbol 32 000000 U+0043 U+0046\n"
        "KORVA_Note 32 000000 U+4E02\n"
        "SEL 12 0\n"
        "PANEL 8 字号:16\n");
}

// 1.2 MB of GBK text writes as 4.8 MB of RTF escapes, more than the reader takes: the runs printed are
// still the whole text's.
TEST(EditorTool, EditPrintsTheRunsOfATextWrittenOverTheReadersLimit)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("long.rtf"));
    const QString out = dir.filePath(QStringLiteral("out.rtf"));
    constexpr int kPairs = 300000;
    const QByteArray gbkPair("\xd6\xd0\xce\xc4"); // 中文
    ASSERT_TRUE(tunvale::testing::writeAll(in,
        "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil \\'cb\\'ce\\'cc\\'e5;}}\\f0 "
            + gbkPair.repeated(kPairs) + "\\par }"));
    const Result result = scoretool({ QStringLiteral("edit"), in, QStringLiteral("--sel"),
        QStringLiteral("0"), QStringLiteral("0"), out });
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_GT(QFileInfo(out).size(), 4 * 1024 * 1024);
    const QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0],
        QStringLiteral("宋体 24 000000 ") + QStringLiteral("U+4E2D U+6587 ").repeated(kPairs).trimmed());
    EXPECT_EQ(lines[1], QStringLiteral("SEL 0 0"));
    EXPECT_EQ(lines[2], QStringLiteral("PANEL 8 字号:12"));
}

// The tool's editor wraps at the page's width, as the window does: a paste that the window takes into
// 100,000 digits at 72 points, which wrapped at a view's narrow default would stand too tall, goes in.
TEST(EditorTool, EditMeasuresAPasteAsTheWindowShowsTheText)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("large.rtf"));
    ASSERT_TRUE(tunvale::testing::writeAll(
        in, "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Song;}}\\f0\\fs144 " + QByteArray(100'000, '1') + "\\par }"));
    const Result result = scoretool(
        { QStringLiteral("edit"), in, QStringLiteral("--sel"), QStringLiteral("0"), QStringLiteral("3"),
            QStringLiteral("--cmd"), QStringLiteral("mnuCopy_Click"), QStringLiteral("0"),
            QStringLiteral("--sel"), QStringLiteral("3"), QStringLiteral("0"), QStringLiteral("--cmd"),
            QStringLiteral("mnuPaste_Click"), QStringLiteral("0"), dir.filePath(QStringLiteral("out.rtf")) });
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.contains(QStringLiteral("\nSEL 6 0\n"))) << result.out.right(200).toStdString();
}
