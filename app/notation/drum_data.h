#pragma once

#include "app/notation/drum_record.h"

#include <QByteArray>
#include <QString>

// The drum section of score files and of the template file: the marker "/Drum", the bytes 0x01 0x00,
// then 0xFF and one 103-byte record per pattern; the first byte that is not 0xFF ends it. In a written
// file "/EDrum" (or, in files that lack it, "/Chord") follows the section.
namespace tunvale::notation {

inline const QString DrumTemplateFileName = QStringLiteral("Drum.dat");

// Reads the section at the first "/Drum". A section of k >= 1 records leaves exactly those k records;
// a section without records leaves `records` as it was; a record cut off by the end of the data is
// padded with zeros. Without "/Drum" nothing is read and the result is false.
bool ReadDrumData(DrumStore& records, const QByteArray& fileBytes);
// The same on a whole file; a missing or unreadable file reads nothing and gives false.
bool ReadDrumData(DrumStore& records, const QString& fileName);

// Replaces the section after the first "/Drum" with one made of all `records`; the bytes before it
// and from "/EDrum" (or "/Chord") on stay as they were; the marker is looked for after the old records,
// whose names may spell one. Without "/Drum", or with neither "/EDrum" nor "/Chord" after it,
// `fileBytes` is left untouched and the result is false.
bool WriteDrumData(const DrumStore& records, QByteArray& fileBytes);
// The same on an existing file, replaced as a whole only once the new content is completely written;
// any failure leaves the file byte-identical and gives false.
bool WriteDrumData(const DrumStore& records, const QString& fileName);

} // namespace tunvale::notation
