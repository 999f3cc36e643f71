#pragma once

#include <QString>
#include <QTemporaryDir>

namespace tunvale::testing {

// A fresh user folder for one test, removed afterwards; the data folder stays the build tree's.
class ScopedUserFolder
{
public:
    ScopedUserFolder();
    ~ScopedUserFolder();
    ScopedUserFolder(const ScopedUserFolder&) = delete;
    ScopedUserFolder& operator=(const ScopedUserFolder&) = delete;

    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// The program's per-user settings (QSettings) kept in a fresh folder for one test, so tests that run at
// the same time never share them; the test-mode location is restored afterwards.
class ScopedSettingsFolder
{
public:
    ScopedSettingsFolder();
    ~ScopedSettingsFolder();
    ScopedSettingsFolder(const ScopedSettingsFolder&) = delete;
    ScopedSettingsFolder& operator=(const ScopedSettingsFolder&) = delete;

private:
    QTemporaryDir dir_;
};

// The path of a file under tests/data in the source tree.
QString testDataPath(const QString& relative);

// The whole content of a file, or an empty array when it cannot be read.
QByteArray readAll(const QString& path);
bool writeAll(const QString& path, const QByteArray& bytes);

// A character device node at `path` that behaves as the system's /dev/null (`full` false) or /dev/full
// (true: every write fails, the disk full), so that a fault that replaced it harms no device of the
// system. False where the test may not make one (not root) or its folder's devices do not open.
bool MakeDevice(const QString& path, bool full);

// While it lives, no file of this process grows past `bytes`: a write beyond fails with EFBIG, for
// root too, as one on a disk that fills up fails.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(unsigned long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long before_ = 0;
    void (*signalBefore_)(int) = nullptr;
};

} // namespace tunvale::testing
