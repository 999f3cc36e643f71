#pragma once

#include "platform/richtext/rich_text_format.h"

#include <vector>

class QTextCursor;
class QTextDocument;

// A stretch of rich text as plain values: paragraphs of runs of equal format, each paragraph with
// its mark. The RTF codec reads into it and writes from it; copying and pasting move it between
// documents.
namespace tunvale::platform {

struct TextRun {
    RunFormat format;
    QString text;

    bool operator==(const TextRun&) const = default;
};

struct RichParagraph {
    ParagraphFormat format;
    std::vector<TextRun> runs;
    RunFormat mark; // the format of the break that ends the paragraph

    bool operator==(const RichParagraph&) const = default;
};

// Never empty: an empty text is one empty paragraph.
using RichContent = std::vector<RichParagraph>;

// The content of Qt positions [from, to) of a document (to < 0: its end). A range that ends inside a
// paragraph gives that paragraph without its break, but with its mark.
RichContent ExtractContent(const QTextDocument& document, int from = 0, int to = -1);

// Replaces the whole document.
void SetContent(QTextDocument& document, const RichContent& content);

// Inserts at the cursor (replacing its selection): the first paragraph joins the text before the
// cursor, the last one the text after it, which keeps its own mark.
void InsertContent(QTextCursor& cursor, const RichContent& content);

} // namespace tunvale::platform
