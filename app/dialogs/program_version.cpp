#include "app/dialogs/program_version.h"

namespace tunvale::dialogs {

QString ProgramVersionText()
{
    return QStringLiteral("%1.%2.%3")
        .arg(TUNVALE_VERSION_MAJOR)
        .arg(TUNVALE_VERSION_MINOR)
        .arg(TUNVALE_VERSION_PATCH);
}

} // namespace tunvale::dialogs
