#include "app/editor/main_form.h"
#include "app/editor/main_form_playback.h"
#include "app/frame/process_state.h"
#include "platform/desktop/notation_fonts.h"
#include "platform/desktop/qt_prompts.h"

#include <QApplication>
#include <QStringList>

using namespace tunvale;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    QApplication::setApplicationName(QStringLiteral("Tunvale"));
    platform::Prompts::install(std::make_unique<platform::QtPrompts>());
    platform::loadNotationFontsAtStartUp();

    QStringList args = QApplication::arguments();
    args.removeFirst();
    frame::Process().ScoreHeader.CurrentFile = args.join(QLatin1Char(' ')).remove(QLatin1Char('"'));

    editor::MainForm window;
    if (!window.Form_Load())
        return 1;
    new editor::MainFormPlayback(window); // owned by the window
    window.resize(1000, 700);
    window.show();
    return app.exec();
}
