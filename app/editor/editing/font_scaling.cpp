#include "app/editor/editing/font_scaling.h"

#include "platform/richtext/rich_text_content.h"
#include "platform/text/runtime_numbers.h"

#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

namespace tunvale::editor {

namespace {

struct SizeRun {
    int start = 0;
    int length = 0;
    int halfPoints = 0;
};

// The stretches of equal size of [start, start + length), paragraph breaks counting two characters
// with the size of their mark.
std::vector<SizeRun> sizeRuns(const platform::RichTextBox& box, int start, int length)
{
    using Snap = platform::RichTextBox::Snap;
    const int from = box.toDocumentPosition(start, Snap::Before);
    const int to = box.toDocumentPosition(start + length, Snap::After);
    const platform::RichContent content = platform::ExtractContent(*box.document(), from, to);
    std::vector<SizeRun> runs;
    int position = box.fromDocumentPosition(from);
    auto add = [&](int count, int halfPoints) {
        if (count <= 0)
            return;
        if (!runs.empty() && runs.back().halfPoints == halfPoints)
            runs.back().length += count;
        else
            runs.push_back({ position, count, halfPoints });
        position += count;
    };
    for (std::size_t i = 0; i < content.size(); ++i) {
        for (const platform::TextRun& run : content[i].runs)
            add(int(run.text.size()), run.format.halfPoints);
        if (i + 1 < content.size())
            add(2, content[i].mark.halfPoints);
    }
    return runs;
}

} // namespace

FontScaling ReadFontScaling(const QString& step, const QString& percent, const QString& size)
{
    if (!step.isEmpty())
        return { FontScaling::Way::Step, platform::Val(step.trimmed()) };
    if (!percent.isEmpty())
        return { FontScaling::Way::Ratio, platform::Val(QString(percent).remove(u'%').trimmed()) / 100 };
    if (!size.isEmpty())
        return { FontScaling::Way::Size, platform::Val(size) };
    return {};
}

double ScaledSize(double size, const FontScaling& scaling)
{
    switch (scaling.way) {
    case FontScaling::Way::Step:
        return size + scaling.value;
    case FontScaling::Way::Ratio:
        return size * scaling.value;
    case FontScaling::Way::Size:
        return scaling.value;
    case FontScaling::Way::None:
        break;
    }
    return size;
}

std::optional<int> ScaleRange(platform::RichTextBox& box, int start, int length, const FontScaling& scaling)
{
    for (const SizeRun& run : sizeRuns(box, start, length)) {
        box.select(run.start, run.length);
        if (box.setSelFontSize(ScaledSize(run.halfPoints / 2.0, scaling)) != platform::FormatResult::Applied)
            return run.start;
    }
    return std::nullopt;
}

void ScaleFormat(platform::RunFormat& format, const FontScaling& scaling)
{
    const double halfPoints = ScaledSize(format.halfPoints / 2.0, scaling) * 2;
    // A size the box refuses counts as the nearest it takes; one that is no number as the largest.
    if (!(halfPoints < platform::kMaxHalfPoints))
        format.halfPoints = platform::kMaxHalfPoints;
    else
        format.halfPoints
            = halfPoints > platform::kMinHalfPoints ? int(std::lround(halfPoints)) : platform::kMinHalfPoints;
}

platform::RichContent ScaledText(
    const platform::RichTextBox& box, int start, int length, const FontScaling& scaling)
{
    using Snap = platform::RichTextBox::Snap;
    const int from = box.toDocumentPosition(start, Snap::Before);
    const int to = box.toDocumentPosition(start + length, Snap::After);
    return platform::ReformattedContent(
        *box.document(), from, to, [&scaling](platform::RunFormat& format) { ScaleFormat(format, scaling); });
}

std::optional<int> RaisePointsInRange(double points)
{
    if (!(points > std::numeric_limits<std::int16_t>::min() - 1.0
            && points < std::numeric_limits<std::int16_t>::max() + 1.0))
        return std::nullopt;
    return int(points);
}

double ScoreFontScaleSize(int points) { return std::max(1.0, kEditorBaseFontSize - std::abs(points)); }

void SetScoreFontScale(platform::RichTextBox& box, int position, int length, int points)
{
    box.select(position - 1, length);
    box.setSelFontSize(ScoreFontScaleSize(points));
    box.setSelCharOffset(points * 20);
    box.setSelLength(0);
}

} // namespace tunvale::editor
