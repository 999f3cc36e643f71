#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <set>
#include <utility>

// The folder search behind the score search window: every score file below a folder whose name holds
// a given text.
namespace tunvale::search {

class Class_Search
{
public:
    // Appends to sFiles the name and to appFiles the full path (folder, "/", name) of every file below
    // sPath whose name ends in ".vls" in any case and contains sFileSpec under text comparison (case
    // and full-width forms folded); with Inspace, spaces and ideographic spaces of the name are
    // ignored. A folder's own files come first, sorted by name ignoring case, then its subfolders
    // depth-first in the same order. Hidden entries and names starting with "." are skipped, and each
    // folder is entered once, by device and inode, so links cannot loop. A name that is no UTF-8 is
    // read as code page 936 (platform::ReadWholeFile finds such a file by that path). Returns the
    // number of matches this object has found in all its calls.
    int TreeSearch(const QString& sPath, const QString& sFileSpec, QStringList& sFiles, QStringList& appFiles,
        bool Inspace);

    // The folders the last call could not enter, each as "path: reason".
    const QStringList& unenterableFolders() const { return unenterable_; }

private:
    void searchFolder(const QByteArray& native, const QString& shown, const QString& sFileSpec,
        QStringList& sFiles, QStringList& appFiles, bool Inspace);

    int count_ = 0;
    // Device and inode of the folders the current call has entered.
    std::set<std::pair<std::uint64_t, std::uint64_t>> entered_;
    QStringList unenterable_;
};

// The text with every space and ideographic space removed.
QString withoutSpaces(const QString& text);

} // namespace tunvale::search
