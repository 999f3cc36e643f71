#pragma once

#include <QByteArray>
#include <QString>

// Code page conversions of the RTF codec, one character at a time: RTF escapes bytes character by
// character and a score changes font every few characters, so the conversions are memoised.
namespace tunvale::platform {

// The code page 936 bytes of a character into `bytes`: their count, 1 or 2, or 0 when code page 936
// cannot hold the character exactly (reading the bytes back would give another character).
int Cp936Bytes(char16_t c, char bytes[2]);

// Decodes bytes of a Windows code page (936 or another one ICU knows; Latin-1 when unknown), appended to
// `out`.
void AppendDecoded(QString& out, const QByteArray& bytes, int codePage);

// The code page of an RTF font charset; `ansiCodePage` for the default and unknown charsets.
int CodePageOfCharset(int charset, int ansiCodePage);

} // namespace tunvale::platform
