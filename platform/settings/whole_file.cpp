#include "platform/settings/whole_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tunvale::platform {

std::optional<QByteArray> ReadWholeFile(const QString& path)
{
    QFile file(path);
    if (path.isEmpty() || QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool CommitWholeFile(const QString& path, const QByteArray& bytes)
{
    if (QFileInfo(path).isDir())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace tunvale::platform
