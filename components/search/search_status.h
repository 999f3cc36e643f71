#pragma once

#include <QString>

// Texts of the search window's status bar.
namespace tunvale::search {

// "找到　n　个文件。"
QString foundFilesText(int count);

// A found file's path as the status bar shows it: the leading search folder written "..", so
// "/songs/a/b.vls" under "/songs" is "../a/b.vls" and "/a/b.vls" under "/" is "../a/b.vls". A path
// outside the search folder is shown whole.
QString statusPath(const QString& path, const QString& searchRoot);

} // namespace tunvale::search
