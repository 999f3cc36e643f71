#include "app/editor/parts/main_form_editing.h"

#include "app/drums/bar_strip.h"
#include "app/editor/actions/build_gate.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/editing/notation_keys.h"
#include "app/editor/window/status_panels.h"
#include "app/frame/process_state.h"
#include "platform/richtext/key_translation.h"
#include "platform/richtext/rich_text_edit.h"
#include "platform/richtext/rich_text_lines.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>

namespace tunvale::editor {

namespace {

frame::ProcessState& process() { return frame::Process(); }

UndoHost undoHost(MainForm& form)
{
    return { &process().ScoreHeader, &form.editorState.LayoutBusy, &form.editorState.NotationCmdBusy,
        [&form] { form.JzRTB(0); },
        [&form](int left, int right) {
            form.setRulerLeftSpace(left);
            form.setRulerRightSpace(right);
        } };
}

KeyboardHost keyboardHost(MainForm& form)
{
    return { &process().start.NotationFontSize, &process().start.TextFontSize,
        &form.editorState.NotationCmdBusy, &process().ColorScheme,
        [&form] { return form.editorState.CaretNearLineEnd; },
        [&form] { form.commands().run(QStringLiteral("CQSF"), 0); },
        [&form](const QString& text) { form.StatusBar1->setPanelText(8, text); } };
}

void enable(QAction* action, bool enabled)
{
    if (action)
        action->setEnabled(enabled);
}

} // namespace

MainFormEditing::MainFormEditing(MainForm& form)
    : Undo(form.editor(), undoHost(form))
    , Commands(form.editor(), Undo)
    , Keyboard(form.editor(), Undo, Commands, keyboardHost(form))
    , form_(form)
    , inputMethodFilter_([this] { return Undo.CaretOnNotationLine(); })
{
    platform::RichTextBox& editor = form.editor();
    connect(&editor, &platform::RichTextBox::KeyDown, this,
        [this](int& KeyCode, int Shift) { Keyboard.KeyDown(KeyCode, Shift); });
    connect(&editor, &platform::RichTextBox::KeyUp, this,
        [this](int& KeyCode, int Shift) { Keyboard.KeyUp(KeyCode, Shift); });
    connect(&editor, &platform::RichTextBox::SelChange, this, &MainFormEditing::selectionChanged);
    connect(&Undo, &UndoEngine::StateChanged, this, &MainFormEditing::undoStateChanged);
    connect(&Undo, &UndoEngine::OnXjChanged, this, &MainFormEditing::barChanged);
    form.RichTextBox1->installEventFilter(this);
    form.RichTextBox1->installEventFilter(&inputMethodFilter_);
    defineCommands();
    connectMenus();
    undoStateChanged();
    selectionChanged();
}

void MainFormEditing::defineCommands()
{
    form_.defineCommand(QStringLiteral("mnuUnDo"), [this](int n) { Undo.undo(n); });
    form_.defineCommand(QStringLiteral("mnuRedo"), [this](int n) { Undo.Redo(n); });
    form_.defineCommand(
        QStringLiteral("ToggleLyricUnderline"), [this](int) { Commands.ToggleLyricUnderline(); });
    form_.defineCommand(QStringLiteral("SetNoteOctave"), [this](int n) { Commands.SetNoteOctave(n); });
    form_.defineCommand(QStringLiteral("SetNoteDuration"), [this](int n) { Commands.SetNoteDuration(n); });
    form_.defineCommand(QStringLiteral("ApplySlur"), [this](int n) { Commands.ApplySlur(n); });
    form_.defineCommand(
        QStringLiteral("ApplyRhythmPattern"), [this](int n) { Commands.ApplyRhythmPattern(n); });
    form_.defineCommand(QStringLiteral("MarkTriplet"), [this](int n) { Commands.MarkTriplet(n); });
    form_.defineCommand(QStringLiteral("DoNoteMark"), [this](int n) { Commands.DoNoteMark(n); });
    // Grace notes wait for their dialog.
    GuardUnbuilt(form_.Toolbar1->button(42));
    form_.defineCommand(QStringLiteral("ResetNoteFont"), [this](int) { Commands.ResetNoteFont(); });
    form_.defineCommand(QStringLiteral("ConvertSelChars"), [this](int) { Commands.ConvertSelChars(); });
    form_.defineCommand(QStringLiteral("InsertRepeatSign"),
        [this](int code) { Commands.InsertRepeatSign(QChar(char16_t(code))); });
    form_.defineCommand(QStringLiteral("AskRepeatCount"), [this](int) { Commands.InsertRepeatCountSign(); });
}

void MainFormEditing::connectMenus()
{
    form_.connectItem(QStringLiteral("mnuUnDo"), [this] {
        form_.RichTextBox1->setFocus();
        Undo.undo(1);
    });
    form_.connectItem(QStringLiteral("mnuRedo"), [this] { Undo.Redo(1); });
    form_.connectItem(QStringLiteral("UndoAll"), [this] {
        Undo.undo(Undo.getUndoCount());
        form_.JzRTB(0);
    });
    form_.connectItem(QStringLiteral("RedoAll"), [this] { Undo.Redo(Undo.getRedoCount()); });
    form_.connectArray(QStringLiteral("MY_bhy"), [this](int i) { Commands.markAccidental(i); });
    form_.connectArray(QStringLiteral("biandiao"), [this](int i) { Commands.insertKeyChange(i); });
    form_.connectItem(QStringLiteral("Other"), [this] { toggleTiledView(); });
    connect(form_.menu(QStringLiteral("Edit")), &QMenu::aboutToShow, this, &MainFormEditing::enableEditMenu);
    connect(form_.menu(QStringLiteral("My_instr")), &QMenu::aboutToShow, this, &MainFormEditing::enableInsertMenu);
    connect(form_.menu(QStringLiteral("FormatJP")), &QMenu::aboutToShow, this, &MainFormEditing::enableFormatMenu);
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
            Undo.FlushSnapshot();
    }
    return QObject::eventFilter(watched, event);
}

void MainFormEditing::selectionChanged()
{
    platform::RichTextBox& editor = form_.editor();
    EditorState& state = form_.editorState;
    state.LastSelStart = std::int16_t(editor.SelStart());
    state.LastOnXj = std::int16_t(Undo.OnXj());
    const CaretState caret = ReadCaretState(editor);
    state.CaretLine = std::int16_t(caret.CaretLine);
    state.CaretColumn = std::int16_t(caret.CaretColumn);
    form_.StatusBar1->setPanelText(4, CaretPanelText(caret));
    state.CaretNearLineEnd = caret.CaretNearLineEnd;
}

void MainFormEditing::barChanged(int Xj)
{
    form_.CtrlSlider1->setMyXj(Xj);
    form_.StatusBar1->setPanelText(5, BarPanelText(Xj, Undo.XJInteger()));
}

void MainFormEditing::undoStateChanged()
{
    const bool undo = Undo.canUndo();
    const bool redo = Undo.canRedo();
    enable(form_.action(QStringLiteral("mnuUnDo")), undo);
    enable(form_.Toolbar1->button(15), undo);
    enable(form_.action(QStringLiteral("UndoAll")), undo);
    enable(form_.action(QStringLiteral("mnuRedo")), redo);
    enable(form_.Toolbar1->button(16), redo);
    enable(form_.action(QStringLiteral("RedoAll")), redo);
}

void MainFormEditing::enableEditMenu()
{
    const bool selected = !form_.editor().SelText().isEmpty();
    enable(form_.action(QStringLiteral("mnuCopy")), selected);
    enable(form_.action(QStringLiteral("mnuCut")), selected);
    enable(form_.action(QStringLiteral("mnuPaste")), !QGuiApplication::clipboard()->text().isEmpty());
    enable(form_.action(QStringLiteral("mnuReset")),
        form_.action(QStringLiteral("mnuUnDo"))->isEnabled()
            || form_.action(QStringLiteral("mnuRedo"))->isEnabled());
    const bool jp = IsJpLine(Undo.LineTable(), form_.editorState.CaretLine - 1);
    for (const QString& name : { QStringLiteral("InstrSpace(0)"), QStringLiteral("InstrSpace(1)"),
             QStringLiteral("instrZJX(0)"), QStringLiteral("instrZJX(1)"), QStringLiteral("instrDrum") })
        enable(form_.action(name), jp);
    QAction* notationTyping = form_.action(QStringLiteral("MunJPline"));
    notationTyping->setChecked(jp);
    enable(form_.action(QStringLiteral("GCFont")), selected && !jp);
    const QString caretLine = platform::GetRtbLine(form_.editor(), form_.editorState.CaretLine);
    enable(notationTyping, caretLine.size() <= 2);
}

void MainFormEditing::enableInsertMenu()
{
    const bool jp = IsJpLine(Undo.LineTable(), form_.editorState.CaretLine - 1);
    for (const QString& name :
        { QStringLiteral("BD"), QStringLiteral("M_bhy"), QStringLiteral("pf"), QStringLiteral("SB1"),
            QStringLiteral("sd"), QStringLiteral("huayin(0)"), QStringLiteral("huayin(1)"),
            QStringLiteral("JPyy"), QStringLiteral("InstrHQF"), QStringLiteral("Drum") })
        enable(form_.action(name), jp);
}

void MainFormEditing::enableFormatMenu()
{
    const bool jp = IsJpLine(Undo.LineTable(), form_.editorState.CaretLine - 1);
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
    form_.PicLineShow->setVisible(tiled->isChecked());
}

void MainFormEditing::ShowLineMarks()
{
    platform::RichTextBox& tiled = form_.RichTextBox5->box();
    tiled.setText(QString());
    QPalette palette = form_.RichTextBox5->palette();
    palette.setColor(QPalette::Base, form_.RichTextBox1->palette().color(QPalette::Base));
    form_.RichTextBox5->setPalette(palette);
    platform::RichTextBox& mirror = *form_.RichTextBox4;
    for (const LineInfo& line : Undo.LineTable()) {
        if (!line.IsJpLine)
            continue;
        mirror.select(line.LineStart, line.LineLen);
        tiled.setSelStart(tiled.TextLength());
        tiled.setSelRTF(mirror.SelRTF());
    }
    tiled.setSelStart(tiled.TextLength());
    tiled.setSelText(QStringLiteral("      "));
}

void MainFormEditing::recolourLines(bool IsJP)
{
    notation::ScoreHeader& header = process().ScoreHeader;
    const std::int16_t saved = header.ScoreSaved;
    Undo.JpColor(process().ColorScheme, IsJP);
    header.ScoreSaved = saved;
}

} // namespace tunvale::editor
