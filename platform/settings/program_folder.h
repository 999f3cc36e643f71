#pragma once

#include <QString>

// The program folder: the read-only data folder shipped with the program and the writable user folder.
// Reads look in the user folder first, then in the data folder; every write goes to the user folder.
namespace tunvale::platform {

class ProgramFolder
{
public:
    // <build>/data beside bin/ in the build tree, <prefix>/share/tunvale when installed.
    static QString dataDir();
    // QStandardPaths::AppDataLocation, created on first use.
    static QString userDir();

    // The path of `fileName` in the user folder when it exists there, else in the data folder when
    // it exists there, else an empty string.
    static QString find(const QString& fileName);
    // Where the program writes `fileName` (always the user folder).
    static QString userPath(const QString& fileName);
    // Where the shipped copy of `fileName` lies (it may not exist).
    static QString dataPath(const QString& fileName);

    // Tests point the two folders elsewhere; an empty path restores the default.
    static void overrideDataDir(const QString& dir);
    static void overrideUserDir(const QString& dir);
};

} // namespace tunvale::platform
