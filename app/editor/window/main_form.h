#pragma once

#include "app/dialogs/color_picker.h"
#include "app/dialogs/dialog_results.h"
#include "app/dialogs/preview_printing.h"
#include "app/editor/actions/command_table.h"
#include "app/editor/editing/editor_state.h"
#include "app/editor/parts/main_form_part.h"
#include "app/editor/window/control_group.h"
#include "app/frame/midi_export_command.h"
#include "app/frame/output_commands.h"
#include "app/frame/read_vls.h"
#include "app/frame/score_file_commands.h"
#include "platform/desktop/screen_saver_inhibitor.h"
#include "platform/midi/midi_devices.h"
#include "platform/richtext/rich_text_box.h"
#include "platform/text/twips_rect.h"

#include <QMainWindow>

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
namespace tunvale::drums {
class BarStrip;
}
namespace tunvale::margin {
class MarginRuler;
}
namespace tunvale::playback {
class PlayNote;
}
namespace tunvale::hintballoon {
class ClsHintballoon;
}

// The main window: the score editor's widgets with the menus, toolbar, status bar and view modes.
//
// How a window feature joins it: a part (parts/main_form_part.h) made in createParts() connects its
// menu items (connectItem, connectArray), gives the toolbar's commands their handlers
// (defineCommand) and reaches the widgets through the accessors below. Parts find each other with
// part<T>().
namespace tunvale::editor {

class MainToolbar;
class MenuItems;
class StatusPanels;
class ToolbarDispatch;
class ToolbarHost;

// What the window and its parts create from outside; tests put fakes in.
struct MainFormServices {
    std::unique_ptr<platform::MidiDevices> midiDevices = std::make_unique<platform::SystemMidiDevices>();
    std::function<std::unique_ptr<platform::ScreenSaverInhibitor>()> screenSaver
        = [] { return std::make_unique<platform::ScreenSaverInhibitor>(); };
    frame::ScoreFileServices scoreFiles;
    frame::MidiExportServices midiExport = frame::ProgramMidiExportServices();
    std::unique_ptr<dialogs::ColorPicker> colorPicker = std::make_unique<dialogs::StandardColorPicker>();
    // The save dialog of the picture and RTF exports, and the printer dialog and printer.
    frame::SaveDialog outputSaveDialog = frame::ProgramSaveDialog();
    dialogs::PrintServices printing = dialogs::ProgramPrintServices();
};

// What the start-up asks of a loading window.
struct MainFormHooks {
    // Progress of the load on the splash window; empty when there is none.
    std::function<void(const QString&)> showStartProgress;
    // Prints the open score through the preview's print entry with the printer dialog (the "/p" start);
    // false when it did not print.
    std::function<bool()> printStartScore;
};

class MainForm : public QMainWindow, public frame::VlsSettingsTarget
{
    Q_OBJECT

public:
    explicit MainForm(MainFormServices services = {}, QWidget* parent = nullptr);
    ~MainForm() override;

    // Loads the window: its objects, lists, view settings, its parts and the start score
    // (ScoreHeader.CurrentFile, the template when empty). False when the window must close at once (a
    // score of a newer format).
    bool load();
    // Asks the parts whether the window may close (the save question) and releases the window's
    // objects. False when the close was cancelled.
    bool unload();

    // Enables or disables a group of menus, toolbar buttons, status panels and the editor.
    void setControlsEnabled(ControlGroup group, bool enabled);

    // Menu items and commands.
    QAction* action(const QString& name) const;
    QAction* action(const QString& array, int index) const;
    QMenu* menu(const QString& name) const;
    MenuItems& menus() const { return *menus_; }
    void connectItem(const QString& name, std::function<void()> handler);
    void connectArray(const QString& array, std::function<void(int)> handler);
    void defineCommand(const QString& command, CommandTable::Handler handler);
    // The command `name`, which the menu item of that name runs with 0, or every item of the array of
    // that name with its index.
    void defineMenuCommand(const QString& name, CommandTable::Handler handler);
    const CommandTable& commands() const { return commands_; }

    // The window's parts, made at the load. A tool that needs one part alone adds it to a window it
    // does not load.
    template <class Part, class... Args> Part& addPart(Args&&... args)
    {
        auto part = std::make_unique<Part>(*this, std::forward<Args>(args)...);
        Part& added = *part;
        parts_.push_back(std::move(part));
        return added;
    }
    template <class Part> Part* findPart() const
    {
        for (const auto& part : parts_) {
            if (auto* found = dynamic_cast<Part*>(part.get()))
                return found;
        }
        return nullptr;
    }
    template <class Part> Part& part() const
    {
        Part* found = findPart<Part>();
        Q_ASSERT(found);
        return *found;
    }
    // Another score is now in the window: every part forgets what it kept for the previous one.
    void scoreReplaced();

    // The widgets.
    platform::RichTextEdit* editorView() const { return editorView_; }
    platform::RichTextBox& editor() const;
    platform::RichTextEdit* playbackView() const { return playbackView_; }
    // A copy of the score without a view, taken with the playback's working copy.
    platform::RichTextBox& workingCopy() { return workingCopy_; }
    // A second box over the editor's document: a caret the parts walk without moving the editor's selection.
    platform::RichTextBox& mirror() const { return *mirror_; }
    // The tiled notation-only view and its container.
    platform::RichTextEdit* tiledView() const { return tiledView_; }
    QWidget* tiledViewBox() const { return tiledViewBox_; }
    MainToolbar& toolbar() const { return *toolbar_; }
    StatusPanels& statusPanels() const { return *statusPanels_; }
    QLabel* cover(int index) const { return covers_[std::size_t(index)]; }
    drums::BarStrip& barStrip() const { return *barStrip_; }
    QWidget* barStripBox() const { return barStripBox_; }
    // The margin ruler, in the toolbar's place in view mode 1.
    margin::MarginRuler& marginRuler() const { return *marginRuler_; }
    // The balloon hints; the bar strip is their tool. Made at the load.
    hintballoon::ClsHintballoon* hints() const { return hints_.get(); }

    EditorState& state() { return state_; }
    const EditorState& state() const { return state_; }
    MainFormHooks& hooks() { return hooks_; }
    // What the modal dialogs hand back; kept as long as the window lives.
    dialogs::DialogResults& dialogResults() { return dialogResults_; }
    MainFormServices& services() { return services_; }

    // The accompaniment styles of "banzhou.ini" behind the first three items of "PZType".
    int accompanimentTypeCount() const { return accompanimentTypeCount_; }

    // The score's instrument, tempo and volume in their controls. A value a control cannot take is
    // still shown in its box; an instrument the list does not hold shows item 0.
    void showScoreValues();

    // The view mode: 0 the main toolbar, 1 the margin ruler, 2 neither.
    void setToolbarMode(int mode);
    // Lays the window out for its size and view mode (LayoutMainForm applied in pixels). A resize also
    // lays the margins onto the text again, once the resizes in a row are over.
    void applyLayout();
    // Lays the margins onto every paragraph of the editor and the playback view: LeftSpace, and
    // RightSpace + the right cover's width (200 and 200 when userRightSpace is non-zero). Caret and
    // ScoreSaved stay; LayoutBusy is set meanwhile.
    void JzRTB(int userRightSpace);
    // The editor's and the playback view's page in the scheme's background colour.
    void showEditingBackground();
    // The left and right indents JzRTB gives every paragraph.
    std::pair<int, int> layoutIndents(int userRightSpace) const;
    // Those of JzRTB(0) for a score with the margins of `header`.
    std::pair<int, int> marginIndents(const notation::ScoreHeader& header) const;
    // Twips per pixel of the screen the window is laid out for.
    double twipsPerPixel() const;

    // Around a playback: the playback view takes a copy of the score (and the working copy another)
    // and comes to the front with the status panels 4 to 8 off; afterwards the editor comes back. The
    // saved flag is the same after as before.
    void MakeWorkingCopy();
    void RestoreScoreView();

    // Score settings that a read score sets (frame::VlsSettingsTarget).
    void setDrumPZChecked(bool checked) override;
    void setAccompanimentType(int index) override;
    void setSameSpeedChecked(bool checked) override;
    void setHeYingChecked(bool checked) override;
    void setRulerLeftSpace(int twips) override;
    void setRulerRightSpace(int twips) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Toolbar;
    void buildWindow();
    void buildHandlers();
    void createParts();
    // The play view's highlighter and the bar strip's colours.
    void preparePlayViews();
    void readViewSettings();
    void loadAccompanimentMenu();
    void applyBarVisibility();
    // Puts a score view on the page rectangle, cut at the client's right edge, its lines wrapped at
    // wrapWidth.
    void placeScoreView(
        platform::RichTextEdit* view, const platform::TwipsRect& page, double wrapWidth, int clientWidth);

    void showHelp();
    void showWillingPage();
    void showAbout();
    void toggleBold();
    void chooseLyricFont();
    void enableToolMenu();
    void toggleBar(int index);
    void toggleButtonGroup(int index);
    void panelClicked(int panel);

    MainFormServices services_;
    MainFormHooks hooks_;
    EditorState state_;
    dialogs::DialogResults dialogResults_;
    std::unique_ptr<MenuItems> menus_;
    CommandTable commands_;
    std::unique_ptr<ToolbarHost> toolbarHost_;
    std::unique_ptr<ToolbarDispatch> dispatch_;
    std::vector<std::unique_ptr<MainFormPart>> parts_;

    platform::RichTextEdit* editorView_ = nullptr;
    platform::RichTextEdit* playbackView_ = nullptr;
    platform::RichTextBox workingCopy_;
    platform::RichTextBox* mirror_ = nullptr;
    platform::RichTextEdit* tiledView_ = nullptr;
    QWidget* tiledViewBox_ = nullptr;
    QWidget* graceBox_ = nullptr; // YYPic at the left border
    MainToolbar* toolbar_ = nullptr;
    StatusPanels* statusPanels_ = nullptr;
    std::array<QLabel*, 2> covers_ {};
    QWidget* barStripBox_ = nullptr;
    drums::BarStrip* barStrip_ = nullptr;
    margin::MarginRuler* marginRuler_ = nullptr;
    std::unique_ptr<hintballoon::ClsHintballoon> hints_;

    int accompanimentTypeCount_ = 0;
    bool unloaded_ = false;
    const playback::PlayNote* player_ = nullptr; // the process's player, as this window made it
    double rightCoverTwips_ = 0; // the right cover's width as last laid out
    class QTimer* marginTimer_ = nullptr; // coalesces the resizes before JzRTB
};

} // namespace tunvale::editor
