#pragma once

#include "app/dialogs/notation_palettes.h"

#include <QStringList>
#include <QWidget>

#include <optional>

// A grid of notation characters drawn in one font, of which the user selects one cell by pressing
// it (any button). A press outside the cells selects nothing.
namespace tunvale::dialogs {

class GlyphPalette : public QWidget
{
    Q_OBJECT

public:
    explicit GlyphPalette(QWidget* parent = nullptr);

    // One string per row; every row as long as the first.
    void setRows(const QStringList& rows);
    const QStringList& rows() const { return rows_; }

    std::optional<PaletteCell> selectedCell() const { return selected_; }
    void setSelectedCell(std::optional<PaletteCell> cell);
    // The character of the selected cell; "" when none is selected.
    QString selectedText() const;

    QSize cellSize() const;
    QRect cellRect(PaletteCell cell) const;
    std::optional<PaletteCell> cellAt(const QPoint& point) const;

    QSize sizeHint() const override;

signals:
    // After a press has selected a cell or nothing.
    void pressed();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int columns() const { return rows_.isEmpty() ? 0 : int(rows_.front().size()); }
    // The cell's place among cells of `size`; the size measures every character, so a paint takes it once.
    static QRect cellRect(PaletteCell cell, QSize size);

    QStringList rows_;
    std::optional<PaletteCell> selected_;
};

} // namespace tunvale::dialogs
