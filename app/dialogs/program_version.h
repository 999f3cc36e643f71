#pragma once

#include <QString>

// The program's version, from the build's project version: major.minor.patch, as the splash window
// and the about box show it.
namespace tunvale::dialogs {

QString ProgramVersionText();

} // namespace tunvale::dialogs
