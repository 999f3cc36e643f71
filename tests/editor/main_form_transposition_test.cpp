#include "tests/keyshift/keyshift_text.h"
#include "tests/support/fake_devices.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_score_files.h"
#include "app/editor/window/main_form.h"
#include "app/frame/process_state.h"
#include "components/keyshift/transposer.h"

#include <QAction>

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::testing;

namespace {

const QString kRangeMessage = QStringLiteral("注意：有音符超出能表示的音域范围，本次转换被忽略。");

// A loaded main window whose undo flushes are recorded as the text they see.
class TransposeWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The template, whatever score a test before this one left named.
        frame::Process().ScoreHeader.CurrentFile.clear();
        editor::MainFormServices services;
        services.midiDevices = std::make_unique<tunvale::testing::FakeDevices>();
        form = std::make_unique<editor::MainForm>(std::move(services));
        ASSERT_TRUE(form->load());
    }
    void TearDown() override { form.reset(); }

    QAction* item(int index) const { return form->action(QStringLiteral("mYD"), index); }
    std::vector<bool> checks() const
    {
        return { item(0)->isChecked(), item(1)->isChecked(), item(2)->isChecked(), item(3)->isChecked() };
    }
    // The items a menu draws with a check box.
    std::vector<bool> boxes() const
    {
        return { item(0)->isCheckable(), item(1)->isCheckable(), item(2)->isCheckable(),
            item(3)->isCheckable() };
    }
    bool& saved() const { return frame::Process().ScoreHeader.ScoreSaved; }
    editor::UndoEngine& undo() const { return form->part<editor::MainFormEditing>().undo(); }
    bool open(const QString& file) const
    {
        return form->part<editor::MainFormScoreFiles>().OpenStartScore(file);
    }

    ScopedUserFolder user;
    ScopedSettingsFolder settings;
    ScopedPrompts prompts;
    std::unique_ptr<editor::MainForm> form;
};

} // namespace

// "+2" and then "-1" on a sample score: each replaces the score with the transposer's text as one undo
// step, marks the score modified and moves the check mark. The items are commands: none is drawn as a
// check box but the step applied last, which carries the mark.
TEST_F(TransposeWindow, StepsReplaceTheScoreAsOneUndoStep)
{
    ASSERT_TRUE(open(QStringLiteral(TUNVALE_SOURCE_DIR "/data/vls/molihua.vls")));
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(item(i)->isEnabled()) << i;
    EXPECT_EQ(boxes(), std::vector<bool>(4, false));

    struct Step {
        int index;
        int semitones;
    };
    for (const Step step : { Step { 0, 2 }, Step { 3, -1 } }) {
        const QString before = form->editor().TextRTF();
        saved() = true;
        const int steps = undo().getUndoCount();
        item(step.index)->trigger();
        const QString after = form->editor().TextRTF();
        EXPECT_NE(after, before);
        ScriptedPrompts direct;
        EXPECT_EQ(Glyphs(after), Glyphs(keyshift::TransposeRtf(before, step.semitones, direct).rtf));
        EXPECT_EQ(undo().getUndoCount(), steps + 1);
        EXPECT_FALSE(saved());
        std::vector<bool> expected(4, false);
        expected[size_t(step.index)] = true;
        EXPECT_EQ(checks(), expected);
        EXPECT_EQ(boxes(), expected);
    }
    EXPECT_TRUE(prompts->shown.empty());
}

// A note at the top of the highest row: the message once, the score byte-identical and unmodified,
// no undo step; the check mark moves all the same.
TEST_F(TransposeWindow, ARefusedStepChangesNothingButTheCheckMark)
{
    ASSERT_TRUE(
        form->editor().setTextRTF(ScoreRtf({ { T("title") }, { N(QString(Note(7, 6)) + Note(1)) } })));
    const QString before = form->editor().TextRTF();
    saved() = true;
    undo().FlushSnapshot();
    const int steps = undo().getUndoCount();
    item(2)->trigger();
    EXPECT_EQ(form->editor().TextRTF(), before);
    EXPECT_TRUE(saved());
    EXPECT_EQ(undo().getUndoCount(), steps);
    EXPECT_EQ(prompts->texts(), QStringList({ kRangeMessage }));
    EXPECT_EQ(checks(), std::vector<bool>({ false, false, true, false }));

    // The same transposer takes the next step that fits.
    item(1)->trigger();
    EXPECT_NE(form->editor().TextRTF(), before);
    EXPECT_EQ(prompts->texts().size(), 1);
}

// With the window's undo engine: one Undo takes a transposition back byte for byte, and text typed
// just before it is a step of its own that the next Undo takes.
TEST_F(TransposeWindow, UndoTakesTheTranspositionBackAsOneStep)
{
    ASSERT_TRUE(open(QStringLiteral(TUNVALE_SOURCE_DIR "/data/vls/molihua.vls")));
    const QString opened = form->editor().TextRTF();
    form->editor().setSelStart(0);
    form->editor().setSelText(QStringLiteral("x"));
    const QString typed = form->editor().TextRTF();
    ASSERT_NE(typed, opened);

    item(0)->trigger();
    ASSERT_NE(form->editor().TextRTF(), typed);
    form->action(QStringLiteral("mnuUnDo"))->trigger();
    EXPECT_EQ(form->editor().TextRTF(), typed);
    form->action(QStringLiteral("mnuUnDo"))->trigger();
    EXPECT_EQ(form->editor().TextRTF(), opened);
}
