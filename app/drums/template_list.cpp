#include "app/drums/template_list.h"

#include "app/drums/drum_editor_state.h"
#include "app/drums/drum_record_mime.h"

#include <QMimeData>
#include <QMouseEvent>

#include <cstring>

namespace tunvale::drums {

namespace {

constexpr int kRecordRole = Qt::UserRole;

} // namespace

TemplateList::TemplateList(QWidget* parent)
    : QListWidget(parent)
{
    setObjectName(QStringLiteral("myDrumList"));
    setMouseTracking(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
}

void TemplateList::fill(const notation::DrumStore& records)
{
    clear();
    for (const notation::DrumRecord& record : records) {
        auto* item = new QListWidgetItem(RecordName(record), this);
        item->setData(kRecordRole, DrumRecordBytes(record));
    }
}

notation::DrumRecord TemplateList::record(int row) const
{
    notation::DrumRecord record;
    if (const QListWidgetItem* it = item(row)) {
        const QByteArray bytes = it->data(kRecordRole).toByteArray();
        if (bytes.size() == notation::DrumRecord::Size)
            std::memcpy(record.bytes(), bytes.constData(), notation::DrumRecord::Size);
    }
    return record;
}

QStringList TemplateList::mimeTypes() const { return { DrumRecordMimeType }; }

QMimeData* TemplateList::mimeData(const QList<QListWidgetItem*>& items) const
{
    if (items.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setData(DrumRecordMimeType, items.front()->data(kRecordRole).toByteArray());
    return data;
}

void TemplateList::mouseMoveEvent(QMouseEvent* event)
{
    const QListWidgetItem* under = itemAt(event->position().toPoint());
    setToolTip(under ? under->text() : QString());
    emit hovered();
    QListWidget::mouseMoveEvent(event);
}

void TemplateList::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton)
        emit menuRequested(event->globalPosition().toPoint());
}

} // namespace tunvale::drums
