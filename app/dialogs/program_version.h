#pragma once

#include <QString>

// The program's version, from the build's project version.
namespace tunvale::dialogs {

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

ProgramVersion CurrentVersion();

} // namespace tunvale::dialogs
