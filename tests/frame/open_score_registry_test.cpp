#include "app/frame/open_score_registry.h"
#include "app/frame/start_args.h"

#include "app/notation/score_template.h"
#include "platform/settings/ini_file.h"
#include "platform/settings/program_folder.h"
#include "tests/support/test_folders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tunvale;
using frame::OpenScoreRegistry;

TEST(OpenScoreRegistry, EntriesMapPathsToProcessIds)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("MyNote.ini"));
    const OpenScoreRegistry registry(ini);
    const QString a = QStringLiteral("/scores/a.vls");
    const QString b = QStringLiteral("/scores/b.vls");
    EXPECT_EQ(registry.FindFileWindow(a), 0);
    ASSERT_TRUE(registry.Register(a, 4242));
    EXPECT_EQ(platform::ReadIniValue(QStringLiteral("FileN"), a, ini), QStringLiteral("4242"));
    EXPECT_EQ(registry.FindFileWindow(a), 4242);
    // The Val of the value: trailing text is ignored, a value without a number is no window.
    ASSERT_TRUE(platform::WriteIniValue(QStringLiteral("FileN"), b, QStringLiteral("77 old"), ini));
    EXPECT_EQ(registry.FindFileWindow(b), 77);
    ASSERT_TRUE(platform::WriteIniValue(QStringLiteral("FileN"), b, QStringLiteral("none"), ini));
    EXPECT_EQ(registry.FindFileWindow(b), 0);

    // Only an entry that still holds our id is removed.
    ASSERT_TRUE(registry.Register(a, 5000));
    EXPECT_FALSE(registry.RemoveIfHeldBy(a, 4242));
    EXPECT_EQ(registry.FindFileWindow(a), 5000);
    EXPECT_TRUE(registry.RemoveIfHeldBy(a, 5000));
    EXPECT_EQ(registry.FindFileWindow(a), 0);

    ASSERT_TRUE(registry.WriteWinPos(QStringLiteral("1200,900,12000,9000,Normal")));
    EXPECT_EQ(platform::ReadIniValue(QStringLiteral("WinPos"), QStringLiteral("WindowPos"), ini),
        QStringLiteral("1200,900,12000,9000,Normal"));
}

TEST(OpenScoreRegistry, PathsThatCannotBeKeysAreNeverRegistered)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("MyNote.ini"));
    const OpenScoreRegistry registry(ini);
    const QStringList refused = { QString(), QStringLiteral("/s/a=b.vls"), QStringLiteral("/s/a\rb.vls"),
        QStringLiteral("/s/a\nb.vls"), QStringLiteral("/s/a") + QChar(0) + QStringLiteral("b.vls"),
        QStringLiteral(" /s/a.vls"), QStringLiteral("/s/a.vls "), notation::TemplatePath(),
        platform::ProgramFolder::userPath(notation::kTemplateFileName) };
    for (const QString& path : refused) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_FALSE(OpenScoreRegistry::CanRegister(path));
        EXPECT_FALSE(registry.Register(path, 1));
        EXPECT_EQ(registry.FindFileWindow(path), 0);
    }
    // "/s/a" must not read the entry a path with "=" would have made.
    ASSERT_TRUE(registry.Register(QStringLiteral("/s/a"), 9));
    EXPECT_EQ(registry.FindFileWindow(QStringLiteral("/s/a=b.vls")), 0);
    EXPECT_FALSE(tunvale::testing::readAll(ini).contains("a=b"));
}

TEST(OpenScoreRegistry, OneFileHasOneKey)
{
    QTemporaryDir dir;
    QFile(dir.filePath(QStringLiteral("a.vls"))).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("a.vls")), dir.filePath(QStringLiteral("link.vls"))));
    const QString canonical = frame::ScorePathKey(dir.filePath(QStringLiteral("a.vls")));
    EXPECT_EQ(frame::ScorePathKey(dir.filePath(QStringLiteral("link.vls"))), canonical);
    EXPECT_EQ(frame::ScorePathKey(dir.path() + QStringLiteral("/sub/../a.vls")), canonical);
    EXPECT_EQ(frame::ScorePathKey(dir.path() + QStringLiteral("//x/./new.vls")),
        QDir::cleanPath(dir.path() + QStringLiteral("/x/new.vls")));
}
