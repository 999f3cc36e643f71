#include "platform/desktop/help_window.h"

#include "platform/settings/program_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace tunvale::platform {

namespace {

const QString kContentsPage = QStringLiteral("index.htm");

QToolButton* makeButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& text)
{
    auto* button = new QToolButton(parent);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

} // namespace

HelpWindow::HelpWindow(QWidget* owner)
    : QWidget(owner, Qt::Window)
    , browser_(new QTextBrowser(this))
    , back_(makeButton(this, QStyle::SP_ArrowBack, QStringLiteral("后退")))
    , forward_(makeButton(this, QStyle::SP_ArrowForward, QStringLiteral("前进")))
{
    setAttribute(Qt::WA_DeleteOnClose);
    QToolButton* contents = makeButton(this, QStyle::SP_DirHomeIcon, QStringLiteral("目录"));
    back_->setEnabled(false);
    forward_->setEnabled(false);

    auto* bar = new QHBoxLayout;
    bar->addWidget(contents);
    bar->addWidget(back_);
    bar->addWidget(forward_);
    bar->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(browser_);

    browser_->setSearchPaths({ helpFolder() });
    browser_->document()->setDocumentMargin(12);
    browser_->setOpenExternalLinks(true);
    connect(contents, &QToolButton::clicked, this, [this] { showTopic(kContentsPage); });
    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::updateTitle);
    resize(760, 560);
    updateTitle();
}

QString HelpWindow::helpFolder() { return QDir(ProgramFolder::dataDir()).filePath(QStringLiteral("help")); }

void HelpWindow::showTopic(const QString& topic)
{
    const QString page = QDir(helpFolder()).filePath(topic);
    if (topic.isEmpty() || !QFileInfo(page).isFile()) {
        browser_->setHtml(QStringLiteral("<h2>找不到帮助主题</h2><p>帮助页“%1”不在帮助文件夹 %2 中。</p>"
                                         "<p><a href=\"%3\">打开帮助目录</a></p>")
                              .arg(topic.toHtmlEscaped(), helpFolder().toHtmlEscaped(), kContentsPage));
        updateTitle();
        return;
    }
    browser_->setSource(QUrl::fromLocalFile(page));
}

void HelpWindow::updateTitle()
{
    const QString page = browser_->documentTitle();
    setWindowTitle(
        page.isEmpty() ? QStringLiteral("Tunvale 帮助") : QStringLiteral("Tunvale 帮助 - ") + page);
}

void ShowHelpTopic(QWidget* owner, const QString& topic)
{
    // Like a help viewer, one window serves every topic for the whole run.
    static QPointer<HelpWindow> window;
    if (!window)
        window = new HelpWindow(owner);
    window->showTopic(topic);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace tunvale::platform
