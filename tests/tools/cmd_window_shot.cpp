#include "tests/tools/command_registry.h"

#include "app/dialogs/about_box.h"
#include "app/dialogs/splash_window.h"
#include "platform/desktop/notation_fonts.h"

#include <QPixmap>

using namespace tunvale;

namespace {

// Pictures of the small windows, which come and go too fast to be caught on the screen.
int windowShot(const QStringList& args)
{
    if (args.size() != 2 || (args[0] != QStringLiteral("splash") && args[0] != QStringLiteral("about"))) {
        scoretool::err(QStringLiteral("usage: scoretool window-shot splash|about OUT.png"));
        return 2;
    }
    platform::loadNotationFonts();
    std::unique_ptr<QWidget> window;
    if (args[0] == QStringLiteral("splash")) {
        auto splash = std::make_unique<dialogs::SplashWindow>();
        splash->setProgress(QStringLiteral("打开主程序窗口..."));
        window = std::move(splash);
    } else {
        window = std::make_unique<dialogs::AboutBox>();
    }
    window->adjustSize();
    if (!window->grab().save(args[1])) {
        scoretool::err(QStringLiteral("could not write %1").arg(args[1]));
        return 1;
    }
    return 0;
}

} // namespace

SCORETOOL_COMMAND(
    "window-shot", "splash|about OUT.png  a picture of the splash window or the about box", windowShot);
