#pragma once

#include "app/notation/drum_record.h"

#include <QListWidget>

namespace tunvale::drums {

// The list of drum templates: each row a template's name. A row dragged away carries its record (onto
// a bar of the strip or the editor's name box); the tooltip names the row under the mouse.
class TemplateList : public QListWidget
{
    Q_OBJECT

public:
    explicit TemplateList(QWidget* parent = nullptr);

    // One row per record, showing its name.
    void fill(const notation::DrumStore& records);
    // The record row `row` was filled with.
    notation::DrumRecord record(int row) const;

signals:
    // The mouse moved over the list.
    void hovered();
    // The right button was released over the list.
    void menuRequested(const QPoint& globalPos);

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace tunvale::drums
