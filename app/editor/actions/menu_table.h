#pragma once

#include <QString>

#include <vector>

// The main window's menu bar as designed: every item with its name, caption, shortcut and the state it
// starts in. Widget-free, so the table can be printed and checked without a window.
namespace tunvale::editor {

struct MenuEntry {
    // The item's name; an item of an item array is "Name(Index)". Separators have a name too, so
    // that an array's separator keeps its index ("PZType(1)").
    QString name;
    QString caption; // "-" for a separator; "&" marks the access key
    QString shortcut; // QKeySequence text, "" for none
    bool checkable = false; // carries a check mark (checked or not)
    bool checked = false;
    bool disabled = false;
    bool hidden = false;
    std::vector<MenuEntry> children; // a submenu when not empty

    bool isSeparator() const { return caption == QStringLiteral("-"); }
};

// The top menus in menu-bar order.
const std::vector<MenuEntry>& MainMenuTable();

// "Name(Index)" for an item of an item array.
QString ArrayItemName(const QString& array, int index);

} // namespace tunvale::editor
