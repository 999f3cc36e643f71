#pragma once

#include "app/notation/drum_record.h"

#include <QByteArray>
#include <QString>

// The drum section of score files and of the template file: the marker "/Drum", the bytes 0x01 0x00,
// then 0xFF and one 103-byte record per pattern, then "/EDrum" (see ScoreSections). These functions
// read a file from its first byte; a score file is read past its header by ScoreFileLayout.
namespace tunvale::notation {

inline const QString DrumTemplateFileName = QStringLiteral("Drum.dat");

// Reads the section at the first "/Drum". A section of k >= 1 whole records leaves exactly those k
// records; a section without records leaves `records` as it was; a record cut off by the end of the
// data, or reaching over a later marker of a damaged section, is not read. Without "/Drum" nothing is
// read and the result is false.
bool ReadDrumData(DrumStore& records, const QByteArray& fileBytes);
// The same on a whole file; a missing or unreadable file reads nothing and gives false.
bool ReadDrumData(DrumStore& records, const QString& fileName);

// Replaces the section after the first "/Drum" with one made of all `records`; the bytes before it and
// from "/EDrum" on stay as they were (a damaged section without "/EDrum" runs up to the next section's
// marker). False, `fileBytes` untouched, without "/Drum", without any marker after the section, or
// when the result would not read back with `records` and the other sections as they were.
bool WriteDrumData(const DrumStore& records, QByteArray& fileBytes);
// The same on an existing file, replaced as a whole only once the new content is completely written;
// any failure leaves the file byte-identical and gives false.
bool WriteDrumData(const DrumStore& records, const QString& fileName);

} // namespace tunvale::notation
