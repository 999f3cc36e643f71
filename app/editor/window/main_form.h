#pragma once

#include "app/drums/bar_strip.h"
#include "app/editor/actions/command_table.h"
#include "app/editor/editing/editor_state.h"
#include "app/editor/actions/toolbar_dispatch.h"
#include "app/frame/read_vls.h"
#include "app/notation/performance_compiler.h"
#include "app/playback/play_note.h"
#include "platform/midi/midi_devices.h"
#include "platform/richtext/rich_text_box.h"

#include <QMainWindow>

#include <hint_balloon.h>
#include <keyshift.h>
#include <margin_ruler.h>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QMenu;

namespace tunvale::platform {
class RichTextEdit;
}

// The main window: the score editor with its menus, toolbar, status bar and view modes.
//
// How later commands join it:
// - menu items are reached by their names (action("mnuUnDo"), action("PZType", 3)); connectItem() and
//   connectArray() connect a handler and mark the item built (until then it stays disabled);
// - toolbar buttons and drop-down items run named commands (toolbar_table.h); defineCommand() gives a
//   command its handler and opens every button and item that runs it;
// - `hooks` holds the window's calls into commands that are not its own (save, stop playback ...).
namespace tunvale::editor {

class MainToolbar;
class MainFormEditing;
class StatusPanels;

// What the window creates from outside; tests put fakes in.
struct MainFormServices {
    std::unique_ptr<platform::MidiDevices> midiDevices = std::make_unique<platform::SystemMidiDevices>();
};

// The window's calls into commands built elsewhere, with their stand-ins until then.
struct MainFormHooks {
    // Saves the score; true when it was saved (a cancelled or failed save gives false).
    std::function<bool()> save = [] { return false; };
    // Whether a playback runs, and ending it for good before the player is released.
    std::function<bool()> playbackRunning = [] { return false; };
    std::function<void()> stopPlayback = [] {};
    // Fills the recent-files items.
    std::function<void()> ShowRecentFiles = [] {};
    // Progress of the load on the splash window; empty when there is none.
    std::function<void(const QString&)> showStartProgress;
    // Prints the open score through the preview's print entry with the printer dialog (the "/p" start);
    // false when it did not print.
    std::function<bool()> printStartScore;
    // Takes a pending undo snapshot at once, so that what changes next is an undo step of its own;
    // nothing until the undo engine is connected.
    std::function<void()> FlushUndoSnapshot = [] {};
    // Another score is now in the window: what was kept for the previous one goes.
    std::function<void()> scoreReplaced = [] {};
};

class MainForm : public QMainWindow, public frame::VlsSettingsTarget
{
    Q_OBJECT

public:
    explicit MainForm(MainFormServices services = {}, QWidget* parent = nullptr);
    ~MainForm() override;

    // Loads the window: its objects, lists, view settings and the start score (ScoreHeader.CurrentFile,
    // the template when empty). False when the window must close at once (a score of a newer format).
    bool load();
    // The close question and the release of the window's objects. True when the close was cancelled.
    bool unload();
    void exitsub_Click();

    // Enables or disables a group of menus, toolbar buttons, status panels and the editor:
    // "editdrum", "undo128" or "play"; any other text changes nothing.
    void CtrlEnabled(bool IEnabled, const QString& TypeMod);

    // Menu items and commands.
    QAction* action(const QString& name) const;
    QAction* action(const QString& array, int index) const;
    QMenu* menu(const QString& name) const;
    class MenuItems& menus() const { return *menus_; }
    void connectItem(const QString& name, std::function<void()> handler);
    void connectArray(const QString& array, std::function<void(int)> handler);
    void defineCommand(const QString& command, CommandTable::Handler handler);
    const CommandTable& commands() const { return commands_; }

    // The two toolbar handlers.
    void clickToolbarButton(int index);
    void clickToolbarMenuItem(const QString& text);

    // Menu handlers of the window.
    void showHelp();
    void showAbout();
    void showWillingPage();
    void chooseLyricFont();
    void enableToolMenu();
    void setToolbarMode(int Index);
    void toggleBar(int Index);
    void toggleButtonGroup(int Index);
    void panelClicked(int Panel);
    void coverPIC_Click(int Index);
    void markModified();

    // The transposition items "+2", "-2", "+1", "-1", and the transposition of the whole score by n
    // semitones as one undo step; a step the transposer refuses leaves the score as it is.
    void transposeByItem(int Index);
    void transposeScore(int n);

    // Score settings that a read score sets (frame::VlsSettingsTarget).
    void setDrumPZChecked(bool checked) override;
    void setAccompanimentType(int index) override;
    void setSameSpeedChecked(bool checked) override;
    void setHeYingChecked(bool checked) override;
    void setRulerLeftSpace(int twips) override;
    void setRulerRightSpace(int twips) override;

    // The File menu's "搜索并打开..." and the toolbar's item of that name (Index 1): the search window
    // picks a score and it opens here. Index 0, the open dialog, is left to the score file commands.
    void InputVls_Click(int Index);

    // Around a playback: the playback view takes a copy of the score (and RichTextBox3 another) and
    // comes to the front with the status panels 4 to 8 off; afterwards the editor comes back. The saved
    // flag is the same after as before.
    void MakeWorkingCopy();
    void RestoreScoreView();

    // Opens the start score through the score file commands (one window per score). A missing or
    // unreadable file is reported and the template opens instead. False when the file is of a newer
    // format: the user was told and the window must close.
    bool OpenVls(const QString& FileName);

    // The editor, its box, and the other views of the score.
    platform::RichTextEdit* RichTextBox1 = nullptr;
    platform::RichTextBox& editor() const;
    platform::RichTextEdit* RichTextBox2 = nullptr; // the playback view
    platform::RichTextBox RichTextBox3; // a copy without a view
    platform::RichTextBox* RichTextBox4 = nullptr; // the mirror: a box over the editor's document
    platform::RichTextEdit* RichTextBox5 = nullptr; // the tiled notation-only view

    MainToolbar* Toolbar1 = nullptr;
    StatusPanels* StatusBar1 = nullptr;
    std::array<QLabel*, 2> coverPIC {};
    QWidget* PicXj = nullptr; // the bar strip's container
    drums::BarStrip* CtrlSlider1 = nullptr;
    左右边距* 左右边距控件 = nullptr; // the margin ruler, in the toolbar's place in view mode 1
    std::unique_ptr<hintballoon::ClsHintballoon> TT; // the balloon hints; the bar strip is its tool
    QWidget* PicLineShow = nullptr; // the tiled view's container
    QWidget* YYPic = nullptr;

    // The output devices of the device menu, in menu order.
    QList<playback::DeviceEntry> ComDevies;
    int ComDeviesListIndex = -1;
    int AccompTypeCount = 0;
    bool ShowBarTips = false;
    bool FormReady = false;
    bool ThreadsCreated = false;

    EditorState editorState;
    MainFormHooks hooks;
    // The undo engine, notation commands and keyboard of the editor; made at the load.
    std::unique_ptr<MainFormEditing> Editing;
    // The transposer, made at the first transposition.
    std::unique_ptr<keyshift::ClsYD> Keyshifter;
    // The performance compiler; each compile gets a snapshot of RichTextBox4.
    notation::PerformanceCompiler PerfCompiler;

    // The score's instrument, tempo and volume in their controls. A value a control cannot take is
    // still shown in its box; an instrument the list does not hold shows item 0.
    void showScoreValues();

    // Lays the window out for its size and view mode (LayoutMainForm applied in pixels). A resize also
    // lays the margins onto the text again, once the resizes in a row are over.
    void applyLayout();
    // Lays the margins onto every paragraph of the editor and the playback view: LeftSpace, and
    // RightSpace + the right cover's width (200 and 200 when userRightSpace is non-zero). Caret and
    // ScoreSaved stay; LayoutBusy is 1 meanwhile.
    void JzRTB(int userRightSpace);
    // Twips per pixel of the screen the window is laid out for.
    double twipsPerPixel() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Toolbar;
    void buildWindow();
    void buildHandlers();
    void InitMainLayout();
    void readViewSettings();
    void loadAccompanimentMenu();
    void applyBarVisibility();

    MainFormServices services_;
    std::unique_ptr<MenuItems> menus_;
    CommandTable commands_;
    std::unique_ptr<ToolbarHost> toolbarHost_;
    std::unique_ptr<ToolbarDispatch> dispatch_;
    bool unloaded_ = false;
    double rightCoverTwips_ = 0; // coverPIC(1)'s width as last laid out
    class QTimer* marginTimer_ = nullptr; // coalesces the resizes before JzRTB
};

} // namespace tunvale::editor
