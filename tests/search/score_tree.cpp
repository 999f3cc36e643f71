#include "tests/search/score_tree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tunvale::testing {

ScoreTree::ScoreTree(const QStringList& entries)
{
    for (const QString& entry : entries)
        add(entry);
}

ScoreTree::~ScoreTree()
{
    // The temporary folder's own clean-up goes by paths, which do not reach so deep.
    if (tooDeep_)
        QProcess::execute(QStringLiteral("rm"), { QStringLiteral("-rf"), dir_.path() });
}

QString ScoreTree::addTooDeep()
{
    tooDeep_ = true;
    const QByteArray name(200, 'x');
    int fd = open(QFile::encodeName(dir_.path()).constData(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level < 25 && fd >= 0; ++level) {
        mkdirat(fd, name.constData(), 0700);
        const int inner = openat(fd, name.constData(), O_RDONLY | O_DIRECTORY);
        close(fd);
        fd = inner;
    }
    if (fd >= 0) {
        close(openat(fd, "deep.vls", O_WRONLY | O_CREAT, 0600));
        close(fd);
    }
    return dir_.filePath(QString::fromLatin1(name));
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

void ScoreTree::addNative(const QByteArray& relative, const QByteArray& content) const
{
    QByteArray path = QFile::encodeName(dir_.path());
    const QList<QByteArray> parts = relative.split('/');
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        path += '/' + parts[i];
        mkdir(path.constData(), 0700);
    }
    if (parts.back().isEmpty())
        return;
    const int fd = open((path + '/' + parts.back()).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd >= 0) {
        [[maybe_unused]] const ssize_t written = write(fd, content.constData(), size_t(content.size()));
        close(fd);
    }
}

bool ScoreTree::link(const QString& target, const QString& relative) const
{
    return QFile::link(target, dir_.filePath(relative));
}

} // namespace tunvale::testing
