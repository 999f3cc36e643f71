#include "app/dialogs/program_version.h"

namespace tunvale::dialogs {

ProgramVersion CurrentVersion()
{
    return { TUNVALE_VERSION_MAJOR, TUNVALE_VERSION_MINOR, TUNVALE_VERSION_PATCH };
}

} // namespace tunvale::dialogs
