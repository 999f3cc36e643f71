#include "tests/search/score_tree.h"
#include "tests/support/test_folders.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace tunvale;

namespace {

QString scoretool(const QStringList& args)
{
    QProcess tool;
    tool.start(QStringLiteral(TUNVALE_BUILD_DIR "/bin/scoretool"), args);
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0) {
        ADD_FAILURE() << args.join(u' ').toStdString() << ": " << tool.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(tool.readAllStandardOutput());
}

} // namespace

TEST(Scoretool, SearchPrintsCountThenNumberNameAndPath)
{
    const tunvale::testing::ScoreTree tree({ "我 的歌.vls", "sub/B.VLS", "note.txt" });
    EXPECT_EQ(scoretool({ "search", tree.root(), "" }),
        QStringLiteral("2\n1\t我 的歌.vls\t%1/我 的歌.vls\n2\tB.VLS\t%1/sub/B.VLS\n").arg(tree.root()));
    EXPECT_EQ(scoretool({ "search", tree.root(), "我的" }),
        QStringLiteral("1\n1\t我 的歌.vls\t%1/我 的歌.vls\n").arg(tree.root()));
    EXPECT_EQ(scoretool({ "search", tree.root(), "我的", "--keep-spaces" }), QStringLiteral("0\n"));
}

TEST(Scoretool, SortPrintsLinesWithTheirNumbers)
{
    const tunvale::testing::ScoreTree tree({});
    ASSERT_TRUE(tunvale::testing::writeAll(tree.path("titles.txt"), "张三\r\n张\n一\n茶 \n"));
    EXPECT_EQ(scoretool({ "sort", "py", tree.path("titles.txt") }),
        QStringLiteral("4\t茶\n3\t一\n2\t张\n1\t张三\n"));
    EXPECT_EQ(scoretool({ "sort", "bh", tree.path("titles.txt") }),
        QStringLiteral("3\t一\n2\t张\n1\t张三\n4\t茶\n"));
}
