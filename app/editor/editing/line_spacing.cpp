#include "app/editor/editing/line_spacing.h"

#include "platform/richtext/rich_text_box.h"

#include <QTextCursor>

namespace tunvale::editor {

namespace {

// A caret at the line's start reaches its own paragraph alone, even where the line is empty.
void spaceLine(platform::RichTextBox& box, const LineInfo& line, int spacing)
{
    box.select(line.LineStart, 0);
    box.setSelLineSpacing(spacing);
}

} // namespace

void SetLineSpacing(platform::RichTextBox& box, const std::vector<LineInfo>& lines, int notationSpacing,
    int textSpacing, int caretLineSpacing, int caretLine)
{
    if (caretLineSpacing != -1) {
        if (caretLine >= 1 && caretLine <= int(lines.size()))
            spaceLine(box, lines[std::size_t(caretLine - 1)], caretLineSpacing);
        return;
    }
    // One edit of the document: it is laid out and reported changed once, not once a line.
    QTextCursor edit(box.document());
    edit.beginEditBlock();
    for (const LineInfo& line : lines) {
        const int spacing = line.IsJpLine ? notationSpacing : textSpacing;
        if (spacing != -1)
            spaceLine(box, line, spacing);
    }
    edit.endEditBlock();
}

} // namespace tunvale::editor
