#pragma once

#include "app/notation/score_header.h"

#include <QByteArray>

// The first 38 bytes of a score file: play settings, margins, the format version (byte 14), the
// colours and the play switches. Versions 0 to 5 are read; version 5 is written.
namespace tunvale::frame {

class VlsHeader
{
public:
    static constexpr qsizetype kSize = 38;
    static constexpr int kVersion = 5;
    static constexpr int kDefaultMargin = 820;

    // Writes what stored() keeps of `header`.
    static QByteArray encode(const notation::ScoreHeader& header, const notation::ColorScheme& colors);

    // The header as a version-5 file gives it back when read: each stored field within the range of
    // its bytes (DPI, drum sound and accompaniment type have one, clamped to 0..255), a margin of 0 the
    // default one, and what no header holds as reading leaves it.
    static notation::ScoreHeader stored(const notation::ScoreHeader& header);

    // Byte 14, 0 to 255.
    static int version(const QByteArray& file);

    // Sets what a file of `version` (0 to 5) says, and the defaults of what its version lacks. Versions 0
    // and 1 hold no colours: they take `templateColors` with a white background. Other fields keep
    // their values.
    static void decode(const QByteArray& file, int version, notation::ScoreHeader& header,
        notation::ColorScheme& colors, const notation::ColorScheme& templateColors);
};

} // namespace tunvale::frame
