#pragma once

#include <QIcon>

namespace tunvale::dialogs {

// The program's icon, drawn at the size asked for: a jianpu "1" with its underline in a rounded square.
QIcon ProgramIcon();

} // namespace tunvale::dialogs
