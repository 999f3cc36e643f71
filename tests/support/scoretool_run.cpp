#include "tests/support/scoretool_run.h"

#include <QProcess>

namespace tunvale::testing {

ScoretoolResult RunScoretool(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(TUNVALE_BUILD_DIR "/bin/scoretool"), args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return { process.exitCode(), process.readAllStandardOutput() };
}

} // namespace tunvale::testing
