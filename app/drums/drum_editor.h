#pragma once

#include "app/drums/drum_editor_state.h"
#include "app/drums/drum_editor_window.h"

#include <QWidget>

#include <array>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollBar;
class QSlider;
class QSpinBox;
class QStatusBar;

namespace tunvale::playback {
class PlayNote;
}

namespace tunvale::drums {

class ChoiceList;
class StepGrid;
class TemplateList;

// The drum pattern editor: one bar's pattern of eight tracks of 32 steps, with each track's switch,
// sound, volume and pan, the time signature, the speed, the name and whether the song may use it; the
// pattern is auditioned, sent to a bar of the score as one undo step or kept in the template library,
// whose templates are listed, auditioned, edited, deleted and sent to a bar.
//
// One window above the main window, not modal. Opening it locks the main window's editing and
// closing it unlocks it; what it showed is gone then, unsaved or not. The controls keep the names the
// rest of the program and the test tool know them by.
class DrumEditor : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWideTwips = 14115;
    static constexpr int kNarrowTwips = 11670;
    static constexpr int kTracks = notation::DrumRecord::Tracks;

    DrumEditor(
        DrumEditorWindow& window, notation::DrumStores& stores, playback::PlayNote& player, QWidget* owner);
    ~DrumEditor() override;

    // Shows the record in DrumEdit, opening the editor when it is closed and raising it when it is
    // open. With `ask`, a shown pattern with a name is only replaced when the user agrees; false when
    // the user keeps it.
    bool ShowOneDrum(bool ask);
    // Every control on or off: an audition turns them off until it ends.
    void ControlsEnabled(bool enabled);
    bool isOpen() const { return open_; }
    bool isNarrow() const { return narrow_; }
    // The record the controls show.
    notation::DrumRecord BuildDrumRecord() const;

    // The controls.
    QLineEdit* Text1 = nullptr;
    QCheckBox* CheckHaveDrum = nullptr;
    std::array<QCheckBox*, kTracks> CheckChannel {};
    std::array<ChoiceList*, kTracks> ComboDrum {};
    std::array<QLineEdit*, kTracks> TextVolume {};
    std::array<QScrollBar*, kTracks> VScrollvolume {};
    std::array<QSlider*, kTracks> Slider_Drum {};
    StepGrid* Label5 = nullptr;
    ChoiceList* ComboTime = nullptr;
    QLabel* Label7 = nullptr;
    QSpinBox* Text_Speed = nullptr;
    TemplateList* myDrumList = nullptr;
    QLabel* Label2 = nullptr; // ">>" narrow, "<<" wide: a click switches
    QLabel* Image1 = nullptr; // the pan mirror: a click mirrors every pan
    QStatusBar* StatusBar1 = nullptr;
    QPushButton* CmdClear = nullptr;
    QPushButton* CmdAudition = nullptr;
    QPushButton* CmdIncreaseSave = nullptr;
    QPushButton* Command1 = nullptr; // help
    // The template list's menu ("试听", "编辑", "删除", "发送到简谱...").
    QMenu* munMyDrum = nullptr;
    QAction* ModAudition = nullptr;
    QAction* munEditForDat = nullptr;
    QAction* munDelDataDrum = nullptr;
    QAction* munSendForSong = nullptr;
    // The menu of "保存至..": 0 "模板", 1 a separator, 2 "原小节", 3 "另外小节...".
    QMenu* DrumSave = nullptr;
    std::array<QAction*, 4> SaveJmD {};

protected:
    void closeEvent(QCloseEvent* event) override;
    // Esc closes the editor as its close box does.
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The design (drum_editor_design.cpp).
    void buildControls();
    QGroupBox* buildTracks(QWidget* parent);
    void buildButtons(QWidget* parent);
    void buildMenus();
    void connectControls();
    int pixels(double twips) const;
    void setNarrow(bool narrow);
    void showPanPicture();

    // Opening and what the controls do (drum_editor.cpp).
    void load();
    void resetControls();
    void fillLists();
    bool mayReplaceShown();
    void showEditRecord();
    void showTimeCode(int code);
    void timeChosen(int index);
    void soundChosen(int track, int index);
    void volumeTyped(int track);
    void volumeScrolled(int track);
    void stepPressed(int track, int step);
    void mirrorPans();
    void switchWidth();
    void clearPattern();
    void auditionPattern();
    void showStatus(const QString& text);
    DrumEditorState state() const;

    // The template library and sending (drum_editor_templates.cpp).
    void fillTemplateList();
    // A template dropped on the name box; true when the event was one of the drop's.
    bool templateDropped(QEvent* event);
    int selectedTemplate() const;
    void offer(const notation::DrumRecord& record);
    void enableTemplateMenu();
    void auditionTemplate();
    void editTemplate();
    void deleteTemplate();
    void sendTemplateToSong();
    void saveAs(int item);
    void saveAsTemplate(const notation::DrumRecord& record);
    std::optional<int> askForBar(int proposed);
    void sendToBar(std::optional<int> bar, const notation::DrumRecord& record);

    DrumEditorWindow& window_;
    notation::DrumStores& stores_;
    playback::PlayNote& player_;
    QWidget* content_ = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame5 = nullptr;
    QGroupBox* Frame6 = nullptr;
    bool open_ = false;
    bool placed_ = false;
    bool formReady_ = false;
    bool narrow_ = true;
    bool panMirrored_ = false;
    int lastTimeCode_ = 0;
    // What the lists show, or hold unchanged where they cannot show it.
    int shownTimeCode_ = 0;
    std::array<int, kTracks> shownSounds_ {};
};
using FrmDrum201512 = DrumEditor;

} // namespace tunvale::drums
