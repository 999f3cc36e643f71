#include "components/search/search_status.h"

namespace tunvale::search {

QString foundFilesText(int count) { return QStringLiteral("找到　%1　个文件。").arg(count); }

QString statusPath(const QString& path, const QString& searchRoot)
{
    QString root = searchRoot;
    while (root.endsWith(u'/'))
        root.chop(1);
    if (!path.startsWith(root + u'/'))
        return path;
    return QStringLiteral("..") + path.mid(root.size());
}

} // namespace tunvale::search
