#pragma once

#include "app/notation/drum_record.h"
#include "app/notation/score_header.h"

#include <QByteArray>

#include <optional>

namespace tunvale::notation {
class PlayOrder;
}

// Writing a score file: everything is built in memory and the file is replaced in one step, so a
// failed save leaves the old file as it was.
namespace tunvale::frame {

// Everything a score file holds, as the program keeps it.
struct VlsContent {
    notation::ScoreHeader header; // its CurrentFile names the file to write
    notation::ColorScheme colors;
    QByteArray rtf;
    notation::DrumStore drums;
    QByteArray playOrderKey;
    QByteArray playOrder; // one byte per entry
    QByteArray chord; // the chord section as read; empty in every file the program writes
};

// Header, marker string with every section empty, and the scrambled rich text.
QByteArray EncodeVls(
    const notation::ScoreHeader& header, const notation::ColorScheme& colors, const QByteArray& rtf);

// The whole file, built from its parts: header, sections and the scrambled rich text.
QByteArray EncodeVlsFile(const VlsContent& content);

// EncodeVlsFile, read back in memory: no value when the bytes would not read back with the header
// fields, every drum record, the key, the order, the chord section and the rich text of `content`
// (a key or an order can spell the markers that end their sections).
std::optional<QByteArray> BuildVlsFile(const VlsContent& content);
// The same with the current play-order key and the play order.
std::optional<QByteArray> BuildVlsFile(const notation::ScoreHeader& header,
    const notation::ColorScheme& colors, const QByteArray& rtf, const notation::DrumStore& drums,
    const notation::PlayOrder& playOrder);

// Writes the file that BuildVlsFile builds to header.CurrentFile, replacing the old one in one step.
// On failure it shows why and returns false; the old file is left byte-identical.
bool WriteVls(const VlsContent& content);
bool WriteVls(const notation::ScoreHeader& header, const notation::ColorScheme& colors, const QByteArray& rtf,
    const notation::DrumStore& drums, const notation::PlayOrder& playOrder);

} // namespace tunvale::frame
