#include "app/drums/bar_strip.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/window/status_panels.h"
#include "app/frame/process_state.h"
#include "tests/editing/score_builder.h"
#include "tests/support/scripted_prompts.h"

#include "platform/richtext/rich_text_edit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::editor;
using namespace tunvale::testing;

namespace {

// The main window with its editing, on a score of a notation line and a lyric line.
struct Window {
    MainForm form;
    platform::RichTextBox& editor = form.editor();

    Window()
    {
        form.Editing = std::make_unique<MainFormEditing>(form);
        FillScore(editor,
            { { kNote, Codes({ kBar, Note(1), Note(2), kBar, Note(3) }) },
                { kSong, QStringLiteral("歌词") } });
        form.Editing->Undo.Reset();
        // The strip shows a bar only when it has a drum record for it, as a loaded score has.
        form.CtrlSlider1->GetValueLong(std::vector<bool>(form.Editing->Undo.XJInteger(), false), 0);
    }
    bool enabled(const QString& name) const { return form.action(name)->isEnabled(); }
    void shortcutThenKey(int key, Qt::KeyboardModifiers modifiers)
    {
        QKeyEvent override(QEvent::ShortcutOverride, key, modifiers);
        QApplication::sendEvent(form.RichTextBox1, &override);
        if (override.isAccepted()) {
            QKeyEvent down(QEvent::KeyPress, key, modifiers);
            QApplication::sendEvent(form.RichTextBox1, &down);
        }
    }
};

} // namespace

TEST(MainFormEditing, UndoItemsFollowTheEngine)
{
    Window w;
    EXPECT_FALSE(w.enabled(QStringLiteral("mnuUnDo")));
    EXPECT_FALSE(w.form.Toolbar1->button(15)->isEnabled());
    w.editor.setSelStart(2);
    w.editor.setSelText(Codes({ Note(5) }));
    w.form.Editing->Undo.FlushSnapshot();
    EXPECT_TRUE(w.enabled(QStringLiteral("mnuUnDo")));
    EXPECT_TRUE(w.enabled(QStringLiteral("UndoAll")));
    EXPECT_TRUE(w.form.Toolbar1->button(15)->isEnabled());
    EXPECT_FALSE(w.enabled(QStringLiteral("mnuRedo")));
    // Ctrl+Z is the editor's key: one press undoes one step, whatever the menu's shortcut.
    w.editor.setSelStart(3);
    w.editor.setSelText(Codes({ Note(6) }));
    w.form.Editing->Undo.FlushSnapshot();
    w.shortcutThenKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.form.Editing->Undo.getUndoCount(), 1);
    EXPECT_TRUE(w.enabled(QStringLiteral("mnuRedo")));
    EXPECT_TRUE(w.form.Toolbar1->button(16)->isEnabled());
    w.form.action(QStringLiteral("UndoAll"))->trigger();
    EXPECT_EQ(w.form.Editing->Undo.getUndoCount(), 0);
    EXPECT_EQ(w.editor.LineText(0).left(5), Codes({ kBar, Note(1), Note(2), kBar, Note(3) }));
    // The grace-note button waits for its dialog.
    EXPECT_FALSE(w.form.Toolbar1->button(42)->isEnabled());
    EXPECT_TRUE(w.form.Toolbar1->button(28)->isEnabled());
}

TEST(MainFormEditing, CaretAndBarPanels)
{
    Window w;
    w.editor.setSelStart(4);
    EXPECT_EQ(w.form.StatusBar1->panelText(4), QStringLiteral("行：1  列：5"));
    EXPECT_EQ(w.form.StatusBar1->panelText(5), QStringLiteral("小节：2/2"));
    EXPECT_EQ(w.form.editorState.LastOnXj, 1);
    EXPECT_EQ(w.form.CtrlSlider1->MyXj(), 1);
    EXPECT_EQ(w.form.editorState.CaretLine, 1);
    EXPECT_TRUE(w.form.editorState.CaretNearLineEnd == false);
    w.editor.setSelStart(5);
    EXPECT_TRUE(w.form.editorState.CaretNearLineEnd);
}

TEST(MainFormEditing, MenusFollowTheCaretLine)
{
    Window w;
    QApplication::clipboard()->clear();
    // A selection on the lyric line.
    w.editor.select(7, 2);
    w.form.Editing->enableEditMenu();
    w.form.Editing->enableInsertMenu();
    w.form.Editing->enableFormatMenu();
    EXPECT_TRUE(w.enabled(QStringLiteral("GCFont")));
    EXPECT_FALSE(w.form.action(QStringLiteral("MunJPline"))->isChecked());
    EXPECT_FALSE(w.enabled(QStringLiteral("M_bhy")));
    EXPECT_FALSE(w.enabled(QStringLiteral("BD")));
    // On the notation line.
    w.editor.setSelStart(2);
    w.form.Editing->enableEditMenu();
    w.form.Editing->enableInsertMenu();
    EXPECT_FALSE(w.enabled(QStringLiteral("GCFont")));
    EXPECT_TRUE(w.form.action(QStringLiteral("MunJPline"))->isChecked());
    EXPECT_TRUE(w.enabled(QStringLiteral("M_bhy")));
    EXPECT_TRUE(w.enabled(QStringLiteral("BD")));
    // The accidental menu inserts at the caret as one step.
    w.form.action(QStringLiteral("MY_bhy"), 0)->trigger();
    EXPECT_EQ(w.editor.LineText(0)[2], QChar(char16_t(0x6226)));
    EXPECT_EQ(w.form.Editing->Undo.getUndoCount(), 1);
}

TEST(MainFormEditing, ToolbarCommandsRewriteAsOneStep)
{
    ScopedPrompts prompts;
    Window w;
    w.editor.select(1, 2);
    w.form.clickToolbarButton(25); // one octave up
    EXPECT_EQ(w.editor.LineText(0).mid(1, 2), Codes({ Note(1) + 4 * 42, Note(2) + 4 * 42 }));
    w.form.clickToolbarButton(28); // slur
    EXPECT_EQ(w.form.Editing->Undo.getUndoCount(), 2);
    EXPECT_EQ(w.form.editorState.NotationCmdBusy, 0);
    w.form.clickToolbarButton(15);
    w.form.clickToolbarButton(15);
    EXPECT_EQ(w.editor.LineText(0).mid(1, 2), Codes({ Note(1), Note(2) }));
    w.editor.setSelStart(9);
    w.form.clickToolbarMenuItem(QStringLiteral("D.C.从头反复记号"));
    EXPECT_EQ(prompts->texts(), QStringList({ QStringLiteral("该记号应插入简谱行。") }));
}

TEST(MainFormEditing, TheNotationOnlyViewHoldsTheNotationLines)
{
    Window w;
    w.form.Editing->ShowLineMarks();
    EXPECT_EQ(w.form.RichTextBox5->box().Text(),
        Codes({ kBar, Note(1), Note(2), kBar, Note(3) }) + QStringLiteral("\r\n      "));
    w.form.action(QStringLiteral("Other"))->trigger();
    EXPECT_TRUE(w.form.action(QStringLiteral("Other"))->isChecked());
}
