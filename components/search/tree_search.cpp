#include "components/search/tree_search.h"

#include "platform/text/gbk.h"
#include "platform/text/text_compare.h"

#include <QFile>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tunvale::search {

namespace {

struct Entry {
    QString name; // as shown and matched
    QByteArray bytes; // as the file system holds it
};

// Names are bytes; archives unpacked from Chinese Windows carry names in code page 936.
QString shownName(const QByteArray& bytes)
{
    return platform::IsValidUtf8(bytes) ? QString::fromUtf8(bytes) : platform::GbkDecode(bytes);
}

bool byName(const Entry& a, const Entry& b)
{
    const int folded = a.name.compare(b.name, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a.name < b.name;
}

} // namespace

QString withoutSpaces(const QString& text)
{
    QString out = text;
    out.remove(u' ');
    out.remove(QChar(0x3000));
    return out;
}

int Class_Search::TreeSearch(
    const QString& sPath, const QString& sFileSpec, QStringList& sFiles, QStringList& appFiles, bool Inspace)
{
    entered_.clear();
    unenterable_.clear();
    const QString folder = sPath.endsWith(u'/') ? sPath : sPath + u'/';
    searchFolder(QFile::encodeName(folder), folder, sFileSpec, sFiles, appFiles, Inspace);
    return count_;
}

void Class_Search::searchFolder(const QByteArray& native, const QString& shown, const QString& sFileSpec,
    QStringList& sFiles, QStringList& appFiles, bool Inspace)
{
    // A folder is opened by its own path, never resolved from the root again, so the walk stays linear in
    // depth; a path longer than the system takes cannot be opened and is reported with the others.
    DIR* dir = opendir(native.constData());
    struct stat info {
    };
    if (!dir || fstat(dirfd(dir), &info) != 0) {
        unenterable_.append(shown + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno)));
        if (dir)
            closedir(dir);
        return;
    }
    // Links may lead back into the walk: each folder is entered once, known by device and inode.
    if (!entered_.insert({ std::uint64_t(info.st_dev), std::uint64_t(info.st_ino) }).second) {
        closedir(dir);
        return;
    }

    // Linux lists a folder in no particular order; names are taken in alphabetical order, ignoring case.
    // Hidden entries, whose names start with ".", are not listed.
    std::vector<Entry> files;
    std::vector<Entry> subfolders;
    while (const dirent* entry = readdir(dir)) {
        const QByteArray bytes(entry->d_name);
        if (bytes.startsWith('.'))
            continue;
        const bool knownType = entry->d_type == DT_DIR || entry->d_type == DT_REG;
        struct stat target {
        };
        // Links are followed; one that leads nowhere is left out.
        if (!knownType && fstatat(dirfd(dir), entry->d_name, &target, 0) != 0)
            continue;
        const bool isDir = knownType ? entry->d_type == DT_DIR : S_ISDIR(target.st_mode);
        const bool isFile = knownType ? entry->d_type == DT_REG : S_ISREG(target.st_mode);
        Entry found { shownName(bytes), bytes };
        if (isDir)
            subfolders.push_back(std::move(found));
        else if (isFile && found.name.endsWith(QStringLiteral(".vls"), Qt::CaseInsensitive))
            files.push_back(std::move(found));
    }
    closedir(dir);

    std::sort(files.begin(), files.end(), byName);
    for (const Entry& file : files) {
        if (platform::containsAsText(Inspace ? withoutSpaces(file.name) : file.name, sFileSpec)) {
            ++count_;
            sFiles.append(file.name);
            appFiles.append(shown + file.name);
        }
    }
    std::sort(subfolders.begin(), subfolders.end(), byName);
    for (const Entry& sub : subfolders)
        searchFolder(native + sub.bytes + '/', shown + sub.name + u'/', sFileSpec, sFiles, appFiles, Inspace);
}

} // namespace tunvale::search
