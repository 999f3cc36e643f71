#include "app/editor/editing/line_table.h"

#include "app/notation/notation_chars.h"
#include "app/notation/play_order_key.h"

#include <algorithm>

namespace tunvale::editor {

using namespace notation;

namespace {

// The notation text as the first-bar test reads it: without spacers, brackets, line breaks and the
// control characters that old scores carry.
QString notationForFirstBar(const std::vector<LineInfo>& table)
{
    QString text;
    for (const LineInfo& line : table) {
        if (line.IsJpLine)
            text += line.LineText;
    }
    // Blanks at either end go, as the first bar line is looked for in what follows them.
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text[from] == u' ')
        ++from;
    while (to > from && text[to - 1] == u' ')
        --to;
    text = text.mid(from, to - from);
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : std::as_const(text)) {
        const char16_t u = c.unicode();
        if (u != SpacerGlyph::Plain && u != SpacerGlyph::UnderArc && u != u'(' && u != u')' && u != u'\r'
            && u != u'\n' && u != 16 && u != 19 && u != 0)
            kept += c;
    }
    return kept;
}

} // namespace

std::vector<LineInfo> BuildLineTable(const platform::RichTextSnapshot& score)
{
    return BuildLineTable(score.lines);
}

std::vector<LineInfo> BuildLineTable(const std::vector<platform::RichTextSnapshot::Line>& lines)
{
    std::vector<LineInfo> table;
    table.reserve(lines.size());
    int pos = 0;
    int first = -1;
    for (const auto& line : lines) {
        LineInfo info;
        info.LineText = line.text;
        info.LineLen = int(line.text.size());
        info.IsJpLine = IsNotationLine(line.text, line.startFont);
        info.LineStart = pos;
        if (info.IsJpLine && first < 0)
            first = int(table.size());
        pos += info.LineLen;
        table.push_back(std::move(info));
    }
    if (first >= 0) {
        const QString notation = notationForFirstBar(table);
        QString& text = table[size_t(first)].LineText;
        if (!notation.isEmpty() && !IsBarLine(notation.front().unicode()) && !text.isEmpty())
            text[0] = QChar(char16_t(PlainBarLine::Plain));
    }
    return table;
}

BarScan ScanBars(std::vector<LineInfo> lineTable, int selStart, int selLength)
{
    BarScan scan;
    scan.LineTable = std::move(lineTable);
    const qint64 selEnd = qint64(selStart) + selLength;
    int before = 0;
    int inside = 0;
    for (const LineInfo& line : scan.LineTable) {
        if (!line.IsJpLine)
            continue;
        for (int k = 1; k <= line.LineLen; ++k) {
            const QChar c = line.LineText[k - 1];
            if (!IsBarLine(c.unicode()))
                continue;
            const int o = line.LineStart + k;
            scan.BarStarts.push_back(o);
            scan.info.XjxStr += c;
            if (selStart >= o)
                ++before;
            if (selEnd >= o && selStart < o)
                ++inside;
        }
    }
    scan.info.XJInteger = int(scan.info.XjxStr.size());
    scan.info.OnXj = before > 1 ? before - 1 : 0;
    scan.info.XjxSelStart = scan.info.OnXj;
    scan.info.XjxSelLength = inside;
    return scan;
}

XjxInfo BarsOfSelection(const BarScan& scan, int selStart, int selLength)
{
    XjxInfo info = scan.info;
    const auto& starts = scan.BarStarts;
    const auto atOrBefore = [&](qint64 position) {
        return int(std::upper_bound(starts.begin(), starts.end(), position) - starts.begin());
    };
    const int before = atOrBefore(selStart);
    info.OnXj = before > 1 ? before - 1 : 0;
    info.XjxSelStart = info.OnXj;
    info.XjxSelLength = atOrBefore(qint64(selStart) + selLength) - before;
    return info;
}

int PlayOnXj(const std::vector<int>& barStarts, int position)
{
    for (size_t n = 0; n + 1 < barStarts.size(); ++n) {
        if (barStarts[n] - 2 <= position && position < barStarts[n + 1])
            return int(n);
    }
    return 0;
}

bool IsJpLine(const std::vector<LineInfo>& lineTable, int lineIndex)
{
    return lineIndex >= 0 && lineIndex < int(lineTable.size()) && lineTable[size_t(lineIndex)].IsJpLine;
}

} // namespace tunvale::editor
