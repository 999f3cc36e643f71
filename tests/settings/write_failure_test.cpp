#include "platform/settings/whole_file.h"
#include "platform/settings/write_failure.h"

#include "tests/support/test_folders.h"

#include <QIODevice>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using namespace tunvale::platform;

// The reason of a failed write is the one the system gave for the call that failed, whatever the place
// looks like afterwards.
TEST(WriteFailure, TheCauseIsAskedOfTheSystem)
{
    QTemporaryDir dir;
    ASSERT_TRUE(tunvale::testing::writeAll(dir.filePath("file"), "x"));
    EXPECT_EQ(CommitWholeFile(dir.filePath("missing/a.vls"), "x").error, ENOENT);
    EXPECT_EQ(CommitWholeFile(dir.filePath("file/a.vls"), "x").error, ENOTDIR);
    EXPECT_EQ(CommitWholeFile(dir.path(), "x").error, EISDIR);
    EXPECT_EQ(CommitWholeFile(dir.filePath(QString(300, u'a')), "x").error, ENAMETOOLONG);
    // /proc makes no files, also for root.
    EXPECT_EQ(CommitWholeFile(QStringLiteral("/proc/a.rtf"), "x").error, ENOENT);
    // A disk that fills up during the write, though it has room again by the time the failure is told.
    const WriteResult full = CommitWholeFile(dir.filePath("a.bmp"), [](QIODevice& file) {
        file.write("BM");
        errno = ENOSPC;
        return false;
    });
    EXPECT_FALSE(full);
    EXPECT_EQ(full.error, ENOSPC);
    EXPECT_FALSE(QFile::exists(dir.filePath("a.bmp")));
    const WriteResult written = CommitWholeFile(dir.filePath("file"), "y");
    EXPECT_TRUE(written);
    EXPECT_EQ(written.error, 0);
}

// A cause without words of ours is told in the system's own; no cause adds no line. A folder that is
// there is never called missing.
TEST(WriteFailure, EveryCauseIsSaidInSomeWords)
{
    EXPECT_EQ(WriteErrorText(EROFS), QStringLiteral("这个位置在只读的文件系统上。"));
    EXPECT_FALSE(WriteErrorText(EIO).isEmpty());
    QTemporaryDir dir;
    const QString writable = dir.filePath("a.rtf");
    EXPECT_EQ(WriteFailureText("保存失败！", writable, 0), "保存失败！\n" + writable);
    EXPECT_EQ(WriteFailureText("保存失败！", dir.filePath("missing/a.rtf"), ENOENT),
        "保存失败！\n" + dir.filePath("missing/a.rtf") + "\n文件夹不存在。");
    EXPECT_EQ(WriteFailureText("保存失败！", "/proc/a.rtf", ENOENT),
        "保存失败！\n/proc/a.rtf\n" + QString::fromLocal8Bit(std::strerror(ENOENT)));
}
