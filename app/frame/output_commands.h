#pragma once

#include "app/frame/save_dialog.h"
#include "platform/richtext/rich_text_snapshot.h"

#include <QString>

#include <memory>

class QWidget;

// The File menu's print, preview, picture and RTF commands and the Tools menu's recording, over the
// main window. None of them marks the score modified.
namespace tunvale::frame {

// A recorder as the recording command drives it: the program's is the WAV recorder with its window.
// Its states: 2 recording, 3 not recording, 4 finished.
class SoundRecorder
{
public:
    virtual ~SoundRecorder() = default;
    virtual void OpenRecorder() = 0;
    virtual void WavFileName(const QString& path) = 0;
    virtual short RecorderState() = 0;
};

// A picture export's end: saved; refused with the window's own message (too large), nothing written;
// or failed to be written, with the system's error number of the call that failed (0 when none).
struct PictureSaved {
    enum Status { Saved, Refused, Failed };
    Status status = Saved;
    int error = 0;
};

// What these commands need of the main window. The main window implements it; tests use a fake.
class OutputWindow
{
public:
    virtual ~OutputWindow() = default;

    virtual QWidget* dialogOwner() const = 0;
    virtual platform::RichTextSnapshot scoreSnapshot() const = 0;

    // The editor's layouts: margins for the printed page and the working copy in front during an
    // export.
    virtual void PrintMode() = 0;
    virtual void MakeWorkingCopy() = 0;
    virtual void RestoreScoreView() = 0;

    // The print preview: shown and left open; printed through the printer dialog and closed; loaded
    // unseen to save the picture of all pages at `path` and closed.
    virtual void openPreview() = 0;
    virtual void printThroughPreview() = 0;
    virtual PictureSaved savePicture(const QString& path) = 0;
    // The score as the bytes of an RTF file, every paragraph with margins of 200 twips both sides; the
    // editor itself stays as it is shown.
    virtual QByteArray exportedRtf() const = 0;

    // Recording: a new recorder, the timer that polls it every second, status panel 3, the play from
    // the start of the score (a play under way starts again) and the end of a play under way.
    virtual std::unique_ptr<SoundRecorder> newRecorder() = 0;
    virtual void setRecorderTimer(bool running) = 0;
    virtual void setRecordingPanel(const QString& text) = 0;
    virtual void playFromStart() = 0;
    virtual void stopPlay() = 0;
};

// File → "打印预览...": the preview, left open.
void previewScore(OutputWindow& window);
// File → "打印...": the printer dialog, then the pages and copies chosen.
void printScore(OutputWindow& window);
// File → "导出图片格式...": asks for a bitmap file and saves the picture of all pages there; "保存失败！",
// the path and why when it cannot.
void exportPicture(OutputWindow& window, const SaveDialog& saveDialog);
// File → "导出RTF格式...": asks for an RTF file and saves the score there with margins of 200 twips both
// sides; the file is replaced only when all of it was written, else "保存失败！", the path and why.
void exportRtf(OutputWindow& window, const SaveDialog& saveDialog);

// Tools → "录音...": the recording command and the timer that follows its recorder.
class RecordingCommand
{
public:
    // Records into the desktop folder under the score's title with ".wav"; a recorder held before is
    // released.
    void record(OutputWindow& window);
    // Every second while recording: a change into state 2 starts the playback from the start, state 3
    // says so on the status bar, state 4 releases the recorder, stops the timer and ends the play the
    // recording started.
    void pollRecorder(OutputWindow& window);
    // A state the recorder tells as it changes, taken as a tick that read it: a pause and a resume
    // between two ticks still start the playback again.
    void recorderChanged(OutputWindow& window, short state);
    // The recording's file: the title without "/" and control characters, "录音" for a score without
    // one.
    static QString WavPath(const platform::RichTextSnapshot& score);

    bool recording() const { return recorder_ != nullptr; }

private:
    void takeState(OutputWindow& window, short state);

    std::unique_ptr<SoundRecorder> recorder_;
    short lastState_ = 0;
    bool played_ = false; // this recording has started the playback
};

} // namespace tunvale::frame
