#include "tests/support/scripted_prompts.h"

#include "app/dialogs/recorder_window.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace tunvale;
using tunvale::testing::ScopedPrompts;

TEST(RecorderWindow, ARecordingThatCannotBeWrittenWhenTheWindowGoesIsTold)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("gone");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + "/song.wav";
    platform::BuiltInSynth::FrameTap tap;
    ScopedPrompts prompts;
    {
        dialogs::RecorderWindow window([&tap](platform::BuiltInSynth::FrameTap t) {
            tap = std::move(t);
            return true;
        });
        window.WavFileName(path);
        window.startRecording();
        const std::vector<float> frames(441, 0.5f);
        tap(frames.data(), frames.data(), int(frames.size()));
        // The folder goes while it records; the window then goes as when a new recording replaces it.
        ASSERT_TRUE(QDir(folder).removeRecursively());
    }
    EXPECT_EQ(prompts->texts(), QStringList { QStringLiteral("录音文件 %1 写入失败").arg(path) });
}

// The synthesizer renders on its own thread, as without a sound card, while the buttons record, pause,
// record again and finish: each change is told once, and what was recorded is written.
TEST(RecorderWindow, TheButtonsTellEachChangeAndTheSoundIsWritten)
{
    if (platform::BuiltInSynth::findSoundfont().isEmpty())
        GTEST_SKIP() << "no soundfont";
    platform::SynthOptions options;
    options.audioDrivers = {};
    platform::BuiltInSynth synth(options);
    ASSERT_TRUE(synth.open());
    QTemporaryDir dir;
    const QString path = dir.filePath("song.wav");
    ScopedPrompts prompts;
    dialogs::RecorderWindow window([&synth](platform::BuiltInSynth::FrameTap tap) {
        synth.setFrameTap(std::move(tap));
        return true;
    });
    QSignalSpy changes(&window, &dialogs::RecorderWindow::stateChanged);
    window.WavFileName(path);
    window.cmdStart->click();
    EXPECT_EQ(window.labState->text(), QStringLiteral("正在录音，演奏从头开始。"));
    synth.send({ 0x90, 60, 100 });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    window.cmdPause->click();
    window.cmdStart->click();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    window.cmdFinish->click();
    window.cmdFinish->click(); // disabled: nothing more
    std::vector<short> told;
    for (const QList<QVariant>& change : changes)
        told.push_back(change.at(0).value<short>());
    EXPECT_EQ(told, (std::vector<short> { 2, 3, 2, 4 }));
    EXPECT_GT(QFileInfo(path).size(), 44);
    EXPECT_TRUE(prompts->texts().isEmpty());
}
