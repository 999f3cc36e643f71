#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class QIODevice;

// Files that the program rewrites are read whole, changed in memory and replaced in one step, so a
// failure leaves the old file as it was and no stray file behind.
namespace tunvale::platform {

// The whole content of a file; no value when it is missing or can't be read. The file is opened by
// NativeFileName(path).
std::optional<QByteArray> ReadWholeFile(const QString& path);

// The bytes of the file name that `path` stands for: its UTF-8 form, or, where a part of it names
// nothing so, the code page 936 bytes of that part when they name something (the folder search shows
// names that are no UTF-8 decoded from code page 936).
QByteArray NativeFileName(const QString& path);

// How a write ended: all of it written, or the system's error number of the call that failed (0 when
// that call gave none).
struct WriteResult {
    bool written = false;
    int error = 0;
    explicit operator bool() const { return written; }
};

// Replaces (or creates) the file with `bytes` only when all of them were written; a symbolic link
// stays and the file it names is replaced. A pipe or a device is written as it is, and a pipe that
// nobody reads fails with ENXIO.
WriteResult CommitWholeFile(const QString& path, const QByteArray& bytes);
// The same for a file written piece by piece: `write` writes all of it and says whether it could,
// returning as soon as a write fails.
WriteResult CommitWholeFile(const QString& path, const std::function<bool(QIODevice& file)>& write);

} // namespace tunvale::platform
