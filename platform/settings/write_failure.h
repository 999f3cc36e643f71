#pragma once

#include <QString>

// Why a file could not be written, in the user's words. Asked of the system after the write failed, so
// that every writer, whatever way it writes, says the same thing.
namespace tunvale::platform {

// The system's error number for writing `size` bytes to `path`: ENOENT or ENOTDIR for a missing folder,
// EISDIR for a folder of that name, EACCES or EROFS when the folder or the file may not be written,
// ENOSPC when the file system has less room than `size` bytes (or none); 0 when none of these holds.
int WriteFailureCause(const QString& path, qint64 size);

// A sentence for the error number; the system's own text for one not named above, empty for 0.
QString WriteErrorText(int error);

// The message of a failed write: `message` as its first line, then the path, then the reason when the
// system gives one.
QString WriteFailureText(const QString& message, const QString& path, qint64 size);

} // namespace tunvale::platform
