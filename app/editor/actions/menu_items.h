#pragma once

#include "app/editor/actions/menu_table.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>

class QAction;
class QMenu;
class QMenuBar;

// The main window's menu items as QActions, reached by the names of the menu table: "mnuUnDo",
// "PZType(3)" or ("PZType", 3). Every item starts unbuilt (disabled, see build_gate.h) until the
// command behind it connects its handler.
namespace tunvale::editor {

class MenuItems : public QObject
{
    Q_OBJECT

public:
    // Fills `bar` from the menu table.
    explicit MenuItems(QMenuBar* bar, QObject* parent = nullptr);

    // The item, the separator or the submenu's own action; nullptr when there is none.
    QAction* action(const QString& name) const;
    QAction* action(const QString& array, int index) const;
    // A top menu or submenu ("File", "BD"); nullptr when there is none.
    QMenu* menu(const QString& name) const;
    // Every name, top menus and submenus included, in the order the items were made.
    QStringList names() const;

    // Connects a handler and marks the item built. A click runs the handler with the check mark as it
    // was before the click: handlers set check marks themselves.
    void connectItem(const QString& name, std::function<void()> handler);
    // The same for every item of an array, those loaded later included; the handler gets the index.
    void connectArray(const QString& array, std::function<void(int)> handler);
    bool isBuilt(const QString& name) const;

    // Item arrays grow and shrink at run time. Loading an index that exists returns the item as it is.
    QAction* load(const QString& array, int index, const QString& caption);
    void unload(const QString& array, int index);
    // The highest index of the array; -1 when it has none.
    int upperBound(const QString& array) const;

private:
    void addEntries(QMenu* menu, const std::vector<MenuEntry>& entries);
    QAction* addItem(QMenu* menu, const MenuEntry& entry, QAction* before);
    void connectTrigger(QAction* action, std::function<void()> handler);
    void remember(const QString& name, QAction* action);

    std::map<QString, QAction*> actions_;
    std::map<QString, QMenu*> menus_;
    std::map<QString, std::function<void(int)>> arrayHandlers_;
    std::map<QString, QMenu*> arrayMenus_; // the menu each array lives in
    std::map<QString, std::map<int, QAction*>> arrays_; // each array's items by index
    // The names in the order made: each name's place, and the names by place.
    std::map<QString, std::uint64_t> places_;
    std::map<std::uint64_t, QString> order_;
    std::uint64_t nextPlace_ = 0;
};

// Splits "Name(Index)" into its parts; false for a plain name.
bool SplitArrayItemName(const QString& name, QString& array, int& index);

} // namespace tunvale::editor
