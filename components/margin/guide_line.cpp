#include "components/margin/guide_line.h"

#include <QPainter>

namespace tunvale::margin {

GuideLine::GuideLine(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("提示线"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void GuideLine::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(QColor(64, 64, 64), 1, Qt::DashLine));
    p.drawLine(QPointF(0.5, 0), QPointF(0.5, height()));
}

} // namespace tunvale::margin
