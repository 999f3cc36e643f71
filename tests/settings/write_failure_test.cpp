#include "platform/settings/write_failure.h"

#include "tests/support/test_folders.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

using namespace tunvale::platform;

// What the system answers about the place a file was to be written.
TEST(WriteFailure, TheCauseIsAskedOfTheSystem)
{
    QTemporaryDir dir;
    ASSERT_TRUE(tunvale::testing::writeAll(dir.filePath("file"), "x"));
    EXPECT_EQ(WriteFailureCause(dir.filePath("missing/a.vls"), 10), ENOENT);
    EXPECT_EQ(WriteFailureCause(dir.filePath("file/a.vls"), 10), ENOTDIR);
    EXPECT_EQ(WriteFailureCause(dir.path(), 10), EISDIR);
    EXPECT_EQ(WriteFailureCause(dir.filePath(QString(250, u'a') + ".vls"), 10), ENAMETOOLONG);
    EXPECT_EQ(WriteFailureCause(dir.filePath("a.vls"), qint64(1) << 62), ENOSPC);
    EXPECT_EQ(WriteFailureCause(dir.filePath("a.vls"), 10), 0);
    EXPECT_EQ(WriteFailureCause(dir.filePath("file"), 10), 0);
}

TEST(WriteFailure, TheMessageKeepsItsFirstLineAndSaysWhereAndWhy)
{
    EXPECT_EQ(WriteErrorText(EACCES), QStringLiteral("没有写入这个位置的权限。"));
    EXPECT_EQ(WriteErrorText(EROFS), QStringLiteral("这个位置在只读的文件系统上。"));
    EXPECT_EQ(WriteErrorText(ENOSPC), QStringLiteral("磁盘已满。"));
    EXPECT_EQ(WriteErrorText(ENOENT), QStringLiteral("文件夹不存在。"));
    // A cause without words of ours is told in the system's own.
    EXPECT_FALSE(WriteErrorText(EIO).isEmpty());
    EXPECT_TRUE(WriteErrorText(0).isEmpty());

    QTemporaryDir dir;
    const QString missing = dir.filePath("missing/a.rtf");
    EXPECT_EQ(WriteFailureText("保存失败！", missing, 10), "保存失败！\n" + missing + "\n文件夹不存在。");
    const QString writable = dir.filePath("a.rtf");
    EXPECT_EQ(WriteFailureText("保存失败！", writable, 10), "保存失败！\n" + writable);
}
