#pragma once

#include "app/frame/output_commands.h"
#include "app/playback/wav_recorder.h"

#include <QWidget>

class QLabel;
class QPushButton;

// The recorder "录音...": where the recording goes, and buttons to start, pause and finish it. The
// main window's recording command drives it through frame::SoundRecorder and starts the playback
// when it sees the recording start.
namespace tunvale::dialogs {

class RecorderWindow : public QWidget, public frame::SoundRecorder
{
    Q_OBJECT

public:
    explicit RecorderWindow(playback::TapInstaller installTap, QWidget* parent = nullptr);
    // Finishes a recording still in progress and tells a file that cannot be written.
    ~RecorderWindow() override;

    // frame::SoundRecorder: shows the window, names the file, tells the state.
    void OpenRecorder() override;
    void WavFileName(const QString& path) override;
    short RecorderState() override { return recorder_.RecorderState(); }

    // The buttons. A capture that cannot start, or a file that cannot be written, is told.
    void startRecording();
    void pauseRecording();
    void finishRecording();

    QLabel* labPath = nullptr;
    QLabel* labState = nullptr;
    QPushButton* cmdStart = nullptr;
    QPushButton* cmdPause = nullptr;
    QPushButton* cmdFinish = nullptr;

signals:
    // A button changed the recorder's state.
    void stateChanged(short state);

protected:
    // Closing the window finishes the recording.
    void closeEvent(QCloseEvent* event) override;

private:
    void showState();
    void tellChange(short before);

    playback::WavRecorder recorder_;
};

} // namespace tunvale::dialogs
