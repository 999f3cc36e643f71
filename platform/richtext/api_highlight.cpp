#include "platform/richtext/api_highlight.h"

#include "platform/richtext/rich_text_box.h"

#include <QThread>

namespace tunvale::platform {

ApiHighlight::ApiHighlight(QObject* parent)
    : QObject(parent)
{
}

void ApiHighlight::AssignControls(RichTextBox* ctl) { box_ = ctl; }

void ApiHighlight::run(std::function<void()> apply)
{
    if (QThread::currentThread() == thread())
        apply();
    else
        QMetaObject::invokeMethod(this, std::move(apply), Qt::QueuedConnection);
}

void ApiHighlight::APIHighlightHard(const QColor& Color)
{
    run([this, Color] {
        if (box_)
            box_->setBackground(box_->SelStart(), box_->SelLength(), Color);
    });
}

void ApiHighlight::APIHighlightHard(int start, int length, const QColor& Color)
{
    run([this, start, length, Color] {
        if (box_)
            box_->setBackground(start, length, Color);
    });
}

} // namespace tunvale::platform
