#pragma once

#include "platform/richtext/rich_text_content.h"
#include "tools/vlsgen/score_description.h"

// A described score as rich text and as a score file.
namespace tunvale::vlsgen {

// Title and lyrics in "宋体" 12 pt, the key line and notation lines in the notation font at 32 pt,
// coloured as the default colour scheme colours them.
platform::RichContent ScoreContent(const ScoreDescription& description);

// Writes the score file into `outputDir`, through the RTF writer and the score file writer.
bool WriteScoreFile(const ScoreDescription& description, const QString& outputDir);

} // namespace tunvale::vlsgen
