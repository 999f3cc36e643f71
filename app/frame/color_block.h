#pragma once

#include "app/notation/score_header.h"

#include <QByteArray>
#include <QString>

// The colour block of score files and of the template: byte 14 says whether colours follow (2 or
// more), bytes 15-34 hold EditBackColor, PlayNoteColor, PlayNoteBackColor, JpLineColor and
// LyricLineColor, four big-endian bytes each.
namespace tunvale::frame {

// Bytes 15-34 of `bytes`, whatever byte 14 says.
notation::ColorScheme ColorsAt(const QByteArray& bytes);
// Writes bytes 15-34; `bytes` must hold at least 34 bytes.
void PutColors(QByteArray& bytes, const notation::ColorScheme& colors);

// The block's colours, or the defaults when byte 14 is 0 or 1.
notation::ColorScheme ColorBlockOf(const QByteArray& bytes);

// Loads the colours of a score file or template; a missing or unreadable file leaves `colors` as they
// are.
void ReadColor0(const QString& fileName, notation::ColorScheme& colors);

// Writes the colours into the file, and byte 14 as 2 where it said the file has none (0 or 1), keeping
// every other byte; a missing file is created. For the template, the user folder's copy is written,
// made from the shipped one when the user has none (or one that is no more than a colour block).
// The file is replaced only when complete; false when that failed.
bool WriteColor0(const QString& fileName, const notation::ColorScheme& colors);

} // namespace tunvale::frame
