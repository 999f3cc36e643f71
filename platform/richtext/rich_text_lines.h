#pragma once

#include <QString>

// The line helpers every part of the program uses to read a score line by line. Lines and columns
// they return count from 1, the first visible line from 0.
namespace tunvale::platform {

class RichTextBox;

struct CaretRowCol {
    int column = 1; // in characters
    int line = 1;
};

// The caret's (selection start's) column and line.
CaretRowCol GetCaretRowCol(const RichTextBox& Rtb);
// The whole text of line LineNo, with "\r\n" when it ends a paragraph that is not the last; "" for
// a line that does not exist.
QString GetRtbLine(const RichTextBox& Rtb, int LineNo);
int GetRtbLineCount(const RichTextBox& Rtb);
int GetFirstVisibleLine(const RichTextBox& Rtb);

} // namespace tunvale::platform
