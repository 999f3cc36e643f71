#include "tests/support/scripted_prompts.h"

#include "app/dialogs/recorder_window.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
