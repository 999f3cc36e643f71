#include "app/editor/parts/main_form_playback.h"

#include "app/dialogs/play_order_dialog.h"
#include "app/drums/bar_strip.h"
#include "app/editor/actions/menu_items.h"
#include "app/editor/editing/stored_color.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/main_toolbar.h"
#include "app/editor/window/status_panels.h"
#include "app/frame/process_state.h"
#include "app/notation/play_order_key.h"
#include "app/notation/score_template.h"
#include "app/playback/playback_state.h"
#include "platform/richtext/rich_text_edit.h"
#include "platform/richtext/rich_text_lines.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTextCursor>

#include <set>

namespace tunvale::editor {

namespace {

const notation::ColorScheme& colors() { return frame::Process().ColorScheme; }

platform::ApiHighlight& highlighter()
{
    auto& process = frame::Process();
    if (!process.Highlighter)
        process.Highlighter = std::make_unique<platform::ApiHighlight>();
    return *process.Highlighter;
}

constexpr int kToolbarButtons = 46;

} // namespace

MainFormPlayback::MainFormPlayback(
    MainForm& form, std::unique_ptr<platform::ScreenSaverInhibitor> screenSaver)
    : MainFormPart(form)
    , screenSaver_(std::move(screenSaver))
    , strip_(&form.barStrip())
{
    commands_ = std::make_unique<playback::PlayCommands>(*this, *playback::NotePlayer, playback::PlayTimer);
    fillDeviceMenu();
    connectMenus();
    connectControls();
}

MainFormPlayback::~MainFormPlayback() = default;

void MainFormPlayback::windowClosing()
{
    if (commands_->PlayBusy())
        commands_->stop();
}

void MainFormPlayback::fillDeviceMenu()
{
    devices_ = playback::NotePlayer->Midi_OutDevsToList();
    if (devices_.isEmpty())
        return;
    form_.action(QStringLiteral("my_ComDevies"), 0)->setText(devices_[0].name);
    for (int i = 1; i < devices_.size(); ++i)
        form_.menus().load(QStringLiteral("my_ComDevies"), i, devices_[i].name)->setChecked(false);
    deviceIndex_ = 0;
}

void MainFormPlayback::connectMenus()
{
    playback::PlayCommands& c = *commands_;
    form_.connectItem(QStringLiteral("MunPlay"), [&c] { c.play(0); });
    form_.connectItem(QStringLiteral("Mungoonplay"), [&c] { c.play(1); });
    form_.connectItem(QStringLiteral("MunStop1"), [&c] { c.stop(); });
    form_.connectItem(QStringLiteral("MunPandG"), [&c] { c.pause(); });
    form_.connectItem(QStringLiteral("GotoGoplay"), [&c] { c.toggleLoop(); });
    form_.connectItem(QStringLiteral("CtrlPlay"), [&c] { c.toggleStepPlay(); });
    form_.connectItem(QStringLiteral("DrumPZ"), [&c] { c.toggleDrums(); });
    form_.connectItem(QStringLiteral("SameSpeed"), [&c] { c.toggleSameSpeed(); });
    form_.connectItem(QStringLiteral("HeYing"), [&c] { c.toggleHarmony(); });
    form_.connectItem(QStringLiteral("PlayGoto"), [this] { choosePlayOrder(); });
    form_.connectArray(QStringLiteral("PZType"), [this](int i) { form_.setAccompanimentType(i); });
    form_.connectArray(QStringLiteral("my_ComDevies"), [this](int i) { chooseDevice(i); });
    connect(form_.menu(QStringLiteral("runmusic")), &QMenu::aboutToShow, this, [&c] { c.preparePlayMenu(); });

    form_.defineCommand(QStringLiteral("Play"), [&c](int fromCaret) { c.play(fromCaret); });
    form_.defineCommand(QStringLiteral("Pause"), [&c](int) { c.pause(); });
    form_.defineCommand(QStringLiteral("Stop"), [&c](int) { c.stop(); });
    form_.defineCommand(QStringLiteral("PlayAllBarDrums"), [&c](int) { c.PlayAllBarDrums(); });
    form_.defineCommand(QStringLiteral("StopDrumPlay"), [&c](int) { c.StopDrumPlay(); });
    form_.defineCommand(QStringLiteral("PlayCurrentBar"), [&c](int) { c.playCurrentBarSoon(); });
    form_.defineCommand(QStringLiteral("PlayDrumRange"), [&c](int) { c.playRangeSoon(); });
}

void MainFormPlayback::connectControls()
{
    MainToolbar& toolbar = form_.toolbar();
    connect(toolbar.ComSounds, &QComboBox::activated, this, &MainFormPlayback::chooseInstrument);
    for (int i = 0; i < 2; ++i)
        connect(
            toolbar.VScroll1[size_t(i)], &QScrollBar::valueChanged, this, [this, i] { spinBarChanged(i); });
    platform::RichTextBox& view = form_.playbackView()->box();
    // The playback view takes no key: Enter steps the melody in step mode, every other key does nothing.
    connect(
        &view, &platform::RichTextBox::KeyDown, this,
        [this](int& KeyCode, int) {
            const int key = KeyCode;
            KeyCode = 0;
            commands_->playbackViewKeyDown(key);
        },
        Qt::DirectConnection);
    connect(
        &view, &platform::RichTextBox::KeyPress, this, [](int& KeyAscii) { KeyAscii = 0; },
        Qt::DirectConnection);
    connect(&view, &platform::RichTextBox::MouseDown, this, [this] { restorePlayedNote(std::nullopt); });
}

dialogs::PlayOrderDialog& MainFormPlayback::playOrderDialog()
{
    if (!dialog_)
        dialog_ = new dialogs::PlayOrderDialog(&form_);
    return *dialog_;
}

void MainFormPlayback::choosePlayOrder()
{
    notation::PlayOrder& order = notation::ProcessPlayOrder();
    const QString key = order.GetPlayOrderKey();
    order.LoadPlayOrder();
    dialogs::PlayOrderDialog& dialog = playOrderDialog();
    dialog.activate(key, chosenOrder_.orderFor(key).value_or(order.Entries));
    if (dialog.exec() != QDialog::Accepted)
        return;
    order.Entries = dialog.chosen().order;
    // The order plays from now on, also when the file cannot take it or the score has no file yet.
    chosenOrder_.choose(key, order.Entries);
    const QString file = header().CurrentFile;
    if (!file.isEmpty() && !notation::IsTemplatePath(file) && order.SavePlayOrderKey(file))
        order.SavePlayOrder(file);
    if (dialog.textChanged())
        header().ScoreSaved = false;
}

void MainFormPlayback::chooseDevice(int Index)
{
    if (Index < 0 || Index >= devices_.size())
        return;
    // On failure the output tells the user and the check stays where it was.
    if (!playback::NotePlayer->OpenDevice(devices_[Index].itemData))
        return;
    for (int i = 0; i <= form_.menus().upperBound(QStringLiteral("my_ComDevies")); ++i) {
        if (QAction* entry = form_.action(QStringLiteral("my_ComDevies"), i))
            entry->setChecked(i == Index);
    }
    deviceIndex_ = Index;
}

void MainFormPlayback::chooseInstrument(int index)
{
    if (index < 0 || index >= int(playback::InstrumentNames.size()))
        return;
    form_.toolbar().ComSounds->setToolTip(
        QStringLiteral("乐器选择：") + playback::InstrumentNames[size_t(index)]);
    if (header().Instrument != index)
        header().ScoreSaved = false;
}

void MainFormPlayback::spinBarChanged(int Index)
{
    MainToolbar& toolbar = form_.toolbar();
    const int value = toolbar.spinValue(Index);
    header().ScoreSaved = false;
    if (Index == 0) {
        toolbar.Text_Speed->setText(QString::number(value));
        header().Speed = std::int16_t(value);
    } else {
        toolbar.Text_Volume->setText(QString::number(value));
        header().Volume = std::int16_t(value);
    }
}

notation::ScoreHeader& MainFormPlayback::header() { return frame::Process().ScoreHeader; }

notation::DrumStores& MainFormPlayback::drumStores() { return notation::ProcessDrumStores(); }

platform::RichTextSnapshot MainFormPlayback::scoreSnapshot() const { return form_.mirror().snapshot(); }

QString MainFormPlayback::scoreText() const { return form_.editor().Text(); }

notation::PlayOrderSource MainFormPlayback::playOrderSource() const
{
    return chosenOrder_.source(frame::Process().ScoreHeader.CurrentFile);
}

int MainFormPlayback::editorCaret() const { return form_.editor().SelStart(); }

void MainFormPlayback::setEditorCaret(int position) { form_.editor().setSelStart(position); }

int MainFormPlayback::caretBar() const { return form_.part<MainFormEditing>().undo().OnXj(); }

QAction* MainFormPlayback::item(playback::PlayItem which) const
{
    switch (which) {
    case playback::PlayItem::DrumPZ:
        return form_.action(QStringLiteral("DrumPZ"));
    case playback::PlayItem::HeYing:
        return form_.action(QStringLiteral("HeYing"));
    case playback::PlayItem::SameSpeed:
        return form_.action(QStringLiteral("SameSpeed"));
    case playback::PlayItem::GotoGoplay:
        return form_.action(QStringLiteral("GotoGoplay"));
    case playback::PlayItem::CtrlPlay:
        return form_.action(QStringLiteral("CtrlPlay"));
    }
    return nullptr;
}

bool MainFormPlayback::isChecked(playback::PlayItem which) const { return item(which)->isChecked(); }

void MainFormPlayback::setChecked(playback::PlayItem which, bool checked)
{
    item(which)->setChecked(checked);
}

int MainFormPlayback::instrument() const { return std::max(0, form_.toolbar().ComSounds->currentIndex()); }

// Every menu item and toolbar button 1 to 46, each action once (an action may sit in both).
std::vector<QAction*> MainFormPlayback::lockableActions() const
{
    std::vector<QAction*> actions;
    std::set<QAction*> seen;
    auto add = [&](QAction* action) {
        if (action && !action->isSeparator() && seen.insert(action).second)
            actions.push_back(action);
    };
    for (const QString& name : form_.menus().names())
        add(form_.action(name));
    for (int i = 1; i <= kToolbarButtons; ++i)
        add(form_.toolbar().button(i));
    return actions;
}

void MainFormPlayback::PlayControlsEnabled(bool playing, bool melody)
{
    MainToolbar& toolbar = form_.toolbar();
    for (QWidget* control : std::initializer_list<QWidget*> { toolbar.ComSounds, toolbar.Text_Speed,
             toolbar.VScroll1[0], toolbar.Text_Volume, toolbar.VScroll1[1] })
        control->setEnabled(!playing);
    strip_->setIsPlaying(playing);
    // The lock takes only what is enabled and the unlock gives back exactly that: disabling a hidden
    // item would make it explicitly disabled, and it would stay grey once shown (a recent file). A lock
    // within a lock (an audition started before the last one's timer ended it) keeps what the first took.
    if (playing) {
        for (QAction* action : lockableActions()) {
            if (action->isEnabled())
                SavedEnabled.emplace_back(action);
        }
        for (QAction* action : SavedEnabled) {
            if (action)
                action->setEnabled(false);
        }
    } else {
        for (QAction* action : SavedEnabled) {
            if (action)
                action->setEnabled(true);
        }
        SavedEnabled.clear();
    }
    auto button = [&](ToolbarButton which, bool enabled) { toolbar.button(which)->setEnabled(enabled); };
    auto menuItem = [&](const char* name, bool enabled) {
        form_.action(QString::fromLatin1(name))->setEnabled(enabled);
    };
    if (playing && melody) {
        button(ToolbarButton::Stop, true);
        button(ToolbarButton::Pause, true);
        menuItem("MunStop1", true);
        menuItem("MunPandG", true);
    } else if (playing) {
        button(ToolbarButton::StopDrums, true);
    } else if (melody) {
        button(ToolbarButton::Play, true);
        button(ToolbarButton::PlayFromCaret, true);
        menuItem("MunPlay", true);
        button(ToolbarButton::Stop, false);
        menuItem("MunStop1", false);
        button(ToolbarButton::Pause, false);
        menuItem("MunPandG", false);
    } else {
        button(ToolbarButton::PlayDrums, true);
        button(ToolbarButton::StopDrums, false);
    }
    menuItem("runmusic", true);
}

void MainFormPlayback::setPauseText(const QString& text)
{
    QAction* pause = form_.toolbar().button(ToolbarButton::Pause);
    pause->setText(text);
    pause->setToolTip(text);
}

void MainFormPlayback::showPlayTime(const QString& text)
{
    form_.statusPanels().setPanelText(StatusPanel::PlayTime, text);
}

void MainFormPlayback::setBreakpointCaption(const QString& text)
{
    form_.action(QStringLiteral("Mungoonplay"))->setText(text);
}

void MainFormPlayback::MakeWorkingCopy()
{
    form_.MakeWorkingCopy();
    // The played note is selected: the selection shows the play colours, not the view's own.
    QPalette palette = form_.playbackView()->palette();
    palette.setColor(QPalette::Highlight, StoredColor(colors().PlayNoteBackColor));
    palette.setColor(QPalette::HighlightedText, StoredColor(colors().PlayNoteColor));
    form_.playbackView()->setPalette(palette);
    form_.playbackView()->setFocus();
    workingCopyShown_ = true;
}

void MainFormPlayback::RestoreScoreView()
{
    // A drum-only play shows no working copy: the editor is in front already.
    if (!workingCopyShown_)
        return;
    workingCopyShown_ = false;
    // A change made meanwhile (a switch in step mode) keeps the score modified.
    const bool saved = header().ScoreSaved;
    form_.RestoreScoreView();
    if (!saved)
        header().ScoreSaved = false;
    form_.editorView()->setFocus();
    form_.JzRTB(0);
}

void MainFormPlayback::restorePlayedNote(std::optional<platform::SnapshotColor> ownColor)
{
    platform::RichTextBox& view = form_.playbackView()->box();
    highlighter().APIHighlightHard(view.SelStart(), view.SelLength(), StoredColor(colors().EditBackColor));
    if (ownColor)
        view.setSelColor(QColor::fromRgba(*ownColor));
}

void MainFormPlayback::selectPlayedNote(int position)
{
    platform::RichTextBox& view = form_.playbackView()->box();
    view.select(position, 1);
    view.setSelColor(StoredColor(colors().PlayNoteColor));
}

void MainFormPlayback::markPlayedNoteBack()
{
    const platform::RichTextBox& view = form_.playbackView()->box();
    highlighter().APIHighlightHard(
        view.SelStart(), view.SelLength(), StoredColor(colors().PlayNoteBackColor));
}

void MainFormPlayback::clearPlaySelection() { form_.playbackView()->box().setSelLength(0); }

int MainFormPlayback::caretViewRow() const
{
    const platform::RichTextBox& view = form_.playbackView()->box();
    return platform::GetCaretRowCol(view).line - 1 - platform::GetFirstVisibleLine(view);
}

void MainFormPlayback::scrollViewLines(int lines)
{
    platform::RichTextEdit& edit = *form_.playbackView();
    const platform::RichTextBox& view = edit.box();
    const int target
        = std::clamp(platform::GetFirstVisibleLine(view) + lines, 0, std::max(view.LineCount() - 1, 0));
    QTextCursor cursor(view.document());
    cursor.setPosition(view.toDocumentPosition(view.LineIndex(target)));
    QScrollBar* bar = edit.verticalScrollBar();
    bar->setValue(bar->value() + edit.cursorRect(cursor).top());
}

void MainFormPlayback::showPlayedBar(int bar) { strip_->setPlayXJ(bar); }

void MainFormPlayback::setStripBar(int bar) { strip_->setMyXj(bar); }

std::pair<int, int> MainFormPlayback::stripRange() const { return { strip_->nPlay1(), strip_->nPlay2() }; }

void MainFormPlayback::keepScreenAwake(bool awake)
{
    if (awake)
        screenSaver_->inhibit(QStringLiteral("播放"));
    else
        screenSaver_->uninhibit();
}

void MainFormPlayback::showBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void MainFormPlayback::drumEditorControlsEnabled(bool enabled) { drumEditorControlsHook(enabled); }

} // namespace tunvale::editor
