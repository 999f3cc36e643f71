#include "tests/editing/score_builder.h"
#include "tests/editor/old_score.h"
#include "tests/editor/window_fixture.h"

#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_score_files.h"
#include "app/frame/process_state.h"

#include <QAction>

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::testing;

namespace {

const QString kQuestion = QStringLiteral("此工具不可重复使用,适用5.2以前版本简谱乱码转换!需要使用吗？");

// The window with an old score of three systems and more drum records than it has bars.
class OldVersionWindow : public WindowTest, public ::testing::Test
{
protected:
    OldVersionWindow()
    {
        load();
        EXPECT_TRUE(form->editor().setTextRTF(old.rtf));
        form->JzRTB(0); // as opening lays the margins on
        undo().Reset();
        frame::Process().ScoreHeader.ScoreSaved = true;
        notation::DrumStore& drums = form->part<editor::MainFormScoreFiles>().XjDrums();
        drums.assign(std::size_t(old.bars) + 4, notation::DrumRecord {});
        drums[1].HaveDrum = 1;
    }

    void convert(platform::PromptAnswer answer)
    {
        prompts->answers.push_back(answer);
        form->action(QStringLiteral("TurnVer"))->trigger();
    }
    editor::UndoEngine& undo() const { return form->part<editor::MainFormEditing>().undo(); }
    notation::DrumStore& drums() const { return form->part<editor::MainFormScoreFiles>().XjDrums(); }

    OldScore old = MakeOldScore(3);
};

} // namespace

// Yes: every old code of the score is converted, in its font, as one undo step that marks the score
// modified; each bar keeps its drum record, the records beyond the bars go. One Undo gives the old text
// and records back.
TEST_F(OldVersionWindow, ConversionIsOneUndoStep)
{
    const QString before = form->editor().TextRTF();
    form->editor().select(5, 3);
    convert(platform::PromptAnswer::Yes);
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text, kQuestion);
    EXPECT_EQ(prompts->shown[0].icon, platform::PromptIcon::Information);
    EXPECT_EQ(prompts->shown[0].buttons, platform::PromptButtons::YesNo);

    EXPECT_EQ(Hex(form->editor().Text()), Hex(old.converted));
    EXPECT_EQ(undo().getUndoCount(), 1);
    EXPECT_FALSE(frame::Process().ScoreHeader.ScoreSaved);
    EXPECT_EQ(form->editor().SelStart(), 5);
    EXPECT_EQ(form->editor().SelLength(), 3);
    EXPECT_EQ(int(drums().size()), old.bars);
    EXPECT_EQ(drums()[1].HaveDrum, 1);

    form->action(QStringLiteral("mnuUnDo"))->trigger();
    EXPECT_EQ(form->editor().TextRTF(), before);
    EXPECT_EQ(int(drums().size()), old.bars + 4);
    EXPECT_EQ(drums()[1].HaveDrum, 1);
}

// No: nothing changes, not even the drum records.
TEST_F(OldVersionWindow, NoChangesNothing)
{
    const QString before = form->editor().TextRTF();
    convert(platform::PromptAnswer::No);
    EXPECT_EQ(form->editor().TextRTF(), before);
    EXPECT_EQ(undo().getUndoCount(), 0);
    EXPECT_TRUE(frame::Process().ScoreHeader.ScoreSaved);
    EXPECT_EQ(int(drums().size()), old.bars + 4);
}

// A score without bar lines has no bar to fit the drum records to: they stay as they are.
TEST_F(OldVersionWindow, AScoreWithoutBarsKeepsItsDrumRecords)
{
    form->editor().setText(QStringLiteral("歌词"));
    undo().Reset();
    convert(platform::PromptAnswer::Yes);
    EXPECT_EQ(undo().XJInteger(), 0);
    EXPECT_EQ(int(drums().size()), old.bars + 4);
}
