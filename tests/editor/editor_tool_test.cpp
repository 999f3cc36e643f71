#include "tests/support/scoretool_run.h"
#include "tests/support/test_folders.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    const QStringList refused[] = {
        { QStringLiteral("bars"), in, QStringLiteral("--sel"), QStringLiteral("-1"), QStringLiteral("2") },
        { QStringLiteral("bars"), in, QStringLiteral("--sel"), QStringLiteral("0"),
            QStringLiteral("2147483648") },
        { QStringLiteral("edit"), in, QStringLiteral("--sel"), QStringLiteral("-5"), QStringLiteral("0"),
            QStringLiteral("--keys"), QStringLiteral("1"), out },
        { QStringLiteral("edit"), in, QStringLiteral("--sel"), QStringLiteral("4"), QStringLiteral("1"),
            QStringLiteral("--cmd"), QStringLiteral("SetNoteDuration"), QStringLiteral("9999999999"), out },
    };
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
}
