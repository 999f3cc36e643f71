#include "app/editor/actions/menu_items.h"

#include "app/editor/actions/build_gate.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSignalBlocker>

namespace tunvale::editor {

bool SplitArrayItemName(const QString& name, QString& array, int& index)
{
    static const QRegularExpression pattern(QStringLiteral("^(.+)\\((\\d+)\\)$"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return false;
    array = match.captured(1);
    index = match.captured(2).toInt();
    return true;
}

MenuItems::MenuItems(QMenuBar* bar, QObject* parent)
    : QObject(parent)
{
    for (const MenuEntry& top : MainMenuTable()) {
        QMenu* menu = bar->addMenu(top.caption);
        menu->menuAction()->setObjectName(top.name);
        menus_[top.name] = menu;
        remember(top.name, menu->menuAction());
        addEntries(menu, top.children);
    }
}

void MenuItems::addEntries(QMenu* menu, const std::vector<MenuEntry>& entries)
{
    for (const MenuEntry& entry : entries) {
        if (!entry.children.empty()) {
            QMenu* sub = menu->addMenu(entry.caption);
            sub->menuAction()->setObjectName(entry.name);
            sub->menuAction()->setVisible(!entry.hidden);
            menus_[entry.name] = sub;
            remember(entry.name, sub->menuAction());
            addEntries(sub, entry.children);
            continue;
        }
        addItem(menu, entry, nullptr);
    }
}

QAction* MenuItems::addItem(QMenu* menu, const MenuEntry& entry, QAction* before)
{
    // A separator has no text: some styles draw a separator's text as a heading.
    auto* action = new QAction(entry.isSeparator() ? QString() : entry.caption, menu);
    action->setObjectName(entry.name);
    action->setSeparator(entry.isSeparator());
    if (!entry.shortcut.isEmpty()) {
        action->setShortcut(QKeySequence(entry.shortcut));
        action->setShortcutContext(Qt::WindowShortcut);
    }
    action->setCheckable(entry.checkable);
    action->setChecked(entry.checked);
    action->setVisible(!entry.hidden);
    menu->insertAction(before, action);
    if (!entry.isSeparator())
        GuardUnbuilt(action, !entry.disabled);
    remember(entry.name, action);

    QString array;
    int index = 0;
    if (SplitArrayItemName(entry.name, array, index)) {
        arrayMenus_[array] = menu;
        arrays_[array][index] = action;
        if (const auto handler = arrayHandlers_.find(array);
            handler != arrayHandlers_.end() && !entry.isSeparator()) {
            const std::function<void(int)> run = handler->second;
            connectTrigger(action, [run, index] { run(index); });
            MarkBuilt(action);
        }
    }
    return action;
}

QAction* MenuItems::action(const QString& name) const
{
    const auto found = actions_.find(name);
    return found == actions_.end() ? nullptr : found->second;
}

QAction* MenuItems::action(const QString& array, int index) const
{
    return action(ArrayItemName(array, index));
}

QMenu* MenuItems::menu(const QString& name) const
{
    const auto found = menus_.find(name);
    return found == menus_.end() ? nullptr : found->second;
}

QStringList MenuItems::names() const
{
    QStringList names;
    names.reserve(qsizetype(order_.size()));
    for (const auto& [place, name] : order_)
        names << name;
    return names;
}

void MenuItems::remember(const QString& name, QAction* action)
{
    actions_[name] = action;
    if (const auto place = places_.find(name); place != places_.end())
        order_.erase(place->second);
    places_[name] = nextPlace_;
    order_[nextPlace_++] = name;
}

void MenuItems::connectTrigger(QAction* action, std::function<void()> handler)
{
    connect(action, &QAction::triggered, this, [action, handler = std::move(handler)] {
        // Qt has toggled a checkable item already; the handlers decide on check marks themselves.
        if (action->isCheckable()) {
            const QSignalBlocker blocker(action);
            action->setChecked(!action->isChecked());
        }
        handler();
    });
}

void MenuItems::connectItem(const QString& name, std::function<void()> handler)
{
    QAction* item = action(name);
    if (!item)
        return;
    connectTrigger(item, std::move(handler));
    MarkBuilt(item);
}

void MenuItems::connectArray(const QString& array, std::function<void(int)> handler)
{
    arrayHandlers_[array] = handler;
    for (int i = 0; i <= upperBound(array); ++i) {
        QAction* item = action(array, i);
        if (!item || item->isSeparator())
            continue;
        connectTrigger(item, [handler, i] { handler(i); });
        MarkBuilt(item);
    }
}

bool MenuItems::isBuilt(const QString& name) const
{
    const QAction* item = action(name);
    return item && IsBuilt(item);
}

int MenuItems::upperBound(const QString& array) const
{
    const auto found = arrays_.find(array);
    if (found == arrays_.end())
        return -1;
    const std::map<int, QAction*>& items = found->second;
    // Without a gap the highest index is one below the count.
    if (!items.empty() && items.rbegin()->first == int(items.size()) - 1)
        return int(items.size()) - 1;
    int upper = -1;
    for (auto item = items.begin(); item != items.end() && item->first == upper + 1; ++item)
        ++upper;
    return upper;
}

QAction* MenuItems::load(const QString& array, int index, const QString& caption)
{
    if (QAction* existing = action(array, index))
        return existing;
    const auto menu = arrayMenus_.find(array);
    if (menu == arrayMenus_.end())
        return nullptr;
    // After the array's last item, so the array stays in index order; an array that ends its menu,
    // as a growing one does, needs no search.
    QAction* last = action(array, upperBound(array));
    const QList<QAction*> items = menu->second->actions();
    const qsizetype at = !items.isEmpty() && items.back() == last ? items.size() - 1 : items.indexOf(last);
    QAction* before = at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr;
    MenuEntry entry;
    entry.name = ArrayItemName(array, index);
    entry.caption = caption;
    entry.checkable = last && last->isCheckable();
    return addItem(menu->second, entry, before);
}

void MenuItems::unload(const QString& array, int index)
{
    const QString name = ArrayItemName(array, index);
    QAction* item = action(name);
    if (!item)
        return;
    actions_.erase(name);
    order_.erase(places_[name]);
    places_.erase(name);
    if (const auto items = arrays_.find(array); items != arrays_.end())
        items->second.erase(index);
    delete item;
}

} // namespace tunvale::editor
