#pragma once

#include "platform/settings/program_folder.h"

#include <QTemporaryDir>

// A fresh data folder for one test, and the build tree's back afterwards.
class ScopedDataFolder
{
public:
    ScopedDataFolder() { tunvale::platform::ProgramFolder::overrideDataDir(dir_.path()); }
    ~ScopedDataFolder() { tunvale::platform::ProgramFolder::overrideDataDir({}); }
    ScopedDataFolder(const ScopedDataFolder&) = delete;
    ScopedDataFolder& operator=(const ScopedDataFolder&) = delete;

    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};
