#include "platform/settings/whole_file.h"

#include "platform/text/gbk.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tunvale::platform {

namespace {

bool exists(const QByteArray& native)
{
    struct stat info {
    };
    return lstat(native.constData(), &info) == 0;
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
    // QSaveFile refuses a folder without asking the system.
    if (QFileInfo(path).isDir())
        return { false, EISDIR };
    QSaveFile file(path);
    // Unbuffered, every write reaches the system at once: errno right after a call that failed is the
    // reason the system gave for it. It is cleared before each call, as calls that succeed may leave
    // it set.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return { false, errno };
    errno = 0;
    if (!write(file)) {
        const int error = errno;
        file.cancelWriting();
        return { false, error };
    }
    errno = 0;
    if (!file.commit())
        return { false, errno };
    return { true, 0 };
}

} // namespace tunvale::platform
