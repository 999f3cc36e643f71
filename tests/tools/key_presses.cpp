#include "tests/tools/key_presses.h"

#include "tests/tools/command_registry.h"

#include "app/editor/parts/main_form_editing.h"
#include "app/editor/window/main_form.h"
#include "platform/richtext/rich_text_edit.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>

namespace tunvale::scoretool {

namespace {

// The text a key types, as a keyboard gives it.
QString keyText(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier))
        return {};
    switch (key) {
    case Qt::Key_Space:
        return QStringLiteral(" ");
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QStringLiteral("\r");
    case Qt::Key_Backspace:
        return QStringLiteral("\b");
    default:
        break;
    }
    if (key < 0x20 || key > 0x7E)
        return {};
    const QChar c { char16_t(key) };
    return modifiers & Qt::ShiftModifier ? QString(c) : QString(c).toLower();
}

} // namespace

bool PressKeys(editor::MainForm& form, const QString& keys)
{
    for (const QString& token : keys.split(u' ', Qt::SkipEmptyParts)) {
        if (token == QStringLiteral("|")) {
            QCoreApplication::processEvents();
            form.part<editor::MainFormEditing>().undo().FlushSnapshot();
            continue;
        }
        const QKeySequence sequence = QKeySequence::fromString(token, QKeySequence::PortableText);
        if (sequence.isEmpty() || sequence[0].key() == Qt::Key_unknown) {
            err(QStringLiteral("unknown key %1").arg(token));
            return false;
        }
        const QKeyCombination combination = sequence[0];
        const int key = combination.key();
        const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
        const QString text = keyText(key, modifiers);
        QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
        QCoreApplication::sendEvent(form.editorView(), &down);
        QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
        QCoreApplication::sendEvent(form.editorView(), &up);
        QCoreApplication::processEvents();
    }
    return true;
}

} // namespace tunvale::scoretool
