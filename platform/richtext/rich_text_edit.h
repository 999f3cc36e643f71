#pragma once

#include "platform/richtext/rich_text_box.h"

#include <QTextEdit>

// The visible rich-text box: a QTextEdit whose document is driven by a RichTextBox. Keys, mouse
// buttons, typed text and the clipboard go through the box, so a view behaves exactly like the
// hidden copies, and the box raises the classic events with their argument conventions.
namespace tunvale::platform {

class RichTextEdit : public QTextEdit
{
    Q_OBJECT

public:
    explicit RichTextEdit(QWidget* parent = nullptr);

    RichTextBox& box() const { return *box_; }
    void setVisible(bool visible) override;
    // The colour of the page behind the text.
    void setPageColor(const QColor& color);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    double toTwipsX(double pixels) const;
    double toTwipsY(double pixels) const;

    void showBoxCursor();

    RichTextBox* box_;
    bool showingBoxCursor_ = false;
    // A view hidden on purpose takes the box's caret when it shows again: placing the caret lays the
    // text out up to it.
    bool boxCursorPending_ = false;
};

} // namespace tunvale::platform
