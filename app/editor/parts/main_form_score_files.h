#pragma once

#include "app/editor/parts/main_form_part.h"
#include "app/frame/editor_score_file.h"
#include "app/frame/score_file_commands.h"
#include "app/frame/score_window.h"
#include "app/frame/window_raiser.h"

#include <memory>

// The main window's score files: the File menu's score commands, search and open, the recent items,
// the save question of the close and the raise calls of other windows, over the window's own controls.
namespace tunvale::editor {

class MainFormScoreFiles final : public MainFormPart, public frame::ScoreWindow, public frame::RaiseTarget
{
    Q_OBJECT

public:
    MainFormScoreFiles(MainForm& form, frame::ScoreFileServices services);
    ~MainFormScoreFiles() override;

    frame::ScoreFileCommands& commands() { return *commands_; }

    // Listens for other windows' raise calls; false when the socket could not be made.
    bool listen();

    // Opens the window's first score: `fileName`, the template when it is empty or can't be read.
    // False when the window must close at once: a score of a newer format, or any score refused in a
    // window that another window started for it.
    bool OpenStartScore(const QString& fileName);

    // "搜索并打开...": the search window picks a score below the folder where opening starts, and the
    // one-window open takes it.
    void searchAndOpen();

    // MainFormPart: a changed score is saved first when the user says so.
    bool readyToClose() override;

    // frame::ScoreWindow
    notation::ScoreHeader& header() override;
    notation::ColorScheme& colors() override;
    notation::DrumStore& XjDrums() override;
    notation::PlayOrder& playOrder() override;
    platform::RichTextBox& RichTextBox1() override;
    bool PrintStart() const override;
    QWidget* dialogOwner() override;
    int screenDpi() const override;
    void fillSoundList() override;
    void showScoreValues() override;
    int instrumentIndex() const override;
    QString speedText() const override;
    QString volumeText() const override;
    bool drumPZChecked() const override;
    void setCaption(const QString& caption) override;
    void setBarPanelText(const QString& text) override;
    void resetCaret() override;
    void keepCurrentFile(const QString& path) override;
    void startHighlightCleaner() override;
    void UndoReset() override;
    void JzRTB(bool userRightSpace) override;
    std::pair<int, int> paragraphIndents(const notation::ScoreHeader& header) const override;
    int XJInteger() const override;
    void RefreshDrumSlider(int bar) override;
    void InitDrumUndo() override;
    void clearDrumUndoLists() override;
    void forgetPreviousScore() override;
    QString WindowPos() const override;
    void ShowRecentFiles() override;
    void closeWindow() override;

    // frame::VlsSettingsTarget, handed on to the window.
    void setDrumPZChecked(bool checked) override;
    void setAccompanimentType(int index) override;
    void setSameSpeedChecked(bool checked) override;
    void setHeYingChecked(bool checked) override;
    void setRulerLeftSpace(int twips) override;
    void setRulerRightSpace(int twips) override;

    // frame::RaiseTarget
    bool showsScore(const QString& path) const override;
    void bringUp() override;

private:
    void connectMenus();

    frame::EditorPlayOrderScore orderScore_;
    frame::WindowRaiser raiser_;
    std::unique_ptr<frame::ScoreFileCommands> commands_;
    QString keptFile_;
    bool closeAsked_ = false;
};

} // namespace tunvale::editor
