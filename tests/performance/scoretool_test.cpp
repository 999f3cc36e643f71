#include "tests/support/test_folders.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tunvale::testing {
namespace {

// The test tool prints finished performances exactly as written down by hand: a score file with a
// repeated segment and drums outlasting the melody, the same cut at a caret and rebuilt with drums
// only, and an RTF score with a start position.
TEST(ScoretoolCompile, PrintsTheFinishedPerformance)
{
    const struct {
        QStringList args;
        const char* expected;
    } cases[] = {
        { { QStringLiteral("performance/repeat_drums.vls"), QStringLiteral("--mode"), QStringLiteral("2") },
            "repeat_drums.vls.mode2" },
        { { QStringLiteral("performance/repeat_drums.vls"), QStringLiteral("--mode"), QStringLiteral("1"),
              QStringLiteral("--caret"), QStringLiteral("14"), QStringLiteral("--cut") },
            "repeat_drums.vls.cut" },
        { { QStringLiteral("performance/repeat_drums.vls"), QStringLiteral("--drums"),
              QStringLiteral("1,0") },
            "repeat_drums.vls.drums" },
        { { QStringLiteral("compiler/song.rtf"), QStringLiteral("--mode"), QStringLiteral("4"),
              QStringLiteral("--caret"), QStringLiteral("33") },
            "song.rtf.mode4" },
    };
    // A fresh user folder, so the syllables come from the shipped "banzhou.ini".
    QTemporaryDir userData;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), userData.path());
    for (const auto& c : cases) {
        QStringList args = c.args;
        args[0] = testDataPath(args[0]);
        QProcess tool;
        tool.setProcessEnvironment(environment);
        tool.start(QStringLiteral(TUNVALE_BUILD_DIR "/bin/scoretool"),
            QStringList { QStringLiteral("compile") } + args);
        ASSERT_TRUE(tool.waitForFinished(30000));
        EXPECT_EQ(tool.exitCode(), 0);
        const QByteArray expected
            = readAll(testDataPath(QStringLiteral("performance/") + QLatin1String(c.expected)));
        EXPECT_EQ(tool.readAllStandardOutput().toStdString(), expected.toStdString()) << c.expected;
    }
}

} // namespace
} // namespace tunvale::testing
