#include "app/drums/bar_strip.h"

#include <QPainter>

namespace tunvale::drums {

namespace {
// The strip's height and one box's width in twips.
constexpr int kHeightTwips = 480;
constexpr int kBoxTwips = 615;
} // namespace

BarStrip::BarStrip(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("CtrlSlider1"));
    setAutoFillBackground(true);
    setFixedHeight(designHeight());
}

int BarStrip::designHeight() const
{
    return static_cast<int>(std::lround(kHeightTwips * logicalDpiY() / 1440.0));
}

QSize BarStrip::sizeHint() const { return { 200, designHeight() }; }

bool BarStrip::GetValueLong(const std::vector<bool>& XjDrum0, int OnXj1)
{
    xjDrum_ = XjDrum0;
    myXj_ = std::min(OnXj1, static_cast<int>(xjDrum_.size()));
    update();
    return true;
}

void BarStrip::setMyXj(int bar)
{
    if (bar > XjCount() - 1)
        return;
    myXj_ = bar;
    update();
}

void BarStrip::setPlayXJ(int bar)
{
    myXj_ = bar;
    update();
}

void BarStrip::setIsPlaying(bool playing)
{
    isPlaying_ = playing;
    update();
}

void BarStrip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const double box = kBoxTwips * logicalDpiX() / 1440.0;
    const double top = height() * 0.2;
    p.fillRect(QRectF(0, top - 3, width(), 3), QColor(0, 128, 0));
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(std::max(6, int(height() * 0.45)));
    p.setFont(font);
    const int shown = static_cast<int>(width() / box) + 1;
    for (int i = 0; i < shown; ++i) {
        const QRectF r(i * box, top, box, height() - top);
        const bool exists = i < XjCount();
        const bool played = isPlaying_ && i == myXj_;
        const QColor back = played ? QColor(255, 0, 0)
            : !exists              ? palette().base().color()
            : xjDrum_[i]           ? palette().highlight().color()
                                   : palette().mid().color();
        p.fillRect(r, back);
        p.setPen(QColor(128, 128, 128));
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(played      ? Qt::white
                : i == myXj_ ? QColor(255, 0, 0)
                : exists     ? Qt::black
                             : QColor(128, 128, 128));
        p.drawText(r, Qt::AlignCenter, QString::number(i + 1));
    }
}

} // namespace tunvale::drums
