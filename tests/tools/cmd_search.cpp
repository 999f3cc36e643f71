#include "tests/tools/command_registry.h"

#include "components/search/tree_search.h"

using namespace tunvale;

namespace {

// Prints the number of score files below FOLDER whose names contain TEXT, then one line per match:
// number, name and path, separated by tabs. Spaces in names are ignored unless --keep-spaces is given.
int searchFolder(const QStringList& args)
{
    QStringList positional = args;
    const bool keepSpaces = positional.removeAll(QStringLiteral("--keep-spaces")) > 0;
    if (positional.size() != 2) {
        scoretool::err(QStringLiteral("usage: scoretool search FOLDER TEXT [--keep-spaces]"));
        return 2;
    }
    const QString text = keepSpaces ? positional[1] : search::withoutSpaces(positional[1]);
    QStringList names;
    QStringList paths;
    search::Class_Search search;
    const int count = search.TreeSearch(positional[0], text, names, paths, !keepSpaces);
    for (const QString& folder : search.unenterableFolders())
        scoretool::err(QStringLiteral("cannot enter ") + folder);
    scoretool::out(QString::number(count));
    for (qsizetype k = 0; k < names.size(); ++k)
        scoretool::out(QStringLiteral("%1\t%2\t%3").arg(k + 1).arg(names[k], paths[k]));
    return 0;
}

} // namespace

SCORETOOL_COMMAND("search",
    "FOLDER TEXT [--keep-spaces]  list the score files below FOLDER whose names hold TEXT", searchFolder);
