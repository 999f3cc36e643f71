#include "app/editor/actions/build_gate.h"
#include "app/editor/actions/menu_items.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

using namespace tunvale::editor;

TEST(MenuItems, ItemsAreReachedByNameAndArrayIndex)
{
    QMenuBar bar;
    MenuItems items(&bar);
    ASSERT_NE(items.action(QStringLiteral("mnuUnDo")), nullptr);
    EXPECT_EQ(items.action(QStringLiteral("mnuUnDo"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_EQ(items.action(QStringLiteral("PZType"), 2)->text(), QStringLiteral("随机伴奏"));
    EXPECT_TRUE(items.action(QStringLiteral("PZType"), 1)->isSeparator());
    EXPECT_EQ(items.upperBound(QStringLiteral("TYJH")), 18);
    EXPECT_EQ(items.upperBound(QStringLiteral("nothing")), -1);
    EXPECT_NE(items.menu(QStringLiteral("BD")), nullptr);
    EXPECT_FALSE(items.action(QStringLiteral("SB1"))->isVisible());
}

TEST(MenuItems, AnUnbuiltItemStaysDisabledWhateverIsSet)
{
    QMenuBar bar;
    MenuItems items(&bar);
    QAction* undo = items.action(QStringLiteral("mnuUnDo"));
    EXPECT_FALSE(undo->isEnabled());
    undo->setEnabled(true);
    EXPECT_FALSE(undo->isEnabled());
    int runs = 0;
    items.connectItem(QStringLiteral("mnuUnDo"), [&] { ++runs; });
    EXPECT_TRUE(undo->isEnabled());
    undo->trigger();
    EXPECT_EQ(runs, 1);
    undo->setEnabled(false);
    EXPECT_FALSE(undo->isEnabled());
}

TEST(MenuItems, ABuiltItemTakesItsDesignedState)
{
    QMenuBar bar;
    MenuItems items(&bar);
    items.connectItem(QStringLiteral("MunPandG"), [] {});
    EXPECT_FALSE(items.action(QStringLiteral("MunPandG"))->isEnabled());
    EXPECT_TRUE(items.isBuilt(QStringLiteral("MunPandG")));
}

TEST(MenuItems, ArrayHandlersReachLoadedItemsAndSeeTheCheckBeforeTheClick)
{
    QMenuBar bar;
    MenuItems items(&bar);
    std::vector<std::pair<int, bool>> clicks;
    items.connectArray(QStringLiteral("PZType"),
        [&](int i) { clicks.emplace_back(i, items.action(QStringLiteral("PZType"), i)->isChecked()); });
    QAction* loaded = items.load(QStringLiteral("PZType"), 3, QStringLiteral("慢摇"));
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(loaded->isEnabled());
    EXPECT_TRUE(loaded->isCheckable());
    loaded->trigger();
    items.action(QStringLiteral("PZType"), 0)->trigger();
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0], std::make_pair(3, false));
    EXPECT_EQ(clicks[1], std::make_pair(0, true));
    // Loaded items follow their array in the menu.
    const QList<QAction*> menu = items.menu(QStringLiteral("ShuiJiPZ"))->actions();
    EXPECT_EQ(menu.indexOf(loaded), menu.indexOf(items.action(QStringLiteral("PZType"), 2)) + 1);
    items.unload(QStringLiteral("PZType"), 3);
    EXPECT_EQ(items.upperBound(QStringLiteral("PZType")), 2);
}

// Every "-" of the menu table is a separator that shows no text, in the menus and in the item arrays
// loaded later.
TEST(MenuItems, DashesAreSeparatorsWithoutText)
{
    QMenuBar bar;
    MenuItems items(&bar);
    items.load(QStringLiteral("PZType"), 4, QStringLiteral("-"));
    int separators = 0;
    for (const QString& name : items.names()) {
        const QAction* action = items.action(name);
        EXPECT_NE(action->text(), QStringLiteral("-")) << name.toStdString();
        if (action->isSeparator()) {
            ++separators;
            EXPECT_TRUE(action->text().isEmpty()) << name.toStdString();
        }
    }
    EXPECT_GT(separators, 20);
}

// A pattern list grows to thousands of items and shrinks again each time its menu opens: the bound
// stops at the first missing index, and the names follow the items made and gone.
TEST(MenuItems, AGrowingAndShrinkingArrayKeepsItsBoundAndTheOrderOfNames)
{
    QMenuBar bar;
    MenuItems items(&bar);
    const QString patterns = QStringLiteral("DrumArray");
    for (int i = 1; i <= 300; ++i)
        items.load(patterns, i, QString::number(i));
    EXPECT_EQ(items.upperBound(patterns), 300);
    QList<QAction*> menu = items.menu(QStringLiteral("Drum"))->actions();
    ASSERT_EQ(menu.size(), 301);
    EXPECT_EQ(menu[150], items.action(patterns, 150));

    items.unload(patterns, 120);
    EXPECT_EQ(items.upperBound(patterns), 119);
    EXPECT_EQ(items.action(patterns, 120), nullptr);
    items.load(patterns, 120, QStringLiteral("again"));
    EXPECT_EQ(items.upperBound(patterns), 300);
    const QStringList names = items.names();
    EXPECT_EQ(names.count(QStringLiteral("DrumArray(120)")), 1);
    EXPECT_EQ(names.back(), QStringLiteral("DrumArray(120)"));

    for (int i = 300; i >= 1; --i)
        items.unload(patterns, i);
    EXPECT_EQ(items.upperBound(patterns), 0);
    EXPECT_EQ(items.menu(QStringLiteral("Drum"))->actions().size(), 1);
    EXPECT_FALSE(items.names().contains(QStringLiteral("DrumArray(1)")));
    // Loading grows the array behind its last item.
    QAction* first = items.load(patterns, 1, QStringLiteral("1"));
    menu = items.menu(QStringLiteral("Drum"))->actions();
    EXPECT_EQ(menu.indexOf(first), 1);
}
