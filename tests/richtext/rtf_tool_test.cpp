#include "tests/support/scoretool_run.h"
#include "tests/support/test_folders.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using tunvale::testing::readAll;
using tunvale::testing::testDataPath;

using tunvale::testing::RunScoretool;
using Result = tunvale::testing::ScoretoolResult;

TEST(RtfTool, RunsListFontSizeColourAndCodes)
{
    const Result result = RunScoretool(
        { QStringLiteral("rtf-runs"), testDataPath(QStringLiteral("rtf/classic_rich_edit.rtf")) });
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(result.out).toStdString(),
        "宋体 32 000000 U+5C0F U+661F U+661F\n"
        "PAR 宋体\n"
        "KORVA_Note 64 000000 U+4E00 U+4E00 U+4E04 U+4E04 U+6352\n"
        "PAR KORVA_Note\n"
        "宋体 24 000000 U+4E00 U+95EA U+4E00 U+95EA U+0020 U+0074 U+0077 U+0069 U+006E U+006B U+006C "
        "U+0065\n");
}

TEST(RtfTool, RoundTripWritesOurDialectAndRefusesWhatIsNotRtf)
{
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("first.rtf"));
    const QString second = dir.filePath(QStringLiteral("second.rtf"));
    ASSERT_EQ(RunScoretool({ QStringLiteral("rtf-roundtrip"),
                               testDataPath(QStringLiteral("rtf/libreoffice_writer.rtf")), first })
                  .exitCode,
        0);
    ASSERT_EQ(RunScoretool({ QStringLiteral("rtf-roundtrip"), first, second }).exitCode, 0);
    EXPECT_TRUE(readAll(first).startsWith("{\\rtf1\\ansi\\ansicpg936\\deff0"));
    EXPECT_EQ(readAll(first), readAll(second));

    const QString text = dir.filePath(QStringLiteral("text.txt"));
    ASSERT_TRUE(tunvale::testing::writeAll(text, "not rtf"));
    const QString out = dir.filePath(QStringLiteral("out.rtf"));
    EXPECT_EQ(RunScoretool({ QStringLiteral("rtf-roundtrip"), text, out }).exitCode, 1);
    EXPECT_FALSE(QFile::exists(out));
}
