#pragma once

#include "app/notation/drum_record.h"
#include "app/notation/score_header.h"

#include <QByteArray>

#include <optional>

namespace tunvale::notation {
class PlayOrder2021;
}

// Writing a score file: everything is built in memory and the file is replaced in one step, so a
// failed save leaves the old file as it was.
namespace tunvale::frame {

// Header, marker string with every section empty, and the scrambled rich text.
QByteArray EncodeVls(
    const notation::ScoreHeader& header, const notation::ColorScheme& colors, const QByteArray& rtf);

// The whole file: EncodeVls with the drum records, the current play-order key and the play order in
// their sections. No value when a section could not be placed.
std::optional<QByteArray> BuildVlsFile(const notation::ScoreHeader& header,
    const notation::ColorScheme& colors, const QByteArray& rtf, const notation::DrumStore& drums,
    const notation::PlayOrder2021& playOrder);

// Writes the score to header.CurrentFile: header, markers and body, with the drum records, the
// current play-order key and the play order in their sections. On failure it shows the failure
// message and returns false.
bool WriteVls(const notation::ScoreHeader& header, const notation::ColorScheme& colors, const QByteArray& rtf,
    const notation::DrumStore& drums, const notation::PlayOrder2021& playOrder);

} // namespace tunvale::frame
