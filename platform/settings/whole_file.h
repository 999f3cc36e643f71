#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Files that the program rewrites are read whole, changed in memory and replaced in one step, so a
// failure leaves the old file as it was and no stray file behind.
namespace tunvale::platform {

// The whole content of a file; no value when it is missing or can't be read.
std::optional<QByteArray> ReadWholeFile(const QString& path);

// Replaces (or creates) the file with `bytes` only when all of them were written.
bool CommitWholeFile(const QString& path, const QByteArray& bytes);

} // namespace tunvale::platform
