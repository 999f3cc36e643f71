#include "app/dialogs/print_preview_window.h"
#include "app/drums/bar_strip.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_output.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/window/status_panels.h"
#include "app/frame/process_state.h"
#include "tests/editing/score_builder.h"
#include "tests/editor/window_fixture.h"
#include "tests/support/scripted_prompts.h"

#include "platform/richtext/rich_text_edit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
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
        form.addPart<MainFormEditing>();
        FillScore(editor,
            { { kNote, Codes({ kBar, Note(1), Note(2), kBar, Note(3) }) },
                { kSong, QStringLiteral("歌词") } });
        form.part<editor::MainFormEditing>().undo().Reset();
        // The strip shows a bar only when it has a drum record for it, as a loaded score has.
        form.barStrip().GetValueLong(
            std::vector<bool>(form.part<editor::MainFormEditing>().undo().XJInteger(), false), 0);
    }
    bool enabled(const QString& name) const { return form.action(name)->isEnabled(); }
    void shortcutThenKey(int key, Qt::KeyboardModifiers modifiers)
    {
        QKeyEvent override(QEvent::ShortcutOverride, key, modifiers);
        QApplication::sendEvent(form.editorView(), &override);
        if (override.isAccepted()) {
            QKeyEvent down(QEvent::KeyPress, key, modifiers);
            QApplication::sendEvent(form.editorView(), &down);
        }
    }
};

} // namespace

TEST(MainFormEditing, UndoItemsFollowTheEngine)
{
    Window w;
    EXPECT_FALSE(w.enabled(QStringLiteral("mnuUnDo")));
    EXPECT_FALSE(w.form.toolbar().button(15)->isEnabled());
    w.editor.setSelStart(2);
    w.editor.setSelText(Codes({ Note(5) }));
    w.form.part<editor::MainFormEditing>().undo().FlushSnapshot();
    EXPECT_TRUE(w.enabled(QStringLiteral("mnuUnDo")));
    EXPECT_TRUE(w.enabled(QStringLiteral("UndoAll")));
    EXPECT_TRUE(w.form.toolbar().button(15)->isEnabled());
    EXPECT_FALSE(w.enabled(QStringLiteral("mnuRedo")));
    // Ctrl+Z is the editor's key: one press undoes one step, whatever the menu's shortcut.
    w.editor.setSelStart(3);
    w.editor.setSelText(Codes({ Note(6) }));
    w.form.part<editor::MainFormEditing>().undo().FlushSnapshot();
    w.shortcutThenKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.form.part<editor::MainFormEditing>().undo().getUndoCount(), 1);
    EXPECT_TRUE(w.enabled(QStringLiteral("mnuRedo")));
    EXPECT_TRUE(w.form.toolbar().button(16)->isEnabled());
    w.form.action(QStringLiteral("UndoAll"))->trigger();
    EXPECT_EQ(w.form.part<editor::MainFormEditing>().undo().getUndoCount(), 0);
    EXPECT_EQ(w.editor.LineText(0).left(5), Codes({ kBar, Note(1), Note(2), kBar, Note(3) }));
    EXPECT_TRUE(w.form.toolbar().button(42)->isEnabled());
    EXPECT_TRUE(w.form.toolbar().button(28)->isEnabled());
}

TEST(MainFormEditing, CaretAndBarPanels)
{
    Window w;
    w.editor.setSelStart(4);
    EXPECT_EQ(w.form.statusPanels().panelText(editor::StatusPanel::Caret), QStringLiteral("行：1  列：5"));
    EXPECT_EQ(w.form.statusPanels().panelText(editor::StatusPanel::Bar), QStringLiteral("小节：2/2"));
    EXPECT_EQ(w.form.state().LastOnXj, 1);
    EXPECT_EQ(w.form.barStrip().MyXj(), 1);
    EXPECT_EQ(w.form.state().CaretLine, 1);
    EXPECT_TRUE(w.form.state().CaretNearLineEnd == false);
    w.editor.setSelStart(5);
    EXPECT_TRUE(w.form.state().CaretNearLineEnd);
}

TEST(MainFormEditing, MenusFollowTheCaretLine)
{
    Window w;
    QApplication::clipboard()->clear();
    // A selection on the lyric line.
    w.editor.select(7, 2);
    w.form.part<editor::MainFormEditing>().enableEditMenu();
    w.form.part<editor::MainFormEditing>().enableInsertMenu();
    w.form.part<editor::MainFormEditing>().enableFormatMenu();
    EXPECT_TRUE(w.enabled(QStringLiteral("GCFont")));
    EXPECT_FALSE(w.form.action(QStringLiteral("MunJPline"))->isChecked());
    EXPECT_FALSE(w.enabled(QStringLiteral("M_bhy")));
    EXPECT_FALSE(w.enabled(QStringLiteral("BD")));
    // On the notation line.
    w.editor.setSelStart(2);
    w.form.part<editor::MainFormEditing>().enableEditMenu();
    w.form.part<editor::MainFormEditing>().enableInsertMenu();
    EXPECT_FALSE(w.enabled(QStringLiteral("GCFont")));
    EXPECT_TRUE(w.form.action(QStringLiteral("MunJPline"))->isChecked());
    EXPECT_TRUE(w.enabled(QStringLiteral("M_bhy")));
    EXPECT_TRUE(w.enabled(QStringLiteral("BD")));
    // The accidental menu inserts at the caret as one step.
    w.form.action(QStringLiteral("MY_bhy"), 0)->trigger();
    EXPECT_EQ(w.editor.LineText(0)[2], QChar(char16_t(0x6226)));
    EXPECT_EQ(w.form.part<editor::MainFormEditing>().undo().getUndoCount(), 1);
}

TEST(MainFormEditing, ToolbarCommandsRewriteAsOneStep)
{
    ScopedPrompts prompts;
    Window w;
    w.editor.select(1, 2);
    w.form.toolbar().button(25)->trigger(); // one octave up
    EXPECT_EQ(w.editor.LineText(0).mid(1, 2), Codes({ Note(1) + 4 * 42, Note(2) + 4 * 42 }));
    w.form.toolbar().button(28)->trigger(); // slur
    EXPECT_EQ(w.form.part<editor::MainFormEditing>().undo().getUndoCount(), 2);
    EXPECT_FALSE(w.form.state().NotationCmdBusy);
    w.form.toolbar().button(15)->trigger();
    w.form.toolbar().button(15)->trigger();
    EXPECT_EQ(w.editor.LineText(0).mid(1, 2), Codes({ Note(1), Note(2) }));
    w.editor.setSelStart(9);
    w.form.toolbar().dropDownItem(QStringLiteral("D.C.从头反复记号"))->trigger();
    EXPECT_EQ(prompts->texts(), QStringList({ QStringLiteral("该记号应插入简谱行。") }));
}

TEST(MainFormEditing, TheNotationOnlyViewHoldsTheNotationLines)
{
    Window w;
    w.form.part<editor::MainFormEditing>().ShowLineMarks();
    EXPECT_EQ(w.form.tiledView()->box().Text(),
        Codes({ kBar, Note(1), Note(2), kBar, Note(3) }) + QStringLiteral("\r\n      "));
    w.form.action(QStringLiteral("Other"))->trigger();
    EXPECT_TRUE(w.form.action(QStringLiteral("Other"))->isChecked());
}

// A character that no notation key makes, typed by another keyboard layout, a tool or an input method,
// stays out of a notation line with the input-method message and no undo step; a lyric line takes it.
TEST(MainFormEditing, TextNoNotationKeyMakesStaysOutOfNotationLines)
{
    ScopedPrompts prompts;
    Window w;
    editor::UndoEngine& undo = w.form.part<editor::MainFormEditing>().undo();
    const QString message = QStringLiteral("请在纯英文状态下输入简谱(建议用小键盘输入)，完成后再录入歌词。");
    const auto type = [&](int key, const QString& text) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(w.form.editorView(), &down);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(w.form.editorView(), &up);
        undo.FlushSnapshot();
    };
    const QString score = w.editor.Text();
    const int lyricLine = int(score.indexOf(QStringLiteral("歌词")));
    for (const auto& [key, text] : { std::pair { 0x597D, QStringLiteral("好") },
             std::pair { int(Qt::Key_Eacute), QStringLiteral("é") } }) {
        prompts->shown.clear();
        w.editor.setSelStart(2);
        type(key, text);
        EXPECT_EQ(w.editor.Text(), score) << text.toStdString();
        EXPECT_EQ(prompts->texts(), QStringList { message }) << text.toStdString();
        EXPECT_EQ(prompts->shown.front().icon, platform::PromptIcon::Information);
        EXPECT_EQ(undo.getUndoCount(), 0) << text.toStdString();
    }

    prompts->shown.clear();
    w.editor.setSelStart(2);
    QInputMethodEvent commit(QString(), {});
    commit.setCommitString(QStringLiteral("好"));
    QApplication::sendEvent(w.form.editorView(), &commit);
    EXPECT_EQ(w.editor.Text(), score);
    EXPECT_EQ(prompts->texts(), QStringList { message });

    prompts->shown.clear();
    w.editor.setSelStart(lyricLine);
    type(0x597D, QStringLiteral("好"));
    type(int(Qt::Key_Eacute), QStringLiteral("é"));
    EXPECT_TRUE(w.editor.Text().contains(QStringLiteral("好é歌词")));
    EXPECT_TRUE(prompts->shown.empty());
}

// On a sample of nine bar lines, after each command the bar panel shows the caret's bar and the bar
// count: the open, a paste of a bar, the removal of a bar line ahead of the caret with its undo and
// redo, the preview, and an open that another window takes; the size panel after scaling by 150 %.
TEST(MainFormEditing, StatusPanelsShowTheStateAfterEveryCommand)
{
    WindowTest t;
    const QString other = t.sampleScore(QStringLiteral("molihua.vls"));
    editor::MainFormServices services = FakeServices();
    services.scoreFiles.fileDialog = [&](const platform::FileDialogRequest&, bool) { return other; };
    services.scoreFiles.program = QStringLiteral("/bin/true");
    frame::Process().ScoreHeader.CurrentFile = t.sampleScore();
    t.form = std::make_unique<MainForm>(std::move(services));
    ASSERT_TRUE(t.form->load());
    MainForm& form = *t.form;
    platform::RichTextBox& editor = form.editor();
    UndoEngine& undo = form.part<MainFormEditing>().undo();
    const auto bars = [&] { return form.statusPanels().panelText(StatusPanel::Bar); };
    const auto state = [&] { return BarPanelText(undo.OnXj(), undo.XJInteger()); };
    EXPECT_EQ(bars(), QStringLiteral("小节：1/9"));

    // The first notation line: four notes and a bar line, four notes and a bar line ...
    const int line = editor.LineIndex(2);
    const QChar barLine(char16_t(0x6352));
    ASSERT_EQ(editor.Text()[line + 4], barLine);
    editor.select(line, 5);
    form.action(QStringLiteral("mnuCopy"))->trigger();
    editor.setSelStart(line + 5);
    form.action(QStringLiteral("mnuPaste"))->trigger();
    EXPECT_EQ(undo.XJInteger(), 10);
    EXPECT_EQ(bars(), state());

    editor.setSelStart(line + 11);
    const int ahead = int(editor.Text().indexOf(barLine, line + 11));
    undo.RecordStep([&] {
        editor.select(ahead, 1);
        editor.setSelText(QString());
    });
    EXPECT_EQ(undo.XJInteger(), 9);
    EXPECT_EQ(bars(), state());
    form.action(QStringLiteral("mnuUnDo"))->trigger();
    EXPECT_EQ(bars(), state());
    form.action(QStringLiteral("mnuRedo"))->trigger();
    EXPECT_EQ(undo.XJInteger(), 9);
    EXPECT_EQ(bars(), state());

    form.action(QStringLiteral("PrintPreview1"))->trigger();
    form.part<MainFormOutput>().preview()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(bars(), state());

    form.action(QStringLiteral("InputVls(0)"))->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(bars(), state());

    editor.select(line, 1);
    form.dialogResults().FontScalePercent = QStringLiteral("150");
    form.commands().run(QStringLiteral("CQSF"), 0);
    EXPECT_EQ(form.statusPanels().panelText(StatusPanel::FontSize), QStringLiteral("字号:48"));
}

// The caret, bar and size panels are as wide as their texts, also past the widths they start with and
// in a window too narrow for every panel's width.
TEST(MainFormEditing, StatusPanelTextsFit)
{
    Window w;
    w.form.resize(1000, 720);
    w.form.show();
    StatusPanels& panels = w.form.statusPanels();
    panels.setPanelText(StatusPanel::Bar, BarPanelText(99, 1000));
    panels.setPanelText(StatusPanel::Caret, CaretPanelText({ 1000, 1000, false }));
    panels.setPanelText(StatusPanel::FontSize, FontSizePanelText(1637.5));
    QCoreApplication::processEvents();
    for (const StatusPanel number : { StatusPanel::Caret, StatusPanel::Bar, StatusPanel::FontSize }) {
        const QLabel* label = panels.panel(number);
        EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(label->text()))
            << label->text().toStdString();
    }
}
