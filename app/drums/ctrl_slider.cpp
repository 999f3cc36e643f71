#include "app/drums/ctrl_slider.h"

#include <QPainter>

#include <algorithm>

namespace tunvale::drums {

namespace {

constexpr int kMinCellWidth = 22;
const QColor kCurrentColor(0x33, 0x66, 0xCC);
const QColor kPlayedColor(0xE0, 0x30, 0x30);
const QColor kRangeColor(0xFF, 0xE0, 0x80);
const QColor kDrumMark(0x20, 0x90, 0x20);

} // namespace

CtrlSlider::CtrlSlider(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("CtrlSlider1"));
    setMinimumHeight(20);
}

void CtrlSlider::GetValueLong(const std::vector<bool>& haveDrum, int bar)
{
    haveDrum_ = haveDrum;
    current_ = std::clamp(bar, 0, std::max(barCount() - 1, 0));
    update();
}

void CtrlSlider::setIsPlaying(bool playing)
{
    playing_ = playing;
    if (!playing)
        played_ = -1;
    update();
}

void CtrlSlider::setPlayXJ(int bar)
{
    current_ = bar;
    played_ = playing_ ? bar : -1;
    update();
}

void CtrlSlider::setMyXj(int bar)
{
    if (bar > barCount() - 1)
        return;
    current_ = bar;
    update();
}

void CtrlSlider::markRange(int first, int second)
{
    nPlay1_ = first;
    nPlay2_ = second;
    update();
}

int CtrlSlider::cellWidth() const
{
    return std::max(kMinCellWidth, barCount() > 0 ? width() / barCount() : width());
}

// Keeps the current bar in sight on a long score.
int CtrlSlider::firstShownBar() const { return std::max(0, current_ - width() / cellWidth() + 2); }

void CtrlSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const int w = cellWidth();
    const int low = std::min(nPlay1_, nPlay2_);
    const int high = std::max(nPlay1_, nPlay2_);
    const int first = firstShownBar();
    for (int bar = first; bar < barCount() && (bar - first) * w < width(); ++bar) {
        const QRect cell((bar - first) * w, 0, w - 1, height() - 1);
        QColor fill = palette().base().color();
        if (low >= 0 && bar >= low && bar <= high)
            fill = kRangeColor;
        if (bar == current_)
            fill = kCurrentColor;
        if (bar == played_)
            fill = kPlayedColor;
        painter.fillRect(cell, fill);
        painter.setPen(palette().mid().color());
        painter.drawRect(cell);
        painter.setPen(bar == current_ || bar == played_ ? Qt::white : palette().text().color());
        painter.drawText(cell, Qt::AlignCenter, QString::number(bar + 1));
        if (haveDrum_[size_t(bar)])
            painter.fillRect(cell.left() + 2, cell.bottom() - 3, w - 5, 2, kDrumMark);
    }
}

} // namespace tunvale::drums
