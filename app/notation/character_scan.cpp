#include "app/notation/character_scan.h"

#include "app/notation/notation_chars.h"
#include "app/notation/play_order_key.h"

namespace tunvale::notation {

namespace {

class Scanner
{
public:
    explicit Scanner(NotationScan& result)
        : result_(result)
    {
        result_.segments.push_back({});
    }

    void add(const platform::RichTextSnapshot& score, int pos)
    {
        const char16_t code = score.text.at(pos).unicode();
        CodeEvent event;
        event.CharPos = pos;
        event.CharCode = code;
        event.CharColor = score.colorAt(pos);
        const bool barLine = IsBarLine(code);
        event.FontClass = FontClass(score.fontAt(pos), code);
        event.BarNo = bar_;
        event.SegmentNo = segment_;
        result_.events.push_back(event);

        ScoreSegment& segment = result_.segments.back();
        const int n = int(result_.events.size()) - 1;
        // The opening character, and a segment mark after nothing but "(" and spacers, only opens
        // segment 0: the play-order key ignores those fillers, so bar and segment numbers must too.
        if (n == 0 || (onlyFillersSoFar_ && IsSegMark(code))) {
            segment = { 0, n + 1, 0, 1 };
        } else if (!barLine) {
            ++segment.EventCount;
        } else if (!IsSegMark(code)) {
            ++segment.EventCount;
            ++segment.BarCount;
            ++bar_;
        } else {
            ++segment.EventCount;
            ++bar_;
            ++segment_;
            result_.segments.push_back({ n + 1, 0, bar_, 1 });
        }
        onlyFillersSoFar_ = onlyFillersSoFar_ && IsOpeningFiller(code);
    }

private:
    NotationScan& result_;
    int bar_ = 0;
    int segment_ = 0;
    bool onlyFillersSoFar_ = true;
};

} // namespace

NotationScan ScanNotation(const platform::RichTextSnapshot& score)
{
    NotationScan result;
    result.events.reserve(size_t(score.size()));
    Scanner scanner(result);
    int p = 0;
    for (const auto& line : score.lines) {
        const QString& t = line.text;
        if (IsNotationLine(t, line.startFont)) {
            const int count = t.contains(QStringLiteral("\r\n")) ? int(t.size()) - 2 : int(t.size());
            for (int k = 0; k < count; ++k) {
                if (p + k < score.size())
                    scanner.add(score, p + k);
            }
        }
        p += int(t.size());
    }
    return result;
}

} // namespace tunvale::notation
