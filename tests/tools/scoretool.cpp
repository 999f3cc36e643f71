#include "tests/tools/command_registry.h"

#include "platform/settings/program_folder.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

using namespace tunvale::scoretool;

namespace {

int usage()
{
    err(QStringLiteral("usage: scoretool COMMAND [ARGS...]"));
    for (const auto& [name, command] : commands())
        err(QStringLiteral("  %1 %2").arg(name, command.usage));
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    // The tool never shows a window; rendering commands draw offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("JACK_NO_START_SERVER", "1");
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    QApplication::setApplicationName(QStringLiteral("Tunvale"));
    // Each run has settings and a user folder of its own, removed at its end: a window the tool loads
    // registers its score, records recent files and saves templates there, never in the user's own.
    QTemporaryDir home;
    if (!home.isValid()) {
        err(QStringLiteral("cannot make a temporary folder: ") + home.errorString());
        return 1;
    }
    QSettings::setPath(
        QSettings::NativeFormat, QSettings::UserScope, home.filePath(QStringLiteral("settings")));
    tunvale::platform::ProgramFolder::overrideUserDir(home.filePath(QStringLiteral("user")));

    QStringList args = QApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString name = args.takeFirst();
    const auto it = commands().find(name);
    if (it == commands().end())
        return usage();
    return it->second.run(args);
}
