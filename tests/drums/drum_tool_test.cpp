#include "tests/support/scoretool_run.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using tunvale::testing::RunScoretool;

const QString kSample = QStringLiteral(TUNVALE_BUILD_DIR "/data/vls/liangzhilaohu.vls");

// Numbers no strip can be given (NaN, infinities, beyond int, just past the 16-bit bar counts, no
// number at all) are refused with the usage, before anything is laid out.
TEST(DrumTool, TheStripCommandRefusesNumbersNoStripHas)
{
    const QStringList strip
        = { QStringLiteral("9000"), QStringLiteral("540"), QStringLiteral("40"), QStringLiteral("12") };
    const auto with = [&strip](int at, const QString& value) {
        QStringList args = strip;
        args[at] = value;
        return args;
    };
    const std::vector<QStringList> refused = {
        with(0, QStringLiteral("nan")),
        with(1, QStringLiteral("inf")),
        with(2, QStringLiteral("32768")),
        with(2, QStringLiteral("-1")),
        with(3, QStringLiteral("2147483648")),
        with(3, QStringLiteral("1e10")),
        strip + QStringList { QStringLiteral("--marks"), QStringLiteral("x"), QStringLiteral("1") },
        strip + QStringList { QStringLiteral("--play"), QStringLiteral("-2147483649") },
        strip + QStringList { QStringLiteral("--drag"), QStringLiteral("nan") },
        strip + QStringList { QStringLiteral("--arrow"), QStringLiteral("left"), QStringLiteral("32768") },
        strip + QStringList { QStringLiteral("--arrow"), QStringLiteral("up"), QStringLiteral("1") },
    };
    for (const QStringList& args : refused) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const auto result = RunScoretool(QStringList { QStringLiteral("strip") } + args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
    }
    EXPECT_EQ(RunScoretool(QStringList { QStringLiteral("strip") } + strip).exitCode, 0);
}

// Bar lines typed or deleted beyond the score, however far, change nothing and say so.
TEST(DrumTool, BarEditsBeyondTheScoreChangeNothing)
{
    const auto result = RunScoretool({ QStringLiteral("drumops"), kSample, QStringLiteral("bars"),
        QStringLiteral("2147483647"), QStringLiteral("+1"), QStringLiteral("bars"), QStringLiteral("0"),
        QStringLiteral("+2147483647"), QStringLiteral("bars"), QStringLiteral("3"),
        QStringLiteral("-2147483647"), QStringLiteral("bars"), QStringLiteral("1"), QStringLiteral("+1") });
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.toStdString(),
        "no bars 2147483647 +1\nflags 111111110 bar 0\n"
        "no bars 0 +2147483647\nflags 111111110 bar 0\n"
        "no bars 3 -2147483647\nflags 111111110 bar 0\n"
        "flags 1011111110 bar 2\n");
}

// A speed typed in characters no key spells is typed as an input method gives it; the box keeps only
// what it accepts.
TEST(DrumTool, TheEditorsSpeedBoxTakesAnyText)
{
    const auto result
        = RunScoretool({ QStringLiteral("drumedit"), kSample, QStringLiteral("0"), QStringLiteral("record"),
            QStringLiteral("speed"), QStringLiteral("中é😀"), QStringLiteral("record") });
    ASSERT_EQ(result.exitCode, 0);
    QList<QByteArray> records = result.out.split('\n');
    records.removeIf([](const QByteArray& line) { return !line.startsWith("bytes "); });
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0], records[1]);
}

// The tool's window takes an RTF text as opening takes a score's: 4,000 lines at 1638 points, taller
// than the window's layout can count, are refused before the window lays them out; 1,000 open.
TEST(DrumTool, ATextTooTallToShowIsRefusedBeforeTheWindowGetsIt)
{
    QTemporaryDir dir;
    const auto run = [&dir](int lines) {
        const QString path = dir.filePath(QStringLiteral("tall.rtf"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1 " + QByteArray("\\fs3276 1\\par ").repeated(lines) + "}");
        file.close();
        return RunScoretool({ QStringLiteral("drumops"), path }).exitCode;
    };
    EXPECT_EQ(run(4000), 1);
    EXPECT_EQ(run(1000), 0);
}

} // namespace
