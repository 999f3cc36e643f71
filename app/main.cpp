#include "platform/desktop/notation_fonts.h"
#include "platform/desktop/qt_prompts.h"

#include <QApplication>
#include <QMainWindow>

using namespace tunvale;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    QApplication::setApplicationName(QStringLiteral("Tunvale"));
    platform::Prompts::install(std::make_unique<platform::QtPrompts>());
    platform::loadNotationFontsAtStartUp();

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tunvale"));
    window.resize(1000, 700);
    window.show();
    return app.exec();
}
