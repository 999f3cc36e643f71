#include "app/frame/start_args.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tunvale::frame;

TEST(StartArgs, DispatchesOnTheFirstArgument)
{
    const QString cwd = QDir::currentPath();
    struct Case {
        QStringList args;
        StartKind kind;
        QString file;
        int progress;
        int print;
    };
    const Case cases[] = {
        { {}, StartKind::Ordinary, "", -1, 0 },
        { { "/songs/a.vls" }, StartKind::Ordinary, "/songs/a.vls", -1, 0 },
        // A path holding "/p" is a plain path.
        { { "/home/pat/pieces/a.vls" }, StartKind::Ordinary, "/home/pat/pieces/a.vls", -1, 0 },
        // Blanks: the arguments are joined by one blank; quotes go.
        { { "\"/my", "songs/a", "b.vls\"" }, StartKind::Ordinary, "/my songs/a b.vls", -1, 0 },
        { { "/my songs/\"a\".vls" }, StartKind::Ordinary, "/my songs/a.vls", -1, 0 },
        { { "rel/a.vls" }, StartKind::Ordinary, cwd + "/rel/a.vls", -1, 0 },
        { { "/OpenFile", "/my", "songs/a.vls" }, StartKind::OpenFile, "/my songs/a.vls", 0, 0 },
        { { "/OpenFile", "/a/../b/./c.vls" }, StartKind::OpenFile, "/b/c.vls", 0, 0 },
        { { "/OpenFile" }, StartKind::OpenFile, "", 0, 0 },
        { { "/OpenFile", "/x/p", "/p" }, StartKind::OpenFile, "/x/p /p", 0, 0 },
        { { "/p", "\"/my songs/a.vls\"" }, StartKind::Print, "/my songs/a.vls", -1, -1 },
        { { "/p", "/songs/a.vls", "ignored" }, StartKind::Print, "/songs/a.vls", -1, -1 },
        // "/p" without a path starts as usual, without a file.
        { { "/p" }, StartKind::Ordinary, "", -1, 0 },
        { { "/pp", "/a.vls" }, StartKind::Ordinary, "/pp /a.vls", -1, 0 },
    };
    for (const Case& c : cases) {
        const StartArgs start = ParseStartArgs(c.args);
        const std::string label = c.args.join(u'|').toStdString();
        EXPECT_EQ(start.kind, c.kind) << label;
        EXPECT_EQ(start.CurrentFile, c.file) << label;
        EXPECT_EQ(start.ShowStartProgress, c.progress != 0) << label;
        EXPECT_EQ(start.PrintStart, c.print != 0) << label;
    }
}

TEST(StartArgs, AnExistingFileIsKeptWithItsLinksResolved)
{
    QTemporaryDir dir;
    const QString real = dir.filePath("real.vls");
    QFile file(real);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(QFile::link(real, dir.filePath("link.vls")));
    const QString canonical = QFileInfo(real).canonicalFilePath();
    EXPECT_EQ(ScorePathKey(dir.filePath("link.vls")), canonical);
    EXPECT_EQ(ScorePathKey(dir.path() + "/./sub/../real.vls"), canonical);
    EXPECT_EQ(ScorePathKey(""), "");
}
