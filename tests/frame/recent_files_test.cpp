#include "app/frame/recent_files.h"

#include "platform/settings/registry.h"
#include "tests/support/test_folders.h"

#include <gtest/gtest.h>

using namespace tunvale;
using frame::RecentFiles;

namespace {

const QString kKey = QStringLiteral("Software\\Velmora\\FileHistory");

QString slot(const QString& name)
{
    return platform::Registry().ReadRegKey(platform::HKEY_CURRENT_USER, kKey, name, QStringLiteral("-"));
}

QStringList captions()
{
    QStringList out;
    for (const frame::RecentMenuItem& item : RecentFiles::ShowRecentFiles()) {
        if (item.visible)
            out << item.caption;
    }
    return out;
}

QString p(int n) { return QStringLiteral("/scores/%1.vls").arg(n); }

} // namespace

TEST(RecentFiles, AnEmptyHistoryShowsOneItem)
{
    tunvale::testing::ScopedSettingsFolder settings;
    EXPECT_EQ(captions(), QStringList { frame::kNoRecentFiles });
    EXPECT_EQ(RecentFiles::ShowRecentFiles()[0].path, QString());
    EXPECT_EQ(RecentFiles::FindRecentFile(p(1)), frame::kNotARecentFile);
}

TEST(RecentFiles, TheRingKeepsTheNewestFour)
{
    tunvale::testing::ScopedSettingsFolder settings;
    for (int i = 1; i <= 5; ++i)
        EXPECT_TRUE(RecentFiles::AddRecentFile(p(i)));
    EXPECT_EQ(RecentFiles::Entries(), (QStringList { p(5), p(4), p(3), p(2) }));
    // FirstFile went 3, 2, 1, 0, 3: the first path's slot was reused.
    EXPECT_EQ(slot(QStringLiteral("FirstFile")), QStringLiteral("3"));
    EXPECT_EQ(slot(QStringLiteral("File3")), p(5));
    EXPECT_EQ(captions(), (QStringList { "&1 " + p(5), "&2 " + p(4), "&3 " + p(3), "&4 " + p(2) }));
}

TEST(RecentFiles, RecordingAnEntryAgainMovesItToTheFront)
{
    struct Case {
        const char* name;
        int again; // the entry, 1 = newest
        QStringList order;
        bool rebuilt;
        QString first;
    };
    const std::vector<Case> cases = {
        { "the newest: nothing changes, no rebuild", 4, { p(4), p(3), p(2), p(1) }, false, "0" },
        { "the second: it and the newest swap", 3, { p(3), p(4), p(2), p(1) }, true, "0" },
        { "the third", 2, { p(2), p(4), p(3), p(1) }, true, "0" },
        { "the oldest: only FirstFile turns", 1, { p(1), p(4), p(3), p(2) }, true, "3" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tunvale::testing::ScopedSettingsFolder settings;
        for (int i = 1; i <= 4; ++i)
            RecentFiles::AddRecentFile(p(i));
        EXPECT_EQ(RecentFiles::AddRecentFile(p(c.again)), c.rebuilt);
        EXPECT_EQ(RecentFiles::Entries(), c.order);
        EXPECT_EQ(slot(QStringLiteral("FirstFile")), c.first);
    }
}

TEST(RecentFiles, TheTemplateAndBlankPathsAreNotRecorded)
{
    tunvale::testing::ScopedSettingsFolder settings;
    EXPECT_FALSE(RecentFiles::AddRecentFile(QStringLiteral("/data/NullVls.Dat")));
    EXPECT_FALSE(RecentFiles::AddRecentFile(QStringLiteral("   ")));
    EXPECT_EQ(slot(QStringLiteral("FirstFile")), QStringLiteral("-"));
}

TEST(RecentFiles, AnAmpersandIsShownOnceAndKeptInThePath)
{
    tunvale::testing::ScopedSettingsFolder settings;
    const QString path = QStringLiteral("/scores/R&B.vls");
    RecentFiles::AddRecentFile(path);
    const frame::RecentMenuItem item = RecentFiles::ShowRecentFiles()[0];
    EXPECT_EQ(item.caption, QStringLiteral("&1 /scores/R&&B.vls"));
    EXPECT_EQ(item.path, path);
}

TEST(RecentFiles, AnotherWindowsEntryIsFoundInTheSettingsAsTheyAreNow)
{
    tunvale::testing::ScopedSettingsFolder settings;
    RecentFiles::AddRecentFile(p(1));
    RecentFiles::AddRecentFile(p(2));
    // Another window recorded p(3) since this one built its menu.
    platform::Registry().WriteRegKey(platform::REG_SZ, platform::HKEY_CURRENT_USER, kKey,
        QStringLiteral("FirstFile"), QStringLiteral("1"));
    platform::Registry().WriteRegKey(
        platform::REG_SZ, platform::HKEY_CURRENT_USER, kKey, QStringLiteral("File1"), p(3));
    EXPECT_EQ(RecentFiles::FindRecentFile(p(3)), 0);
    RecentFiles::AddRecentFile(p(3));
    EXPECT_EQ(RecentFiles::Entries(), (QStringList { p(3), p(2), p(1) }));
}

// A "FirstFile" beyond 0 .. 3, however far, counts around the ring to a slot; one that is no number
// reads as 0.
TEST(RecentFiles, AnyFirstFileNamesTheSlotItCountsTo)
{
    const struct {
        const char* stored;
        int slot;
    } cases[] = { { "nan", 0 }, { "1e400", 0 }, { "1e10", 0 }, { "10000000001", 1 }, { "-1e10", 0 },
        { "-10000000001", 3 }, { "2147483648", 0 }, { "2147483649", 1 }, { "-2147483648", 0 },
        { "-2147483649", 3 }, { "4", 0 }, { "-1", 3 }, { "3", 3 }, { "2.9", 2 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        tunvale::testing::ScopedSettingsFolder settings;
        const platform::Registry registry;
        for (int i = 0; i < 4; ++i)
            registry.WriteRegKey(
                platform::REG_SZ, platform::HKEY_CURRENT_USER, kKey, QStringLiteral("File%1").arg(i), p(i));
        registry.WriteRegKey(platform::REG_SZ, platform::HKEY_CURRENT_USER, kKey, QStringLiteral("FirstFile"),
            QLatin1String(c.stored));
        EXPECT_EQ(RecentFiles::Entries().value(0), p(c.slot));
        EXPECT_TRUE(RecentFiles::AddRecentFile(p(9)));
        EXPECT_EQ(slot(QStringLiteral("FirstFile")), QString::number((c.slot + 3) % 4));
        EXPECT_EQ(RecentFiles::Entries().value(1), p(c.slot));
    }
}
