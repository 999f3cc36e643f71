#include "tests/keyshift/keyshift_text.h"
#include "tests/support/test_folders.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tunvale::testing;

namespace {

struct Result {
    int exitCode = -1;
    QString out;
};

Result scoretool(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(TUNVALE_BUILD_DIR "/bin/scoretool"), args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return { process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()) };
}

} // namespace

TEST(KeyshiftTool, TransposesAScoreFileOrRefusesWithoutWriting)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.rtf"));
    const Result ok = scoretool({ QStringLiteral("transpose"),
        QStringLiteral(TUNVALE_SOURCE_DIR "/data/vls/molihua.vls"), QStringLiteral("2"), out });
    EXPECT_EQ(ok.exitCode, 0);
    EXPECT_EQ(ok.out, QStringLiteral("ok\n"));
    EXPECT_FALSE(Glyphs(QString::fromLatin1(readAll(out))).empty());

    const QString high = dir.filePath(QStringLiteral("high.rtf"));
    QFile file(high);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(ScoreRtf({ { N(QString(Note(7, 6))) } }).toLatin1());
    file.close();
    const QString refused = dir.filePath(QStringLiteral("refused.rtf"));
    const Result range = scoretool({ QStringLiteral("transpose"), high, QStringLiteral("1"), refused });
    EXPECT_EQ(range.exitCode, 0);
    EXPECT_EQ(range.out, QStringLiteral("range\n"));
    EXPECT_FALSE(QFile::exists(refused));

    EXPECT_EQ(scoretool({ QStringLiteral("transpose"), high, QStringLiteral("3"), refused }).exitCode, 2);
}

TEST(KeyshiftTool, ListsTheRunsAsTheTransposerSeesThem)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.rtf"));
    QFile file(in);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QString rtf = ScoreRtf({ { T("t") }, { N(QString(Note(1))), S("B") } });
    file.write(rtf.toLatin1());
    file.close();
    const Result result = scoretool({ QStringLiteral("transpose-runs"), in });
    EXPECT_EQ(result.exitCode, 0);
    const QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("0 ")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(" 6 \\f0")));
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(" 0 \\f1")));
    EXPECT_TRUE(lines[3].endsWith(QString::number(rtf.size()) + QStringLiteral(" 5 \\f2")));
}
