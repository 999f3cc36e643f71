#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The four most recently opened or saved scores, kept in the per-user settings under
// "Software\Velmora\FileHistory": "FirstFile" names the slot of the newest entry and "File0" to
// "File3" form a ring. All windows share it.
namespace tunvale::frame {

inline const QString kNoRecentFiles = QStringLiteral("无历史文件");
inline constexpr int kRecentFileCount = 4;
inline constexpr int kNotARecentFile = 5;

// One item of the File menu's recent list.
struct RecentMenuItem {
    QString caption; // "&1 /path", a '&' of the path doubled
    QString path; // empty for the "no history" item
    bool visible = false;
};
using RecentMenuItems = std::array<RecentMenuItem, kRecentFileCount>;

// The ring's operations; each reads the settings as they are now.
class RecentFiles
{
public:
    // Records `path` as the newest entry. True when the menu should be rebuilt.
    static bool AddRecentFile(const QString& path);
    // Puts `path` into the slot before the newest, which becomes the newest. True when it was written.
    static bool WriteRecentFile(const QString& path);
    // The place 0 .. 3 of `path` in the list, newest first; kNotARecentFile when it is not there.
    static int FindRecentFile(const QString& path);
    // Makes the entry at `index` the newest. True when the list changed.
    static bool MoveRecentFileToFront(int index);

    // The entries, newest first; a missing or empty slot ends the list.
    static QStringList Entries();
    // The four menu items the list shows.
    static RecentMenuItems ShowRecentFiles();
};

} // namespace tunvale::frame
