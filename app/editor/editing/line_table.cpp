#include "app/editor/editing/line_table.h"

#include "app/notation/notation_chars.h"
#include "app/notation/play_order_key.h"

#include <algorithm>

namespace tunvale::editor {

using namespace notation;

namespace {

// Characters the first-bar test passes over: spacers, brackets, line breaks and the control characters
// that old scores carry.
bool passedOver(char16_t u)
{
    return u == SpacerGlyph::Plain || u == SpacerGlyph::UnderArc || u == u'(' || u == u')' || u == u'\r'
        || u == u'\n' || u == 16 || u == 19 || u == 0;
}

} // namespace

std::vector<LineInfo> LineEntries(const std::vector<platform::RichTextSnapshot::Line>& lines, int start)
{
    std::vector<LineInfo> table;
    table.reserve(lines.size());
    int pos = start;
    for (const auto& line : lines) {
        LineInfo info;
        info.LineText = line.text;
        info.LineLen = int(line.text.size());
        info.IsJpLine = IsNotationLine(line.text, line.startFont);
        info.LineStart = pos;
        pos += info.LineLen;
        table.push_back(std::move(info));
    }
    return table;
}

int FirstBarLine(const std::vector<LineInfo>& table)
{
    const auto first = std::find_if(table.begin(), table.end(), [](const LineInfo& l) { return l.IsJpLine; });
    if (first == table.end() || first->LineText.isEmpty())
        return -1;
    // The notation text is read without blanks at either end and without what the test passes over; its
    // first character decides. A blank counts only while something other than blanks follows it.
    bool leading = true;
    bool blankFound = false;
    for (auto line = first; line != table.end(); ++line) {
        if (!line->IsJpLine)
            continue;
        for (const QChar c : line->LineText) {
            const char16_t u = c.unicode();
            if (leading && u == u' ')
                continue;
            leading = false;
            if (u == u' ') {
                blankFound = true;
                continue;
            }
            // A blank before anything that is no blank comes first; it is no bar line.
            if (blankFound)
                return int(first - table.begin());
            if (passedOver(u))
                continue;
            return IsBarLine(u) ? -1 : int(first - table.begin());
        }
    }
    return -1;
}

std::vector<LineInfo> BuildLineTable(const platform::RichTextSnapshot& score)
{
    return BuildLineTable(score.lines);
}

std::vector<LineInfo> BuildLineTable(const std::vector<platform::RichTextSnapshot::Line>& lines)
{
    std::vector<LineInfo> table = LineEntries(lines, 0);
    if (const int line = FirstBarLine(table); line >= 0)
        table[size_t(line)].LineText[0] = QChar(char16_t(PlainBarLine::Plain));
    return table;
}

std::vector<QString> ParagraphBars(const std::vector<LineInfo>& table)
{
    std::vector<QString> bars(1);
    for (const LineInfo& line : table) {
        if (line.IsJpLine) {
            for (const QChar c : line.LineText) {
                if (IsBarLine(c.unicode()))
                    bars.back() += c;
            }
        }
        if (line.LineText.endsWith(QLatin1String("\r\n")))
            bars.emplace_back();
    }
    return bars;
}

std::optional<QString> BarsLaidOutAnew(const QString& bars, const std::vector<LineInfo>& was,
    const std::vector<LineInfo>& now, int first, int behind)
{
    const std::vector<QString> before = ParagraphBars(was);
    const std::vector<QString> after = ParagraphBars(now);
    if (first < 0 || behind < 0 || size_t(first) + size_t(behind) > std::min(before.size(), after.size()))
        return std::nullopt;
    auto join = [](auto from, auto to) {
        QString joined;
        for (; from != to; ++from)
            joined += *from;
        return joined;
    };
    const qsizetype head = join(before.begin(), before.begin() + first).size();
    const qsizetype tail = join(before.end() - behind, before.end()).size();
    if (head + tail > bars.size())
        return std::nullopt;
    return join(after.begin(), after.begin() + first) + bars.mid(head, bars.size() - head - tail)
        + join(after.end() - behind, after.end());
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
