#pragma once

#include <QWidget>

class QTextBrowser;
class QToolButton;

// The program's help: our own HTML pages in the data folder's "help" folder, one per topic.
namespace tunvale::platform {

// The one help window of the process, reused by every topic shown.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* owner = nullptr);

    // Shows the page `topic` ("边距及行距.htm"); a missing page shows a note saying so.
    void showTopic(const QString& topic);

    QTextBrowser* browser() const { return browser_; }

    // The folder the pages are read from.
    static QString helpFolder();

private:
    void updateTitle();

    QTextBrowser* browser_;
    QToolButton* back_;
    QToolButton* forward_;
};

// Opens the help window on `topic`, in front of `owner`.
void ShowHelpTopic(QWidget* owner, const QString& topic);

} // namespace tunvale::platform
