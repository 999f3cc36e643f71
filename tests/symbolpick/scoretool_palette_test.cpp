#include "tests/support/scoretool_run.h"
#include "tests/support/test_folders.h"

#include <gtest/gtest.h>

using tunvale::testing::RunScoretool;
using tunvale::testing::testDataPath;

namespace {

QStringList paletteLines(const char* fixture)
{
    const auto result = RunScoretool({ QStringLiteral("palette"), testDataPath(QLatin1String(fixture)) });
    EXPECT_EQ(result.exitCode, 0);
    return QString::fromUtf8(result.out).split(u'\n', Qt::SkipEmptyParts);
}

TEST(ScoretoolPalette, PrintsKindsGridsAndKeptEntries)
{
    const QStringList lines = paletteLines("symbolpick/kinds.ini");
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines[0], QStringLiteral("kinds 3"));
    EXPECT_EQ(lines.mid(1, 5),
        (QStringList { "kind 1 常规符号", "font KORVA_Note", "rows 1", "about eight signs",
            "entry 0 U+5FEB 45 fermata" }));
    EXPECT_TRUE(lines.contains(QStringLiteral("rows 5 bar 5 4")));
    EXPECT_TRUE(lines.contains(QStringLiteral("entry 5 U+62AB 45"))) << "an entry without description";
    EXPECT_TRUE(lines.contains(QStringLiteral("entry 10 U+5F8A 22.5")));
}

TEST(ScoretoolPalette, AFileWithoutKindsPrintsTheStatusMessage)
{
    EXPECT_EQ(paletteLines("symbolpick/nokinds.ini"),
        (QStringList { "kinds 0", "status Note.ini 没有可用的符号。" }));
}

} // namespace
