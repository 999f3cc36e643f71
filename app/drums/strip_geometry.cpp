#include "app/drums/strip_geometry.h"

#include <algorithm>
#include <cmath>

namespace tunvale::drums {

namespace {

double heldTwips(double twips)
{
    return std::isnan(twips) ? 0 : std::clamp(twips, 0.0, StripGeometry::MaxTwips);
}

} // namespace

void StripGeometry::resize(double width, double height)
{
    width = heldTwips(width);
    height = heldTwips(height);
    width_ = width;
    height_ = height;
    const double w = LabelWidth;
    ShowCount = std::max(1, int(std::floor((width - 2 * ArrowSpace) / w)));
    side_ = (width - ShowCount * w) / 2;
    // A strip narrower than one slot leaves the side boxes nothing.
    const double box = std::max(0.0, side_);
    leftBox_ = { 0, 0, box, height };
    rightBox_ = { width - side_, 0, box, height };
    const double arrowTop = (height - ArrowSize) / 2;
    arrows_[0] = { leftBox_.left + (box - ArrowSize) / 2, arrowTop, ArrowSize, ArrowSize };
    arrows_[1] = { rightBox_.left + (box - ArrowSize) / 2, arrowTop, ArrowSize, ArrowSize };

    for (std::size_t e = 1; e < labels_.size(); ++e)
        labels_[e].shown = false;
    LastLab = 2 * ShowCount + 1;
    if (int(labels_.size()) < LastLab + 1)
        labels_.resize(std::size_t(LastLab) + 1);

    pointer_ = { side_, 0.1 * height, PointerWidth, PointerHeight };
    FirstXj = 0;
    labTop_ = 0.24 * height;
    labels_[0].left = side_;
    labels_[0].top = labTop_;
    track_ = { side_, 0.13 * height, w * ShowCount, TrackHeight };
    leftLine_ = { track_.left, labTop_, track_.left, labTop_ + LabelHeight };
    rightLine_ = { track_.right() - 20, labTop_, track_.right() - 20, labTop_ + LabelHeight };
}

void StripGeometry::GetValueLong(const std::vector<bool>& flags, int OnXj1)
{
    const int count = int(flags.size());
    MyXj = std::min(std::max(OnXj1, 0), count);
    flags_ = flags;
    XjCount = count;
    DrawBars(false);
}

bool StripGeometry::setMyXj(int bar)
{
    if (bar < 0 || bar > XjCount - 1)
        return false;
    MyXj = bar;
    DrawBars(false);
    return true;
}

bool StripGeometry::setPlayXJ(int bar)
{
    if (bar < 0 || bar > XjCount)
        return false;
    MyXj = bar;
    DrawBars(true);
    return true;
}

LabelLook StripGeometry::lookOf(int bar) const
{
    if (bar < 0 || bar > XjCount - 1)
        return LabelLook::Past;
    const bool drum = flags_[std::size_t(bar)];
    if (bar == nPlay1 || bar == nPlay2)
        return drum ? LabelLook::MarkDrum : LabelLook::MarkPlain;
    return drum ? LabelLook::Drum : LabelLook::Plain;
}

void StripGeometry::recolour(int e)
{
    if (hasLabel(e))
        labels_[std::size_t(e)].look = lookOf(barOf(e));
}

void StripGeometry::DrawBars(bool play)
{
    const double w = LabelWidth;
    const int n = ShowCount;
    double x0 = 0;
    if (MyXj < n) {
        x0 = track_.left;
        FirstXj = 1;
    } else if (MyXj < XjCount - n) {
        // The pointer keeps its slot and the row scrolls under it.
        const int k = std::clamp(int(std::floor((pointer_.left - track_.left) / w)), 0, n - 1);
        pointer_.left = track_.left + k * w;
        FirstXj = std::max(MyXj - 2 * k - 1, 1);
        x0 = pointer_.left - (MyXj - FirstXj + 1) * w;
    } else {
        x0 = track_.right() - LastLab * w;
        FirstXj = XjCount - LastLab + 1;
        if (FirstXj < 1) {
            x0 += (1 - FirstXj) * w;
            FirstXj = 1;
        }
    }
    for (int e = 0; e <= LastLab; ++e) {
        StripLabel& label = labels_[std::size_t(e)];
        label.left = x0 + e * w;
        label.top = labTop_;
        label.shown = true;
        label.caption = FirstXj + e;
        label.look = lookOf(label.caption - 1);
        label.mousePointer = label.look == LabelLook::Past ? NoDropPointer : 0;
        if (label.look == LabelLook::Past)
            label.toolTip.clear();
    }
    RedLab = -1;
    if (!play)
        MarkLab = MyXj - FirstXj + 1;
    MarkBar(MarkLab);
    pointer_.left = x0 + (MyXj - FirstXj + 1) * w;
}

TwipsRect StripGeometry::labelRect(int e) const
{
    if (!hasLabel(e))
        return {};
    const StripLabel& label = labels_[std::size_t(e)];
    return { label.left, label.top, LabelWidth, LabelHeight };
}

void StripGeometry::MarkBar(int n)
{
    if (n < 0 || n > LastLab)
        return;
    RedLab = n;
    const TwipsRect r = labelRect(n);
    bevel_.darkBottom = { r.left, r.bottom() + 10, r.right(), r.bottom() + 10 };
    bevel_.lightBottom = { r.left, r.bottom() + 5, r.right(), r.bottom() + 5 };
    bevel_.darkRight = { r.right() - 10, r.top + 20, r.right() - 10, r.bottom() + 20 };
    bevel_.lightRight = { r.right() - 25, r.top + 20, r.right() - 25, r.bottom() + 20 };
    bevel_.shown = true;
}

ArrowStep StripGeometry::StepXj(Arrow arrow)
{
    const int step = BarsPerArrowStep;
    if (arrow == Arrow::Left)
        MyXj = MyXj - step >= 0 ? MyXj - step : MyXj - 1;
    else if (arrow == Arrow::Right)
        MyXj = MyXj + step <= XjCount - 1 ? MyXj + step : MyXj + 1;
    else
        return { MyXj, false };
    const bool beep = MyXj >= XjCount || MyXj <= 0;
    MyXj = std::max(0, std::min(MyXj, XjCount - 1));
    return { MyXj, beep };
}

void StripGeometry::SetPlayRange(int mode)
{
    if (mode == 0)
        nPlay1 = nPlay2 = -1;
    else if (mode == 1)
        nPlay1 = HotXj;
    else if (mode == 2)
        nPlay2 = HotXj;
    DrawBars(false);
}

void StripGeometry::setPlayRange(int first, int last)
{
    nPlay1 = first;
    nPlay2 = last;
}

bool StripGeometry::toFirst()
{
    MyXj = 0;
    DrawBars(false);
    return true;
}

bool StripGeometry::toLast()
{
    if (XjCount == 0)
        return false;
    MyXj = XjCount - 1;
    DrawBars(false);
    return true;
}

void StripGeometry::hover(int e)
{
    if (!hasLabel(e))
        return;
    HotLab = e;
    HotXj = barOf(e);
}

void StripGeometry::dragPointer(double dx)
{
    const double left = pointer_.left + dx;
    if (!(left >= track_.left && left + PointerWidth <= track_.right()))
        return;
    pointer_.left = left;
    for (int e = 0; e <= LastLab; ++e) {
        StripLabel& label = labels_[std::size_t(e)];
        label.left -= dx;
        label.top = DragTop;
    }
    MarkBar(MyXj - labels_[0].caption + 1);
}

std::optional<int> StripGeometry::releasePointer()
{
    if (XjCount == 0) {
        DrawBars(false);
        return std::nullopt;
    }
    int bar = XjCount - 1;
    if (labels_[0].left > pointer_.left)
        bar = 0;
    for (int e = 0; e <= LastLab; ++e) {
        if (std::abs(labels_[std::size_t(e)].left - pointer_.left) <= LabelWidth) {
            bar = std::min(barOf(e), XjCount - 1);
            break;
        }
    }
    MyXj = bar;
    DrawBars(false);
    return MyXj;
}

void StripGeometry::pointAt(int e)
{
    if (hasLabel(e))
        pointer_.left = labels_[std::size_t(e)].left;
}

int StripGeometry::labelAt(double x, double y) const
{
    if (onSideBox(x, y))
        return -1;
    for (int e = 0; e <= LastLab && e < int(labels_.size()); ++e) {
        if (labels_[std::size_t(e)].shown && labelRect(e).contains(x, y))
            return e;
    }
    return -1;
}

std::optional<Arrow> StripGeometry::arrowAt(double x, double y) const
{
    for (int i = 0; i < 2; ++i) {
        if (arrows_[std::size_t(i)].contains(x, y))
            return Arrow(i);
    }
    return std::nullopt;
}

bool StripGeometry::onPointer(double x, double y) const { return pointer_.contains(x, y); }

bool StripGeometry::onSideBox(double x, double y) const
{
    return leftBox_.contains(x, y) || rightBox_.contains(x, y);
}

void StripGeometry::setFlag(int bar, bool on)
{
    if (bar >= 0 && bar < int(flags_.size()))
        flags_[std::size_t(bar)] = on;
}

void StripGeometry::clearFlags(int first, int last)
{
    const int from = std::max(std::min(first, last), 0);
    const int to = std::min(std::max(first, last), int(flags_.size()) - 1);
    for (int bar = from; bar <= to; ++bar)
        flags_[std::size_t(bar)] = false;
}

} // namespace tunvale::drums
