#include "app/editor/actions/toolbar_dispatch.h"
#include "app/editor/actions/toolbar_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace tunvale::editor;

namespace {

class FakeHost final : public ToolbarHost
{
public:
    bool pitchBrushOn() const override { return pitch; }
    bool durationBrushOn() const override { return duration; }
    void setButtonValue(int index, int value) override { values[index] = value; }
    void refreshToolbar() override { ++refreshes; }

    bool pitch = false;
    bool duration = false;
    std::map<int, int> values;
    int refreshes = 0;
};

// Records every command with its argument and the busy flag it ran under.
struct Recorder {
    struct Call {
        QString command;
        int argument;
        bool busy;
        friend bool operator==(const Call&, const Call&) = default;
    };
    std::vector<Call> calls;
};

const QStringList kCommands { "InputVls", "SaveVls", "Play", "Pause", "Stop", "PlayAllBarDrums",
    "StopDrumPlay", "mnuUnDo", "mnuRedo", "ToggleBold", "SFZH", "ToggleLyricUnderline", "SetNoteOctave",
    "ApplySlur", "SetNoteDuration", "ApplyRhythmPattern", "DoNoteMark", "PlayCurrentBar", "PlayDrumRange",
    "CQSF", "MarkTriplet", "instrZy", "instrBY", "instrDY", "instrCy", "YYY", "TYJH", "ResetNoteFont",
    "ConvertSelChars", "InsertRepeatSign", "AskRepeatCount" };

struct Fixture {
    Fixture()
    {
        for (const QString& name : kCommands)
            commands.define(name, [this, name](int argument) {
                recorder.calls.push_back({ name, argument, state.NotationCmdBusy });
            });
    }
    EditorState state;
    CommandTable commands;
    FakeHost host;
    Recorder recorder;
    ToolbarDispatch dispatch { state, commands, host };
};

} // namespace

TEST(ToolbarDispatch, EveryButtonReachesItsCommandWithTheBusyFlagAroundNotationCommands)
{
    const std::map<int, Recorder::Call> expected {
        { 2, { "InputVls", 0, false } },
        { 3, { "SaveVls", 0, false } },
        { 5, { "Play", 0, false } },
        { 6, { "Pause", 0, false } },
        { 7, { "Play", 1, false } },
        { 8, { "Stop", 0, false } },
        { 10, { "PlayAllBarDrums", 0, false } },
        { 11, { "StopDrumPlay", 0, false } },
        { 15, { "mnuUnDo", 1, false } },
        { 16, { "mnuRedo", 1, false } },
        { 18, { "ToggleBold", 0, false } },
        { 19, { "SFZH", 0, false } },
        { 20, { "ToggleLyricUnderline", 0, false } },
        { 22, { "SetNoteOctave", 3, true } },
        { 23, { "SetNoteOctave", 2, true } },
        { 24, { "SetNoteOctave", 1, true } },
        { 25, { "SetNoteOctave", 5, true } },
        { 26, { "SetNoteOctave", 6, true } },
        { 28, { "ApplySlur", 0, true } },
        { 30, { "SetNoteDuration", 1, true } },
        { 31, { "SetNoteDuration", 2, true } },
        { 32, { "SetNoteDuration", 3, true } },
        { 33, { "SetNoteDuration", 4, true } },
        { 35, { "ApplyRhythmPattern", 0, true } },
        { 36, { "ApplyRhythmPattern", 1, true } },
        { 37, { "ApplyRhythmPattern", 2, true } },
        { 38, { "ApplyRhythmPattern", 3, true } },
        { 39, { "ApplyRhythmPattern", 5, true } },
        { 40, { "ApplyRhythmPattern", 4, true } },
        { 42, { "DoNoteMark", 0, false } },
        { 44, { "DoNoteMark", 7, true } },
        { 45, { "DoNoteMark", 9, false } },
        { 46, { "DoNoteMark", 10, false } },
    };
    for (int index = 0; index <= kToolbarButtonCount + 1; ++index) {
        Fixture f;
        f.dispatch.clickButton(index);
        const auto want = expected.find(index);
        if (want == expected.end()) {
            EXPECT_TRUE(f.recorder.calls.empty()) << index;
        } else {
            ASSERT_EQ(f.recorder.calls.size(), 1u) << index;
            EXPECT_EQ(f.recorder.calls[0], want->second) << index;
        }
        EXPECT_EQ(f.state.NotationCmdBusy, 0);
    }
}

TEST(ToolbarDispatch, EveryDropDownTextReachesItsCommand)
{
    const std::vector<std::pair<QString, Recorder::Call>> expected {
        { "搜索并打开...", { "InputVls", 1, false } },
        { "播放当前小节", { "PlayCurrentBar", 0, false } },
        { "区间鼓点演奏", { "PlayDrumRange", 0, false } },
        { "承前缩放    Ctrl+D", { "CQSF", 0, false } },
        { "三连音", { "MarkTriplet", 3, true } },
        { "三连音(左)", { "MarkTriplet", 2, true } },
        { "三连音(右)", { "MarkTriplet", 1, true } },
        { "颤音", { "instrZy", 0, false } },
        { "波音(单上波音)", { "instrBY", 0, false } },
        { "顿音记号", { "instrDY", 0, false } },
        { "重音记号", { "instrCy", 0, false } },
        { "延长音", { "YYY", 0, false } },
        { "第2段", { "DoNoteMark", 8, true } },
        { "第1,2段", { "TYJH", 4, false } },
        { "超高音 Shift+P", { "SetNoteOctave", 7, true } },
        { "超低音 Shift+P", { "SetNoteOctave", 4, true } },
        { "64分音符 Shift+D", { "SetNoteDuration", 5, true } },
        { "128分音符 Shift+D", { "SetNoteDuration", 6, true } },
        { "第1,2,3段", { "TYJH", 7, false } },
        { "第1,2,3,4段", { "TYJH", 10, false } },
        { "第3段", { "TYJH", 5, false } },
        { "第4段", { "TYJH", 8, false } },
        { "第5段", { "TYJH", 11, false } },
        { "第1,3段", { "TYJH", 13, false } },
        { "第2,4段", { "TYJH", 14, false } },
        { "第2,4段(D.S.)", { "TYJH", 15, false } },
        { "补充跳跃线", { "TYJH", 17, false } },
        { "取消跳跃线", { "TYJH", 18, false } },
        { "连音线补充", { "ResetNoteFont", 0, true } },
        { "取消连音线", { "ConvertSelChars", 0, true } },
        { "第3段(D.S.)", { "TYJH", 2, false } },
        { "D.C.从头反复记号", { "InsertRepeatSign", 0x635A, false } },
        { "D.S.记号起反复", { "InsertRepeatSign", 0x6359, false } },
        { "Fine曲终记号", { "InsertRepeatSign", 0x635C, false } },
        { "D.S.反复起始记号", { "InsertRepeatSign", 0x635B, false } },
        { "反复及标志号2", { "InsertRepeatSign", 0x637F, false } },
        { "前后反复记号", { "InsertRepeatSign", 0x6373, false } },
        { "结束记号", { "InsertRepeatSign", 0x635D, false } },
        { "反复及标志号1", { "InsertRepeatSign", 0x6380, false } },
        { "前后反复N次记号...", { "AskRepeatCount", 0, false } },
        { "跨行连音线(左)", { "ApplySlur", 1, true } },
        { "跨行连音线(右)", { "ApplySlur", 2, true } },
    };
    for (const auto& [text, call] : expected) {
        Fixture f;
        f.dispatch.clickMenuItem(text);
        ASSERT_EQ(f.recorder.calls.size(), 1u) << text.toStdString();
        EXPECT_EQ(f.recorder.calls[0], call) << text.toStdString();
    }
    // Every text of the toolbar's drop-downs is one of them.
    std::set<QString> texts;
    for (const auto& entry : expected)
        texts.insert(entry.first);
    for (const ToolbarEntry& button : ToolbarTable()) {
        for (const QString& text : button.menuTexts)
            EXPECT_TRUE(texts.contains(text)) << text.toStdString();
    }
}

TEST(ToolbarDispatch, ATextOneSpaceOffDoesNothing)
{
    for (const QString text : { "承前缩放   Ctrl+D", "三连音 ", " 颤音", "超高音  Shift+P", "第1, 2段" }) {
        Fixture f;
        f.dispatch.clickMenuItem(text);
        EXPECT_TRUE(f.recorder.calls.empty()) << text.toStdString();
    }
}

TEST(ToolbarDispatch, AFormatBrushTakesThePitchAndDurationButtons)
{
    struct Case {
        bool pitch;
        int index;
        int pressed; // 0: none
    };
    for (const Case c :
        { Case { true, 31, 0 }, Case { true, 23, 23 }, Case { false, 31, 31 }, Case { false, 24, 0 } }) {
        Fixture f;
        f.host.pitch = c.pitch;
        f.host.duration = !c.pitch;
        f.host.values[c.pitch ? 25 : 32] = 1;
        f.dispatch.clickButton(c.index);
        EXPECT_TRUE(f.recorder.calls.empty());
        EXPECT_EQ(f.host.refreshes, 1);
        for (int i = 22; i <= 33; ++i) {
            if (InPitchGroup(i) || InDurationGroup(i)) {
                EXPECT_EQ(f.host.values[i], i == c.pressed ? 1 : 0) << i;
            }
        }
    }
    Fixture f;
    f.host.pitch = true;
    f.dispatch.clickButton(28);
    EXPECT_EQ(f.recorder.calls.size(), 1u);
}
