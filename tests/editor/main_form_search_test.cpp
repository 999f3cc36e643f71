#include "app/editor/window/main_form.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/window/status_panels.h"
#include "app/frame/process_state.h"
#include "app/frame/score_file_commands.h"
#include "components/search/form_search.h"
#include "platform/settings/program_folder.h"
#include "tests/editor/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tunvale;
using tunvale::testing::WindowTest;

namespace {

search::FormSearch* searchWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* form = qobject_cast<search::FormSearch*>(w); form && form->isVisible())
            return form;
    }
    return nullptr;
}

// A main window over a user folder whose "vls" holds the samples under Chinese names.
class ScoreSearchTest : public ::testing::Test, public WindowTest
{
protected:
    ScoreSearchTest()
    {
        const QDir samples(QStringLiteral(TUNVALE_BUILD_DIR "/data/vls"));
        const QDir vls(user.file(QStringLiteral("vls")));
        QDir().mkpath(vls.path());
        QFile::copy(samples.filePath("molihua.vls"), vls.filePath(QStringLiteral("茉莉花.vls")));
        QFile::copy(samples.filePath("liangzhilaohu.vls"), vls.filePath(QStringLiteral("两只老虎.vls")));
        QFile::copy(samples.filePath("xiaoxingxing.vls"), vls.filePath(QStringLiteral("小星星.vls")));
        load().show();
    }

    QAction* menuItem() const { return form->action(QStringLiteral("InputVls"), 1); }
    QAction* toolbarItem() const { return form->toolbar().dropDownItem(QStringLiteral("搜索并打开...")); }
};

} // namespace

TEST_F(ScoreSearchTest, FindsAScoreOfTheUserFolderAndOpensIt)
{
    EXPECT_EQ(frame::ScoreBrowseFolder(), user.file(QStringLiteral("vls")));
    EXPECT_TRUE(menuItem()->isEnabled());
    EXPECT_TRUE(toolbarItem()->isEnabled());

    bool disabledMeanwhile = false;
    QTimer::singleShot(0, [&] {
        search::FormSearch* window = searchWindow();
        ASSERT_NE(window, nullptr);
        disabledMeanwhile = !menuItem()->isEnabled() && !toolbarItem()->isEnabled();
        window->findChild<QLineEdit*>(QStringLiteral("SearchFileText"))->setText(QStringLiteral("茉莉"));
        window->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        window->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    });
    menuItem()->trigger();
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_EQ(frame::Process().ScoreHeader.CurrentFile, user.file(QStringLiteral("vls/茉莉花.vls")));
    EXPECT_EQ(form->statusPanels().panelText(editor::StatusPanel::Bar), QStringLiteral("小节：1/11"));
    EXPECT_TRUE(menuItem()->isEnabled());
    EXPECT_TRUE(toolbarItem()->isEnabled());
}

TEST_F(ScoreSearchTest, ClosingTheMainWindowClosesTheSearchAndOpensNothing)
{
    const QString before = frame::Process().ScoreHeader.CurrentFile;
    QTimer::singleShot(0, [&] {
        search::FormSearch* window = searchWindow();
        ASSERT_NE(window, nullptr);
        window->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        form->close();
    });
    toolbarItem()->trigger();
    EXPECT_EQ(searchWindow(), nullptr);
    EXPECT_EQ(frame::Process().ScoreHeader.CurrentFile, before);
}

TEST_F(ScoreSearchTest, WithoutUserScoresTheSearchStartsInTheSamples)
{
    QDir(user.file(QStringLiteral("vls"))).removeRecursively();
    EXPECT_EQ(
        frame::ScoreBrowseFolder(), QDir(platform::ProgramFolder::dataDir()).filePath(QStringLiteral("vls")));
    EXPECT_TRUE(QFileInfo(user.file(QStringLiteral("vls"))).isDir()); // made on the way
}
