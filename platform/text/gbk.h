#pragma once

#include <QByteArray>
#include <QString>

// Code page 936 (GBK), the code page our stored names and older text files are written in.
namespace tunvale::platform {

// Decodes GBK bytes. A lone lead byte at the end is dropped; a pair that GBK does not hold becomes
// U+FFFD.
QString GbkDecode(const QByteArray& bytes);

// Encodes text as GBK. A character GBK cannot hold becomes "?".
QByteArray GbkEncode(const QString& text);

// True when `text` can be written in GBK without loss.
bool GbkCanEncode(QChar c);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(const QByteArray& bytes);

// Reads a text file's bytes as UTF-8, or as GBK when they are not valid UTF-8. A UTF-8 byte order
// mark is dropped.
QString DecodeTextFileBytes(const QByteArray& bytes);

} // namespace tunvale::platform
