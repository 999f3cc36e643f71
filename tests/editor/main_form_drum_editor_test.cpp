#include "app/drums/accompaniment_dialog.h"
#include "app/drums/bar_strip.h"
#include "app/drums/choice_list.h"
#include "app/drums/drum_editor.h"
#include "app/drums/drum_record_mime.h"
#include "app/drums/rap_dialog.h"
#include "app/drums/step_grid.h"
#include "app/drums/template_list.h"
#include "app/editor/parts/main_form_drum_editor.h"
#include "app/editor/parts/main_form_drums.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_playback.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/window/status_panels.h"
#include "app/frame/process_state.h"
#include "platform/richtext/rich_text_edit.h"
#include "tests/editor/window_fixture.h"
#include "tests/tools/bar_line_edits.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using namespace tunvale;
using drums::DrumEditor;
using notation::DrumRecord;
using platform::PromptAnswer;

notation::DrumStores& stores() { return notation::ProcessDrumStores(); }

// The sample score of nine bars, the first eight with drums, in a window with the strip shown; the
// drum editor opened from the strip.
class DrumEditorWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = &window.load(window.sampleScore());
        if (!form->action(QStringLiteral("GroupBar"), 0)->isChecked())
            form->action(QStringLiteral("GroupBar"), 0)->trigger();
        form->resize(1280, 900);
        form->show();
        QCoreApplication::processEvents();
        strip = &form->barStrip();
        drums = &form->part<editor::MainFormDrums>();
        undo = &form->part<editor::MainFormEditing>().undo();
    }
    void TearDown() override
    {
        frame::Process().ScoreHeader.ScoreSaved = true;
        form->hide();
    }

    QPoint at(int bar) const { return strip->labelCentre(strip->labelOfBar(bar)); }
    DrumEditor& openOn(int bar)
    {
        QTest::mouseDClick(strip, Qt::LeftButton, {}, at(bar));
        DrumEditor* editor = form->part<editor::MainFormDrumEditor>().drumEditor();
        EXPECT_TRUE(editor && editor->isOpen());
        return *editor;
    }
    QString hint() const { return form->statusPanels().panelText(editor::StatusPanel::Hint); }
    playback::PlayCommands& play() const { return form->part<editor::MainFormPlayback>().commands(); }

    tunvale::testing::WindowTest window;
    editor::MainForm* form = nullptr;
    drums::BarStrip* strip = nullptr;
    editor::MainFormDrums* drums = nullptr;
    editor::UndoEngine* undo = nullptr;
};

TEST_F(DrumEditorWindow, TheEditorOpensOnABarAndLocksTheWindowUntilItCloses)
{
    DrumEditor& editor = openOn(4);
    EXPECT_EQ(drums->operations().EditedBar, 4);
    EXPECT_EQ(editor.BuildDrumRecord().DrumRhythms, stores().XjDrums[4].DrumRhythms);
    EXPECT_FALSE(form->editorView()->isEnabled());
    EXPECT_FALSE(form->action(QStringLiteral("File"))->isEnabled());
    EXPECT_TRUE(form->toolbar().button(editor::ToolbarButton::Undo)->isEnabled()
        == undo->canUndo()); // the toolbar stays as it was

    // The Insert menu's item on another bar: kept at the question, the editor stays on bar 4.
    undo->setOnXj(6);
    window.prompts->answers = { PromptAnswer::Cancel };
    form->action(QStringLiteral("instrDrum"))->trigger();
    EXPECT_EQ(window.prompts->texts(), QStringList { QStringLiteral("编辑界面有数据，覆盖它？") });
    EXPECT_EQ(drums->operations().EditedBar, 4);
    EXPECT_TRUE(stores().DrumEdit == stores().XjDrums[4]);
    form->action(QStringLiteral("instrDrum"))->trigger(); // OK
    EXPECT_EQ(drums->operations().EditedBar, 6);

    editor.close();
    EXPECT_TRUE(form->editorView()->isEnabled());
    EXPECT_TRUE(form->action(QStringLiteral("File"))->isEnabled());
}

TEST_F(DrumEditorWindow, WhatTheEditorSendsIsOneUndoStepThatComesBackByteForByte)
{
    const notation::DrumStore loaded = stores().XjDrums;
    DrumEditor& editor = openOn(2);
    editor.Label5->setStep(5, 9, true);
    editor.SaveJmD[2]->trigger(); // 原小节
    DrumRecord expected = editor.BuildDrumRecord();
    expected.HaveDrum = 1;
    EXPECT_TRUE(stores().XjDrums[2] == expected);
    EXPECT_FALSE(frame::Process().ScoreHeader.ScoreSaved);
    window.prompts->inputs = { QStringLiteral("9") };
    editor.SaveJmD[3]->trigger(); // 另外小节...
    EXPECT_EQ(stores().XjDrums[8].HaveDrum, 1);
    form->toolbar().button(editor::ToolbarButton::Undo)->trigger();
    form->toolbar().button(editor::ToolbarButton::Undo)->trigger();
    EXPECT_TRUE(stores().XjDrums == loaded);
    EXPECT_FALSE(undo->canUndo());

    // A bar number the score does not have, a cancelled box, a bar undone since the editor opened.
    window.prompts->inputs = { QStringLiteral("10"), std::nullopt };
    editor.SaveJmD[3]->trigger();
    editor.SaveJmD[3]->trigger();
    editor.Text1->clear();
    window.prompts->answers.clear();
    openOn(7);
    ASSERT_TRUE(tunvale::testing::DeleteBars(*form, 5, 2));
    ASSERT_LE(int(stores().XjDrums.size()), 7);
    const int stepsBefore = int(undo->canUndo());
    editor.SaveJmD[2]->trigger();
    EXPECT_EQ(window.prompts->beeps, 3);
    EXPECT_EQ(hint(), QStringLiteral("输入的简谱编号不正确！"));
    EXPECT_EQ(int(undo->canUndo()), stepsBefore);
}

TEST_F(DrumEditorWindow, AnAuditionLendsTheControlsToThePlayUntilItEnds)
{
    DrumEditor& editor = openOn(0);
    // Its end puts the caret back where it was, not where the last play began.
    frame::Process().ScoreHeader.PlaySelStart = 0;
    form->editor().setSelStart(25);
    const int caret = form->editor().SelStart();
    ASSERT_NE(caret, 0);
    editor.CmdAudition->click();
    EXPECT_TRUE(play().PlayBusy());
    EXPECT_EQ(play().mode, playback::PlayMode::PatternAudition);
    EXPECT_FALSE(editor.CmdAudition->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !play().PlayBusy(); }, 10000));
    QTest::qWait(2 * playback::PlayCommands::PlayTimerInterval); // the play timer's last look
    EXPECT_TRUE(editor.CmdAudition->isEnabled());
    EXPECT_EQ(form->editor().SelStart(), caret);

    // Refused while the melody plays: the controls come back at once.
    play().play(0);
    ASSERT_TRUE(play().PlayBusy());
    editor.myDrumList->setCurrentRow(0);
    editor.ModAudition->trigger();
    EXPECT_TRUE(editor.CmdAudition->isEnabled());
    play().stop();

    // Closed meanwhile, the editor takes nothing back, and reopens with its controls.
    editor.CmdAudition->click();
    editor.close();
    play().StopDrumPlay();
    EXPECT_FALSE(editor.isOpen());
    openOn(1);
    EXPECT_TRUE(editor.CmdAudition->isEnabled());
}

TEST_F(DrumEditorWindow, ATemplateDraggedFromTheLibraryOntoABar)
{
    DrumEditor& editor = openOn(0);
    editor.myDrumList->setCurrentRow(3);
    std::unique_ptr<QMimeData> data(
        editor.myDrumList->model()->mimeData({ editor.myDrumList->currentIndex() }));
    QDragEnterEvent enter(at(8), Qt::CopyAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(strip, &enter);
    QDropEvent drop(at(8), Qt::CopyAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(strip, &drop);
    DrumRecord expected = stores().DrumTemplates[3];
    expected.HaveDrum = 1;
    EXPECT_TRUE(stores().XjDrums[8] == expected);
    form->toolbar().button(editor::ToolbarButton::Undo)->trigger();
    EXPECT_EQ(stores().XjDrums[8].HaveDrum, 0);
}

TEST_F(DrumEditorWindow, ThePlayMenuOpensThePercussionSoundAndTheStyles)
{
    QStringList opened;
    const auto closeWhatOpens = [&opened] {
        QTimer::singleShot(0, [&opened] {
            QWidget* modal = QApplication::activeModalWidget();
            opened << (modal ? modal->objectName() : QStringLiteral("none"));
            if (modal)
                modal->close();
        });
    };
    closeWhatOpens();
    form->action(QStringLiteral("RapSet"))->trigger();
    closeWhatOpens();
    form->part<editor::MainFormDrumEditor>().showAccompanimentStyles();
    EXPECT_EQ(opened, (QStringList { QStringLiteral("RAP"), QStringLiteral("SetPZ") }));
    EXPECT_TRUE(frame::Process().ScoreHeader.ScoreSaved);
}

} // namespace
