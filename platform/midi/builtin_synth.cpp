#include "platform/midi/builtin_synth.h"

#include "platform/midi/quiet_backends.h"

#include <QFileInfo>

#include <fluidsynth.h>

#include <dlfcn.h>

namespace tunvale::platform {

namespace {

#define TUNVALE_FLUID_FUNCTIONS(X)                                                                           \
    X(new_fluid_settings)                                                                                    \
    X(fluid_settings_setint)                                                                                 \
    X(fluid_settings_setnum)                                                                                 \
    X(fluid_settings_setstr)                                                                                 \
    X(new_fluid_synth)                                                                                       \
    X(fluid_synth_sfload)                                                                                    \
    X(new_fluid_audio_driver2)                                                                               \
    X(delete_fluid_audio_driver)                                                                             \
    X(delete_fluid_synth)                                                                                    \
    X(delete_fluid_settings)                                                                                 \
    X(fluid_synth_noteoff)                                                                                   \
    X(fluid_synth_noteon)                                                                                    \
    X(fluid_synth_cc)                                                                                        \
    X(fluid_synth_program_change)                                                                            \
    X(fluid_synth_pitch_bend)                                                                                \
    X(fluid_synth_write_float)                                                                               \
    X(fluid_set_log_function)

// FluidSynth, loaded by the first synthesizer that opens, on the worker thread that opens it: the
// program's start does not wait for the library and the dozens of libraries it brings along.
struct FluidSynthLibrary {
#define TUNVALE_FLUID_FUNCTION(name) decltype(&::name) name = nullptr;
    TUNVALE_FLUID_FUNCTIONS(TUNVALE_FLUID_FUNCTION)
#undef TUNVALE_FLUID_FUNCTION
    bool loaded = false;
};

const FluidSynthLibrary& fluid()
{
    static const FluidSynthLibrary library = [] {
        FluidSynthLibrary f;
        void* handle = dlopen(TUNVALE_FLUIDSYNTH_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            return f;
        bool complete = true;
#define TUNVALE_FLUID_FUNCTION(name)                                                                         \
    f.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name));                                      \
    complete = complete && f.name;
        TUNVALE_FLUID_FUNCTIONS(TUNVALE_FLUID_FUNCTION)
#undef TUNVALE_FLUID_FUNCTION
        f.loaded = complete;
        if (complete) {
            for (int level : { FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG })
                f.fluid_set_log_function(level, nullptr, nullptr);
        }
        return f;
    }();
    return library;
}

// Loud enough to stand beside other programs (FluidSynth's own 0.2 is quiet), low enough that a
// chord with drums at full velocity does not clip.
constexpr double kGain = 0.5;

std::chrono::nanoseconds framesToTime(long long frames)
{
    return std::chrono::nanoseconds(frames * 1'000'000'000LL / BuiltInSynth::kSampleRate);
}

long long timeToFrames(std::chrono::nanoseconds elapsed)
{
    return elapsed.count() * BuiltInSynth::kSampleRate / 1'000'000'000LL;
}

} // namespace

QStringList BuiltInSynth::soundfontSearchPath()
{
    return { QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2"),
        QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2"),
        QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2") };
}

QString BuiltInSynth::findSoundfont()
{
    for (const QString& path : soundfontSearchPath()) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

BuiltInSynth::BuiltInSynth(SynthOptions options)
    : options_(std::move(options))
{
    if (!options_.time)
        options_.time = &TimeSource::system();
}

BuiltInSynth::~BuiltInSynth() { close(); }

QString BuiltInSynth::name() const { return QStringLiteral("内置合成器"); }

QString BuiltInSynth::lastError() const
{
    if (renderFailed_)
        return QStringLiteral("内置合成器无法合成声音");
    return lastError_;
}

bool BuiltInSynth::open()
{
    close();
    quietenSoundLibraries();
    if (!fluid().loaded) {
        lastError_ = QStringLiteral("内置合成器无法创建");
        return false;
    }
    const QString soundfont = options_.soundfont.isEmpty() ? findSoundfont() : options_.soundfont;
    if (soundfont.isEmpty() || !QFileInfo(soundfont).isFile()) {
        lastError_ = QStringLiteral("找不到 General MIDI 音色库");
        return false;
    }

    settings_ = fluid().new_fluid_settings();
    if (settings_) {
        // Every score window is a process of its own: load samples as programs ask for them.
        fluid().fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
        fluid().fluid_settings_setnum(settings_, "synth.gain", kGain);
        fluid().fluid_settings_setnum(settings_, "synth.sample-rate", kSampleRate);
        fluid().fluid_settings_setint(settings_, "audio.period-size", 256);
        fluid().fluid_settings_setint(settings_, "audio.periods", 4);
        synth_ = fluid().new_fluid_synth(settings_);
    }
    if (!synth_) {
        close();
        lastError_ = QStringLiteral("内置合成器无法创建");
        return false;
    }
    if (fluid().fluid_synth_sfload(synth_, QFile::encodeName(soundfont).constData(), 1) == FLUID_FAILED) {
        close();
        lastError_ = QStringLiteral("音色库 %1 无法读取").arg(soundfont);
        return false;
    }

    renderFailed_ = false;
    framesRendered_ = 0;
    if (options_.rendering == SynthOptions::Rendering::RealTime && !openAudioDriver())
        renderThread_ = std::jthread([this](std::stop_token stop) { renderLoop(stop); });
    return true;
}

bool BuiltInSynth::openAudioDriver()
{
    for (const QString& name : options_.audioDrivers) {
        if (fluid().fluid_settings_setstr(settings_, "audio.driver", name.toUtf8().constData())
            == FLUID_FAILED)
            continue;
        driver_ = fluid().new_fluid_audio_driver2(settings_, &BuiltInSynth::driverCallback, this);
        if (driver_) {
            driverName_ = name;
            return true;
        }
    }
    return false;
}

void BuiltInSynth::close()
{
    if (renderThread_.joinable()) {
        renderThread_.request_stop();
        renderThread_.join();
    }
    if (driver_)
        fluid().delete_fluid_audio_driver(driver_);
    driver_ = nullptr;
    driverName_.clear();
    if (synth_)
        fluid().delete_fluid_synth(synth_);
    synth_ = nullptr;
    if (settings_)
        fluid().delete_fluid_settings(settings_);
    settings_ = nullptr;
}

bool BuiltInSynth::send(const ShortMessage& m)
{
    if (!synth_) {
        if (lastError_.isEmpty())
            lastError_ = QStringLiteral("内置合成器未打开");
        return false;
    }
    if (renderFailed_)
        return false;
    // FluidSynth's answers say nothing about the output: a note-off of a note not sounding, or a
    // note-on for a program the soundfont lacks, is answered FLUID_FAILED. Only rendering can fail.
    const int channel = m.channel();
    switch (m.kind()) {
    case 0x80:
        fluid().fluid_synth_noteoff(synth_, channel, m.data1);
        break;
    case 0x90:
        fluid().fluid_synth_noteon(synth_, channel, m.data1, m.data2);
        break;
    case 0xB0:
        fluid().fluid_synth_cc(synth_, channel, m.data1, m.data2);
        break;
    case 0xC0:
        fluid().fluid_synth_program_change(synth_, channel, m.data1);
        break;
    case 0xE0:
        fluid().fluid_synth_pitch_bend(synth_, channel, m.data1 + 128 * m.data2);
        break;
    default:
        break;
    }
    return true;
}

void BuiltInSynth::setFrameTap(FrameTap tap)
{
    std::lock_guard lock(tapMutex_);
    tap_ = std::move(tap);
}

bool BuiltInSynth::renderBlock(float* left, float* right, int frames)
{
    if (fluid().fluid_synth_write_float(synth_, frames, left, 0, 1, right, 0, 1) == FLUID_FAILED) {
        renderFailed_ = true;
        return false;
    }
    framesRendered_ += frames;
    std::lock_guard lock(tapMutex_);
    if (tap_)
        tap_(left, right, frames);
    return true;
}

int BuiltInSynth::driverCallback(void* self, int frames, int, float*[], int nout, float* out[])
{
    if (nout < 2)
        return FLUID_FAILED;
    return static_cast<BuiltInSynth*>(self)->renderBlock(out[0], out[1], frames) ? FLUID_OK : FLUID_FAILED;
}

std::vector<float> BuiltInSynth::render(int frames)
{
    std::vector<float> interleaved;
    // A real-time synthesizer already renders on another thread, and FluidSynth renders on one at a time.
    if (!synth_ || frames <= 0 || options_.rendering != SynthOptions::Rendering::Offline)
        return interleaved;
    std::vector<float> left(static_cast<size_t>(frames)), right(static_cast<size_t>(frames));
    if (!renderBlock(left.data(), right.data(), frames))
        return interleaved;
    interleaved.resize(size_t(frames) * 2);
    for (size_t i = 0; i < left.size(); ++i) {
        interleaved[2 * i] = left[i];
        interleaved[2 * i + 1] = right[i];
    }
    return interleaved;
}

void BuiltInSynth::renderLoop(std::stop_token stop)
{
    TimeSource& time = *options_.time;
    std::vector<float> left(kBlockFrames), right(kBlockFrames);
    std::unique_lock lock(pacingMutex_);
    const TimeSource::Clock::time_point start = time.now();
    long long rendered = 0;
    // Frames follow the monotonic clock, so a late wake-up renders what is due and nothing drifts.
    while (!stop.stop_requested()) {
        const long long due = timeToFrames(time.now() - start);
        while (rendered < due && !stop.stop_requested()) {
            const int frames = int(std::min<long long>(kBlockFrames, due - rendered));
            if (!renderBlock(left.data(), right.data(), frames))
                return;
            rendered += frames;
        }
        time.sleepUntil(
            pacing_, lock, stop, start + framesToTime(rendered + kBlockFrames), [] { return false; });
    }
}

} // namespace tunvale::platform
