#include "platform/richtext/rich_text_lines.h"

#include "platform/richtext/rich_text_box.h"

namespace tunvale::platform {

CaretRowCol GetCaretRowCol(const RichTextBox& Rtb)
{
    const int start = Rtb.SelStart();
    const int line = Rtb.LineFromChar(start);
    return { start - Rtb.LineIndex(line) + 1, line + 1 };
}

QString GetRtbLine(const RichTextBox& Rtb, int LineNo) { return Rtb.LineText(LineNo - 1); }

int GetRtbLineCount(const RichTextBox& Rtb) { return Rtb.LineCount(); }

int GetFirstVisibleLine(const RichTextBox& Rtb) { return Rtb.FirstVisibleLine(); }

} // namespace tunvale::platform
