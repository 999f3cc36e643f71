#include "app/editor/parts/main_form_score_files.h"
#include "app/editor/window/main_form.h"
#include "app/frame/process_state.h"
#include "app/frame/recent_files.h"
#include "app/frame/score_file_commands.h"
#include "app/frame/start_args.h"
#include "app/frame/write_vls.h"
#include "app/notation/play_order.h"
#include "platform/richtext/rich_text_edit.h"
#include "platform/settings/program_folder.h"
#include "tests/editor/window_fixture.h"
#include "tests/support/fake_devices.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>

#include <gtest/gtest.h>

using namespace tunvale;

namespace {

editor::MainFormServices silentServices()
{
    editor::MainFormServices services;
    services.midiDevices = std::make_unique<tunvale::testing::FakeDevices>();
    return services;
}

QString sample(const QString& name)
{
    return frame::ScorePathKey(
        QDir(platform::ProgramFolder::dataDir()).filePath(QStringLiteral("vls/") + name));
}

} // namespace

TEST(MainFormScoreFiles, TheStartScoreOpensRegisteredAndInTheRecentItems)
{
    tunvale::testing::ScopedUserFolder user;
    tunvale::testing::ScopedSettingsFolder settings;
    tunvale::testing::ScopedPrompts prompts;
    frame::Process().ScoreHeader = {};
    frame::Process().start = {};
    frame::Process().ScoreHeader.CurrentFile = sample(QStringLiteral("molihua.vls"));
    {
        editor::MainForm form(silentServices());
        ASSERT_TRUE(form.load());
        editor::MainFormScoreFiles& files = form.part<editor::MainFormScoreFiles>();
        EXPECT_TRUE(prompts->texts().isEmpty()) << prompts->texts().join(u'|').toStdString();
        EXPECT_EQ(frame::Process().ScoreHeader.CurrentFile, sample(QStringLiteral("molihua.vls")));
        EXPECT_FALSE(form.editor().Text().isEmpty());
        EXPECT_TRUE(frame::Process().ScoreHeader.ScoreSaved);
        EXPECT_EQ(files.commands().services().registry.FindFileWindow(sample(QStringLiteral("molihua.vls"))),
            files.commands().services().ownId);
        form.menu(QStringLiteral("File"))->aboutToShow();
        EXPECT_EQ(form.action(QStringLiteral("mLastFile"), 0)->text(),
            QStringLiteral("&1 ") + sample(QStringLiteral("molihua.vls")));
        EXPECT_EQ(form.action(QStringLiteral("mLastFile"), 0)->data().toString(),
            sample(QStringLiteral("molihua.vls")));
        EXPECT_TRUE(form.action(QStringLiteral("SaveVls"))->isEnabled());
        EXPECT_TRUE(form.action(QStringLiteral("InputVls(1)"))->isEnabled());
        form.close();
    }
    // The window closed: so did its entry.
    EXPECT_EQ(frame::OpenScoreRegistry().FindFileWindow(sample(QStringLiteral("molihua.vls"))), 0);
}

// 4,000 lines at 1638 points stand taller than the window's layout can count: the score is refused at
// open with a message, and the window keeps its score as it was.
TEST(MainFormScoreFiles, AScoreTooTallToShowIsRefusedAndTheWindowKeepsItsScore)
{
    tunvale::testing::WindowTest t;
    editor::MainForm& form = t.load();
    form.show();
    const QString text = form.editor().Text();
    const QString untitled = frame::Process().ScoreHeader.CurrentFile;
    notation::ScoreHeader header;
    header.CurrentFile = frame::ScorePathKey(t.user.file(QStringLiteral("tall.vls")));
    const QByteArray rtf = "{\\rtf1 " + QByteArray("\\fs3276 1\\par ").repeated(4000) + "}";
    ASSERT_TRUE(frame::WriteVls(header, {}, rtf, {}, notation::PlayOrder {}));

    form.part<editor::MainFormScoreFiles>().commands().OpenVls(header.CurrentFile);
    EXPECT_EQ(t.prompts->texts(),
        QStringList { frame::CannotOpenText(header.CurrentFile, frame::kTallTextReason) });
    EXPECT_EQ(form.editor().Text(), text);
    EXPECT_EQ(frame::Process().ScoreHeader.CurrentFile, untitled);
}
