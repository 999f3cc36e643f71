#include "app/dialogs/rtf_print_preview.h"

#include "app/dialogs/outlined_line.h"

#include "platform/richtext/rich_text_edit.h"
#include "platform/richtext/rich_text_format.h"
#include "platform/richtext/unbreakable_run.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace tunvale::dialogs {

namespace {

constexpr double kTwipsPerInch = 1440;
constexpr int kPrinterExtraWidth = 400;
// Qt's font engines keep their metrics in 26.6 fixed point and overflow once a size times a font's
// ascent in font units passes 2^25, about 17,000 pixels for common fonts; the glyphs of a larger
// character are then drawn out of their line. Fonts stay below this many device pixels.
constexpr double kLargestFontPixels = 8192;
constexpr int kCoarsestTwipsPerUnit = 1024;
// The narrowest line that paragraph indents leave on the page.
constexpr double kNarrowestLine = 1440;

// A device on which one unit is `twipsPerUnit` twips.
QImage layoutDevice(int twipsPerUnit)
{
    QImage device(1, 1, QImage::Format_RGB32);
    const int dotsPerMeter = int(std::lround(kTwipsPerInch / twipsPerUnit / 0.0254));
    device.setDotsPerMeterX(dotsPerMeter);
    device.setDotsPerMeterY(dotsPerMeter);
    return device;
}

// One twip a unit, or as many as the largest font of the document needs to stay measurable.
int twipsPerUnitFor(const QTextDocument& document)
{
    double largest = document.defaultFont().pointSizeF();
    for (const QTextFormat& format : document.allFormats()) {
        if (format.isCharFormat())
            largest = std::max(largest, format.toCharFormat().fontPointSize());
    }
    const double pixels = largest * kTwipsPerInch / 72;
    int twipsPerUnit = 1;
    while (pixels / twipsPerUnit > kLargestFontPixels && twipsPerUnit < kCoarsestTwipsPerUnit)
        twipsPerUnit *= 2;
    return twipsPerUnit;
}

// Indents that leave less than an inch of the line (20000 twips each side leave nothing of an A4
// page) are cut back, the larger first, so that every line holds text.
std::pair<double, double> indentsWithRoom(double left, double right, double lineWidth)
{
    double excess = left + right - std::max(0.0, lineWidth - kNarrowestLine);
    if (excess <= 0)
        return { left, right };
    double& larger = left >= right ? left : right;
    const double cut = std::min(excess, larger - std::min(left, right));
    larger -= cut;
    excess -= cut;
    return { left - excess / 2, right - excess / 2 };
}

QTextOption paragraphOption(const QTextDocument& document, const QTextBlock& block)
{
    const QTextBlockFormat format = block.blockFormat();
    QTextOption option = document.defaultTextOption();
    const Qt::LayoutDirection direction = block.textDirection();
    option.setTextDirection(direction);
    option.setTabs(format.tabPositions());
    const Qt::Alignment alignment
        = format.hasProperty(QTextFormat::BlockAlignment) ? format.alignment() : option.alignment();
    option.setAlignment(QStyle::visualAlignment(direction, alignment));
    if (format.nonBreakableLines())
        option.setWrapMode(QTextOption::ManualWrap);
    return option;
}

// A document layout that lays nothing out itself: the pagination lays each paragraph's lines out with
// every line at its own origin and keeps their places in twips as doubles. Qt's layout counts the
// whole document's height in 26.6 fixed point and takes 2^23 units for "no page", beyond which it
// never ends.
class LineByLineLayout final : public QAbstractTextDocumentLayout
{
public:
    using QAbstractTextDocumentLayout::QAbstractTextDocumentLayout;

    void draw(QPainter*, const PaintContext&) override { }
    int hitTest(const QPointF&, Qt::HitTestAccuracy) const override { return -1; }
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override { return {}; }
    QRectF frameBoundingRect(QTextFrame*) const override { return {}; }
    QRectF blockBoundingRect(const QTextBlock&) const override { return {}; }

protected:
    void documentChanged(int, int, int) override { }
};

} // namespace

// One display line and the slot it occupies: its exact height where the paragraph sets one, else the
// line's own height. The line draws with its own top `drawTop` twips below the slot's top.
struct RtfPrintPreview::LineSlot {
    QTextBlock block;
    int line = 0;
    double top = 0;
    double bottom = 0;
    double drawTop = 0;
    int start = 0; // adapter position
    bool outlined = false;
};

RtfPrintPreview::RtfPrintPreview() = default;

RtfPrintPreview::~RtfPrintPreview() = default;

void RtfPrintPreview::FormatRtfPages(const QTextDocument& document, QSizeF page, const RtfMargins& margins)
{
    slots_.clear();
    pageFirstSlot_.clear();
    RtfPages.clear();
    layout_.reset(document.clone());
    layout_->setUndoRedoEnabled(false);
    // A document without a view has not been told how its lines wrap.
    platform::FitWrapMode(*layout_);
    twipsPerUnit_ = twipsPerUnitFor(*layout_);
    device_ = layoutDevice(twipsPerUnit_);
    auto* lines = new LineByLineLayout(layout_.get());
    lines->setPaintDevice(&device_);
    layout_->setDocumentLayout(lines);
    layOutLines(std::max(1.0, page.width() - margins.Left - margins.Right));
    cutPages(page.height() - margins.Top - margins.Bottom);
}

void RtfPrintPreview::layOutLines(double lineWidth)
{
    const double unit = twipsPerUnit_;
    double top = 0;
    for (QTextBlock block = layout_->begin(); block.isValid(); block = block.next()) {
        // Our paragraphs keep their indents and exact spacing in twips; the display values are screen
        // pixels, which mean nothing here.
        const platform::ParagraphFormat paragraph = platform::ToParagraphFormat(block.blockFormat());
        const auto [left, right] = indentsWithRoom(paragraph.leftIndent, paragraph.rightIndent, lineWidth);
        // Every earlier paragraph break counts two in adapter positions, one in the document's.
        const int adapterStart = block.position() + block.blockNumber();
        const bool outlined = NeedsOutlines(block);
        QTextLayout* layout = block.layout();
        layout->setTextOption(paragraphOption(*layout_, block));
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLeadingIncluded(true);
            line.setLineWidth((lineWidth - left - right) / unit);
            line.setPosition(QPointF(left / unit, 0));
            LineSlot slot { block, line.lineNumber(), top, 0, 0, adapterStart + line.textStart(), outlined };
            if (paragraph.lineSpacing > 0) {
                // The baseline at four fifths of the spacing, as the editor shows it.
                slot.bottom = top + paragraph.lineSpacing;
                slot.drawTop
                    = paragraph.lineSpacing * 0.8 - (line.ascent() + std::max(0.0, line.leading())) * unit;
            } else {
                slot.bottom = top + line.height() * unit;
            }
            top = slot.bottom;
            slots_.push_back(slot);
        }
        layout->endLayout();
    }
}

void RtfPrintPreview::cutPages(double layoutHeight)
{
    const auto closePage = [&](size_t first, size_t last) {
        const double height = std::min(slots_[last].bottom - slots_[first].top, std::max(0.0, layoutHeight));
        RtfPageInfo info;
        info.PageNo = int(RtfPages.size()) + 1;
        info.StartChar = slots_[first].start;
        info.Height = int(std::lround(height));
        if (!RtfPages.empty())
            RtfPages.back().EndChar = info.StartChar;
        RtfPages.push_back(info);
        pageFirstSlot_.push_back(first);
    };
    if (slots_.empty()) {
        RtfPages.push_back({ 1, 0, -1, 0 });
        pageFirstSlot_.push_back(0);
    } else {
        // Every page takes one line at least, so the pages always come to an end.
        size_t first = 0;
        for (size_t i = 1; i < slots_.size(); ++i) {
            if (slots_[i].bottom - slots_[first].top > layoutHeight) {
                closePage(first, i - 1);
                first = i;
            }
        }
        closePage(first, slots_.size() - 1);
    }
    RtfPageCount = int(RtfPages.size());
    RtfLastPageHeight = RtfPages.back().Height;
}

void RtfPrintPreview::drawPageLines(int PageNo, QPainter& painter, QPointF topLeft) const
{
    if (PageNo < 1 || PageNo > RtfPageCount || slots_.empty())
        return;
    const size_t first = pageFirstSlot_[size_t(PageNo) - 1];
    const size_t end
        = size_t(PageNo) < pageFirstSlot_.size() ? pageFirstSlot_[size_t(PageNo)] : slots_.size();
    painter.save();
    const QTransform page = painter.transform();
    const QTransform unit = QTransform::fromScale(twipsPerUnit_, twipsPerUnit_);
    // Text without a colour of its own is black, whatever the painter last drew with.
    painter.setPen(Qt::black);
    for (size_t i = first; i < end; ++i) {
        const LineSlot& slot = slots_[i];
        const double top = topLeft.y() + (slot.top - slots_[first].top) + slot.drawTop;
        painter.setTransform(unit * QTransform::fromTranslate(topLeft.x(), top) * page);
        const QTextLine line = slot.block.layout()->lineAt(slot.line);
        if (slot.outlined)
            DrawOutlinedLine(painter, slot.block, line);
        else
            line.draw(&painter, QPointF());
    }
    painter.restore();
}

void RtfPrintPreview::PrintRtfPage(
    int PageNo, const RtfMargins& margins, QPainter& painter, const RtfTarget& target) const
{
    QRectF layout(QPointF(margins.Left, margins.Top),
        QPointF(target.page.width() - margins.Right, target.page.height() - margins.Bottom));
    if (target.printer)
        layout.setRight(layout.right() + kPrinterExtraWidth);
    painter.save();
    painter.scale(target.pixelsPerTwip, target.pixelsPerTwip);
    painter.setClipRect(layout, Qt::IntersectClip);
    drawPageLines(PageNo, painter, layout.topLeft());
    painter.restore();
}

void SetRtfTargetWidth(platform::RichTextEdit& Rtb, int LeftMargin, int RightMargin, int /*TopMargin*/,
    int /*BottomMargin*/, int PageWidth, int /*PageHeight*/, bool ToPage)
{
    if (!ToPage) {
        Rtb.setLineWrapMode(QTextEdit::WidgetWidth);
        return;
    }
    const int lineWidth = PageWidth - LeftMargin - RightMargin;
    Rtb.setLineWrapMode(QTextEdit::FixedPixelWidth);
    Rtb.setLineWrapColumnOrWidth(std::max(1, int(std::lround(platform::TwipsToPixels(lineWidth)))));
}

} // namespace tunvale::dialogs
