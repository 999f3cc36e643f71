#include "app/editor/parts/main_form_clipboard.h"

#include "app/editor/editing/editor_keyboard.h"
#include "app/editor/editing/font_limit.h"
#include "app/editor/editing/highlight_marks.h"
#include "app/editor/editing/stored_color.h"
#include "app/editor/editing/symbol_run.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_fonts.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/status_panels.h"
#include "app/frame/process_state.h"
#include "platform/desktop/prompts.h"
#include "platform/richtext/rich_text_edit.h"
#include "platform/richtext/rtf_writer.h"

#include <QAction>
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>

namespace tunvale::editor {

namespace {

constexpr int kKeyC = 67;
constexpr int kKeyV = 86;
constexpr int kKeyX = 88;

const QString kResetQuestion = QStringLiteral("执行此操作，之前的撤销和重做将无效。确定执行？");

void setVisible(MainForm& form, std::initializer_list<const char*> names, bool visible)
{
    for (const char* name : names) {
        if (QAction* item = form.action(QString::fromLatin1(name)))
            item->setVisible(visible);
    }
}

} // namespace

bool ClipboardEmpty()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return !data
        || !(data->hasText() || data->hasFormat(QStringLiteral("text/rtf"))
            || data->hasFormat(QStringLiteral("application/rtf")));
}

MainFormClipboard::MainFormClipboard(MainForm& form)
    : MainFormPart(form)
    , showMenu_([](QMenu& menu, const QPoint& at) { menu.exec(at); })
{
    form.connectItem(QStringLiteral("mnuCut"), [this] { cut(); });
    form.connectItem(QStringLiteral("mnuCopy"), [this] { copy(); });
    form.connectItem(QStringLiteral("mnuPaste"), [this] { paste(); });
    form.connectItem(QStringLiteral("mnuSelAll"), [this] { selectAll(); });
    form.connectItem(QStringLiteral("mnuReset"), [this] { resetUndo(); });
    form.connectItem(QStringLiteral("MunJPline"), [this] { switchTypingLine(); });

    platform::RichTextBox& editor = form.editor();
    connect(&editor, &platform::RichTextBox::MouseUp, this, [this](int button) { mouseReleased(button); });
    // Whatever way the text came (the menu, a key, a drop), a refused one is said.
    connect(&editor, &platform::RichTextBox::insertionRefused, this, [](platform::Unshowable why) {
        platform::Prompts::current().information(
            why == platform::Unshowable::TooManyFonts ? kPasteFontsRefused : kPasteRefused);
    });
    // Ctrl+X, C and V act as the menu items, after the editor's own key handlers.
    connect(&editor, &platform::RichTextBox::KeyDown, this, [this](int& KeyCode, int Shift) {
        if (Shift != 2)
            return;
        if (KeyCode == kKeyX)
            cut();
        else if (KeyCode == kKeyC)
            copy();
        else if (KeyCode == kKeyV)
            paste();
        else
            return;
        KeyCode = 0;
    });
    // Cut, copy and paste follow the selection from now on.
    form.part<MainFormEditing>().selectionChanged();
}

void MainFormClipboard::cut()
{
    platform::RichTextBox& editor = form_.editor();
    form_.part<MainFormEditing>().undo().RecordStep([&] { editor.Cut(); });
    form_.editorView()->setFocus();
}

void MainFormClipboard::copy()
{
    form_.editor().Copy();
    form_.editorView()->setFocus();
}

void MainFormClipboard::paste()
{
    platform::RichTextBox& editor = form_.editor();
    form_.part<MainFormEditing>().undo().RecordStep([&] { editor.Paste(); });
    form_.editorView()->ensureCursorVisible();
    form_.editorView()->setFocus();
}

void MainFormClipboard::selectAll()
{
    platform::RichTextBox& editor = form_.editor();
    editor.select(0, editor.TextLength());
    form_.editorView()->verticalScrollBar()->setValue(0);
}

void MainFormClipboard::resetUndo()
{
    const platform::PromptAnswer answer = platform::Prompts::current().ask(
        { kResetQuestion, platform::kProgramTitle, platform::PromptIcon::Information,
            platform::PromptButtons::OkCancel, platform::PromptAnswer::Ok });
    if (answer == platform::PromptAnswer::Ok)
        form_.part<MainFormEditing>().undo().Reset();
}

void MainFormClipboard::mouseReleased(int button)
{
    platform::RichTextBox& editor = form_.editor();
    form_.statusPanels().setPanelText(StatusPanel::FontSize, FontSizePanelText(editor.SelFontSize()));
    MoveCaretBeforeSymbolRun(editor);
    if (button == 1) {
        if (auto* fonts = form_.findPart<MainFormFonts>())
            fonts->applyBrush();
    } else if (button == 2) {
        showEditMenu();
    }
}

void MainFormClipboard::showEditMenu()
{
    form_.part<MainFormEditing>().enableEditMenu();
    setVisible(form_,
        { "mnuUnDo", "mnuRedo", "UndoAll", "RedoAll", "mnuReset", "Line2_1", "Line2_3", "Line2_4" }, false);
    if (showMenu_)
        showMenu_(*form_.menu(QStringLiteral("Edit")), QCursor::pos());
    // The separator under "简谱行" stays hidden from now on, as it always has.
    setVisible(form_,
        { "UndoAll", "RedoAll", "mnuSelAll", "Line2_3", "mnuUnDo", "mnuRedo", "Line2_2", "mnuReset",
            "Line2_4" },
        true);
}

void MainFormClipboard::switchTypingLine()
{
    QAction* item = form_.action(QStringLiteral("MunJPline"));
    const bool notation = !item->isChecked();
    platform::RichTextBox& editor = form_.editor();
    auto& editing = form_.part<MainFormEditing>();
    if (!FontChangeAllowed(editor, editor.SelStart(), 2,
            [&](platform::RunFormat& format) { editing.keyboard().setTypingFont(notation, format); }))
        return;
    item->setChecked(notation);
    editing.undo().RecordStep([&] {
        editor.setSelLength(2);
        // The last paragraph's mark is not the caret's to format: a break gives the line one.
        if (notation && editor.SelStart() == editor.TextLength()) {
            const int end = editor.TextLength();
            editor.setSelText(QStringLiteral("\r\n"));
            editor.select(end, 2);
        }
        editing.keyboard().applyTypingFormat(notation);
        editor.setSelLength(0);
    });
}

void MainFormClipboard::cleanHighlightMarks()
{
    frame::ProcessState& process = frame::Process();
    const bool saved = process.ScoreHeader.ScoreSaved;
    platform::RichTextBox& editor = form_.editor();
    platform::RichContent content = platform::ExtractContent(*editor.document());
    if (ClearHighlightMarks(content) > 0)
        form_.part<MainFormEditing>().undo().ReplaceWholeText(platform::WriteRtf(content));
    platform::RichTextBox& playback = form_.playbackView()->box();
    platform::SetContent(*playback.document(), content);
    playback.select(0, 0);
    editor.select(0, 0);
    form_.showEditingBackground();
    process.ScoreHeader.ScoreSaved = saved;
}

} // namespace tunvale::editor
