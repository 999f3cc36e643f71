#include "app/editor/editing/line_spacing.h"

#include "platform/richtext/rich_text_box.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <functional>

namespace tunvale::editor {

namespace {

// A caret at the line's start reaches its own paragraph alone, even where the line is empty.
void spaceLine(platform::RichTextBox& box, const LineInfo& line, int spacing)
{
    box.select(line.LineStart, 0);
    box.setSelLineSpacing(spacing);
}

// Each line that the values space, with its spacing.
void forEachSpacedLine(const std::vector<LineInfo>& lines, int notationSpacing, int textSpacing,
    int caretLineSpacing, int caretLine, const std::function<void(const LineInfo&, int)>& space)
{
    if (caretLineSpacing != -1) {
        if (caretLine >= 1 && caretLine <= int(lines.size()))
            space(lines[std::size_t(caretLine - 1)], caretLineSpacing);
        return;
    }
    for (const LineInfo& line : lines) {
        const int spacing = line.IsJpLine ? notationSpacing : textSpacing;
        if (spacing != -1)
            space(line, spacing);
    }
}

} // namespace

void SetLineSpacing(platform::RichTextBox& box, const std::vector<LineInfo>& lines, int notationSpacing,
    int textSpacing, int caretLineSpacing, int caretLine)
{
    const auto space = [&box](const LineInfo& line, int spacing) { spaceLine(box, line, spacing); };
    // A caret line is one edit by itself, and none when it is not in the table.
    if (caretLineSpacing != -1) {
        forEachSpacedLine(lines, notationSpacing, textSpacing, caretLineSpacing, caretLine, space);
        return;
    }
    // One edit of the document: it is laid out and reported changed once, not once a line.
    QTextCursor edit(box.document());
    edit.beginEditBlock();
    forEachSpacedLine(lines, notationSpacing, textSpacing, caretLineSpacing, caretLine, space);
    edit.endEditBlock();
}

platform::RichContent SpacedText(const platform::RichTextBox& box, const std::vector<LineInfo>& lines,
    int notationSpacing, int textSpacing, int caretLineSpacing, int caretLine)
{
    const QTextDocument& document = *box.document();
    platform::RichContent text = platform::ExtractContent(document);
    forEachSpacedLine(lines, notationSpacing, textSpacing, caretLineSpacing, caretLine,
        [&](const LineInfo& line, int spacing) {
            const int paragraph = document.findBlock(box.toDocumentPosition(line.LineStart)).blockNumber();
            platform::ParagraphFormat& format = text[std::size_t(paragraph)].format;
            format.lineSpacing = spacing;
            format = platform::Clamped(format);
        });
    return text;
}

} // namespace tunvale::editor
