#include "tests/tools/command_registry.h"

#include "components/symbolpick/palette_model.h"
#include "components/symbolpick/palette_scroll.h"
#include "platform/settings/program_folder.h"

using namespace tunvale;
using symbolpick::PaletteModel;

namespace {

// Prints what the symbol palette makes of a "Note.ini": its kinds, their grids and kept entries.
int palette(const QStringList& args)
{
    if (args.size() > 1) {
        scoretool::err(QStringLiteral("usage: scoretool palette [NOTE.INI]"));
        return 2;
    }
    const QString path
        = args.isEmpty() ? platform::ProgramFolder::find(QStringLiteral("Note.ini")) : args.first();
    const PaletteModel model = PaletteModel::fromFile(path);
    scoretool::out(QStringLiteral("kinds %1").arg(model.kindCount()));
    if (model.kindCount() == 0)
        scoretool::out(QStringLiteral("status ") + PaletteModel::NoSymbolsMessage());
    for (int k = 1; k <= model.kindCount(); ++k) {
        const symbolpick::PaletteKind& kind = model.kind(k);
        scoretool::out(QStringLiteral("kind %1 %2").arg(k).arg(kind.name));
        scoretool::out(QStringLiteral("font ") + kind.font);
        const int rows = PaletteModel::rowCount(static_cast<int>(kind.entries.size()));
        QString grid = QStringLiteral("rows %1").arg(rows);
        if (PaletteModel::showsScrollBar(rows)) {
            symbolpick::PaletteScroll bar;
            bar.reset(rows);
            grid += QStringLiteral(" bar %1 %2").arg(bar.rows()).arg(bar.bottom());
        }
        scoretool::out(grid);
        scoretool::out(QStringLiteral("about ") + kind.about);
        for (std::size_t cell = 0; cell < kind.entries.size(); ++cell) {
            const symbolpick::PaletteEntry& e = kind.entries[cell];
            QString line = QStringLiteral("entry %1 U+%2 %3")
                               .arg(e.number)
                               .arg(QString::number(e.code, 16).toUpper().rightJustified(4, u'0'))
                               .arg(PaletteModel::gridSize(kind, static_cast<int>(cell)));
            if (!e.description.isEmpty())
                line += u' ' + e.description;
            scoretool::out(line);
        }
    }
    return 0;
}

} // namespace

SCORETOOL_COMMAND("palette",
    "[NOTE.INI]  the symbol palette's kinds, grids and entries read from a Note.ini (default: the program's)",
    palette);
