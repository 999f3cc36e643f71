#include "tests/support/test_folders.h"

#include "platform/settings/program_folder.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <csignal>

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

bool MakeDevice(const QString& path, bool full)
{
    // The system's memory devices: 1, 3 is /dev/null and 1, 7 /dev/full.
    constexpr unsigned kMemoryDevices = 1;
    constexpr unsigned kNull = 3;
    constexpr unsigned kFull = 7;
    const QByteArray name = QFile::encodeName(path);
    if (mknod(name.constData(), S_IFCHR | 0666, makedev(kMemoryDevices, full ? kFull : kNull)) != 0)
        return false;
    const int fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        ::unlink(name.constData());
        return false;
    }
    ::close(fd);
    return true;
}

FileSizeLimit::FileSizeLimit(unsigned long bytes)
{
    rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    before_ = limit.rlim_cur;
    limit.rlim_cur = bytes;
    // The signal that comes with the failed write would end the test.
    signalBefore_ = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = before_;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, signalBefore_);
}

} // namespace tunvale::testing
