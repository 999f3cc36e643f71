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

} // namespace tunvale::testing
