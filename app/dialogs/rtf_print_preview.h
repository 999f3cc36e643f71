#pragma once

#include <QImage>
#include <QRectF>
#include <QSizeF>

#include <memory>
#include <vector>

class QPainter;
class QTextDocument;

namespace tunvale::platform {
class RichTextEdit;
}

// The score cut into pages and drawn one page at a time. All lengths are twips.
//
// The pages come from one layout: a copy of the score's document laid out line by line at the width of
// the page's layout rectangle, on a 1440-dpi device (one unit one twip; coarser where the text holds
// very large characters), each line's place kept in twips. Every target (a preview picture, the
// printer, the picture export) draws from that layout, so all of them show the same lines.
namespace tunvale::dialogs {

struct RtfPageInfo {
    int PageNo = 0; // 1-based
    int StartChar = 0; // adapter position of the page's first character
    int EndChar = -1; // where the next page starts; -1 on the last page
    int Height = 0; // from the top of the layout rectangle to the bottom of the page's last line

    friend bool operator==(const RtfPageInfo&, const RtfPageInfo&) = default;
};

struct RtfMargins {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// The score's pages are cut at the height that 720 twips above and 1440 below leave on the sheet, and
// drawn with page 1 starting 720 twips down, every later page 1440, and 720 kept free below.
inline constexpr RtfMargins kPaginationMargins { 0, 720, 0, 1440 };
constexpr RtfMargins PageMargins(int page) { return { 0, page == 1 ? 720 : 1440, 0, 720 }; }

// Where a page is drawn: the size of the target's page, its resolution, and whether it is the printer,
// whose clip reaches 400 twips further right.
struct RtfTarget {
    QSizeF page;
    double pixelsPerTwip = 1.0 / 15;
    bool printer = false;
};

class RtfPrintPreview
{
public:
    RtfPrintPreview();
    ~RtfPrintPreview();
    RtfPrintPreview(const RtfPrintPreview&) = delete;
    RtfPrintPreview& operator=(const RtfPrintPreview&) = delete;

    // Measures the whole of `document` as pages of `page` size with the given margins and replaces the
    // page table, in time that grows with the text. A page ends before the first line whose bottom
    // passes the layout rectangle; a line taller than that gets a page of its own; an empty text gives
    // one page. Paragraph indents that leave less than an inch of line are cut back.
    void FormatRtfPages(const QTextDocument& document, QSizeF page, const RtfMargins& margins);

    // Draws page PageNo's lines into the layout rectangle that `margins` leave on the target's page,
    // clipped to it. The page's first line starts at the rectangle's top.
    void PrintRtfPage(
        int PageNo, const RtfMargins& margins, QPainter& painter, const RtfTarget& target) const;

    // Draws page PageNo's lines with the page's first line at `topLeft`, in twips of the painter's
    // current coordinates; the caller clips.
    void drawPageLines(int PageNo, QPainter& painter, QPointF topLeft) const;

    // The page table of the last pagination: page k + 1 at index k.
    std::vector<RtfPageInfo> RtfPages;
    int RtfPageCount = 0;
    int RtfLastPageHeight = 0;

private:
    struct LineSlot;
    void layOutLines(double lineWidth);
    void cutPages(double layoutHeight);

    std::vector<LineSlot> slots_;
    std::vector<size_t> pageFirstSlot_;
    std::unique_ptr<QTextDocument> layout_;
    int twipsPerUnit_ = 1;
    QImage device_; // the paint device the layout measures with, twipsPerUnit_ twips a unit
};

// Makes the editor wrap its lines at PageWidth - LeftMargin - RightMargin twips when ToPage is set, else
// at its window's width. TopMargin, BottomMargin and PageHeight play no part.
void SetRtfTargetWidth(platform::RichTextEdit& Rtb, int LeftMargin, int RightMargin, int TopMargin,
    int BottomMargin, int PageWidth, int PageHeight, bool ToPage);

} // namespace tunvale::dialogs
