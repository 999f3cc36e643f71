#include "app/editor/editing/highlight_marks.h"

#include "platform/richtext/rtf_writer.h"

namespace tunvale::editor {

int ClearHighlightMarks(platform::RichContent& content)
{
    const std::vector<QRgb> table = platform::RtfColorTable(content);
    if (table.size() < 2)
        return 0;
    const QRgb kept = table.front();
    int cleared = 0;
    auto clear = [&](platform::RunFormat& format) {
        if (format.highlight && *format.highlight != kept) {
            format.highlight.reset();
            ++cleared;
        }
    };
    for (platform::RichParagraph& paragraph : content) {
        for (platform::TextRun& run : paragraph.runs)
            clear(run.format);
        clear(paragraph.mark);
    }
    return cleared;
}

} // namespace tunvale::editor
