#include "margin_ruler.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace tunvale::margin {

namespace {
constexpr double kPageTwips = 210 / 25.4 * 1440;
constexpr double kTwipsPerCentimetre = 1440 / 2.54;
} // namespace

MarginRuler::MarginRuler(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("左右边距控件"));
    setFocusPolicy(Qt::StrongFocus);
    menu_ = new QMenu(this);
    QAction* main = menu_->addAction(QStringLiteral("返回主工具栏"));
    main->setShortcut(QKeySequence(Qt::Key_F2));
    connect(main, &QAction::triggered, this, &MarginRuler::BjMainMun);
    menu_->addSeparator();
    connect(menu_->addAction(QStringLiteral("边距/行距操作说明")), &QAction::triggered, this,
        &MarginRuler::ShowMyHelp);
}

MarginRuler* CreateMarginRuler(QWidget* parent) { return new MarginRuler(parent); }

void MarginRuler::setNLSpace(int twips)
{
    nLSpace_ = twips;
    update();
}

void MarginRuler::setNRSpace(int twips)
{
    nRSpace_ = twips;
    update();
}

void MarginRuler::setBcLeft(int twips)
{
    bcLeft_ = twips;
    update();
}

void MarginRuler::setBcHeight(int twips)
{
    bcHeight_ = twips;
    setFixedHeight(static_cast<int>(std::lround(pixels(twips))));
    update();
}

double MarginRuler::pixels(double twips) const { return twips * logicalDpiX() / 1440.0; }

QRectF MarginRuler::menuButton() const { return QRectF(0, 0, pixels(255), height()); }

void MarginRuler::mousePressEvent(QMouseEvent* event)
{
    if (menuButton().contains(event->position()))
        menu_->popup(mapToGlobal(QPoint(0, height())));
    QWidget::mousePressEvent(event);
}

void MarginRuler::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRectF strip = rect();
    p.fillRect(strip, palette().window());
    p.setPen(palette().light().color());
    p.drawLine(strip.topLeft(), strip.topRight());
    p.setPen(QColor(128, 128, 128));
    p.drawLine(strip.bottomLeft(), strip.bottomRight());

    // The menu button.
    QFont button(QStringLiteral("宋体"));
    button.setPointSizeF(12);
    button.setBold(true);
    p.setFont(button);
    p.drawText(menuButton(), Qt::AlignCenter, QString(QChar(0x251B)));

    // The page bar between its bands, and the ticks.
    const double h = strip.height();
    const double left = pixels(bcLeft_);
    const double width = pixels(kPageTwips);
    const QRectF page(left, h * 0.26, width, h * 0.25);
    p.fillRect(page, Qt::white);
    p.fillRect(QRectF(left, page.top(), pixels(nLSpace_), page.height()), QColor(0, 192, 0));
    const double rightBand = pixels(nRSpace_);
    p.fillRect(QRectF(left + width - rightBand, page.top(), rightBand, page.height()), QColor(255, 0, 0));
    p.setPen(palette().windowText().color());
    const double step = pixels(kTwipsPerCentimetre);
    for (int k = 0; k <= 21; ++k) {
        const double x = left + k * step;
        p.drawLine(QPointF(x, h * 0.62), QPointF(x, h * 0.9));
        if (k < 21)
            p.drawLine(QPointF(x + step / 2, h * 0.72), QPointF(x + step / 2, h * 0.9));
    }
}

} // namespace tunvale::margin
