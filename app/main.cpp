#include "app/editor/window/start_up.h"
#include "platform/desktop/notation_fonts.h"
#include "platform/desktop/qt_prompts.h"
#include "platform/desktop/qt_translation.h"

#include <QApplication>

using namespace tunvale;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    QApplication::setApplicationName(QStringLiteral("Tunvale"));
    platform::installQtTranslation(app);
    platform::Prompts::install(std::make_unique<platform::QtPrompts>());
    platform::loadNotationFontsAtStartUp();

    editor::StartResult started = editor::StartProgram(QApplication::arguments().mid(1));
    if (!started.window)
        return started.exitCode;
    return app.exec();
}
