#include "platform/settings/write_failure.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace tunvale::platform {

int WriteFailureCause(const QString& path, qint64 size)
{
    const QFileInfo file(path);
    const QByteArray target = QFile::encodeName(file.absoluteFilePath());
    const QByteArray folder = QFile::encodeName(file.absolutePath());
    // The new file is made beside the old one under its name and a few characters more.
    constexpr qsizetype kTemporarySuffix = 7;
    if (QFile::encodeName(file.fileName()).size() + kTemporarySuffix > NAME_MAX)
        return ENAMETOOLONG;
    struct stat info {
    };
    if (::stat(target.constData(), &info) == 0 && S_ISDIR(info.st_mode))
        return EISDIR;
    if (::stat(folder.constData(), &info) != 0)
        return errno;
    if (!S_ISDIR(info.st_mode))
        return ENOTDIR;
    // A file is replaced by a new one made beside it, so the folder must take a new file.
    if (::access(folder.constData(), W_OK) != 0)
        return errno;
    if (::access(target.constData(), F_OK) == 0 && ::access(target.constData(), W_OK) != 0)
        return errno;
    struct statvfs room {
    };
    if (::statvfs(folder.constData(), &room) == 0) {
        const auto available = qint64(room.f_bavail) * qint64(room.f_frsize);
        if (available < std::max<qint64>(size, 1))
            return ENOSPC;
    }
    return 0;
}

QString WriteErrorText(int error)
{
    switch (error) {
    case 0:
        return {};
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("文件夹不存在。");
    case EISDIR:
        return QStringLiteral("已经有一个同名的文件夹。");
    case EACCES:
    case EPERM:
        return QStringLiteral("没有写入这个位置的权限。");
    case EROFS:
        return QStringLiteral("这个位置在只读的文件系统上。");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("磁盘已满。");
    case ENAMETOOLONG:
        return QStringLiteral("文件名太长。");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

QString WriteFailureText(const QString& message, const QString& path, qint64 size)
{
    const QString reason = WriteErrorText(WriteFailureCause(path, size));
    return message + u'\n' + path + (reason.isEmpty() ? QString() : u'\n' + reason);
}

} // namespace tunvale::platform
