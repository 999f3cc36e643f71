#include "tests/support/test_folders.h"

#include "platform/settings/program_folder.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace tunvale::testing {

ScopedUserFolder::ScopedUserFolder() { platform::ProgramFolder::overrideUserDir(dir_.path()); }

ScopedUserFolder::~ScopedUserFolder() { platform::ProgramFolder::overrideUserDir({}); }

ScopedSettingsFolder::ScopedSettingsFolder()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
}

ScopedSettingsFolder::~ScopedSettingsFolder()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

QString testDataPath(const QString& relative)
{
    return QDir(QStringLiteral(TUNVALE_SOURCE_DIR "/tests/data")).filePath(relative);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace tunvale::testing
