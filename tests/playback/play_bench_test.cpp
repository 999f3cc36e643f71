#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// The benchmark's figures are read by people; here it only has to run through and measure every record.
TEST(PlayBench, FiveSecondsOfTheGeneratedScore)
{
    QProcess tool;
    tool.start(QStringLiteral(TUNVALE_BUILD_DIR "/bin/scoretool"),
        { QStringLiteral("play-bench"), QStringLiteral("--seconds"), QStringLiteral("5") });
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 0);
    const QString output = QString::fromUtf8(tool.readAllStandardOutput());
    EXPECT_TRUE(output.contains(QStringLiteral("sender thread"))) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("sleep_until"))) << output.toStdString();
    const auto matched = QRegularExpression(QStringLiteral("matched (\\d+) of (\\d+) records")).match(output);
    ASSERT_TRUE(matched.hasMatch()) << output.toStdString();
    EXPECT_EQ(matched.captured(1), matched.captured(2));
}

} // namespace
