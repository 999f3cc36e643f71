#include "app/dialogs/rtf_print_preview.h"

#include "platform/richtext/rich_text_edit.h"
#include "platform/richtext/rich_text_format.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace tunvale::dialogs {

namespace {

constexpr double kTwipsPerInch = 1440;
constexpr int kPrinterExtraWidth = 400;

// A device on which one unit is one twip.
QImage twipsDevice()
{
    QImage device(1, 1, QImage::Format_RGB32);
    const int dotsPerMeter = int(std::lround(kTwipsPerInch / 0.0254));
    device.setDotsPerMeterX(dotsPerMeter);
    device.setDotsPerMeterY(dotsPerMeter);
    return device;
}

// Qt multiplies a fixed line height by the device's resolution over the screen's (so that a height
// meant for the screen prints at the same size), but takes margins as device units. The factor is
// measured rather than guessed from the screen: one line of fixed height 100.
double fixedHeightScaling(QImage& device)
{
    QTextDocument probe;
    probe.setDocumentMargin(0);
    probe.documentLayout()->setPaintDevice(&device);
    QTextCursor cursor(&probe);
    QTextBlockFormat format;
    format.setLineHeight(100, QTextBlockFormat::FixedHeight);
    cursor.setBlockFormat(format);
    cursor.insertBlock();
    return probe.lastBlock().layout()->position().y() / 100;
}

} // namespace

// One display line and the slot it occupies: its exact height where the paragraph sets one, else the
// line's own height.
struct RtfPrintPreview::LineSlot {
    QTextBlock block;
    int line = 0;
    double top = 0;
    double bottom = 0;
    int start = 0; // adapter position
};

RtfPrintPreview::RtfPrintPreview()
    : device_(twipsDevice())
{
}

RtfPrintPreview::~RtfPrintPreview() = default;

void RtfPrintPreview::FormatRtfPages(const QTextDocument& document, QSizeF page, const RtfMargins& margins)
{
    slots_.clear();
    pageFirstSlot_.clear();
    RtfPages.clear();
    layout_.reset(document.clone());
    layout_->setDocumentMargin(0);
    layout_->setUndoRedoEnabled(false);

    // Our paragraphs keep their indents and exact spacing in twips; the display values are screen
    // pixels, which mean nothing on this device.
    const double scaling = fixedHeightScaling(device_);
    QTextCursor cursor(layout_.get());
    for (QTextBlock block = layout_->begin(); block.isValid(); block = block.next()) {
        const platform::ParagraphFormat paragraph = platform::ToParagraphFormat(block.blockFormat());
        QTextBlockFormat format = block.blockFormat();
        format.setLeftMargin(paragraph.leftIndent);
        format.setRightMargin(paragraph.rightIndent);
        if (paragraph.lineSpacing > 0)
            format.setLineHeight(paragraph.lineSpacing / scaling, QTextBlockFormat::FixedHeight);
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
    }
    layout_->documentLayout()->setPaintDevice(&device_);
    const double layoutWidth = page.width() - margins.Left - margins.Right;
    const double layoutHeight = page.height() - margins.Top - margins.Bottom;
    layout_->setTextWidth(std::max(1.0, layoutWidth));
    // Qt lays a document out lazily; its size needs every block.
    layout_->size();

    for (QTextBlock block = layout_->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* lines = block.layout();
        const int spacing = platform::ToParagraphFormat(block.blockFormat()).lineSpacing;
        const double blockTop = lines->position().y();
        // Every earlier paragraph break counts two in adapter positions, one in the document's.
        const int adapterStart = block.position() + block.blockNumber();
        for (int i = 0; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            LineSlot slot { block, i, 0, 0, adapterStart + line.textStart() };
            if (spacing > 0) {
                slot.top = blockTop + double(i) * spacing;
                slot.bottom = slot.top + spacing;
            } else {
                slot.top = blockTop + line.y();
                slot.bottom = slot.top + line.height();
            }
            slots_.push_back(slot);
        }
    }

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
    const QPointF shift = topLeft - QPointF(0, slots_[first].top);
    painter.save();
    // Text without a colour of its own is black, whatever the painter last drew with.
    painter.setPen(Qt::black);
    for (size_t i = first; i < end; ++i) {
        const LineSlot& slot = slots_[i];
        const QTextLayout* lines = slot.block.layout();
        lines->lineAt(slot.line).draw(&painter, lines->position() + shift);
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
