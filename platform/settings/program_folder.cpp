#include "platform/settings/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QStandardPaths>

namespace tunvale::platform {

namespace {

struct Overrides {
    QMutex mutex;
    QString dataDir;
    QString userDir;
};

Overrides& overrides()
{
    static Overrides o;
    return o;
}

QString defaultDataDir()
{
    const QDir bin(QCoreApplication::applicationDirPath());
    const QString buildTree = bin.absoluteFilePath(QStringLiteral("../data"));
    if (QFileInfo(buildTree).isDir())
        return QDir::cleanPath(buildTree);
    return QDir::cleanPath(bin.absoluteFilePath(QStringLiteral("../share/tunvale")));
}

QString defaultUserDir()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dir.isEmpty())
        dir = QDir::home().absoluteFilePath(QStringLiteral(".local/share/tunvale"));
    return dir;
}

} // namespace

QString ProgramFolder::dataDir()
{
    Overrides& o = overrides();
    QMutexLocker lock(&o.mutex);
    return o.dataDir.isEmpty() ? defaultDataDir() : o.dataDir;
}

QString ProgramFolder::userDir()
{
    QString dir;
    {
        Overrides& o = overrides();
        QMutexLocker lock(&o.mutex);
        dir = o.userDir.isEmpty() ? defaultUserDir() : o.userDir;
    }
    QDir().mkpath(dir);
    return dir;
}

QString ProgramFolder::find(const QString& fileName)
{
    const QString user = userPath(fileName);
    if (QFileInfo(user).isFile())
        return user;
    const QString data = dataPath(fileName);
    if (QFileInfo(data).isFile())
        return data;
    return {};
}

QString ProgramFolder::userPath(const QString& fileName) { return QDir(userDir()).filePath(fileName); }

QString ProgramFolder::dataPath(const QString& fileName) { return QDir(dataDir()).filePath(fileName); }

void ProgramFolder::overrideDataDir(const QString& dir)
{
    Overrides& o = overrides();
    QMutexLocker lock(&o.mutex);
    o.dataDir = dir;
}

void ProgramFolder::overrideUserDir(const QString& dir)
{
    Overrides& o = overrides();
    QMutexLocker lock(&o.mutex);
    o.userDir = dir;
}

} // namespace tunvale::platform
