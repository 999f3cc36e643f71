#pragma once

#include "app/playback/play_commands.h"
#include "app/playback/play_order_text.h"
#include "app/playback/play_window.h"
#include "platform/desktop/screen_saver_inhibitor.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class QAction;

namespace tunvale::drums {
class BarStrip;
}
namespace tunvale::dialogs {
class PlayOrderDialog;
}

namespace tunvale::editor {

class MainForm;

// The main window's playback: the play commands on the window's menus, toolbar and views, the bar
// strip, the device menu and the play-order dialog. Made once the window has loaded (it plays through
// the window's NotePlayer) and owned by the window.
class MainFormPlayback final : public QObject, public playback::PlayWindow
{
    Q_OBJECT

public:
    MainFormPlayback(MainForm& form,
        std::unique_ptr<platform::ScreenSaverInhibitor> screenSaver
        = std::make_unique<platform::ScreenSaverInhibitor>());
    ~MainFormPlayback() override;

    playback::PlayCommands& commands() { return *commands_; }
    // The drum editor's controls; the drum editor fills it in.
    std::function<void(bool)> drumEditorControlsHook = [](bool) {};
    drums::BarStrip& CtrlSlider1() { return *strip_; }
    dialogs::PlayOrderDialog& playOrderDialog();

    // Menu and control handlers of the window.
    void choosePlayOrder();
    void chooseDevice(int Index);
    void chooseInstrument(int index);
    void spinBarChanged(int Index);
    // playback::PlayWindow
    notation::ScoreHeader& header() override;
    notation::DrumStores& drumStores() override;
    platform::RichTextSnapshot scoreSnapshot() const override;
    QString scoreText() const override;
    notation::PlayOrderSource playOrderSource() const override;
    int editorCaret() const override;
    void setEditorCaret(int position) override;
    int caretBar() const override;
    bool isChecked(playback::PlayItem item) const override;
    void setChecked(playback::PlayItem item, bool checked) override;
    int instrument() const override;
    void PlayControlsEnabled(bool playing, bool melody) override;
    void setPauseText(const QString& text) override;
    void showPlayTime(const QString& text) override;
    void setBreakpointCaption(const QString& text) override;
    void MakeWorkingCopy() override;
    void RestoreScoreView() override;
    void restorePlayedNote(std::optional<platform::SnapshotColor> ownColor) override;
    void selectPlayedNote(int position) override;
    void markPlayedNoteBack() override;
    void clearPlaySelection() override;
    int caretViewRow() const override;
    void scrollViewLines(int lines) override;
    void showPlayedBar(int bar) override;
    void setStripBar(int bar) override;
    std::pair<int, int> stripRange() const override;
    void keepScreenAwake(bool awake) override;
    void drumEditorControlsEnabled(bool enabled) override;

private:
    void connectMenus();
    void connectControls();
    std::vector<QAction*> lockableActions() const;
    QAction* item(playback::PlayItem which) const;

    MainForm& form_;
    std::unique_ptr<platform::ScreenSaverInhibitor> screenSaver_;
    drums::BarStrip* strip_ = nullptr;
    std::unique_ptr<playback::PlayCommands> commands_;
    dialogs::PlayOrderDialog* dialog_ = nullptr;
    playback::ChosenPlayOrder chosenOrder_;
    bool workingCopyShown_ = false;
    // What the lock found, action by action, for the unlock to put back.
    std::vector<std::pair<QAction*, bool>> SavedEnabled;
};

} // namespace tunvale::editor
