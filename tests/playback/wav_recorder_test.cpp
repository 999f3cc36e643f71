#include "app/playback/play_note.h"
#include "app/playback/wav_recorder.h"

#include "platform/midi/recording_sink.h"
#include "tests/support/test_folders.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

using namespace tunvale;
using platform::BuiltInSynth;
using playback::WavRecorder;

namespace {

// A tap the test feeds by hand.
struct HandTap {
    playback::TapInstaller installer()
    {
        return [this](BuiltInSynth::FrameTap t) {
            if (refuse && t)
                return false;
            tap = std::move(t);
            return true;
        };
    }
    // `frames` frames of left = value, right = -value.
    void play(int frames, float value)
    {
        const std::vector<float> left(size_t(frames), value), right(size_t(frames), -value);
        if (tap)
            tap(left.data(), right.data(), frames);
    }

    BuiltInSynth::FrameTap tap;
    bool refuse = false;
};

// What Python's wave module reads: channels, sample width, rate, frames, the first frame's two samples
// and the largest magnitude. Run through popen: after a QProcess start ThreadSanitizer loses track of
// the synchronisation of threads started later and reports races that are not there.
QString readWave(const QString& path)
{
    QTemporaryDir dir;
    const QString script = dir.filePath("read.py");
    tunvale::testing::writeAll(script,
        "import wave, struct, sys\n"
        "w = wave.open(sys.argv[1])\n"
        "n = w.getnframes()\n"
        "data = w.readframes(n)\n"
        "samples = struct.unpack('<%dh' % (len(data) // 2), data)\n"
        "first = samples[:2] if samples else (0, 0)\n"
        "peak = max((abs(s) for s in samples), default=0)\n"
        "print(w.getnchannels(), w.getsampwidth(), w.getframerate(), n, first[0], first[1], peak)\n");
    const QByteArray command
        = "python3 '" + QFile::encodeName(script) + "' '" + QFile::encodeName(path) + "' 2>&1";
    FILE* python = popen(command.constData(), "r");
    QByteArray output;
    char buffer[256];
    while (python && fgets(buffer, sizeof buffer, python))
        output += buffer;
    if (python)
        pclose(python);
    return QString::fromUtf8(output).trimmed();
}

// Waits until the writer thread has taken `frames` frames.
void waitForFrames(const WavRecorder& recorder, long long frames)
{
    for (int i = 0; i < 500 && recorder.framesRecorded() < frames; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

} // namespace

TEST(WavRecorder, RecordsWhileStartedAndReplacesTheOldFileOnlyWhenFinished)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("小河.wav");
    ASSERT_TRUE(tunvale::testing::writeAll(path, "old"));
    HandTap hand;
    WavRecorder recorder(hand.installer());
    recorder.OpenRecorder();
    recorder.WavFileName(path);
    EXPECT_EQ(recorder.RecorderState(), 3);

    ASSERT_TRUE(recorder.start());
    EXPECT_EQ(recorder.RecorderState(), 2);
    hand.play(1000, 0.5f);
    waitForFrames(recorder, 1000);
    recorder.pause();
    EXPECT_EQ(recorder.RecorderState(), 3);
    hand.play(500, 0.9f); // not recorded
    ASSERT_TRUE(recorder.start());
    hand.play(300, 0.25f);
    EXPECT_EQ(tunvale::testing::readAll(path), "old");

    EXPECT_TRUE(recorder.finish());
    EXPECT_EQ(recorder.RecorderState(), 4);
    EXPECT_FALSE(hand.tap); // the tap went with the recording
    EXPECT_EQ(readWave(path), "2 2 44100 1300 16384 -16384 16384");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList { "小河.wav" });
}

TEST(WavRecorder, NothingRecordedWritesNothingAndAReleasedRecordingIsKept)
{
    QTemporaryDir dir;
    HandTap hand;
    {
        WavRecorder recorder(hand.installer());
        recorder.WavFileName(dir.filePath("empty.wav"));
        ASSERT_TRUE(recorder.start());
        recorder.pause();
        EXPECT_TRUE(recorder.finish());
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    {
        WavRecorder recorder(hand.installer());
        recorder.WavFileName(dir.filePath("kept.wav"));
        ASSERT_TRUE(recorder.start());
        hand.play(441, 1.5f); // beyond full scale: clipped
    }
    EXPECT_EQ(readWave(dir.filePath("kept.wav")), "2 2 44100 441 32767 -32767 32767");
}

TEST(WavRecorder, ACaptureThatCannotStartSaysWhy)
{
    QTemporaryDir dir;
    HandTap hand;
    hand.refuse = true; // another output than the built-in synthesizer
    WavRecorder other(hand.installer());
    other.WavFileName(dir.filePath("a.wav"));
    EXPECT_FALSE(other.start());
    EXPECT_EQ(other.RecorderState(), 3);
    EXPECT_FALSE(other.error().isEmpty());

    hand.refuse = false;
    WavRecorder nowhere(hand.installer());
    nowhere.WavFileName(dir.filePath("no/such/folder/a.wav"));
    EXPECT_FALSE(nowhere.start());
    EXPECT_EQ(nowhere.RecorderState(), 4);
    EXPECT_TRUE(nowhere.error().contains("no/such/folder/a.wav"));
}

TEST(WavRecorder, ThePlayersTapFollowsTheOutputAway)
{
    // A built-in synthesizer that renders when asked, and one port.
    class Devices final : public platform::MidiDevices
    {
    public:
        std::unique_ptr<platform::MidiOut> builtIn() override
        {
            platform::SynthOptions options;
            options.rendering = platform::SynthOptions::Rendering::Offline;
            auto synth = std::make_unique<BuiltInSynth>(options);
            last = synth.get();
            return synth;
        }
        QStringList portNames() override { return { "port" }; }
        std::unique_ptr<platform::MidiOut> port(const QString& name) override
        {
            return std::make_unique<platform::RecordingSink>(
                std::make_shared<platform::MidiRecording>(), name);
        }
        BuiltInSynth* last = nullptr;
    };
    if (BuiltInSynth::findSoundfont().isEmpty())
        GTEST_SKIP() << "no soundfont";
    auto owned = std::make_unique<Devices>();
    Devices* devices = owned.get();
    playback::PlayNote note(std::move(owned));
    // The synthesizer opens beside the window; the test renders it by hand once it has.
    note.waitUntilReady();
    note.Midi_OutDevsToList();
    int blocks = 0;
    ASSERT_TRUE(note.tapBuiltInSynth([&](const float*, const float*, int) { ++blocks; }));
    devices->last->render(64);
    EXPECT_EQ(blocks, 1);

    ASSERT_TRUE(note.OpenDevice(0));
    EXPECT_FALSE(note.tapBuiltInSynth([](const float*, const float*, int) {}));
    ASSERT_TRUE(note.OpenDevice(-1));
    devices->last->render(64);
    EXPECT_EQ(blocks, 2);
}

TEST(WavRecorder, TheSynthesizerWithoutASoundCardRecordsInRealTime)
{
    if (BuiltInSynth::findSoundfont().isEmpty())
        GTEST_SKIP() << "no soundfont";
    platform::SynthOptions options;
    options.audioDrivers = {}; // its own render thread, as without a sound card
    BuiltInSynth synth(options);
    ASSERT_TRUE(synth.open());
    QTemporaryDir dir;
    WavRecorder recorder([&](BuiltInSynth::FrameTap tap) {
        synth.setFrameTap(std::move(tap));
        return true;
    });
    recorder.WavFileName(dir.filePath("song.wav"));
    QElapsedTimer elapsed;
    ASSERT_TRUE(recorder.start());
    elapsed.start();
    for (int note : { 60, 64, 67, 72 }) {
        synth.send({ 0x90, std::uint8_t(note), 100 });
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        synth.send({ 0x80, std::uint8_t(note), 0 });
    }
    ASSERT_TRUE(recorder.finish());
    const double seconds = elapsed.nsecsElapsed() / 1e9;
    synth.close();

    const QStringList wave = readWave(dir.filePath("song.wav")).split(' ');
    ASSERT_EQ(wave.size(), 7) << wave.join(' ').toStdString();
    EXPECT_EQ(wave.mid(0, 3), (QStringList { "2", "2", "44100" }));
    EXPECT_NEAR(wave[3].toDouble() / 44100, seconds, 0.1);
    EXPECT_GT(wave[6].toInt(), 1000); // not silent
    EXPECT_EQ(recorder.framesDropped(), 0);
}
