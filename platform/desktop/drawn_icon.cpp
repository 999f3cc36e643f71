#include "platform/desktop/drawn_icon.h"

#include <QIconEngine>
#include <QPainter>

namespace tunvale::platform {

namespace {

class DrawnIconEngine final : public QIconEngine
{
public:
    explicit DrawnIconEngine(IconDrawing draw)
        : draw_(std::move(draw))
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setRenderHint(QPainter::TextAntialiasing);
        const QColor ink = mode == QIcon::Disabled ? QColor(160, 160, 160) : QColor(30, 30, 30);
        draw_(*painter, QRectF(rect), ink, mode != QIcon::Disabled);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QIconEngine* clone() const override { return new DrawnIconEngine(draw_); }

private:
    IconDrawing draw_;
};

} // namespace

QIcon DrawnIcon(IconDrawing draw) { return QIcon(new DrawnIconEngine(std::move(draw))); }

} // namespace tunvale::platform
