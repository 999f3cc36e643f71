#pragma once

#include "platform/richtext/rich_text_snapshot.h"

#include <QString>

namespace tunvale::frame {

// The first display line of the score that holds any text, without its line break: usually the title,
// which the save and export dialogs propose as the file name. An empty string when there is none.
QString GetFirstTextLine(const platform::RichTextSnapshot& score);

// The name a save dialog proposes: the first text line without control characters, cut at a character
// boundary so that it fits a file name of 255 bytes together with `extension`.
QString ProposedFileName(const platform::RichTextSnapshot& score, const QString& extension);

} // namespace tunvale::frame
