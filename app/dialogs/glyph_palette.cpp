#include "app/dialogs/glyph_palette.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace tunvale::dialogs {

namespace {
constexpr int kPadding = 6;
}

GlyphPalette::GlyphPalette(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void GlyphPalette::setRows(const QStringList& rows)
{
    rows_ = rows;
    selected_.reset();
    updateGeometry();
    update();
}

void GlyphPalette::setSelectedCell(std::optional<PaletteCell> cell)
{
    if (cell && (cell->row < 0 || cell->row >= rows_.size() || cell->column < 0 || cell->column >= columns()))
        cell.reset();
    selected_ = cell;
    update();
}

QString GlyphPalette::selectedText() const
{
    if (!selected_)
        return {};
    return { rows_[selected_->row][selected_->column] };
}

QSize GlyphPalette::cellSize() const
{
    const QFontMetrics metrics(font());
    int width = metrics.height() / 2;
    for (const QString& row : rows_) {
        for (const QChar c : row)
            width = std::max(width, metrics.horizontalAdvance(c));
    }
    return { width + 2 * kPadding, metrics.height() + kPadding };
}

QRect GlyphPalette::cellRect(PaletteCell cell) const { return cellRect(cell, cellSize()); }

QRect GlyphPalette::cellRect(PaletteCell cell, QSize size)
{
    return { QPoint(cell.column * size.width(), cell.row * size.height()), size };
}

std::optional<PaletteCell> GlyphPalette::cellAt(const QPoint& point) const
{
    const QSize size = cellSize();
    if (point.x() < 0 || point.y() < 0)
        return std::nullopt;
    const PaletteCell cell { point.y() / size.height(), point.x() / size.width() };
    if (cell.row >= rows_.size() || cell.column >= columns())
        return std::nullopt;
    return cell;
}

QSize GlyphPalette::sizeHint() const
{
    const QSize size = cellSize();
    return { size.width() * columns(), size.height() * int(rows_.size()) };
}

void GlyphPalette::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    painter.fillRect(rect(), palette().base());
    painter.setFont(font());
    const QSize size = cellSize();
    for (int r = 0; r < rows_.size(); ++r) {
        for (int c = 0; c < columns(); ++c) {
            const QRect cell = cellRect({ r, c }, size);
            const bool selected = selected_ == PaletteCell { r, c };
            if (selected)
                painter.fillRect(cell, palette().highlight());
            painter.setPen(selected ? palette().highlightedText().color() : palette().text().color());
            painter.drawText(cell, Qt::AlignCenter, QString(rows_[r][c]));
        }
    }
    if (hasFocus() && selected_) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = cellRect(*selected_, size);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
}

void GlyphPalette::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    setSelectedCell(cellAt(event->position().toPoint()));
    emit pressed();
}

void GlyphPalette::mouseDoubleClickEvent(QMouseEvent*) { emit doubleClicked(); }

void GlyphPalette::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        updateGeometry();
        update();
    }
    QWidget::changeEvent(event);
}

} // namespace tunvale::dialogs
