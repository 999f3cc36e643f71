#include "platform/midi/builtin_synth.h"

#include "app/playback/thread_control.h"
#include "tests/playback/fake_time.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

using namespace tunvale;
using platform::BuiltInSynth;
using platform::ShortMessage;

namespace {

ShortMessage msg(int status, int data1, int data2)
{
    return ShortMessage { std::uint8_t(status), std::uint8_t(data1), std::uint8_t(data2) };
}

TEST(ShortMessageTest, ProgramChangeAndChannelPressureGoOutAsTwoBytes)
{
    const struct {
        std::uint32_t packed;
        std::vector<unsigned char> bytes;
    } cases[] = {
        { 0x643C90, { 0x90, 0x3C, 0x64 } },
        { 0x003C80, { 0x80, 0x3C, 0x00 } },
        { 0x0078B2, { 0xB2, 0x78, 0x00 } },
        { 0x0028C0, { 0xC0, 0x28 } },
        { 0x0040DF, { 0xDF, 0x40 } },
        { 0x4000E0, { 0xE0, 0x00, 0x40 } },
        { 0x1030A1, { 0xA1, 0x30, 0x10 } },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShortMessage::unpack(c.packed).wireBytes(), c.bytes) << std::hex << c.packed;
        EXPECT_EQ(ShortMessage::unpack(c.packed).packed(), c.packed);
    }
}

QString testSoundfont()
{
    for (const char* path :
        { "/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2" }) {
        if (QFileInfo(QString::fromLatin1(path)).isFile())
            return QString::fromLatin1(path);
    }
    return {};
}

std::unique_ptr<BuiltInSynth> offlineSynth()
{
    platform::SynthOptions options;
    options.soundfont = testSoundfont();
    options.rendering = platform::SynthOptions::Rendering::Offline;
    auto synth = std::make_unique<BuiltInSynth>(options);
    return synth->open() ? std::move(synth) : nullptr;
}

// Loudness of interleaved stereo frames in dB below full scale.
double levelDb(const std::vector<float>& frames)
{
    double sum = 0;
    for (float s : frames)
        sum += double(s) * s;
    return 10 * std::log10(std::max(sum / double(frames.size()), 1e-20));
}

float peak(const std::vector<float>& frames)
{
    float p = 0;
    for (float s : frames)
        p = std::max(p, std::abs(s));
    return p;
}

constexpr int kTenth = BuiltInSynth::kSampleRate / 10;

TEST(BuiltInSynthTest, AllSoundOffSilencesHeldNotesOnMelodyAndDrumChannels)
{
    const struct {
        const char* what;
        int channel;
        int program;
        int key;
    } cases[] = { { "organ", 0, 19, 60 }, { "snare", 9, 0, 38 } };
    for (const auto& c : cases) {
        auto synth = offlineSynth();
        ASSERT_TRUE(synth) << "no General MIDI soundfont installed";
        // FluidSynth refuses a note-off for a note not sounding; the first melody note-off is one.
        ASSERT_TRUE(synth->send(msg(0x80 + c.channel, c.key, 0)));
        ASSERT_TRUE(synth->send(msg(0xC0 + c.channel, c.program, 0)));
        ASSERT_TRUE(synth->send(msg(0x90 + c.channel, c.key, 100)));
        const double sounding = levelDb(synth->render(kTenth));
        ASSERT_TRUE(synth->send(msg(0xB0 + c.channel, 120, 0)));
        synth->render(4 * kTenth);
        const double after = levelDb(synth->render(kTenth));
        EXPECT_GT(sounding, -40) << c.what;
        EXPECT_GE(sounding - after, 40) << c.what;
    }
}

TEST(BuiltInSynthTest, AFullChordWithDrumsAtFullVelocityDoesNotClip)
{
    auto synth = offlineSynth();
    ASSERT_TRUE(synth) << "no General MIDI soundfont installed";
    for (int key : { 48, 55, 60, 64, 67, 72 })
        synth->send(msg(0x90, key, 127));
    for (int key : { 36, 38, 42, 49 })
        synth->send(msg(0x99, key, 127));
    const std::vector<float> frames = synth->render(5 * kTenth);
    EXPECT_LT(peak(frames), 1.0f);
    EXPECT_GT(peak(frames), 0.1f);
}

TEST(BuiltInSynthTest, EveryRenderedBlockPassesTheTap)
{
    auto synth = offlineSynth();
    ASSERT_TRUE(synth) << "no General MIDI soundfont installed";
    long long tapped = 0;
    synth->setFrameTap([&](const float*, const float*, int frames) { tapped += frames; });
    synth->render(1000);
    synth->render(234);
    EXPECT_EQ(tapped, 1234);
    EXPECT_EQ(synth->framesRendered(), 1234);
}

template <typename Condition> bool eventually(Condition condition)
{
    for (int i = 0; i < 500 && !condition(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return condition();
}

TEST(BuiltInSynthTest, WithoutAudioOutputItRendersAsFastAsTheClockRuns)
{
    tunvale::testing::FakeTime fakeTime;
    platform::SynthOptions options;
    options.soundfont = testSoundfont();
    options.audioDrivers = {};
    options.time = &fakeTime;
    BuiltInSynth synth(options);
    ASSERT_TRUE(synth.open());
    EXPECT_EQ(synth.audioDriver(), QString());
    ASSERT_TRUE(eventually([&] { return fakeTime.sleepers() == 1; }));
    EXPECT_EQ(synth.framesRendered(), 0);
    EXPECT_TRUE(synth.render(100).empty());

    fakeTime.advanceSeconds(1.0);
    ASSERT_TRUE(eventually([&] { return synth.framesRendered() == BuiltInSynth::kSampleRate; }))
        << synth.framesRendered();
    fakeTime.advanceSeconds(0.25);
    ASSERT_TRUE(eventually([&] { return synth.framesRendered() == BuiltInSynth::kSampleRate * 5 / 4; }))
        << synth.framesRendered();
}

int threadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

TEST(ThreadCountTest, SynthesizersAndWorkerThreadsLeaveNoThreadBehind)
{
    // A runtime that starts a helper with the first thread of the process (ThreadSanitizer does) has
    // started it before counting.
    std::thread([] {}).join();
    const int before = threadCount();
    platform::SynthOptions options;
    options.soundfont = testSoundfont();
    options.audioDrivers = {};
    for (int i = 0; i < 20; ++i) {
        BuiltInSynth synth(options);
        ASSERT_TRUE(synth.open());
        synth.send(msg(0x90, 60, 100));
    }
    playback::ThreadControl control;
    for (int i = 0; i < 100; ++i) {
        control.CreateThread(i, [](int, playback::ThreadPass& pass) {
            while (pass.PassGate())
                std::this_thread::yield();
        });
        control.StopThread();
    }
    // A joined thread can stay listed for a moment while the kernel reaps it (so can one of an earlier
    // test when counting starts); a leaked one stays.
    EXPECT_TRUE(eventually([&] { return threadCount() <= before; }))
        << threadCount() << " threads, " << before << " before";
}

} // namespace
