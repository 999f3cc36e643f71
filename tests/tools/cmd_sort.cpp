#include "tests/tools/command_registry.h"

#include "glyphrank.h"

#include <QFile>

using namespace tunvale;

namespace {

// Prints the lines of a UTF-8 file in pinyin or stroke order, each as its line number, a tab and the text.
int sort(const QStringList& args)
{
    if (args.size() != 2 || (args[0] != QStringLiteral("py") && args[0] != QStringLiteral("bh"))) {
        scoretool::err(QStringLiteral("usage: scoretool sort py|bh FILE"));
        return 2;
    }
    QFile file(args[1]);
    if (!file.open(QIODevice::ReadOnly)) {
        scoretool::err(QStringLiteral("cannot read %1").arg(args[1]));
        return 1;
    }
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    QStringList numbers;
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        numbers << QString::number(numbers.size() + 1);
    }
    auto sorter = glyphrank::createSorter(
        args[0] == QStringLiteral("py") ? glyphrank::SortOrder::Pinyin : glyphrank::SortOrder::Strokes);
    sorter->Glyphrank(lines, numbers);
    for (qsizetype k = 0; k < lines.size(); ++k)
        scoretool::out(numbers[k] + u'\t' + lines[k]);
    return 0;
}

} // namespace

SCORETOOL_COMMAND("sort", "py|bh FILE  print the lines of a UTF-8 file sorted by pinyin or strokes", sort);
