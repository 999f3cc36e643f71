#include "app/dialogs/outlined_line.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>

namespace tunvale::dialogs {

namespace {

constexpr double kLargestTextPoints = 1000;

} // namespace

bool NeedsOutlines(const QTextBlock& block)
{
    if (block.charFormat().fontPointSize() > kLargestTextPoints)
        return true;
    const QList<QTextLayout::FormatRange> ranges = block.textFormats();
    return std::any_of(ranges.begin(), ranges.end(), [](const QTextLayout::FormatRange& range) {
        return range.format.fontPointSize() > kLargestTextPoints;
    });
}

void DrawOutlinedLine(QPainter& painter, const QTextBlock& block, const QTextLine& line)
{
    const int lineEnd = line.textStart() + line.textLength();
    for (const QTextLayout::FormatRange& range : block.textFormats()) {
        const int from = std::max(range.start, line.textStart());
        const int to = std::min(range.start + range.length, lineEnd);
        if (from >= to)
            continue;
        const QTextCharFormat& format = range.format;
        if (format.background().style() != Qt::NoBrush) {
            const double left = line.cursorToX(from);
            const double right = line.cursorToX(to);
            painter.fillRect(QRectF(std::min(left, right), line.y(), std::abs(right - left), line.height()),
                format.background());
        }
        const QBrush ink
            = format.foreground().style() != Qt::NoBrush ? format.foreground() : painter.pen().brush();
        for (const QGlyphRun& run : line.glyphRuns(from, to - from)) {
            const QRawFont font = run.rawFont();
            const QList<quint32> glyphs = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            QPainterPath outlines;
            for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i)
                outlines.addPath(font.pathForGlyph(glyphs[i]).translated(positions[i]));
            painter.fillPath(outlines, ink);
            if (run.underline() && !positions.isEmpty()) {
                const QRectF bounds = run.boundingRect();
                const double y = positions.first().y() + font.underlinePosition();
                painter.fillRect(
                    QRectF(bounds.left(), y, bounds.width(), std::max(1.0, font.lineThickness())), ink);
            }
        }
    }
}

} // namespace tunvale::dialogs
