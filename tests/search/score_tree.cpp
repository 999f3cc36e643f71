#include "tests/search/score_tree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tunvale::testing {

ScoreTree::ScoreTree(const QStringList& entries)
{
    for (const QString& entry : entries)
        add(entry);
}

void ScoreTree::add(const QString& relative) const
{
    const QString full = dir_.filePath(relative);
    if (relative.endsWith(u'/')) {
        QDir().mkpath(full);
        return;
    }
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    file.open(QIODevice::WriteOnly);
}

bool ScoreTree::link(const QString& target, const QString& relative) const
{
    return QFile::link(target, dir_.filePath(relative));
}

} // namespace tunvale::testing
