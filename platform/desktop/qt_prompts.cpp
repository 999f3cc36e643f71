#include "platform/desktop/qt_prompts.h"

#include <QApplication>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QSpacerItem>
#include <QStyle>
#include <QThread>
#include <QTimer>

namespace tunvale::platform {

namespace {

template <typename F> auto onGuiThread(F&& f)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread())
        return f();
    decltype(f()) result {};
    QMetaObject::invokeMethod(
        app, [&] { result = f(); }, Qt::BlockingQueuedConnection);
    return result;
}

QMessageBox::Icon toIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::None:
        return QMessageBox::NoIcon;
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::Warning:
        return QMessageBox::Warning;
    case PromptIcon::Critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton toButton(PromptAnswer answer)
{
    switch (answer) {
    case PromptAnswer::Ok:
        return QMessageBox::Ok;
    case PromptAnswer::Cancel:
        return QMessageBox::Cancel;
    case PromptAnswer::Yes:
        return QMessageBox::Yes;
    case PromptAnswer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

// Qt makes a message box only a little wider than its title, and a window manager's title bar also
// holds an icon and three buttons: the title of a short box was cut to its first and last letters.
// Called when the box's content is set, as setting it lays the box out anew.
void leaveRoomForTitle(QMessageBox& box)
{
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const int decorations = 6 * box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
    const int width = QFontMetrics(font).horizontalAdvance(box.windowTitle()) + decorations;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(),
            0, 1, grid->columnCount());
}

// A prompt waits for its answer: once up, it is raised and takes the keyboard, also when another window
// of the program (the splash of a start) had it.
void takeFocusWhenShown(QDialog& dialog)
{
    QTimer::singleShot(0, &dialog, [&dialog] {
        dialog.raise();
        dialog.activateWindow();
    });
}

} // namespace

PromptAnswer QtPrompts::ask(const PromptRequest& request)
{
    return onGuiThread([&] {
        QMessageBox box(toIcon(request.icon), request.title, request.text, QMessageBox::NoButton,
            QApplication::activeWindow());
        switch (request.buttons) {
        case PromptButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case PromptButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case PromptButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case PromptButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        }
        box.setDefaultButton(toButton(request.defaultAnswer));
        leaveRoomForTitle(box);
        takeFocusWhenShown(box);
        switch (box.exec()) {
        case QMessageBox::Ok:
            return PromptAnswer::Ok;
        case QMessageBox::Yes:
            return PromptAnswer::Yes;
        case QMessageBox::No:
            return PromptAnswer::No;
        default:
            return PromptAnswer::Cancel;
        }
    });
}

std::optional<QString> QtPrompts::input(
    const QString& prompt, const QString& title, const QString& defaultText)
{
    return onGuiThread([&]() -> std::optional<QString> {
        QInputDialog dialog(QApplication::activeWindow());
        dialog.setWindowTitle(title);
        dialog.setLabelText(prompt);
        dialog.setTextValue(defaultText);
        dialog.setTextEchoMode(QLineEdit::Normal);
        takeFocusWhenShown(dialog);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.textValue();
    });
}

void QtPrompts::beep()
{
    onGuiThread([] {
        QApplication::beep();
        return 0;
    });
}

} // namespace tunvale::platform
