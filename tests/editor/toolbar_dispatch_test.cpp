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
        int busy;
        friend bool operator==(const Call&, const Call&) = default;
    };
    std::vector<Call> calls;
};

const QStringList kCommands { "InputVls", "SaveVls", "Play", "Pause", "Stop",
    "PlayAllBarDrums", "StopDrumPlay", "mnuUnDo", "mnuRedo", "ToggleBold", "SFZH",
    "ToggleLyricUnderline", "SetNoteOctave", "ApplySlur", "SetNoteDuration", "ApplyRhythmPattern",
    "DoNoteMark", "PlayCurrentBar", "PlayDrumRange", "CQSF", "MarkTriplet", "instrZy", "instrBY",
    "instrDY", "instrCy", "YYY", "TYJH", "ResetNoteFont", "ConvertSelChars",
    "InsertRepeatSign", "AskRepeatCount" };

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
        { 2, { "InputVls", 0, 0 } },
        { 3, { "SaveVls", 0, 0 } },
        { 5, { "Play", 0, 0 } },
        { 6, { "Pause", 0, 0 } },
        { 7, { "Play", 1, 0 } },
        { 8, { "Stop", 0, 0 } },
        { 10, { "PlayAllBarDrums", 0, 0 } },
        { 11, { "StopDrumPlay", 0, 0 } },
        { 15, { "mnuUnDo", 1, 0 } },
        { 16, { "mnuRedo", 1, 0 } },
        { 18, { "ToggleBold", 0, 0 } },
        { 19, { "SFZH", 0, 0 } },
        { 20, { "ToggleLyricUnderline", 0, 0 } },
        { 22, { "SetNoteOctave", 3, -1 } },
        { 23, { "SetNoteOctave", 2, -1 } },
        { 24, { "SetNoteOctave", 1, -1 } },
        { 25, { "SetNoteOctave", 5, -1 } },
        { 26, { "SetNoteOctave", 6, -1 } },
        { 28, { "ApplySlur", 0, -1 } },
        { 30, { "SetNoteDuration", 1, -1 } },
        { 31, { "SetNoteDuration", 2, -1 } },
        { 32, { "SetNoteDuration", 3, -1 } },
        { 33, { "SetNoteDuration", 4, -1 } },
        { 35, { "ApplyRhythmPattern", 0, -1 } },
        { 36, { "ApplyRhythmPattern", 1, -1 } },
        { 37, { "ApplyRhythmPattern", 2, -1 } },
        { 38, { "ApplyRhythmPattern", 3, -1 } },
        { 39, { "ApplyRhythmPattern", 5, -1 } },
        { 40, { "ApplyRhythmPattern", 4, -1 } },
        { 42, { "DoNoteMark", 0, 0 } },
        { 44, { "DoNoteMark", 7, -1 } },
        { 45, { "DoNoteMark", 9, 0 } },
        { 46, { "DoNoteMark", 10, 0 } },
    };
    for (int index = 0; index <= kToolbarButtonCount + 1; ++index) {
        Fixture f;
        f.dispatch.clickToolbarButton(index);
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
        { "搜索并打开...", { "InputVls", 1, 0 } },
        { "播放当前小节", { "PlayCurrentBar", 0, 0 } },
        { "区间鼓点演奏", { "PlayDrumRange", 0, 0 } },
        { "承前缩放    Ctrl+D", { "CQSF", 0, 0 } },
        { "三连音", { "MarkTriplet", 3, -1 } },
        { "三连音(左)", { "MarkTriplet", 2, -1 } },
        { "三连音(右)", { "MarkTriplet", 1, -1 } },
        { "颤音", { "instrZy", 0, 0 } },
        { "波音(单上波音)", { "instrBY", 0, 0 } },
        { "顿音记号", { "instrDY", 0, 0 } },
        { "重音记号", { "instrCy", 0, 0 } },
        { "延长音", { "YYY", 0, 0 } },
        { "第2段", { "DoNoteMark", 8, -1 } },
        { "第1,2段", { "TYJH", 4, 0 } },
        { "超高音 Shift+P", { "SetNoteOctave", 7, -1 } },
        { "超低音 Shift+P", { "SetNoteOctave", 4, -1 } },
        { "64分音符 Shift+D", { "SetNoteDuration", 5, -1 } },
        { "128分音符 Shift+D", { "SetNoteDuration", 6, -1 } },
        { "第1,2,3段", { "TYJH", 7, 0 } },
        { "第1,2,3,4段", { "TYJH", 10, 0 } },
        { "第3段", { "TYJH", 5, 0 } },
        { "第4段", { "TYJH", 8, 0 } },
        { "第5段", { "TYJH", 11, 0 } },
        { "第1,3段", { "TYJH", 13, 0 } },
        { "第2,4段", { "TYJH", 14, 0 } },
        { "第2,4段(D.S.)", { "TYJH", 15, 0 } },
        { "补充跳跃线", { "TYJH", 17, 0 } },
        { "取消跳跃线", { "TYJH", 18, 0 } },
        { "连音线补充", { "ResetNoteFont", 0, -1 } },
        { "取消连音线", { "ConvertSelChars", 0, -1 } },
        { "第3段(D.S.)", { "TYJH", 2, 0 } },
        { "D.C.从头反复记号", { "InsertRepeatSign", 0x635A, 0 } },
        { "D.S.记号起反复", { "InsertRepeatSign", 0x6359, 0 } },
        { "Fine曲终记号", { "InsertRepeatSign", 0x635C, 0 } },
        { "D.S.反复起始记号", { "InsertRepeatSign", 0x635B, 0 } },
        { "反复及标志号2", { "InsertRepeatSign", 0x637F, 0 } },
        { "前后反复记号", { "InsertRepeatSign", 0x6373, 0 } },
        { "结束记号", { "InsertRepeatSign", 0x635D, 0 } },
        { "反复及标志号1", { "InsertRepeatSign", 0x6380, 0 } },
        { "前后反复N次记号...", { "AskRepeatCount", 0, 0 } },
        { "跨行连音线(左)", { "ApplySlur", 1, -1 } },
        { "跨行连音线(右)", { "ApplySlur", 2, -1 } },
    };
    for (const auto& [text, call] : expected) {
        Fixture f;
        f.dispatch.clickToolbarMenuItem(text);
        ASSERT_EQ(f.recorder.calls.size(), 1u) << text.toStdString();
        EXPECT_EQ(f.recorder.calls[0], call) << text.toStdString();
    }
    // Every text of the toolbar's drop-downs is one of them.
    std::set<QString> texts;
    for (const auto& entry : expected)
        texts.insert(entry.first);
    for (const ToolbarButton& button : ToolbarTable()) {
        for (const QString& text : button.menuTexts)
            EXPECT_TRUE(texts.contains(text)) << text.toStdString();
    }
}

TEST(ToolbarDispatch, ATextOneSpaceOffDoesNothing)
{
    for (const QString text : { "承前缩放   Ctrl+D", "三连音 ", " 颤音", "超高音  Shift+P", "第1, 2段" }) {
        Fixture f;
        f.dispatch.clickToolbarMenuItem(text);
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
        f.dispatch.clickToolbarButton(c.index);
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
    f.dispatch.clickToolbarButton(28);
    EXPECT_EQ(f.recorder.calls.size(), 1u);
}
