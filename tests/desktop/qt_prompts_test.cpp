#include "platform/desktop/qt_prompts.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace tunvale::platform;

namespace {

// Runs `answer` on the modal box that the next prompt opens.
template <typename Box> void whenShown(std::function<void(Box&)> answer)
{
    QTimer::singleShot(0, [answer] {
        auto* box = qobject_cast<Box*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        answer(*box);
    });
}

} // namespace

TEST(QtPrompts, QuestionsShowTheirTextsAndDefaultButton)
{
    QtPrompts prompts;
    const struct {
        PromptButtons buttons;
        PromptAnswer defaultAnswer;
        int buttonCount;
    } cases[] = {
        { PromptButtons::YesNoCancel, PromptAnswer::No, 3 },
        { PromptButtons::YesNoCancel, PromptAnswer::Yes, 3 },
        { PromptButtons::OkCancel, PromptAnswer::Cancel, 2 },
        { PromptButtons::YesNo, PromptAnswer::No, 2 },
        { PromptButtons::Ok, PromptAnswer::Ok, 1 },
    };
    for (const auto& c : cases) {
        QString title, text;
        int buttons = 0;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        whenShown<QMessageBox>([&](QMessageBox& box) {
            title = box.windowTitle();
            text = box.text();
            icon = box.icon();
            buttons = int(box.buttons().size());
            box.defaultButton()->click(); // what Enter does
        });
        const PromptAnswer answer = prompts.ask(PromptRequest { QStringLiteral("需要保存简谱，再退出吗？"),
            QStringLiteral("Tunvale"), PromptIcon::Question, c.buttons, c.defaultAnswer });
        EXPECT_EQ(answer, c.defaultAnswer);
        EXPECT_EQ(title, QStringLiteral("Tunvale"));
        EXPECT_EQ(text, QStringLiteral("需要保存简谱，再退出吗？"));
        EXPECT_EQ(icon, QMessageBox::Question);
        EXPECT_EQ(buttons, c.buttonCount);
    }
}

TEST(QtPrompts, InputBoxGivesTheTextOrNothing)
{
    QtPrompts prompts;
    whenShown<QInputDialog>([](QInputDialog& d) {
        EXPECT_EQ(d.textValue(), QStringLiteral("1"));
        d.setTextValue(QStringLiteral("12"));
        d.accept();
    });
    EXPECT_EQ(prompts.input(QStringLiteral("请输入简谱小节编号(1-16)："), QStringLiteral("小节鼓点"),
                  QStringLiteral("1")),
        std::optional<QString>(QStringLiteral("12")));
    whenShown<QInputDialog>([](QInputDialog& d) { d.reject(); });
    EXPECT_EQ(prompts.input(QStringLiteral("?"), QStringLiteral("t"), QString()), std::nullopt);
}

// A window manager's title bar puts an icon and three buttons beside the title: a box with a short text
// is still wide enough for its whole title, and a long title is not cut either.
TEST(QtPrompts, AShortBoxShowsItsWholeTitle)
{
    QtPrompts prompts;
    for (const QString& title :
        { QStringLiteral("Tunvale"), QStringLiteral("前后反复演奏几次与反复记号说明") }) {
        int width = 0;
        int needed = 0;
        whenShown<QMessageBox>([&](QMessageBox& box) {
            QFont font = QApplication::font("QMdiSubWindowTitleBar");
            font.setBold(true);
            const int titleBarButton = box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
            needed = QFontMetrics(font).horizontalAdvance(title) + 4 * titleBarButton;
            width = box.width();
            box.accept();
        });
        prompts.ask(PromptRequest { QStringLiteral("保存失败！"), title });
        EXPECT_GE(width, needed) << title.toStdString();
    }
}

// A prompt that comes up while another window of the program has the keyboard (the splash of a start)
// is raised and takes it: Enter answers the prompt, not the other window.
TEST(QtPrompts, APromptTakesTheKeyboard)
{
    QtPrompts prompts;
    QWidget other;
    other.show();
    bool active = false;
    whenShown<QMessageBox>([&](QMessageBox& box) {
        other.activateWindow();
        QCoreApplication::processEvents();
        active = QApplication::activeWindow() == &box;
        box.accept();
    });
    prompts.ask(PromptRequest { QStringLiteral("文件不存在!") });
    EXPECT_TRUE(active);
    whenShown<QInputDialog>([&](QInputDialog& dialog) {
        other.activateWindow();
        QCoreApplication::processEvents();
        active = QApplication::activeWindow() == &dialog;
        dialog.reject();
    });
    active = false;
    prompts.input(QStringLiteral("?"), QStringLiteral("t"), QString());
    EXPECT_TRUE(active);
}
