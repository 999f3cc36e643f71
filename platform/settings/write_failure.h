#pragma once

#include <QString>

// Why a file could not be written, in the user's words, from the error number of the call that failed.
namespace tunvale::platform {

// A sentence for the system's error number; the system's own text for one without words of ours, empty
// for 0.
QString WriteErrorText(int error);

// The message of a failed write: `message` as its first line, then the path, then the reason when the
// system gave one (for ENOENT in a folder that exists, the system's own text).
QString WriteFailureText(const QString& message, const QString& path, int error);

} // namespace tunvale::platform
