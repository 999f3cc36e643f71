#pragma once

#include "app/notation/score_header.h"

#include <QByteArray>

// Writing a score file: everything is built in memory and the file is replaced in one step.
namespace tunvale::frame {

// Header, marker string with every section empty, and the scrambled rich text.
QByteArray EncodeVls(const notation::ScoreHeader& header, const notation::ColorScheme& colors,
                     const QByteArray& rtf);

} // namespace tunvale::frame
