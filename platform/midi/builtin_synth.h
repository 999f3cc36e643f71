#pragma once

#include "platform/midi/midi_out.h"
#include "platform/midi/time_source.h"

#include <QStringList>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_audio_driver_t;

namespace tunvale::platform {

struct SynthOptions {
    enum class Rendering {
        // Into the first audio output that opens, else on a thread of its own paced by `time`.
        RealTime,
        // Only when render() asks for frames.
        Offline,
    };

    // Empty: the first General MIDI soundfont of the system's search path.
    QString soundfont;
    Rendering rendering = Rendering::RealTime;
    // Tried in order. JACK is never among them: its client would try to start a server.
    QStringList audioDrivers = { QStringLiteral("pulseaudio"), QStringLiteral("alsa") };
    // Paces the own render thread; the machine's steady clock when null.
    TimeSource* time = nullptr;
};

// The program's default output: a General MIDI synthesizer in the process. Without a sound card it
// still renders in real time and discards the sound, so voices end and timing behaves the same.
class BuiltInSynth final : public MidiOut
{
public:
    static constexpr int kSampleRate = 44100;
    // About 10 ms of sound per block on the own render thread.
    static constexpr int kBlockFrames = 441;

    // Every rendered block passes here before it leaves the synthesizer (the WAV recording taps it).
    using FrameTap = std::function<void(const float* left, const float* right, int frames)>;

    static QStringList soundfontSearchPath();
    // The first existing soundfont of the search path, or an empty string.
    static QString findSoundfont();

    explicit BuiltInSynth(SynthOptions options = {});
    ~BuiltInSynth() override;
    BuiltInSynth(const BuiltInSynth&) = delete;
    BuiltInSynth& operator=(const BuiltInSynth&) = delete;

    bool open() override;
    void close() override;
    bool send(const ShortMessage& message) override;
    QString name() const override;
    QString lastError() const override;

    // The audio output in use ("pulseaudio", "alsa"), or empty when rendering on its own or offline.
    QString audioDriver() const { return driverName_; }
    // Offline rendering: `frames` stereo frames, interleaved left and right.
    std::vector<float> render(int frames);
    void setFrameTap(FrameTap tap);
    long long framesRendered() const { return framesRendered_.load(); }

private:
    static int driverCallback(void* self, int frames, int nfx, float* fx[], int nout, float* out[]);
    bool renderBlock(float* left, float* right, int frames);
    bool openAudioDriver();
    void renderLoop(std::stop_token stop);

    SynthOptions options_;
    _fluid_hashtable_t* settings_ = nullptr;
    _fluid_synth_t* synth_ = nullptr;
    _fluid_audio_driver_t* driver_ = nullptr;
    QString driverName_;
    QString lastError_;

    std::mutex tapMutex_;
    FrameTap tap_;
    std::atomic<long long> framesRendered_ { 0 };
    std::atomic<bool> renderFailed_ { false };

    std::mutex pacingMutex_;
    std::condition_variable_any pacing_;
    std::jthread renderThread_;
};

} // namespace tunvale::platform
