#include "platform/settings/whole_file.h"

#include "platform/text/gbk.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>

namespace tunvale::platform {

namespace {

bool exists(const QByteArray& native)
{
    struct stat info {
    };
    return lstat(native.constData(), &info) == 0;
}

constexpr int kMaxLinkDepth = 128;
constexpr int kTemporaryAttempts = 16;
constexpr qsizetype kRandomCharacters = 6;

// The file a save replaces: a symbolic link stays, and the file it names is replaced.
QString writtenPath(const QString& path)
{
    QFileInfo file(path);
    for (int depth = 0; depth < kMaxLinkDepth && file.isSymLink(); ++depth)
        file.setFile(file.symLinkTarget());
    return file.isSymLink() ? path : file.filePath();
}

// A name beside `target` for the new content: the target's name and six random characters, the name
// cut short where the whole would pass the system's limit on a name.
QByteArray temporaryName(const QByteArray& target)
{
    const qsizetype slash = target.lastIndexOf('/') + 1;
    const QByteArray name = target.sliced(slash);
    qsizetype kept = std::min(name.size(), qsizetype(NAME_MAX) - 1 - kRandomCharacters);
    // Not within a UTF-8 character.
    while (kept > 0 && kept < name.size() && (uchar(name[kept]) & 0xC0) == 0x80)
        --kept;
    static constexpr char kCharacters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray temporary = target.first(slash) + name.first(kept) + '.';
    for (qsizetype i = 0; i < kRandomCharacters; ++i)
        temporary += kCharacters[QRandomGenerator::global()->bounded(int(sizeof kCharacters - 1))];
    return temporary;
}

// Writes through `fd`, which stays open.
WriteResult writeTo(int fd, const std::function<bool(QIODevice& file)>& write)
{
    QFile file;
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
        return { false, errno };
    // Unbuffered, every write reaches the system at once: errno right after a call that failed is the
    // reason the system gave for it. It is cleared first, as calls that succeed may leave it set.
    errno = 0;
    if (!write(file))
        return { false, errno };
    return { true, 0 };
}

// A reader that goes away makes a write fail with EPIPE; the signal that comes with it would end the
// program. It is held while the pipe is written, and taken before it is let through again.
class PipeSignalHeld
{
public:
    PipeSignalHeld()
    {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe_, &before_);
    }
    ~PipeSignalHeld()
    {
        const timespec now {};
        while (sigtimedwait(&pipe_, nullptr, &now) == SIGPIPE) { }
        pthread_sigmask(SIG_SETMASK, &before_, nullptr);
    }
    PipeSignalHeld(const PipeSignalHeld&) = delete;
    PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;

private:
    sigset_t pipe_ {};
    sigset_t before_ {};
};

// A pipe or a device is written where it is: replacing it would put a file in its place.
WriteResult writeInPlace(const QByteArray& target, const std::function<bool(QIODevice& file)>& write)
{
    // A pipe without a reader refuses at once (ENXIO) instead of waiting for one for ever.
    const int fd = ::open(target.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return { false, errno };
    // Once open, it is written as a file is: a pipe waits while its reader takes what came before.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    WriteResult result;
    {
        const PipeSignalHeld held;
        result = writeTo(fd, write);
    }
    if (::close(fd) != 0 && result)
        result = { false, errno };
    return result;
}

// A file is written beside the target and renamed over it only when all of it is on the disk, so a
// failure leaves the old file as it was.
WriteResult writeThroughTemporary(const QByteArray& target, const std::function<bool(QIODevice& file)>& write)
{
    struct stat old {
    };
    const bool replacing = ::stat(target.constData(), &old) == 0;
    // A file the user may not write is refused, though its folder would let it be replaced.
    if (replacing && ::access(target.constData(), W_OK) != 0)
        return { false, errno };
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < kTemporaryAttempts; ++attempt) {
        temporary = temporaryName(target);
        // Nobody else may read it before it has the old file's permissions.
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return { false, errno };
    if (replacing)
        ::fchmod(fd, old.st_mode & 07777);
    WriteResult result = writeTo(fd, write);
    // EINVAL and EROFS: a file system that has nothing to sync.
    if (result && ::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        result = { false, errno };
    if (::close(fd) != 0 && result)
        result = { false, errno };
    if (result && ::rename(temporary.constData(), target.constData()) != 0)
        result = { false, errno };
    if (!result)
        ::unlink(temporary.constData());
    return result;
}

} // namespace

QByteArray NativeFileName(const QString& path)
{
    const QByteArray utf8 = QFile::encodeName(path);
    if (exists(utf8))
        return utf8;
    QByteArray native;
    const QStringList parts = path.split(u'/');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            native += '/';
        QByteArray part = QFile::encodeName(parts[i]);
        if (!parts[i].isEmpty() && !exists(native + part)) {
            const QByteArray gbk = GbkEncode(parts[i]);
            if (GbkDecode(gbk) == parts[i] && exists(native + gbk))
                part = gbk;
        }
        native += part;
    }
    return native;
}

std::optional<QByteArray> ReadWholeFile(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    const int fd = ::open(NativeFileName(path).constData(), O_RDONLY | O_CLOEXEC);
    struct stat info {
    };
    if (fd < 0 || fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        return std::nullopt;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

WriteResult CommitWholeFile(const QString& path, const QByteArray& bytes)
{
    return CommitWholeFile(path, [&bytes](QIODevice& file) { return file.write(bytes) == bytes.size(); });
}

WriteResult CommitWholeFile(const QString& path, const std::function<bool(QIODevice& file)>& write)
{
    if (path.isEmpty())
        return { false, ENOENT };
    const QByteArray target = QFile::encodeName(writtenPath(path));
    struct stat info {
    };
    // A pipe or a device is the place the bytes go to, not a file to be replaced; a folder refuses to
    // be opened for writing.
    if (::stat(target.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return writeInPlace(target, write);
    return writeThroughTemporary(target, write);
}

} // namespace tunvale::platform
