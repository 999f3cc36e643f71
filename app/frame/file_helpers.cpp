#include "app/frame/file_helpers.h"

#include <QFile>
#include <QFileInfo>

namespace tunvale::frame {

QString GetFileNamePart(const QString& path)
{
    const qsizetype last = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(last + 1);
}

std::optional<qint64> FindFileMarker(const QString& fileName, const QByteArray& marker)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (marker.isEmpty())
        return 0;
    const qsizetype at = marker == "/Vls" ? bytes.lastIndexOf(marker) : bytes.indexOf(marker);
    return at + 1;
}

bool FileExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

} // namespace tunvale::frame
