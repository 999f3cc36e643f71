#include "tests/tools/command_registry.h"

#include "platform/desktop/help_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>

using namespace tunvale;

namespace {

// Opens the help window on a topic and saves a picture of it, to look at the pages as a user sees them.
int helpShot(const QStringList& args)
{
    if (args.size() != 2) {
        scoretool::err(QStringLiteral("usage: scoretool help-shot TOPIC OUT.png"));
        return 2;
    }
    platform::ShowHelpTopic(nullptr, args[0]);
    platform::HelpWindow* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* help = qobject_cast<platform::HelpWindow*>(w))
            window = help;
    }
    if (!window)
        return 1;
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500)
        QApplication::processEvents();
    if (!window->grab().save(args[1])) {
        scoretool::err(QStringLiteral("could not write %1").arg(args[1]));
        return 1;
    }
    scoretool::out(window->windowTitle());
    return 0;
}

} // namespace

SCORETOOL_COMMAND("help-shot", "TOPIC OUT.png  open a help topic and save a picture of its window", helpShot);
