#include "platform/settings/desktop_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tunvale::platform {

QString GetSpecialFolder(int csidl)
{
    if (csidl != CSIDL_DESKTOPDIRECTORY)
        return {};
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return !desktop.isEmpty() && QFileInfo(desktop).isDir() ? desktop : QDir::homePath();
}

} // namespace tunvale::platform
