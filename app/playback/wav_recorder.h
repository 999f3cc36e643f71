#pragma once

#include "platform/midi/builtin_synth.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class QSaveFile;

namespace tunvale::playback {

class FrameRing;

// Installs a tap on the sound output (an empty tap removes it); false when the output in use cannot
// be tapped. PlayNote::tapBuiltInSynth is the program's.
using TapInstaller = std::function<bool(platform::BuiltInSynth::FrameTap)>;

// Records what the built-in synthesizer plays into a WAV file, 16-bit stereo at the synthesizer's rate.
// The audio thread only copies its blocks into a lock-free ring; a writer thread writes them out. The
// file is written beside its name and replaces an existing one only when the recording is finished.
//
// The states the main window polls: 3 not recording (also when new), 2 recording, 4 finished.
class WavRecorder
{
public:
    enum State : short { Recording = 2, NotRecording = 3, Finished = 4 };

    explicit WavRecorder(TapInstaller installTap, int sampleRate = platform::BuiltInSynth::kSampleRate);
    // A recording in progress is finished: its file is kept.
    ~WavRecorder();
    WavRecorder(const WavRecorder&) = delete;
    WavRecorder& operator=(const WavRecorder&) = delete;

    // The operations of the main window's recording command.
    void OpenRecorder();
    void WavFileName(const QString& path);
    short RecorderState() const { return state_.load(); }
    QString path() const { return path_; }

    // "开始录音": starts or resumes the capture. False when it cannot; error() then says why, and the
    // state is 3 when the output cannot be recorded, 4 when the file cannot be written.
    bool start();
    // "暂停录音": frames that come now are not recorded.
    void pause();
    // "完成": ends the recording; the file is written when a frame was recorded. False when writing
    // failed (error() says why); the state is 4 either way.
    bool finish();
    QString error() const { return error_; }

    // Frames written so far, and frames the ring had no room for.
    long long framesRecorded() const { return framesWritten_.load(); }
    long long framesDropped() const;

private:
    void capture(const float* left, const float* right, int frames);
    void writeLoop();
    void drain();
    void stopCapture();

    TapInstaller installTap_;
    int sampleRate_;
    QString path_;
    QString error_;
    std::atomic<short> state_ { NotRecording };
    std::atomic<bool> capturing_ { false };
    bool tapped_ = false;
    std::unique_ptr<FrameRing> ring_;
    std::unique_ptr<QSaveFile> file_;
    std::atomic<long long> framesWritten_ { 0 };
    bool writeFailed_ = false; // writer thread only until joined
    std::atomic<bool> stopWriting_ { false };
    std::thread writer_;
};

} // namespace tunvale::playback
