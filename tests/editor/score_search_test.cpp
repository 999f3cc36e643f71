#include "app/editor/main_form.h"
#include "app/editor/main_toolbar.h"
#include "app/editor/score_search.h"
#include "app/editor/status_panels.h"
#include "app/frame/process_state.h"
#include "components/search/form_search.h"
#include "platform/midi/recording_sink.h"
#include "platform/settings/program_folder.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tunvale;
using editor::MainForm;
using editor::MainFormServices;

namespace {

class SilentDevices final : public platform::MidiDevices
{
public:
    std::unique_ptr<platform::MidiOut> builtIn() override
    {
        return std::make_unique<platform::RecordingSink>(std::make_shared<platform::MidiRecording>());
    }
    QStringList portNames() override { return {}; }
    std::unique_ptr<platform::MidiOut> port(const QString&) override { return nullptr; }
};

search::FormSearch* searchWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* form = qobject_cast<search::FormSearch*>(w); form && form->isVisible())
            return form;
    }
    return nullptr;
}

// A main window over a user folder whose "vls" holds the samples under Chinese names.
class ScoreSearchTest : public ::testing::Test
{
protected:
    ScoreSearchTest()
    {
        const QString samples = QDir(platform::ProgramFolder::dataDir()).filePath(QStringLiteral("vls"));
        const QDir vls(user_.file(QStringLiteral("vls")));
        QDir().mkpath(vls.path());
        QFile::copy(QDir(samples).filePath("molihua.vls"), vls.filePath(QStringLiteral("茉莉花.vls")));
        QFile::copy(
            QDir(samples).filePath("liangzhilaohu.vls"), vls.filePath(QStringLiteral("两只老虎.vls")));
        QFile::copy(QDir(samples).filePath("xiaoxingxing.vls"), vls.filePath(QStringLiteral("小星星.vls")));
        MainFormServices services;
        services.midiDevices = std::make_unique<SilentDevices>();
        form_ = std::make_unique<MainForm>(std::move(services));
        form_->Form_Load();
        form_->show();
    }

    QAction* menuItem() const { return form_->action(QStringLiteral("InputVls"), 1); }
    QAction* toolbarItem() const { return form_->Toolbar1->dropDownItem(QStringLiteral("搜索并打开...")); }

    tunvale::testing::ScopedUserFolder user_;
    tunvale::testing::ScopedSettingsFolder settings_;
    tunvale::testing::ScopedPrompts prompts_;
    std::unique_ptr<MainForm> form_;
};

} // namespace

TEST_F(ScoreSearchTest, FindsAScoreOfTheUserFolderAndOpensIt)
{
    EXPECT_EQ(editor::ScoreSearchFolder(), user_.file(QStringLiteral("vls")));
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
    EXPECT_EQ(frame::Process().ScoreHeader.CurrentFile, user_.file(QStringLiteral("vls/茉莉花.vls")));
    EXPECT_EQ(form_->StatusBar1->panelText(5), QStringLiteral("小节：1/..."));
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
        form_->close();
    });
    toolbarItem()->trigger();
    EXPECT_EQ(searchWindow(), nullptr);
    EXPECT_EQ(frame::Process().ScoreHeader.CurrentFile, before);
}
