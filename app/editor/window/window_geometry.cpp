#include "app/editor/window/window_geometry.h"

#include "app/frame/score_window.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>

namespace tunvale::editor {

LayoutResult LayoutMainForm(const LayoutInput& in)
{
    LayoutResult out;
    out.minWidth = std::nearbyint(in.PW / 8);
    out.minHeight = std::floor(in.PH / 10);
    const double W = std::max(in.W, out.minWidth);
    const double H = std::max(in.H, out.minHeight);

    // The top bar of the mode shows while the window is big enough for it.
    const bool roomForBar = std::floor(in.PH / 3) < H && std::floor(in.PH / 3) < W;
    // Only the mode's own bar is set; the view menu hid the other when it chose the mode.
    out.toolbarVisible = in.mode == 0 ? roomForBar : in.toolbarVisible;
    out.rulerVisible = in.mode == 1 ? roomForBar : in.rulerVisible;
    out.statusVisible = in.statusChecked && std::floor(in.PH / 2) < H;
    out.stripVisible = in.stripChecked && std::floor(in.PH / 2) < H;
    out.statusTop = in.SH - in.statusHeight;

    // The page between two covers; with no room to spare the left cover is one scroll bar wide.
    const double D = (in.SW - in.PW - in.SB) / 2;
    out.cover0.left = 0;
    out.cover0.width = D > 0 ? D : in.SB;
    out.cover1.left = out.cover0.width + in.PW;
    const double R = std::max(0.0, in.SW - out.cover1.left);
    out.cover1.width = R > in.SB ? R - in.SB : R;

    const double S = out.statusVisible ? in.statusHeight : 0;
    const double P = out.stripVisible ? in.stripHeight : 0;
    double top = 0;
    double height = 0;
    switch (in.mode) {
    case 0:
        top = in.toolbarTop + (out.toolbarVisible ? in.toolbarTop + in.toolbarHeight : 0);
        height = in.SH - (out.toolbarVisible ? in.toolbarHeight : 0) - S - P;
        break;
    case 1:
        top = in.rulerTop + (out.rulerVisible ? in.rulerTop + in.rulerHeight : 0);
        height = in.SH - (out.rulerVisible ? in.rulerHeight : 0) - S - P;
        break;
    default:
        top = in.toolbarTop;
        height = in.SH - S - P;
        break;
    }
    out.cover0.top = out.cover1.top = top;
    out.cover0.height = out.cover1.height = height;
    out.yyPic = { 0, top, 0, height }; // its left and height are set

    out.strip = { 0, (out.statusVisible ? out.statusTop : in.SH) - in.stripHeight, in.SW, in.sliderHeight };
    out.sliderWidth = in.SW;

    // The editor runs to the window's right border when there is room, so its scroll bar lies there and
    // the right cover hides the stretch between the page and the scroll bar.
    out.editor = { out.cover0.width, top, out.cover0.width + in.PW + in.SB, height };
    // The right indent takes the right cover's width on, so the text keeps the page's width.
    out.wrapWidth = in.PW + out.cover1.width;

    if (in.tiled) {
        out.lineShow = TwipsRect { 0, out.editor.top, in.SW, out.editor.height };
        out.lineShowText = TwipsRect { 0, 0, in.SW - 35, out.editor.height - 25 };
    }
    return out;
}

std::optional<QRect> StoredWindowFrame(const QString& value, int offsetTwips, double twipsPerPixel)
{
    const QStringList parts = value.split(u',');
    if (parts.size() < 4)
        return std::nullopt;
    std::array<int, 4> pixels {};
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        bool ok = false;
        const double twips = parts[qsizetype(i)].trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(twips))
            return std::nullopt;
        // Far beyond any screen, and still a whole number of pixels an int holds.
        const double limit = 1 << 24;
        pixels[i]
            = int(std::clamp(std::round((twips + (i < 2 ? offsetTwips : 0)) / twipsPerPixel), -limit, limit));
    }
    if (pixels[2] <= 0 || pixels[3] <= 0)
        return std::nullopt;
    return QRect(pixels[0], pixels[1], pixels[2], pixels[3]);
}

QString WinPosValue(const QRect& frame, double twipsPerPixel, bool maximized)
{
    return frame::FormatWinPos(frame.x() * twipsPerPixel, frame.y() * twipsPerPixel,
        frame.width() * twipsPerPixel, frame.height() * twipsPerPixel, maximized);
}

FramePlacement PlaceInFrame(const QRect& frame, const QMargins& margins)
{
    return { frame.topLeft(), frame.marginsRemoved(margins).size() };
}

QRect FitFrame(const QRect& frame, const QRect& available, const QSize& minimum)
{
    const int width = std::min(std::max(frame.width(), minimum.width()), available.width());
    const int height = std::min(std::max(frame.height(), minimum.height()), available.height());
    const int left = std::clamp(frame.left(), available.left(), available.left() + available.width() - width);
    const int top = std::clamp(frame.top(), available.top(), available.top() + available.height() - height);
    return { left, top, width, height };
}

} // namespace tunvale::editor
