#pragma once

#include "platform/richtext/rich_text_snapshot.h"

#include <QString>

// Builds a RichTextSnapshot without any document, so core code can be tested on scores written in a
// few lines: runs of text in one font family and colour, paragraph breaks, and line breaks where a
// narrower layout would wrap a paragraph.
namespace tunvale::platform {

class RichTextSnapshotBuilder
{
public:
    // Text in the given family and colour; the family and colour stay current for later calls.
    RichTextSnapshotBuilder& run(const QString& text, const QString& family, SnapshotColor color = 0);
    // Text in the current family and colour.
    RichTextSnapshotBuilder& run(const QString& text);
    // Ends the paragraph: "\r\n" in the current format, and a new display line.
    RichTextSnapshotBuilder& paragraph();
    // Ends the display line here without adding a character, as wrapping does.
    RichTextSnapshotBuilder& lineBreak();

    RichTextSnapshot build() const;

private:
    void append(const QString& text);
    std::uint16_t fontIndex(const QString& family);

    RichTextSnapshot snapshot_;
    QString family_;
    SnapshotColor color_ = 0;
    std::vector<int> lineStarts_ { 0 };
    std::vector<bool> paragraphStarts_ { true };
};

} // namespace tunvale::platform
