#include "app/editor/parts/main_form_editing.h"

#include "app/drums/bar_strip.h"
#include "app/editor/editing/notation_keys.h"
#include "app/editor/parts/main_form_clipboard.h"
#include "app/editor/parts/main_form_symbols.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/window/status_panels.h"
#include "app/frame/process_state.h"
#include "platform/desktop/prompts.h"
#include "platform/richtext/key_translation.h"
#include "platform/richtext/rich_text_edit.h"
#include "platform/richtext/rich_text_lines.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>

namespace tunvale::editor {

namespace {

frame::ProcessState& process() { return frame::Process(); }

UndoHost undoHost(MainForm& form)
{
    return { &process().ScoreHeader, &form.state().LayoutBusy, &form.state().NotationCmdBusy,
        [&form] { form.JzRTB(0); },
        [&form](int left, int right) {
            form.setRulerLeftSpace(left);
            form.setRulerRightSpace(right);
        } };
}

KeyboardHost keyboardHost(MainForm& form)
{
    return { &process().start.NotationFontSize, &process().start.TextFontSize, &form.state().NotationCmdBusy,
        &process().ColorScheme, [&form] { return form.state().CaretNearLineEnd; },
        [&form] { form.commands().run(QStringLiteral("CQSF"), 0); },
        [&form](const QString& text) { form.statusPanels().setPanelText(StatusPanel::FontSize, text); },
        [&form](double size) {
            if (auto* symbols = form.findPart<MainFormSymbols>())
                symbols->followCaretSize(size);
        } };
}

void enable(QAction* action, bool enabled)
{
    if (action)
        action->setEnabled(enabled);
}

} // namespace

MainFormEditing::MainFormEditing(MainForm& form)
    : MainFormPart(form)
    , undo_(form.editor(), undoHost(form))
    , noteCommands_(form.editor(), undo_)
    , keyboard_(form.editor(), undo_, noteCommands_, keyboardHost(form))
    , inputMethodFilter_([this] { return undo_.CaretOnNotationLine(); })
{
    platform::RichTextBox& editor = form.editor();
    connect(&editor, &platform::RichTextBox::KeyDown, this,
        [this](int& KeyCode, int Shift) { keyboard_.KeyDown(KeyCode, Shift); });
    connect(&editor, &platform::RichTextBox::KeyUp, this,
        [this](int& KeyCode, int Shift) { keyboard_.KeyUp(KeyCode, Shift); });
    connect(&editor, &platform::RichTextBox::KeyPress, this,
        [this](int& KeyAscii) { keyboard_.KeyPress(KeyAscii); });
    connect(&editor, &platform::RichTextBox::SelChange, this, &MainFormEditing::selectionChanged);
    connect(&editor, &platform::RichTextBox::typingRefused, this, [](platform::Unshowable why) {
        platform::Prompts::current().information(
            why == platform::Unshowable::TooManyFonts ? kTypingFontsRefused : kTypingRefused);
    });
    connect(&undo_, &UndoEngine::StateChanged, this, &MainFormEditing::undoStateChanged);
    connect(&undo_, &UndoEngine::OnXjChanged, this, &MainFormEditing::barChanged);
    form.editorView()->installEventFilter(this);
    form.editorView()->installEventFilter(&inputMethodFilter_);
    defineCommands();
    connectMenus();
    undoStateChanged();
    selectionChanged();
}

void MainFormEditing::defineCommands()
{
    form_.defineCommand(QStringLiteral("mnuUnDo"), [this](int n) { undo_.undo(n); });
    form_.defineCommand(QStringLiteral("mnuRedo"), [this](int n) { undo_.Redo(n); });
    form_.defineCommand(
        QStringLiteral("ToggleLyricUnderline"), [this](int) { noteCommands_.ToggleLyricUnderline(); });
    form_.defineCommand(QStringLiteral("SetNoteOctave"), [this](int n) { noteCommands_.SetNoteOctave(n); });
    form_.defineCommand(
        QStringLiteral("SetNoteDuration"), [this](int n) { noteCommands_.SetNoteDuration(n); });
    form_.defineCommand(QStringLiteral("ApplySlur"), [this](int n) { noteCommands_.ApplySlur(n); });
    form_.defineCommand(
        QStringLiteral("ApplyRhythmPattern"), [this](int n) { noteCommands_.ApplyRhythmPattern(n); });
    form_.defineCommand(QStringLiteral("MarkTriplet"), [this](int n) { noteCommands_.MarkTriplet(n); });
    form_.defineCommand(QStringLiteral("DoNoteMark"), [this](int n) { noteCommands_.DoNoteMark(n); });
    form_.defineCommand(QStringLiteral("ResetNoteFont"), [this](int) { noteCommands_.ResetNoteFont(); });
    form_.defineCommand(QStringLiteral("ConvertSelChars"), [this](int) { noteCommands_.ConvertSelChars(); });
    form_.defineCommand(QStringLiteral("InsertRepeatSign"),
        [this](int code) { noteCommands_.InsertRepeatSign(QChar(char16_t(code))); });
    form_.defineCommand(
        QStringLiteral("AskRepeatCount"), [this](int) { noteCommands_.InsertRepeatCountSign(); });
}

void MainFormEditing::connectMenus()
{
    form_.connectItem(QStringLiteral("mnuUnDo"), [this] {
        form_.editorView()->setFocus();
        undo_.undo(1);
    });
    form_.connectItem(QStringLiteral("mnuRedo"), [this] { undo_.Redo(1); });
    form_.connectItem(QStringLiteral("UndoAll"), [this] {
        undo_.undo(undo_.getUndoCount());
        form_.JzRTB(0);
    });
    form_.connectItem(QStringLiteral("RedoAll"), [this] { undo_.Redo(undo_.getRedoCount()); });
    form_.connectArray(QStringLiteral("MY_bhy"), [this](int i) { noteCommands_.markAccidental(i); });
    form_.connectArray(QStringLiteral("biandiao"), [this](int i) { noteCommands_.insertKeyChange(i); });
    form_.connectItem(QStringLiteral("Other"), [this] { toggleTiledView(); });
    connect(form_.menu(QStringLiteral("Edit")), &QMenu::aboutToShow, this, &MainFormEditing::enableEditMenu);
    connect(form_.menu(QStringLiteral("My_instr")), &QMenu::aboutToShow, this,
        &MainFormEditing::enableInsertMenu);
    connect(form_.menu(QStringLiteral("FormatJP")), &QMenu::aboutToShow, this,
        &MainFormEditing::enableFormatMenu);
}

bool MainFormEditing::eventFilter(QObject* watched, QEvent* event)
{
    // Undo, redo and Ctrl+D are the editor's own keys, so they act once, through its key handler; an
    // F-key's menu command acts on the text with the pending step taken.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const platform::KeyCode code = platform::TranslateKey(key->key(), key->modifiers());
        if (code.shift == 2 && (code.code == keys::Z || code.code == keys::Y || code.code == keys::D)) {
            event->accept();
            return true;
        }
        if (code.code >= 112 && code.code <= 123)
            undo_.FlushSnapshot();
    }
    return QObject::eventFilter(watched, event);
}

void MainFormEditing::selectionChanged()
{
    platform::RichTextBox& editor = form_.editor();
    const bool selected = editor.SelLength() != 0;
    enable(form_.action(QStringLiteral("mnuCut")), selected);
    enable(form_.action(QStringLiteral("mnuCopy")), selected);
    enable(form_.action(QStringLiteral("mnuPaste")), !ClipboardEmpty());
    EditorState& state = form_.state();
    state.LastSelStart = std::int16_t(editor.SelStart());
    state.LastOnXj = std::int16_t(undo_.OnXj());
    const CaretState caret = ReadCaretState(editor);
    state.CaretLine = std::int16_t(caret.CaretLine);
    state.CaretColumn = std::int16_t(caret.CaretColumn);
    form_.statusPanels().setPanelText(StatusPanel::Caret, CaretPanelText(caret));
    state.CaretNearLineEnd = caret.CaretNearLineEnd;
}

void MainFormEditing::barChanged(int Xj)
{
    form_.barStrip().setMyXj(Xj);
    caretBar_ = Xj;
    showBarPanel();
}

void MainFormEditing::showBarPanel()
{
    form_.statusPanels().setPanelText(StatusPanel::Bar, BarPanelText(caretBar_, undo_.XJInteger()));
}

void MainFormEditing::showFontSizePanel()
{
    form_.statusPanels().setPanelText(StatusPanel::FontSize, FontSizePanelText(form_.editor().SelFontSize()));
}

void MainFormEditing::undoStateChanged()
{
    const bool undo = undo_.canUndo();
    const bool redo = undo_.canRedo();
    enable(form_.action(QStringLiteral("mnuUnDo")), undo);
    enable(form_.toolbar().button(ToolbarButton::Undo), undo);
    enable(form_.action(QStringLiteral("UndoAll")), undo);
    enable(form_.action(QStringLiteral("mnuRedo")), redo);
    enable(form_.toolbar().button(ToolbarButton::Redo), redo);
    enable(form_.action(QStringLiteral("RedoAll")), redo);
    // Every step, undo, redo and open lands here: the bar count and the size may have changed.
    showBarPanel();
    showFontSizePanel();
}

void MainFormEditing::enableEditMenu()
{
    const bool selected = !form_.editor().SelText().isEmpty();
    enable(form_.action(QStringLiteral("mnuCopy")), selected);
    enable(form_.action(QStringLiteral("mnuCut")), selected);
    enable(form_.action(QStringLiteral("mnuPaste")), !ClipboardEmpty());
    enable(form_.action(QStringLiteral("mnuReset")),
        form_.action(QStringLiteral("mnuUnDo"))->isEnabled()
            || form_.action(QStringLiteral("mnuRedo"))->isEnabled());
    const bool jp = IsJpLine(undo_.LineTable(), form_.state().CaretLine - 1);
    for (const QString& name : { QStringLiteral("InstrSpace(0)"), QStringLiteral("InstrSpace(1)"),
             QStringLiteral("instrZJX(0)"), QStringLiteral("instrZJX(1)"), QStringLiteral("instrDrum") })
        enable(form_.action(name), jp);
    QAction* notationTyping = form_.action(QStringLiteral("MunJPline"));
    notationTyping->setChecked(jp);
    enable(form_.action(QStringLiteral("GCFont")), selected && !jp);
    const QString caretLine = platform::GetRtbLine(form_.editor(), form_.state().CaretLine);
    enable(notationTyping, caretLine.size() <= 2);
}

void MainFormEditing::enableInsertMenu()
{
    const bool jp = IsJpLine(undo_.LineTable(), form_.state().CaretLine - 1);
    for (const QString& name :
        { QStringLiteral("BD"), QStringLiteral("M_bhy"), QStringLiteral("pf"), QStringLiteral("SB1"),
            QStringLiteral("sd"), QStringLiteral("huayin(0)"), QStringLiteral("huayin(1)"),
            QStringLiteral("JPyy"), QStringLiteral("InstrHQF"), QStringLiteral("Drum") })
        enable(form_.action(name), jp);
}

void MainFormEditing::enableFormatMenu()
{
    const bool jp = IsJpLine(undo_.LineTable(), form_.state().CaretLine - 1);
    for (const QString& name :
        { QStringLiteral("BY"), QStringLiteral("Dyjh"), QStringLiteral("instrZy"), QStringLiteral("HY"),
            QStringLiteral("YYY"), QStringLiteral("instrCy"), QStringLiteral("KillFormat") })
        enable(form_.action(name), jp);
}

void MainFormEditing::toggleTiledView()
{
    QAction* tiled = form_.action(QStringLiteral("Other"));
    tiled->setChecked(!tiled->isChecked());
    form_.applyLayout();
    if (tiled->isChecked())
        ShowLineMarks();
    form_.tiledViewBox()->setVisible(tiled->isChecked());
}

void MainFormEditing::ShowLineMarks()
{
    platform::RichTextBox& tiled = form_.tiledView()->box();
    tiled.setText(QString());
    QPalette palette = form_.tiledView()->palette();
    palette.setColor(QPalette::Base, form_.editorView()->palette().color(QPalette::Base));
    form_.tiledView()->setPalette(palette);
    platform::RichTextBox& mirror = form_.mirror();
    for (const LineInfo& line : undo_.LineTable()) {
        if (!line.IsJpLine)
            continue;
        mirror.select(line.LineStart, line.LineLen);
        tiled.setSelStart(tiled.TextLength());
        tiled.setSelRTF(mirror.SelRTF());
    }
    tiled.setSelStart(tiled.TextLength());
    tiled.setSelText(QStringLiteral("      "));
}

void MainFormEditing::recolourLines(bool IsJP) { undo_.JpColor(process().ColorScheme, IsJP); }

} // namespace tunvale::editor
