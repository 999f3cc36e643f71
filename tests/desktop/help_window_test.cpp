#include "platform/desktop/help_window.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTextBrowser>

#include <gtest/gtest.h>

using namespace tunvale::platform;

namespace {

HelpWindow* openHelp(const QString& topic)
{
    ShowHelpTopic(nullptr, topic);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* help = qobject_cast<HelpWindow*>(w); help && help->isVisible())
            return help;
    }
    return nullptr;
}

} // namespace

// Every topic the program opens has its page, and the pages' links lead to pages that exist.
TEST(HelpWindow, OpensEveryTopicPage)
{
    const QStringList topics = { QStringLiteral("边距及行距.htm"), QStringLiteral("鼓点的设置.htm"),
        QStringLiteral("我愿意.htm"), QStringLiteral("index.htm") };
    HelpWindow* first = nullptr;
    for (const QString& topic : topics) {
        HelpWindow* help = openHelp(topic);
        ASSERT_NE(help, nullptr);
        if (!first)
            first = help;
        EXPECT_EQ(help, first) << "one window serves every topic";
        const QString title = help->browser()->documentTitle();
        EXPECT_EQ(title,
            QString(topic)
                .remove(QStringLiteral(".htm"))
                .replace(QStringLiteral("index"), QStringLiteral("帮助目录")));
        EXPECT_TRUE(help->windowTitle().endsWith(title));
        EXPECT_FALSE(help->browser()->toPlainText().contains(u'\uFFFD')) << "page read in its own encoding";

        const QString html = help->browser()->toHtml();
        static const QRegularExpression href(QStringLiteral("href=\"([^\"#:]+)\""));
        for (auto m = href.globalMatch(html); m.hasNext();) {
            const QString target = m.next().captured(1);
            EXPECT_TRUE(QDir(HelpWindow::helpFolder()).exists(target))
                << topic.toStdString() << " -> " << target.toStdString();
        }
    }
    first->close();
}

TEST(HelpWindow, AMissingTopicSaysSo)
{
    HelpWindow* help = openHelp(QStringLiteral("没有这一页.htm"));
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->browser()->toPlainText().contains(QStringLiteral("没有这一页.htm")));
    help->close();
}
