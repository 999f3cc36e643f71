#pragma once

#include "app/notation/drum_record.h"
#include "app/notation/score_header.h"
#include "platform/richtext/rich_text_box.h"

#include <QString>

namespace tunvale::scoretool {

// Loads a score file or an RTF file into the box; the header is the score file's, or the defaults, and
// a score file's drum records go into `drums`.
bool LoadScore(const QString& file, platform::RichTextBox& box, notation::ScoreHeader& header,
    notation::DrumStore& drums);

} // namespace tunvale::scoretool
