#include "platform/settings/write_failure.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace tunvale::platform {

namespace {

QString systemText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

} // namespace

QString WriteErrorText(int error)
{
    switch (error) {
    case 0:
        return {};
    case ENOENT:
        return QStringLiteral("文件夹不存在。");
    case ENOTDIR:
        return QStringLiteral("路径中的一部分是文件，不是文件夹。");
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
    case ENXIO:
        return QStringLiteral("没有程序或设备在读取这个位置。");
    default:
        return systemText(error);
    }
}

QString WriteFailureText(const QString& message, const QString& path, int error)
{
    // A file system that makes no files, such as /proc, says ENOENT in a folder that is there: no
    // missing folder is named then, but what the system said.
    const bool folderThere = error == ENOENT && QFileInfo(QFileInfo(path).absolutePath()).isDir();
    const QString reason = folderThere ? systemText(error) : WriteErrorText(error);
    return message + u'\n' + path + (reason.isEmpty() ? QString() : u'\n' + reason);
}

} // namespace tunvale::platform
