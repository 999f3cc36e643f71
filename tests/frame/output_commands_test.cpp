#include "app/frame/output_commands.h"

#include "app/frame/process_state.h"
#include "platform/settings/desktop_folder.h"
#include "tests/frame/hand_snapshot.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <deque>

using namespace tunvale;
using tunvale::testing::snapshotOf;

namespace {

class FakeRecorder final : public frame::SoundRecorder
{
public:
    FakeRecorder(std::deque<short> states, QStringList& log)
        : states_(std::move(states))
        , log_(log)
    {
    }
    ~FakeRecorder() override { log_ << "released"; }
    void OpenRecorder() override { log_ << "OpenRecorder"; }
    void WavFileName(const QString& path) override { log_ << "WavFileName " + path; }
    // Each tick reads the state twice at most; the script moves on once per tick.
    short RecorderState() override { return states_.empty() ? 3 : states_.front(); }
    void tick()
    {
        if (!states_.empty())
            states_.pop_front();
    }

private:
    std::deque<short> states_;
    QStringList& log_;
};

// Logs every call; layout changes mark the score modified, as they would in the editor.
class FakeWindow final : public frame::OutputWindow
{
public:
    QWidget* dialogOwner() const override { return nullptr; }
    platform::RichTextSnapshot scoreSnapshot() const override { return score; }
    void PrintMode() override { changeLayout("PrintMode"); }
    void MakeWorkingCopy() override { changeLayout("MakeWorkingCopy"); }
    void RestoreScoreView() override { changeLayout("RestoreScoreView"); }
    void openPreview() override { changeLayout("openPreview"); }
    void printThroughPreview() override { changeLayout("printThroughPreview"); }
    frame::PictureSaved savePicture(const QString& path) override
    {
        changeLayout("savePicture " + path);
        return pictureSaves;
    }
    QByteArray exportedRtf() const override
    {
        log << "exportedRtf";
        return "{\\rtf1 200}";
    }
    std::unique_ptr<frame::SoundRecorder> newRecorder() override
    {
        auto recorder = std::make_unique<FakeRecorder>(recorderStates, log);
        lastRecorder = recorder.get();
        return recorder;
    }
    void setRecorderTimer(bool running) override { log << (running ? "timer on" : "timer off"); }
    void setRecordingPanel(const QString& text) override { log << "panel " + text; }
    void playFromStart() override { log << "play"; }
    void stopPlay() override { log << "stop"; }

    void changeLayout(const QString& call)
    {
        log << call;
        frame::Process().ScoreHeader.ScoreSaved = false;
    }

    platform::RichTextSnapshot score = snapshotOf({ { { 't', u"小河" } }, { { 'n', u"1 2" } } });
    mutable QStringList log;
    frame::PictureSaved pictureSaves;
    std::deque<short> recorderStates;
    FakeRecorder* lastRecorder = nullptr;
};

struct Dialog {
    frame::SaveDialog function()
    {
        return [this](const platform::FileDialogRequest& request) {
            requests.push_back(request);
            return answer;
        };
    }
    QString answer;
    std::vector<platform::FileDialogRequest> requests;
};

} // namespace

TEST(OutputCommands, EachKeepsTheSavedFlag)
{
    QTemporaryDir dir;
    const std::vector<std::pair<const char*, std::function<void(FakeWindow&)>>> commands {
        { "preview", [](FakeWindow& w) { frame::previewScore(w); } },
        { "print", [](FakeWindow& w) { frame::printScore(w); } },
        { "picture",
            [&](FakeWindow& w) {
                Dialog dialog { dir.filePath("a.bmp") };
                frame::exportPicture(w, dialog.function());
            } },
        { "rtf",
            [&](FakeWindow& w) {
                Dialog dialog { dir.filePath("a.rtf") };
                frame::exportRtf(w, dialog.function());
            } },
    };
    for (const bool saved : { true, false }) {
        for (const auto& [name, run] : commands) {
            FakeWindow window;
            frame::Process().ScoreHeader.ScoreSaved = saved;
            run(window);
            EXPECT_FALSE(window.log.isEmpty()) << name;
            EXPECT_EQ(frame::Process().ScoreHeader.ScoreSaved, saved) << name;
        }
    }
    frame::Process().ScoreHeader.ScoreSaved = true;
}

TEST(OutputCommands, PictureAndRtfDialogsAndWhatACancelDoes)
{
    FakeWindow window;
    Dialog dialog;
    frame::exportPicture(window, dialog.function());
    frame::exportRtf(window, dialog.function());
    EXPECT_TRUE(window.log.isEmpty());
    ASSERT_EQ(dialog.requests.size(), 2u);
    const QString desktop = platform::GetSpecialFolder(platform::CSIDL_DESKTOPDIRECTORY);
    const platform::FileDialogRequest& picture = dialog.requests[0];
    EXPECT_EQ(picture.title, "保存图片...");
    EXPECT_EQ(picture.filters, (QStringList { "图片文件(*.bmp)", "*.bmp", "其他文件(*.*)", "*.*" }));
    EXPECT_EQ(picture.defaultExtension, ".bmp");
    EXPECT_EQ(picture.fileName, "小河");
    EXPECT_EQ(picture.initialFolder, desktop);
    const platform::FileDialogRequest& rtf = dialog.requests[1];
    EXPECT_EQ(rtf.title, "保存RTF...");
    EXPECT_EQ(rtf.filters, (QStringList { "RTF文件(*.rtf)", "*.rtf", "其他文件(*.*)", "*.*" }));
    EXPECT_EQ(rtf.defaultExtension, ".rtf");
    EXPECT_EQ(rtf.fileName, "小河");
}

TEST(OutputCommands, RtfIsSavedLaidOutWithTheExportMarginsAndAFailureSaysSo)
{
    tunvale::testing::ScopedPrompts prompts;
    QTemporaryDir dir;
    FakeWindow window;
    Dialog dialog { dir.filePath("song.rtf") };
    frame::exportRtf(window, dialog.function());
    EXPECT_EQ(tunvale::testing::readAll(dir.filePath("song.rtf")), "{\\rtf1 200}");
    EXPECT_EQ(window.log, QStringList { "exportedRtf" });
    EXPECT_TRUE(prompts->shown.empty());

    FakeWindow failing;
    Dialog nowhere { dir.filePath("no/such/folder/song.rtf") };
    frame::exportRtf(failing, nowhere.function());
    // The message says which file and why; nothing is left behind.
    EXPECT_EQ(prompts->texts(),
        QStringList { "保存失败！\n" + dir.filePath("no/such/folder/song.rtf") + "\n文件夹不存在。" });
    EXPECT_EQ(failing.log, QStringList { "exportedRtf" });

    prompts->shown.clear();
    FakeWindow picture;
    picture.pictureSaves = { frame::PictureSaved::Failed };
    Dialog bitmap { dir.filePath("song.bmp") };
    frame::exportPicture(picture, bitmap.function());
    // The system names no reason for a picture that could not be made: the path alone follows.
    EXPECT_EQ(prompts->texts(), QStringList { "保存失败！\n" + dir.filePath("song.bmp") });
    EXPECT_EQ(picture.log.last(), "RestoreScoreView");

    // A picture the window refused has had its message: no second one follows.
    prompts->shown.clear();
    picture.pictureSaves = { frame::PictureSaved::Refused };
    frame::exportPicture(picture, bitmap.function());
    EXPECT_TRUE(prompts->texts().isEmpty());
}

// A pipe or a device chosen as the RTF file is written through and stays what it was; a pipe that nobody
// reads is a failure at once, not a wait.
TEST(OutputCommands, AnRtfExportOntoAPipeOrADeviceWritesThroughIt)
{
    tunvale::testing::ScopedPrompts prompts;
    QTemporaryDir dir;
    const QString pipe = dir.filePath("song.rtf");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    std::vector<std::pair<QString, QString>> cases { { pipe, "没有程序或设备在读取这个位置。" } };
    if (tunvale::testing::MakeDevice(dir.filePath("full"), true))
        cases.emplace_back(dir.filePath("full"), "磁盘已满。");
    if (tunvale::testing::MakeDevice(dir.filePath("null"), false))
        cases.emplace_back(dir.filePath("null"), QString());
    for (const auto& [path, reason] : cases) {
        prompts->shown.clear();
        FakeWindow window;
        Dialog target { path, {} };
        frame::exportRtf(window, target.function());
        EXPECT_EQ(prompts->texts(),
            reason.isEmpty() ? QStringList() : QStringList { "保存失败！\n" + path + u'\n' + reason });
        EXPECT_FALSE(QFileInfo(path).isFile()) << path.toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot), QStringList {});
}

TEST(OutputCommands, TheRecorderStatesAndWhatEachTickDoes)
{
    struct Case {
        const char* what;
        std::deque<short> states;
        QStringList log; // after record's own calls
    };
    const std::vector<Case> cases {
        { "2, 2: one play", { 2, 2 }, { "panel 录制WAV...", "play" } },
        { "2, 3, 2: two plays", { 2, 3, 2 },
            { "panel 录制WAV...", "play", "panel 未录音...", "panel 录制WAV...", "play" } },
        { "4 first: none, released", { 4, 2 }, { "panel 未录音...", "released", "timer off" } },
        { "2, 4: the play ends with the recording", { 2, 4 },
            { "panel 录制WAV...", "play", "panel 未录音...", "released", "timer off", "stop" } },
        { "3, 3, 4", { 3, 3, 4 }, { "panel 未录音...", "panel 未录音...", "released", "timer off" } },
    };
    for (const Case& c : cases) {
        FakeWindow window;
        window.recorderStates = c.states;
        frame::RecordingCommand command;
        command.record(window);
        ASSERT_EQ(window.log.size(), 3) << c.what;
        window.log.clear();
        for (size_t tick = 0; tick < c.states.size(); ++tick) {
            command.pollRecorder(window);
            if (command.recording())
                window.lastRecorder->tick();
        }
        EXPECT_EQ(window.log, c.log) << c.what;
    }
}

// A pause and a resume within one second: the tick sees recording twice, the changes the recorder told
// start the playback again.
TEST(OutputCommands, ChangesToldBetweenTwoTicksCountAsTicks)
{
    FakeWindow window;
    window.recorderStates = { 2, 2 };
    frame::RecordingCommand command;
    command.record(window);
    window.log.clear();
    command.pollRecorder(window);
    command.recorderChanged(window, 3);
    command.recorderChanged(window, 2);
    command.pollRecorder(window);
    EXPECT_EQ(window.log,
        (QStringList { "panel 录制WAV...", "play", "panel 未录音...", "panel 录制WAV...", "play" }));

    window.log.clear();
    command.recorderChanged(window, 4);
    EXPECT_FALSE(command.recording());
    command.recorderChanged(window, 2); // told by the recorder just released
    EXPECT_EQ(window.log, (QStringList { "panel 未录音...", "released", "timer off", "stop" }));
}

TEST(OutputCommands, ANewRecorderAlreadyRecordingAtItsFirstTickStartsThePlayback)
{
    FakeWindow window;
    window.recorderStates = { 2 };
    frame::RecordingCommand command;
    command.record(window);
    command.pollRecorder(window);
    command.record(window);
    window.log.clear();
    command.pollRecorder(window);
    EXPECT_EQ(window.log, (QStringList { "panel 录制WAV...", "play" }));
}

TEST(OutputCommands, TheRecordingGoesToTheDesktopUnderTheTitle)
{
    FakeWindow window;
    window.score = snapshotOf({ { { 't', u"a/b\u0001c\u4E00" } } });
    frame::RecordingCommand command;
    command.record(window);
    const QString desktop = platform::GetSpecialFolder(platform::CSIDL_DESKTOPDIRECTORY);
    EXPECT_EQ(window.log,
        (QStringList { "OpenRecorder", "WavFileName " + desktop + "/abc\u4E00.wav", "timer on" }));

    // A second recording replaces the first recorder.
    window.log.clear();
    window.score = snapshotOf({ { { 'n', u"1 2" } } });
    window.score.lines[0].text.clear();
    command.record(window);
    EXPECT_EQ(window.log,
        (QStringList { "released", "OpenRecorder", "WavFileName " + desktop + "/录音.wav", "timer on" }));
}
