#include "components/search/search_status.h"
#include "components/search/tree_search.h"
#include "platform/settings/whole_file.h"
#include "tests/search/score_tree.h"

#include <gtest/gtest.h>

using namespace tunvale;
using search::Class_Search;
using tunvale::testing::ScoreTree;

namespace {

struct Found {
    int count = 0;
    QStringList names;
    QStringList paths;
};

Found treeSearch(const QString& folder, const QString& text, bool inspace = true)
{
    Found found;
    found.count = Class_Search().TreeSearch(folder, text, found.names, found.paths, inspace);
    return found;
}

} // namespace

TEST(TreeSearch, ListsScoreFilesFolderFirstThenSubfoldersByName)
{
    const ScoreTree tree({ "b.vls", "A.vls", "c.VLS", "notes.txt", "x.vls/", "x.vls/in.vls", "Sub/z.vls",
        "sub2/y.vls", "Sub/deep/w.vls", ".hidden/h.vls", ".h.vls", "vls" });
    const Found found = treeSearch(tree.root(), QString());
    // A folder named x.vls is entered, never listed.
    EXPECT_EQ(found.names, QStringList({ "A.vls", "b.vls", "c.VLS", "z.vls", "w.vls", "y.vls", "in.vls" }));
    EXPECT_EQ(found.count, 7);
    EXPECT_EQ(found.paths[0], tree.root() + "/A.vls");
    EXPECT_EQ(found.paths[4], tree.root() + "/Sub/deep/w.vls");
}

TEST(TreeSearch, TrailingSlashMakesNoDifference)
{
    const ScoreTree tree({ "a.vls", "d/b.vls" });
    const Found plain = treeSearch(tree.root(), QString());
    const Found slashed = treeSearch(tree.root() + "/", QString());
    EXPECT_EQ(plain.paths, slashed.paths);
    EXPECT_EQ(plain.paths, QStringList({ tree.root() + "/a.vls", tree.root() + "/d/b.vls" }));
}

TEST(TreeSearch, MatchesUnderTextComparison)
{
    const ScoreTree tree({ "我 的\u3000歌.vls", "My Song.vls", "ab.vls" });
    const struct {
        const char* text;
        bool inspace;
        QStringList names;
    } cases[] = {
        { "我的歌", true, { "我 的\u3000歌.vls" } },
        { "我的歌", false, {} },
        { "我 的", false, { "我 的\u3000歌.vls" } },
        { "mysong", true, { "My Song.vls" } },
        { "my song", false, { "My Song.vls" } },
        { "ＡＢ", true, { "ab.vls" } },
        { "VLS", true, { "ab.vls", "My Song.vls", "我 的\u3000歌.vls" } },
        { "xyz", true, {} },
    };
    for (const auto& c : cases) {
        const Found found = treeSearch(tree.root(), QString::fromUtf8(c.text), c.inspace);
        EXPECT_EQ(found.names, c.names) << c.text << ' ' << c.inspace;
        EXPECT_EQ(found.count, c.names.size()) << c.text;
    }
}

TEST(TreeSearch, CountsRunOnOverRecursiveAndLaterCalls)
{
    const ScoreTree tree({ "a1.vls", "a2.vls", "only/a3.vls", "other/b.vls" });
    Class_Search search;
    QStringList names;
    QStringList paths;
    EXPECT_EQ(search.TreeSearch(tree.root(), "a", names, paths, true), 3);
    EXPECT_EQ(names, QStringList({ "a1.vls", "a2.vls", "a3.vls" }));
    // A second call on the object adds to its count.
    EXPECT_EQ(search.TreeSearch(tree.path("other"), "b", names, paths, true), 4);
    EXPECT_EQ(Class_Search().TreeSearch(tree.path("missing"), "", names, paths, true), 0);
}

TEST(TreeSearch, LinksAreFollowedOnceAndNeverLoop)
{
    const ScoreTree tree({ "top.vls", "songs/a.vls", "songs/inner/b.vls" });
    ASSERT_TRUE(tree.link(tree.path("songs"), "songs/inner/back")); // a loop
    ASSERT_TRUE(tree.link(tree.path("songs"), "again")); // the same folder twice
    ASSERT_TRUE(tree.link(tree.path("songs/a.vls"), "linked.vls"));
    ASSERT_TRUE(tree.link(tree.path("nowhere.vls"), "broken.vls"));
    const Found found = treeSearch(tree.root(), QString());
    EXPECT_EQ(found.names, QStringList({ "linked.vls", "top.vls", "a.vls", "b.vls" }));
    EXPECT_EQ(found.paths[2], tree.root() + "/again/a.vls"); // "again" sorts before "songs"
}

TEST(SearchStatus, TextsAndPaths)
{
    EXPECT_EQ(search::foundFilesText(0), QStringLiteral("找到　0　个文件。"));
    EXPECT_EQ(search::foundFilesText(12), QStringLiteral("找到　12　个文件。"));
    const struct {
        const char* path;
        const char* root;
        const char* shown;
    } cases[] = {
        { "/songs/a/b.vls", "/songs", "../a/b.vls" },
        { "/a/b.vls", "/", "../a/b.vls" },
        { "/songs/songs/x.vls", "/songs", "../songs/x.vls" },
        { "/songs/x.vls", "/songs/", "../x.vls" },
        { "/songsX/x.vls", "/songs", "/songsX/x.vls" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(search::statusPath(c.path, c.root), QString::fromUtf8(c.shown)) << c.path << ' ' << c.root;
}

// Three scores on disk, two of them named in code page 936 (one inside a folder so named): all three
// are listed under their Chinese names, found by them, and read by the paths listed.
TEST(TreeSearch, NamesInCodePage936AreListedAndReadByTheirBytes)
{
    const QByteArray oldSongs = QByteArray::fromHex("BEC9B8E8"); // 旧歌
    const QByteArray jasmine = QByteArray::fromHex("DCD4C0F2BBA8"); // 茉莉花
    const ScoreTree tree({ "新歌.vls" });
    tree.addNative(jasmine + ".vls", "jasmine");
    tree.addNative(oldSongs + "/" + jasmine + "2.vls", "second");
    Found found = treeSearch(tree.root(), QString());
    EXPECT_EQ(found.names, QStringList({ "新歌.vls", "茉莉花.vls", "茉莉花2.vls" }));
    EXPECT_EQ(found.paths.last(), tree.root() + "/旧歌/茉莉花2.vls");
    EXPECT_EQ(platform::ReadWholeFile(found.paths[1]), QByteArray("jasmine"));
    EXPECT_EQ(platform::ReadWholeFile(found.paths[2]), QByteArray("second"));
    found = treeSearch(tree.root(), QStringLiteral("茉莉"));
    EXPECT_EQ(found.count, 2);
}

// 1,000 folders, one inside the other, with a link from the deepest back to the top: the score at the
// bottom is found once.
TEST(TreeSearch, AThousandFoldersDeepAndALoopAtTheBottom)
{
    const QString chain = QStringLiteral("d/").repeated(1000);
    const ScoreTree tree({ chain + "bottom.vls" });
    ASSERT_TRUE(tree.link(tree.root(), chain + "top"));
    Class_Search search;
    QStringList names;
    QStringList paths;
    EXPECT_EQ(search.TreeSearch(tree.root(), QString(), names, paths, true), 1);
    EXPECT_EQ(paths, QStringList { tree.root() + "/" + chain + "bottom.vls" });
    EXPECT_TRUE(search.unenterableFolders().isEmpty());
}

// A folder whose path is longer than the system takes cannot be entered: it is reported, not passed over
// in silence.
TEST(TreeSearch, AFolderThatCannotBeEnteredIsReported)
{
    ScoreTree tree({ "top.vls" });
    const QString top = tree.addTooDeep();
    Class_Search search;
    QStringList names;
    QStringList paths;
    EXPECT_EQ(search.TreeSearch(tree.root(), QString(), names, paths, true), 1);
    ASSERT_EQ(search.unenterableFolders().size(), 1);
    EXPECT_TRUE(search.unenterableFolders().front().startsWith(top + "/"));
    EXPECT_TRUE(search.unenterableFolders().front().endsWith(QStringLiteral("File name too long")));
}
