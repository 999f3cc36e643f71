#include "platform/richtext/rich_text_edit.h"

#include "platform/richtext/key_translation.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

namespace tunvale::platform {

RichTextEdit::RichTextEdit(QWidget* parent)
    : QTextEdit(parent)
    , box_(new RichTextBox(document(), this))
{
    setUndoRedoEnabled(false);
    setFont(DefaultTextFont());
    // The right button is the program's: a menu of Qt's own would open on the press, before it.
    setContextMenuPolicy(Qt::PreventContextMenu);
    auto adopt = [this] {
        if (!showingBoxCursor_)
            box_->adoptCursor(textCursor());
    };
    connect(this, &QTextEdit::cursorPositionChanged, this, adopt);
    connect(this, &QTextEdit::selectionChanged, this, adopt);
    connect(box_, &RichTextBox::cursorMoved, this, [this] {
        if (isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide))
            boxCursorPending_ = true;
        else
            showBoxCursor();
    });
    // The view keeps the mode too: a new line wrap mode sets the document's from the view's.
    connect(box_, &RichTextBox::wrapModeChanged, this,
        [this] { setWordWrapMode(document()->defaultTextOption().wrapMode()); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
        [this](int value) { box_->setViewportTop(value); });
}

void RichTextEdit::showBoxCursor()
{
    boxCursorPending_ = false;
    showingBoxCursor_ = true;
    setTextCursor(box_->cursor());
    showingBoxCursor_ = false;
}

void RichTextEdit::setVisible(bool visible)
{
    QTextEdit::setVisible(visible);
    if (visible && boxCursorPending_)
        showBoxCursor();
}

void RichTextEdit::keyPressEvent(QKeyEvent* event)
{
    const KeyCode key = TranslateKey(event->key(), event->modifiers());
    int code = key.code;
    emit box_->KeyDown(code, key.shift);
    if (key.code != 0 && code == 0) {
        event->accept();
        return;
    }
    // Enter with or without Shift makes a paragraph break: the text never holds line separators.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString text = event->text();
    const bool typed = enter || text == QLatin1String("\t") || text == QLatin1String("\b")
        || (!text.isEmpty() && text.front().isPrint() && !(event->modifiers() & Qt::ControlModifier));
    if (!typed) {
        QTextEdit::keyPressEvent(event);
        return;
    }
    int ascii = enter ? 13 : text.front().unicode();
    emit box_->KeyPress(ascii);
    event->accept();
    if (ascii == 0)
        return;
    // A read-only view (playback) raises the events but keeps its text.
    if (ascii == 8 || isReadOnly()) {
        QTextEdit::keyPressEvent(event);
        return;
    }
    const QString typedText = ascii == 13 ? QStringLiteral("\r\n")
        : ascii == text.front().unicode() ? text
                                          : QString(QChar(char16_t(ascii)));
    if (box_->acceptsTyping(typedText))
        box_->setSelText(typedText);
    ensureCursorVisible();
}

void RichTextEdit::keyReleaseEvent(QKeyEvent* event)
{
    const KeyCode key = TranslateKey(event->key(), event->modifiers());
    int code = key.code;
    emit box_->KeyUp(code, key.shift);
    if (key.code != 0 && code == 0) {
        event->accept();
        return;
    }
    QTextEdit::keyReleaseEvent(event);
}

void RichTextEdit::mousePressEvent(QMouseEvent* event)
{
    emit box_->MouseDown(MouseButtonCode(event->button()), ShiftMask(event->modifiers()),
        toTwipsX(event->position().x()), toTwipsY(event->position().y()));
    QTextEdit::mousePressEvent(event);
}

void RichTextEdit::mouseReleaseEvent(QMouseEvent* event)
{
    emit box_->MouseUp(MouseButtonCode(event->button()), ShiftMask(event->modifiers()),
        toTwipsX(event->position().x()), toTwipsY(event->position().y()));
    QTextEdit::mouseReleaseEvent(event);
}

void RichTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (isReadOnly()) {
        event->ignore();
        return;
    }
    if (event->commitString().isEmpty()) {
        QTextEdit::inputMethodEvent(event);
        return;
    }
    // Committed text is typed text: it takes the box's insertion format.
    if (box_->acceptsTyping(event->commitString()))
        box_->setSelText(event->commitString());
    QInputMethodEvent preedit(event->preeditString(), event->attributes());
    QTextEdit::inputMethodEvent(&preedit);
    event->accept();
}

QMimeData* RichTextEdit::createMimeDataFromSelection() const { return box_->mimeDataForSelection(); }

bool RichTextEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return RichTextBox::canInsertMimeData(source);
}

void RichTextEdit::insertFromMimeData(const QMimeData* source)
{
    if (isReadOnly())
        return;
    box_->insertMimeData(source);
    ensureCursorVisible();
}

void RichTextEdit::setPageColor(const QColor& color)
{
    QPalette shown = palette();
    shown.setColor(QPalette::Base, color);
    setPalette(shown);
}

double RichTextEdit::toTwipsX(double pixels) const { return pixels * 1440.0 / logicalDpiX(); }

double RichTextEdit::toTwipsY(double pixels) const { return pixels * 1440.0 / logicalDpiY(); }

} // namespace tunvale::platform
