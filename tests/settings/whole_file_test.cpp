#include "platform/settings/whole_file.h"

#include "tests/support/test_folders.h"

#include <QDir>
#include <QIODevice>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

using namespace tunvale::platform;
using tunvale::testing::readAll;
using tunvale::testing::writeAll;

namespace {

mode_t typeOf(const QString& path)
{
    struct stat info {
    };
    return lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

QStringList entries(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

// A pipe or a device takes the bytes and stays what it was; nothing waits for a reader that never comes,
// and a reader that goes away is a failure, not the end of the program.
TEST(WholeFile, APipeOrADeviceIsWrittenWhereItIs)
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath("score.rtf");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_EQ(CommitWholeFile(pipe, "x").error, ENXIO);

    const int reader = ::open(QFile::encodeName(pipe).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(CommitWholeFile(pipe, "{\\rtf1 x}"));
    char got[32] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 9);
    EXPECT_STREQ(got, "{\\rtf1 x}");
    const WriteResult gone = CommitWholeFile(pipe, [reader](QIODevice& file) {
        ::close(reader);
        return file.write("x") == 1;
    });
    EXPECT_FALSE(gone);
    EXPECT_EQ(gone.error, EPIPE);
    EXPECT_EQ(typeOf(pipe), mode_t(S_IFIFO));
    EXPECT_EQ(entries(dir), QStringList { "score.rtf" });

    // Devices of its own: a fault that replaced them harms none of the system's.

    for (const bool full : { false, true }) {
        const QString device = dir.filePath(full ? "full" : "null");
        if (!tunvale::testing::MakeDevice(device, full))
            continue;
        const WriteResult written = CommitWholeFile(device, "x");
        EXPECT_EQ(written.written, !full);
        EXPECT_EQ(written.error, full ? ENOSPC : 0);
        EXPECT_EQ(typeOf(device), mode_t(S_IFCHR));
    }
}

// The new content goes beside the old file under a name of its own, which never passes the limit on a
// name's length, whatever the length of the file's.
TEST(WholeFile, ANameUpToTheLimitIsReplacedAsAnyOther)
{
    QTemporaryDir dir;
    const QString names[] = { QString(249, u'a'), QString(255, u'b'), QString(85, u'谱') };
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        ASSERT_TRUE(CommitWholeFile(path, "old")) << name.size();
        const WriteResult written = CommitWholeFile(path, "new");
        EXPECT_TRUE(written) << name.size() << " " << written.error;
        EXPECT_EQ(readAll(path), "new");
        EXPECT_EQ(entries(dir), QStringList { name });
        QFile::remove(path);
    }
}

// A replaced file keeps its permissions and the link that names it; a new one has the permissions that
// the user's mask leaves.
TEST(WholeFile, AReplacedFileKeepsItsPermissionsAndItsLink)
{
    QTemporaryDir dir;
    const QString real = dir.filePath("real.vls");
    const QString link = dir.filePath("link.vls");
    ASSERT_TRUE(writeAll(real, "old"));
    ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(real, link));

    EXPECT_TRUE(CommitWholeFile(link, "new"));
    EXPECT_EQ(readAll(real), "new");
    EXPECT_EQ(typeOf(link), mode_t(S_IFLNK));
    struct stat info {
    };
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ((QStringList { "link.vls", "real.vls" }), entries(dir));

    const mode_t mask = ::umask(022);
    ::umask(mask);
    const QString created = dir.filePath("new.vls");
    ASSERT_TRUE(CommitWholeFile(created, "x"));
    ASSERT_EQ(::stat(QFile::encodeName(created).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0666u & ~mask);
}
