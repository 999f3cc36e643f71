#include "components/search/form_search.h"
#include "components/search/search_state.h"
#include "search.h"
#include "tests/search/score_tree.h"
#include "tests/support/scripted_prompts.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace tunvale;
using search::FormSearch;
using search::SearchandOpen;
using tunvale::testing::ScoreTree;

namespace {

// The search window with its controls, as the user sees them.
struct Window {
    explicit Window(FormSearch* form)
        : form(form)
        , text(form->findChild<QLineEdit*>("SearchFileText"))
        , command1(form->findChild<QPushButton*>("Command1"))
        , command2(form->findChild<QPushButton*>("Command2"))
        , list(form->findChild<QListWidget*>("List1"))
        , status(form->findChild<QLabel*>("Panel1"))
        , menu(form->findChild<QMenu*>("Mun"))
    {
    }

    QAction* action(const char* name) const { return form->findChild<QAction*>(name); }
    QStringList entries() const
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    void search(const QString& what)
    {
        text->setText(what);
        command1->click();
    }
    void releaseOverList(Qt::MouseButton button)
    {
        QTest::mouseRelease(list->viewport(), button, {}, QPoint(5, 5));
    }

    FormSearch* form;
    QLineEdit* text;
    QPushButton* command1;
    QPushButton* command2;
    QListWidget* list;
    QLabel* status;
    QMenu* menu;
};

FormSearch* shownWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* form = qobject_cast<FormSearch*>(w); form && form->isVisible())
            return form;
    }
    return nullptr;
}

// Shows the window at `folder` through the component, runs `user` in it once the caller waits, and
// returns what the wait gives back.
QString searchAndOpen(
    const QString& folder, const std::function<void(Window&)>& user, QWidget* owner = nullptr)
{
    SearchandOpen component;
    component.VlsPath(folder);
    component.ShowSearchandOpenForm(owner);
    QTimer::singleShot(0, [&user] {
        FormSearch* form = shownWindow();
        if (!form) {
            ADD_FAILURE() << "no search window";
            return;
        }
        Window window(form);
        user(window);
        // A test that leaves the window open must not hang the run.
        if (QPointer<FormSearch> open = shownWindow()) {
            ADD_FAILURE() << "the search window is still open";
            open->close();
        }
    });
    return component.GetVlsFileName();
}

void closeWindow(Window& w) { w.form->close(); }

const ScoreTree& songs()
{
    static const ScoreTree tree({ "张三.vls", "李四.vls", "啊.vls", "一 二.vls", "曲/长歌.vls", "note.txt" });
    return tree;
}

} // namespace

TEST(FormSearch, LoadsInItsInitialState)
{
    searchAndOpen(songs().root(), [](Window& w) {
        EXPECT_EQ(w.form->windowTitle(), QStringLiteral("搜索打开..."));
        EXPECT_TRUE(w.form->windowFlags() & Qt::Tool);
        EXPECT_EQ(w.status->text(), QStringLiteral("搜索完成后，可用鼠标右击列表框进行歌名排序。"));
        EXPECT_EQ(w.command1->text(), QStringLiteral("开始搜索"));
        EXPECT_FALSE(w.command2->isEnabled());
        EXPECT_TRUE(w.action("HLKG")->isChecked());
        EXPECT_EQ(w.list->count(), 0);
        EXPECT_EQ(w.form->highlightedFolder(), songs().root());
        EXPECT_TRUE(search::searchState().SearchWindowOpen);
        EXPECT_EQ(w.text->font().family(), QStringLiteral("宋体"));
        EXPECT_EQ(w.text->font().pointSizeF(), 12);
        EXPECT_EQ(w.list->font().pointSizeF(), 10.5);
        closeWindow(w);
    });
    EXPECT_FALSE(search::searchState().SearchWindowOpen);

    // A start folder that is missing falls back to the home folder.
    searchAndOpen(songs().path("missing"), [](Window& w) {
        EXPECT_EQ(w.form->highlightedFolder(), QDir::homePath());
        closeWindow(w);
    });
}

TEST(FormSearch, SearchListsNumberedEntriesAndSelectsTheFirst)
{
    searchAndOpen(songs().root(), [](Window& w) {
        w.search(QString());
        EXPECT_EQ(w.entries(),
            QStringList({ "1.一 二.vls", "2.啊.vls", "3.张三.vls", "4.李四.vls", "5.长歌.vls" }));
        EXPECT_EQ(w.form->foundPaths()[4], songs().path("曲/长歌.vls"));

        w.search(QStringLiteral("长"));
        EXPECT_EQ(w.entries(), QStringList({ "1.长歌.vls" }));
        EXPECT_EQ(w.list->currentRow(), 0);
        EXPECT_TRUE(w.list->item(0)->isSelected());
        EXPECT_EQ(w.status->text(), QStringLiteral("../曲/长歌.vls"));
        EXPECT_TRUE(w.command2->isEnabled());
        EXPECT_TRUE(w.command1->isEnabled());

        // Spaces are ignored by default, and kept once the menu item is unchecked.
        w.search(QStringLiteral("一二"));
        EXPECT_EQ(w.entries(), QStringList({ "1.一 二.vls" }));
        w.action("HLKG")->trigger();
        w.search(QStringLiteral("一二"));
        EXPECT_EQ(w.status->text(), QStringLiteral("找到　0　个文件。"));
        closeWindow(w);
    });
}

TEST(FormSearch, SearchWithoutResultsDisablesSearchAndSorting)
{
    searchAndOpen(songs().root(), [](Window& w) {
        w.search(QStringLiteral("nothing"));
        EXPECT_EQ(w.status->text(), QStringLiteral("找到　0　个文件。"));
        EXPECT_EQ(w.list->count(), 0);
        EXPECT_FALSE(w.command1->isEnabled());
        EXPECT_FALSE(w.command2->isEnabled());
        EXPECT_EQ(w.command1->text(), QStringLiteral("开始搜索"));

        w.releaseOverList(Qt::LeftButton);
        EXPECT_FALSE(w.action("SortHZ0")->isEnabled());
        EXPECT_FALSE(w.action("SortHZ1")->isEnabled());

        QTest::keyClick(w.text, Qt::Key_A);
        EXPECT_TRUE(w.command1->isEnabled());
        w.search(QStringLiteral("nothing"));
        w.action("HLKG")->trigger();
        EXPECT_TRUE(w.command1->isEnabled());

        // Enter in the text box searches, also while the button is disabled.
        w.search(QStringLiteral("nothing"));
        w.text->setText(QStringLiteral("张"));
        QTest::keyClick(w.text, Qt::Key_Return);
        EXPECT_EQ(w.entries(), QStringList({ "1.张三.vls" }));
        w.releaseOverList(Qt::LeftButton);
        EXPECT_TRUE(w.action("SortHZ0")->isEnabled());
        closeWindow(w);
    });
}

// A folder the search cannot enter is counted at the status bar's right, and named in its tip.
TEST(FormSearch, FoldersThatCannotBeEnteredAreShown)
{
    ScoreTree tree({ "a.vls" });
    const QString top = tree.addTooDeep();
    searchAndOpen(tree.root(), [&](Window& w) {
        auto* skipped = w.form->findChild<QLabel*>("SkippedFolders");
        EXPECT_FALSE(skipped->isVisible());
        w.search(QString());
        EXPECT_EQ(w.entries(), QStringList { "1.a.vls" });
        EXPECT_TRUE(skipped->isVisible());
        EXPECT_EQ(skipped->text(), QStringLiteral("1 个文件夹无法进入"));
        EXPECT_TRUE(skipped->toolTip().startsWith(top + "/")) << skipped->toolTip().toStdString();
        closeWindow(w);
    });
}

TEST(FormSearch, SortKeepsNamesAndPathsPaired)
{
    searchAndOpen(songs().root(), [](Window& w) {
        w.search(QString());
        w.action("SortHZ0")->trigger();
        EXPECT_EQ(w.status->text(), QStringLiteral("排序完成（多音字以第一个音为准）。"));
        // a, chang (长 is also read zhang), li, yi, zhang
        EXPECT_EQ(w.entries(),
            QStringList({ "1.啊.vls", "2.长歌.vls", "3.李四.vls", "4.一 二.vls", "5.张三.vls" }));
        EXPECT_TRUE(w.action("SortHZ0")->isChecked());
        EXPECT_FALSE(w.action("SortHZ1")->isChecked());
        EXPECT_EQ(w.list->currentRow(), -1);
        for (qsizetype i = 0; i < w.form->foundNames().size(); ++i)
            EXPECT_TRUE(w.form->foundPaths()[i].endsWith("/" + w.form->foundNames()[i]));

        w.action("SortHZ1")->trigger();
        EXPECT_EQ(w.status->text(), QStringLiteral("排序完成（非常用字不参与排序，列最前边）。"));
        // 1, 4, 7 and 7 (by code point), 10 strokes
        EXPECT_EQ(w.entries(),
            QStringList({ "1.一 二.vls", "2.长歌.vls", "3.张三.vls", "4.李四.vls", "5.啊.vls" }));
        EXPECT_TRUE(w.action("SortHZ1")->isChecked());
        EXPECT_FALSE(w.action("SortHZ0")->isChecked());
        for (qsizetype i = 0; i < w.form->foundNames().size(); ++i)
            EXPECT_TRUE(w.form->foundPaths()[i].endsWith("/" + w.form->foundNames()[i]));

        // Nothing is selected, so OK picks nothing.
        w.command2->click();
        EXPECT_TRUE(w.form->isVisible());
        closeWindow(w);
    });
}

TEST(FormSearch, PickReturnsItsPathAndClosingReturnsNothing)
{
    const QString picked = searchAndOpen(songs().root(), [](Window& w) {
        w.search(QStringLiteral("李"));
        // A double click follows a first click on the same entry.
        const QPoint center = w.list->visualItemRect(w.list->item(0)).center();
        QTest::mouseClick(w.list->viewport(), Qt::LeftButton, {}, center);
        QTest::mouseDClick(w.list->viewport(), Qt::LeftButton, {}, center);
    });
    EXPECT_EQ(picked, songs().path("李四.vls"));

    const QString byEnter = searchAndOpen(songs().root(), [](Window& w) {
        w.search(QStringLiteral("张"));
        QTest::keyClick(w.list, Qt::Key_Return);
    });
    EXPECT_EQ(byEnter, songs().path("张三.vls"));

    const QString byButton = searchAndOpen(songs().root(), [](Window& w) {
        w.search(QStringLiteral("啊"));
        w.command2->click();
    });
    EXPECT_EQ(byButton, songs().path("啊.vls"));

    // Closed after an earlier pick: nothing; and the window comes back in its initial state.
    const QString closed = searchAndOpen(songs().root(), [](Window& w) {
        EXPECT_EQ(w.list->count(), 0);
        EXPECT_TRUE(w.action("HLKG")->isChecked());
        EXPECT_FALSE(w.command2->isEnabled());
        closeWindow(w);
    });
    EXPECT_EQ(closed, QString());

    // Without a shown window the wait returns at once.
    SearchandOpen component;
    EXPECT_EQ(component.GetVlsFileName(), QString());
}

TEST(FormSearch, ClosingTheOwnerClosesTheWindow)
{
    QWidget owner;
    owner.show();
    const QString picked = searchAndOpen(
        songs().root(),
        [&owner](Window& w) {
            w.search(QString());
            owner.close();
        },
        &owner);
    EXPECT_EQ(picked, QString());
    EXPECT_EQ(shownWindow(), nullptr);
}

TEST(FormSearch, FontSizesAndUnavailableDevice)
{
    tunvale::testing::ScopedPrompts prompts;
    searchAndOpen(songs().root(), [&prompts](Window& w) {
        w.action("Hsize0")->trigger();
        EXPECT_EQ(w.list->font().pointSizeF(), 16);
        EXPECT_TRUE(w.action("Hsize0")->isChecked());
        w.action("Hsize1")->trigger();
        EXPECT_EQ(w.list->font().pointSizeF(), 9);
        EXPECT_FALSE(w.action("Hsize0")->isChecked());

        auto* drives = w.form->findChild<QComboBox*>("Drive1");
        const int before = drives->currentIndex();
        drives->addItem(QStringLiteral("/no/such/mount"), QStringLiteral("/no/such/mount"));
        drives->setCurrentIndex(drives->count() - 1);
        emit drives->activated(drives->count() - 1);
        EXPECT_EQ(prompts->texts(), QStringList({ "设备不可用!" }));
        EXPECT_EQ(drives->currentIndex(), before);
        EXPECT_EQ(w.form->highlightedFolder(), songs().root());
        closeWindow(w);
    });
}

// The window opens with the start folder selected and in view, however deep it lies and however many
// folders come before it.
TEST(FormSearch, TheStartFolderIsSelectedAndInView)
{
    QTemporaryDir dir;
    QString folder = dir.path();
    for (int depth = 0; depth < 8; ++depth) {
        for (int sibling = 0; sibling < 30; ++sibling)
            QDir(folder).mkdir(QStringLiteral("a%1").arg(sibling, 2, 10, QLatin1Char('0')));
        folder += QStringLiteral("/z%1").arg(depth);
        QDir().mkpath(folder);
    }
    // The second time the folders are known already: no load follows to scroll the tree.
    for (int opening = 0; opening < 2; ++opening) {
        searchAndOpen(folder, [&folder](Window& w) {
            auto* tree = w.form->findChild<QTreeView*>(QStringLiteral("Dir1"));
            QElapsedTimer waited;
            waited.start();
            auto inView = [&] {
                const QModelIndex current = tree->currentIndex();
                return current.isValid() && tree->viewport()->rect().intersects(tree->visualRect(current));
            };
            while (!inView() && waited.elapsed() < 3000)
                QApplication::processEvents(QEventLoop::AllEvents, 20);
            EXPECT_EQ(w.form->highlightedFolder(), folder);
            EXPECT_TRUE(inView());
            closeWindow(w);
        });
    }
}
