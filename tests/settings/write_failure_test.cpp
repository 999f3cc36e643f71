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

// A cause without words of ours is told in the system's own; no cause adds no line.
TEST(WriteFailure, EveryCauseIsSaidInSomeWords)
{
    EXPECT_EQ(WriteErrorText(EROFS), QStringLiteral("这个位置在只读的文件系统上。"));
    EXPECT_FALSE(WriteErrorText(EIO).isEmpty());
    QTemporaryDir dir;
    const QString writable = dir.filePath("a.rtf");
    EXPECT_EQ(WriteFailureText("保存失败！", writable, 10), "保存失败！\n" + writable);
}
