#include "tests/tools/command_registry.h"

#include "tests/support/fake_devices.h"

#include "app/editor/actions/toolbar_table.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/window/start_up.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

using namespace tunvale;

namespace {

QString flags(const QAction* action)
{
    QString text;
    if (!action->shortcut().isEmpty())
        text += u' ' + action->shortcut().toString();
    if (action->isChecked())
        text += QStringLiteral(" checked");
    if (!action->isEnabled())
        text += QStringLiteral(" disabled");
    if (!action->isVisible())
        text += QStringLiteral(" hidden");
    return text;
}

void printMenu(const QMenu* menu, int depth)
{
    const QString indent(depth * 2, u' ');
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            scoretool::out(indent + action->objectName() + QStringLiteral(" -") + flags(action));
            continue;
        }
        scoretool::out(
            indent + action->objectName() + QStringLiteral(" \"") + action->text() + u'"' + flags(action));
        if (action->menu())
            printMenu(action->menu(), depth + 1);
    }
}

QString kindName(editor::ButtonKind kind)
{
    switch (kind) {
    case editor::ButtonKind::Separator:
        return QStringLiteral("separator");
    case editor::ButtonKind::Button:
        return QStringLiteral("button");
    case editor::ButtonKind::DropDown:
        return QStringLiteral("dropdown");
    case editor::ButtonKind::MenuOnly:
        return QStringLiteral("menuonly");
    case editor::ButtonKind::Placeholder:
        break;
    }
    return QStringLiteral("controls");
}

// The window's menus and toolbar as they are when the window has loaded the blank score.
int menus(const QStringList& args)
{
    if (!args.isEmpty()) {
        scoretool::err(QStringLiteral("usage: scoretool menus"));
        return 2;
    }
    editor::SetStartValues();
    editor::MainFormServices services;
    services.midiDevices = std::make_unique<testing::FakeDevices>();
    editor::MainForm window(std::move(services));
    if (!window.load())
        return 1;
    for (const QAction* top : window.menuBar()->actions()) {
        scoretool::out(top->objectName() + QStringLiteral(" \"") + top->text() + u'"' + flags(top));
        printMenu(top->menu(), 1);
    }
    for (const editor::ToolbarEntry& entry : editor::ToolbarTable()) {
        const QAction* button = window.toolbar().button(entry.index);
        QString line = QStringLiteral("button %1 %2").arg(entry.index).arg(kindName(entry.kind));
        if (!entry.hint.isEmpty())
            line += QStringLiteral(" \"") + entry.hint + u'"';
        if (entry.kind != editor::ButtonKind::Separator && !button->isEnabled())
            line += QStringLiteral(" disabled");
        scoretool::out(line);
        if (const QMenu* dropDown = window.toolbar().dropDown(entry.index)) {
            for (const QAction* item : dropDown->actions())
                scoretool::out(QStringLiteral("  item \"") + item->text() + u'"' + flags(item));
        }
    }
    return 0;
}

} // namespace

SCORETOOL_COMMAND("menus", " every menu item and toolbar button of the main window as it starts", menus);
