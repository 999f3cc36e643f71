#pragma once

#include <QString>

namespace tunvale::platform {

// The folder kinds the program asks for.
inline constexpr int CSIDL_DESKTOPDIRECTORY = 16;

// The path of a special folder: for CSIDL_DESKTOPDIRECTORY the user's desktop folder, or the home
// folder when there is no desktop folder, so a file proposed there can always be written. An empty
// string for any other kind.
QString GetSpecialFolder(int csidl);

} // namespace tunvale::platform
