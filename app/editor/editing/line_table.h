#pragma once

#include "platform/richtext/rich_text_snapshot.h"

#include <QString>

#include <optional>
#include <vector>

// The editor's structural view of a score: which display lines are notation, where the bar lines
// stand, and which bars the caret and the selection are in. Everything is recomputed from the text.
namespace tunvale::editor {

struct LineInfo {
    int LineStart = 0; // position of the line's first character
    bool IsJpLine = false; // a notation line
    int LineLen = 0;
    QString LineText; // the whole display line, "\r\n" included where it ends a paragraph
};

struct XjxInfo {
    QString XjxStr; // the bar-line characters of all notation lines, in text order
    int XjxSelStart = 0; // the bar of the selection's start
    int XjxSelLength = 0; // the bar lines strictly after the start and at or before the end
    int XJInteger = 0; // the number of bar lines
    int OnXj = 0; // the caret's bar, 0-based
};

// One pass over the score: the line table and where each bar starts.
struct BarScan {
    std::vector<LineInfo> LineTable;
    XjxInfo info;
    // Entry n: the position just behind the (n+1)-th bar line.
    std::vector<int> BarStarts;
};

// The line table of a score's display lines. When the notation does not start with a bar line, the
// table's copy of the first notation line starts with the plain bar line U+6352 in place of its first
// character, so that bar counting always finds a bar at the start; the score is not changed.
std::vector<LineInfo> BuildLineTable(const platform::RichTextSnapshot& score);
std::vector<LineInfo> BuildLineTable(const std::vector<platform::RichTextSnapshot::Line>& lines);
// Its two halves, for a table kept up to date line by line: the entries of display lines from position
// `start` on, without the plain bar line; the line that takes it (-1 for none).
std::vector<LineInfo> LineEntries(const std::vector<platform::RichTextSnapshot::Line>& lines, int start);
int FirstBarLine(const std::vector<LineInfo>& table);

// The bar-line characters of each paragraph's notation lines, paragraph by paragraph.
std::vector<QString> ParagraphBars(const std::vector<LineInfo>& table);

// `bars`, read from the lines `was` before an edit that touched none of the first `first` paragraphs
// and none of the last `behind`, with the bars of those paragraphs as the lines `now` read them: what
// the edit left untouched but laid out anew (at another width or wrap mode) is no change of the edit's.
// Nothing when the tables do not hold those paragraphs.
std::optional<QString> BarsLaidOutAnew(const QString& bars, const std::vector<LineInfo>& was,
    const std::vector<LineInfo>& now, int first, int behind);

// The bars of a line table and of the selection [selStart, selStart + selLength).
BarScan ScanBars(std::vector<LineInfo> lineTable, int selStart, int selLength);

// The bar state of another selection over the same scan.
XjxInfo BarsOfSelection(const BarScan& scan, int selStart, int selLength);

// The bar whose start lies at most two characters after `position`, searched from the first bar; 0
// behind the last bar line.
int PlayOnXj(const std::vector<int>& barStarts, int position);

// A notation line; a line beyond the table reads as a lyric line.
bool IsJpLine(const std::vector<LineInfo>& lineTable, int lineIndex);

// One piece per line that a selection touches, as the colour dialog reads them.
struct JpSelPiece {
    int start = 0;
    int length = 0;
    bool isNotation = false;
};

} // namespace tunvale::editor
