#include "components/margin/spin_arrows.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

namespace tunvale::margin {

SpinArrows::SpinArrows(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

QRect SpinArrows::half(bool up) const
{
    const int top = height() / 2;
    return up ? QRect(0, 0, width(), top) : QRect(0, top, width(), height() - top);
}

void SpinArrows::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    for (const bool up : { true, false }) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = half(up);
        button.state |= pressed_ == (up ? 1 : -1) ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &p, this);
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = half(up).adjusted(2, 1, -2, -1);
        style()->drawPrimitive(
            up ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &arrow, &p, this);
    }
}

void SpinArrows::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool up = half(true).contains(event->position().toPoint());
    pressed_ = up ? 1 : -1;
    update();
    emit stepped(up);
}

void SpinArrows::mouseReleaseEvent(QMouseEvent*)
{
    pressed_ = 0;
    update();
}

} // namespace tunvale::margin
