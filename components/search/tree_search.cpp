#include "components/search/tree_search.h"

#include "platform/text/text_compare.h"

#include <QDir>
#include <QFileInfo>

namespace tunvale::search {

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
    searchFolder(sPath, sFileSpec, sFiles, appFiles, Inspace);
    return count_;
}

void Class_Search::searchFolder(
    const QString& sPath, const QString& sFileSpec, QStringList& sFiles, QStringList& appFiles, bool Inspace)
{
    const QString folder = sPath.endsWith(u'/') ? sPath : sPath + u'/';
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || entered_.contains(canonical))
        return;
    entered_.insert(canonical);

    // Linux lists a folder in no particular order; names are taken in alphabetical order, ignoring case.
    const QDir dir(folder);
    const QStringList names
        = dir.entryList({ QStringLiteral("*.vls") }, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        if (platform::containsAsText(Inspace ? withoutSpaces(name) : name, sFileSpec)) {
            ++count_;
            sFiles.append(name);
            appFiles.append(folder + name);
        }
    }

    // Collect the subfolders before entering any of them. Hidden entries, whose names start with ".",
    // are not listed.
    QStringList subfolders;
    for (const QString& name :
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        subfolders.append(folder + name);
    for (const QString& subfolder : std::as_const(subfolders))
        searchFolder(subfolder, sFileSpec, sFiles, appFiles, Inspace);
}

} // namespace tunvale::search
