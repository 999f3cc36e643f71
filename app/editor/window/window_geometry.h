#pragma once

#include "platform/text/twips_rect.h"

#include <QMargins>
#include <QRect>
#include <QString>

#include <optional>

// Where the main window's parts go, computed in twips from the window's sizes and switches. A pure
// function: the window feeds it what its controls are now and applies the result in pixels.
namespace tunvale::editor {

using TwipsRect = platform::TwipsRect;

struct LayoutInput {
    double SW = 0; // inner width and height
    double SH = 0;
    double W = 0; // outer width and height
    double H = 0;
    double PW = 11906; // page width and height, scroll-bar width
    double PH = 16838;
    double SB = 255;
    int mode = 0; // 0 main toolbar, 1 margin ruler, 2 neither
    double toolbarTop = 0;
    double toolbarHeight = 0;
    bool toolbarVisible = true; // as it is before the layout (mode 2 keeps it)
    double rulerTop = 0;
    double rulerHeight = 0; // the ruler's bcHeight
    bool rulerVisible = false;
    bool stripChecked = true; // GroupBar(0)
    bool statusChecked = true; // GroupBar(1)
    double statusHeight = 0;
    double stripHeight = 0; // the strip's height before the layout
    double sliderHeight = 0; // the bar strip control's own height
    bool tiled = false; // "乐曲平铺" checked
};

struct LayoutResult {
    // The smallest outer size the window may take.
    double minWidth = 0;
    double minHeight = 0;
    bool toolbarVisible = false;
    bool rulerVisible = false;
    bool statusVisible = false;
    bool stripVisible = false;
    double statusTop = 0; // the status bar keeps to the bottom border
    TwipsRect cover0; // left of the page
    TwipsRect cover1; // right of the page
    TwipsRect yyPic; // left and height only
    TwipsRect strip; // the bar strip's container
    double sliderWidth = 0; // the bar strip inside it, at top 0
    TwipsRect editor; // and the views under it
    double wrapWidth = 0; // where the views' lines wrap: the page and the stretch the right cover hides
    std::optional<TwipsRect> lineShow; // the tiled view, when shown
    std::optional<TwipsRect> lineShowText;
};

LayoutResult LayoutMainForm(const LayoutInput& in);

// The outer frame, in pixels, that a [WinPos] value ("left,top,width,height,Normal" in twips) keeps,
// `offsetTwips` further right and down. None when it has fewer than four parts, one of them is no
// plain number or the size is none: the window then keeps its default place.
std::optional<QRect> StoredWindowFrame(const QString& value, int offsetTwips, double twipsPerPixel);

// [WinPos]'s value for a window whose frame, title bar and border included, covers `frame` (pixels).
QString WinPosValue(const QRect& frame, double twipsPerPixel, bool maximized);

// Where a window goes so that its frame, `margins` wide around it, covers `frame`: the frame's top left
// corner, which QWidget::move() takes, and the size inside the frame.
struct FramePlacement {
    QPoint position;
    QSize clientSize;
};
FramePlacement PlaceInFrame(const QRect& frame, const QMargins& margins);

// `frame` put on a screen's available area: no larger than the area, no smaller than `minimum` (the
// layout's smallest frame) where the area has room for it, and wholly inside the area.
QRect FitFrame(const QRect& frame, const QRect& available, const QSize& minimum);

} // namespace tunvale::editor
