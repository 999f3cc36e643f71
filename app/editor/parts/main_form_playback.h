#pragma once

#include "app/editor/parts/main_form_part.h"
#include "app/playback/play_commands.h"
#include "app/playback/play_order_text.h"
#include "app/playback/play_window.h"
#include "platform/desktop/screen_saver_inhibitor.h"

#include <QPointer>

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

// The main window's playback: the play commands on the window's menus, toolbar and views, the bar
// strip, the device menu and the play-order dialog. It plays through the window's NotePlayer.
class MainFormPlayback final : public MainFormPart, public playback::PlayWindow
{
    Q_OBJECT

public:
    MainFormPlayback(MainForm& form, std::unique_ptr<platform::ScreenSaverInhibitor> screenSaver);
    ~MainFormPlayback() override;

    playback::PlayCommands& commands() { return *commands_; }
    // The drum editor's controls; the drum editor fills it in.
    std::function<void(bool)> drumEditorControlsHook = [](bool) {};
    dialogs::PlayOrderDialog& playOrderDialog();
    // The output devices of the device menu, in menu order, and the one in use.
    const QList<playback::DeviceEntry>& devices() const { return devices_; }
    int deviceIndex() const { return deviceIndex_; }

    // MainFormPart
    void windowClosing() override;
    void scoreReplaced() override { chosenOrder_.clear(); }

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
    void showBusy(bool busy) override;
    void drumEditorControlsEnabled(bool enabled) override;

private:
    void fillDeviceMenu();
    void connectMenus();
    void connectControls();
    std::vector<QAction*> lockableActions() const;
    QAction* item(playback::PlayItem which) const;

    std::unique_ptr<platform::ScreenSaverInhibitor> screenSaver_;
    QList<playback::DeviceEntry> devices_;
    int deviceIndex_ = -1;
    drums::BarStrip* strip_ = nullptr;
    std::unique_ptr<playback::PlayCommands> commands_;
    dialogs::PlayOrderDialog* dialog_ = nullptr;
    playback::ChosenPlayOrder chosenOrder_;
    bool workingCopyShown_ = false;
    // The actions the lock disabled, for the unlock to enable again. An item deleted meanwhile (the
    // pattern items are rebuilt when a template is saved) drops out.
    std::vector<QPointer<QAction>> SavedEnabled;
};

} // namespace tunvale::editor
