#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Path and file helpers of the frame.
namespace tunvale::frame {

// The text after the last path separator ("/" or "\"); all of `path` when it has none, so "a.vls" stays
// "a.vls" and a path ending in a separator gives "".
QString GetFileNamePart(const QString& path);

// The 1-based byte position of `marker` in the file: the last occurrence for the body marker "/Vls"
// (a body may itself contain the text), the first for any other marker; 0 when it does not occur. No
// value when the file cannot be read.
std::optional<qint64> FindFileMarker(const QString& fileName, const QByteArray& marker);

// True when `path` names an existing file (not a folder); false on any error.
bool FileExists(const QString& path);

} // namespace tunvale::frame
