#pragma once

#include "app/notation/drum_record.h"
#include "app/notation/score_header.h"
#include "platform/richtext/rich_text_box.h"
#include "platform/richtext/rich_text_content.h"

#include <QString>

#include <optional>

namespace tunvale::scoretool {

// The bytes of an input file; no value and the reason in `error` when it can't be read or holds more
// than `limit` bytes (the reason then being `tooLarge`).
std::optional<QByteArray> ReadInputFile(
    const QString& file, qint64 limit, const QString& tooLarge, QString& error);

// An RTF file read as rich text; no value and the reason in `error` when it can't be read, is too large
// or is no RTF.
std::optional<platform::RichContent> ReadRtfFile(const QString& file, QString& error);

// Loads a score file or an RTF file into the box; the header is the score file's, or the defaults, and
// a score file's drum records go into `drums`. On failure `error` says why.
bool LoadScore(const QString& file, platform::RichTextBox& box, notation::ScoreHeader& header,
    notation::DrumStore& drums, QString& error);

} // namespace tunvale::scoretool
