#include "tests/tools/command_registry.h"

#include "components/search/form_search.h"
#include "platform/desktop/notation_fonts.h"
#include "search.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

using namespace tunvale;

namespace {

// Shows the search window at FOLDER, optionally searches for TEXT, sorts and opens the list's pop-up
// menu, then waits for the user and prints the picked path. Meant for looking at the window.
int searchWindow(const QStringList& args)
{
    QStringList rest = args;
    if (rest.isEmpty()) {
        scoretool::err(
            QStringLiteral("usage: scoretool search-window FOLDER [--text T] [--sort py|bh] [--menu]"));
        return 2;
    }
    const QString folder = rest.takeFirst();
    QString text;
    QString sort;
    bool search = false;
    bool menu = false;
    while (!rest.isEmpty()) {
        const QString option = rest.takeFirst();
        if (option == QStringLiteral("--text") && !rest.isEmpty()) {
            text = rest.takeFirst();
            search = true;
        } else if (option == QStringLiteral("--sort") && !rest.isEmpty()) {
            sort = rest.takeFirst();
        } else if (option == QStringLiteral("--menu")) {
            menu = true;
        } else {
            scoretool::err(QStringLiteral("unknown option %1").arg(option));
            return 2;
        }
    }
    platform::loadNotationFonts();

    search::SearchandOpen component;
    component.VlsPath(folder);
    component.ShowSearchandOpenForm();
    QTimer::singleShot(500, [=] {
        search::FormSearch* form = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* f = qobject_cast<search::FormSearch*>(w))
                form = f;
        }
        if (!form)
            return;
        if (search) {
            form->findChild<QLineEdit*>(QStringLiteral("SearchFileText"))->setText(text);
            form->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        }
        if (!sort.isEmpty())
            form->findChild<QAction*>(
                    sort == QStringLiteral("bh") ? QStringLiteral("SortHZ1") : QStringLiteral("SortHZ0"))
                ->trigger();
        if (menu) {
            QWidget* list = form->findChild<QListWidget*>(QStringLiteral("List1"))->viewport();
            form->findChild<QMenu*>(QStringLiteral("Mun"))->popup(list->mapToGlobal(QPoint(60, 40)));
        }
    });
    scoretool::out(component.GetVlsFileName());
    return 0;
}

} // namespace

SCORETOOL_COMMAND(
    "search-window", "FOLDER [--text T] [--sort py|bh] [--menu]  show the score search window", searchWindow);
