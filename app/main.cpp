#include "app/editor/main_form.h"
#include "app/editor/score_files.h"
#include "app/frame/open_decision.h"
#include "app/frame/process_state.h"
#include "app/frame/start_args.h"
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

    QStringList args = QApplication::arguments();
    args.removeFirst();
    const frame::StartArgs start = frame::ParseStartArgs(args);
    // One window per score: a score that a live window shows brings that window up instead.
    if (start.kind == frame::StartKind::Ordinary
        && frame::ShownByAnotherWindow(
            start.CurrentFile, frame::OpenScoreRegistry(), QApplication::applicationPid()))
        return 0;

    platform::loadNotationFontsAtStartUp();
    frame::Process().start.PrintStart = start.PrintStart;
    frame::Process().start.ShowStartProgress = start.ShowStartProgress;
    frame::Process().ScoreHeader.CurrentFile = start.CurrentFile;

    editor::MainForm window;
    editor::MainFormScoreFiles::of(window).listen();
    if (!window.Form_Load())
        return 1;
    window.resize(1000, 700);
    window.show();
    return app.exec();
}
