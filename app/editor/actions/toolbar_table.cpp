#include "app/editor/actions/toolbar_table.h"

#include <QHash>

namespace tunvale::editor {

namespace {

ToolbarCommand run(const QString& command, int argument = 0) { return { command, argument, false }; }
ToolbarCommand busy(const QString& command, int argument = 0) { return { command, argument, true }; }

ToolbarEntry separator(int index) { return { index, ButtonKind::Separator, {}, {}, std::nullopt }; }

ToolbarEntry button(int index, const QString& hint, std::optional<ToolbarCommand> command)
{
    return { index, ButtonKind::Button, hint, {}, std::move(command) };
}

ToolbarEntry dropDown(
    int index, const QString& hint, std::optional<ToolbarCommand> command, QStringList texts)
{
    return { index, ButtonKind::DropDown, hint, std::move(texts), std::move(command) };
}

ToolbarEntry menuOnly(int index, const QString& hint, QStringList texts)
{
    return { index, ButtonKind::MenuOnly, hint, std::move(texts), std::nullopt };
}

std::vector<ToolbarEntry> makeTable()
{
    return {
        separator(1),
        dropDown(2, "打开简谱", run("InputVls", 0), { "搜索并打开..." }),
        button(3, "保存简谱", run("SaveVls")),
        separator(4),
        dropDown(5, "演奏", run("Play", 0), { "播放当前小节" }),
        button(6, "暂停/继续", run("Pause")),
        button(7, "断点演奏", run("Play", 1)),
        button(8, "停止", run("Stop")),
        separator(9),
        dropDown(10, "鼓点演奏", run("PlayAllBarDrums"), { "区间鼓点演奏" }),
        button(11, "停止鼓点演奏", run("StopDrumPlay")),
        separator(12),
        { 13, ButtonKind::Placeholder, {}, {}, std::nullopt },
        separator(14),
        button(15, "撤销", run("mnuUnDo", 1)),
        button(16, "重做", run("mnuRedo", 1)),
        separator(17),
        button(18, "粗体", run("ToggleBold")),
        dropDown(19, "缩放字号", run("SFZH"), { "承前缩放    Ctrl+D" }),
        button(20, "歌词下划线", run("ToggleLyricUnderline")),
        separator(21),
        button(22, "低两个八度", busy("SetNoteOctave", 3)),
        button(23, "低八度", busy("SetNoteOctave", 2)),
        button(24, "中音", busy("SetNoteOctave", 1)),
        button(25, "高八度", busy("SetNoteOctave", 5)),
        dropDown(26, "高两个八度", busy("SetNoteOctave", 6), { "超高音 Shift+P", "超低音 Shift+P" }),
        separator(27),
        dropDown(28, "连音线", busy("ApplySlur", 0),
            { "跨行连音线(左)", "跨行连音线(右)", "连音线补充", "取消连音线" }),
        separator(29),
        button(30, "四分音符", busy("SetNoteDuration", 1)),
        button(31, "八分音符", busy("SetNoteDuration", 2)),
        button(32, "十六分音符", busy("SetNoteDuration", 3)),
        dropDown(33, "三十二分音符", busy("SetNoteDuration", 4), { "64分音符 Shift+D", "128分音符 Shift+D" }),
        separator(34),
        button(35, "音值转换", busy("ApplyRhythmPattern", 0)),
        button(36, "音值转换", busy("ApplyRhythmPattern", 1)),
        button(37, "音值转换", busy("ApplyRhythmPattern", 2)),
        button(38, "音值转换", busy("ApplyRhythmPattern", 3)),
        button(39, "附点音符音值设置1", busy("ApplyRhythmPattern", 5)),
        button(40, "附点音符音值设置2", busy("ApplyRhythmPattern", 4)),
        menuOnly(41, "三连音", { "三连音", "三连音(左)", "三连音(右)" }),
        button(42, "倚音", run("DoNoteMark", 0)),
        menuOnly(43, "装饰音", { "颤音", "波音(单上波音)", "顿音记号", "重音记号", "延长音" }),
        dropDown(44, "跳跃记号", busy("DoNoteMark", 7),
            { "第2段", "第1,2段", "第1,2,3段", "第1,2,3,4段", "第3段", "第4段", "第5段", "第1,3段", "第2,4段",
                "第2,4段(D.S.)", "第3段(D.S.)", "补充跳跃线", "取消跳跃线" }),
        button(45, "反复记号", run("DoNoteMark", 9)),
        dropDown(46, "反复记号", run("DoNoteMark", 10),
            { "D.C.从头反复记号", "D.S.记号起反复", "Fine曲终记号", "D.S.反复起始记号", "反复及标志号2",
                "前后反复记号", "结束记号", "反复及标志号1", "前后反复N次记号..." }),
    };
}

QHash<QString, ToolbarCommand> makeDropDownCommands()
{
    QHash<QString, ToolbarCommand> table {
        { "搜索并打开...", run("InputVls", 1) },
        { "播放当前小节", run("PlayCurrentBar") },
        { "区间鼓点演奏", run("PlayDrumRange") },
        { "承前缩放    Ctrl+D", run("CQSF") },
        { "三连音", busy("MarkTriplet", 3) },
        { "三连音(左)", busy("MarkTriplet", 2) },
        { "三连音(右)", busy("MarkTriplet", 1) },
        { "颤音", run("instrZy") },
        { "波音(单上波音)", run("instrBY", 0) },
        { "顿音记号", run("instrDY", 0) },
        { "重音记号", run("instrCy") },
        { "延长音", run("YYY") },
        { "第2段", busy("DoNoteMark", 8) },
        { "第1,2段", run("TYJH", 4) },
        { "超高音 Shift+P", busy("SetNoteOctave", 7) },
        { "超低音 Shift+P", busy("SetNoteOctave", 4) },
        { "64分音符 Shift+D", busy("SetNoteDuration", 5) },
        { "128分音符 Shift+D", busy("SetNoteDuration", 6) },
        { "连音线补充", busy("ResetNoteFont") },
        { "取消连音线", busy("ConvertSelChars") },
        { "第3段(D.S.)", run("TYJH", 2) },
        { "前后反复N次记号...", run("AskRepeatCount") },
        { "跨行连音线(左)", busy("ApplySlur", 1) },
        { "跨行连音线(右)", busy("ApplySlur", 2) },
    };
    const QStringList voltas { "第1,2,3段", "第1,2,3,4段", "第3段", "第4段", "第5段", "第1,3段", "第2,4段",
        "第2,4段(D.S.)", "补充跳跃线", "取消跳跃线" };
    const int voltaIndices[] { 7, 10, 5, 8, 11, 13, 14, 15, 17, 18 };
    for (int i = 0; i < voltas.size(); ++i)
        table.insert(voltas[i], run("TYJH", voltaIndices[i]));
    const QStringList signs { "D.C.从头反复记号", "D.S.记号起反复", "Fine曲终记号", "D.S.反复起始记号",
        "反复及标志号2", "前后反复记号", "结束记号", "反复及标志号1" };
    const int signCodes[] { 0x635A, 0x6359, 0x635C, 0x635B, 0x637F, 0x6373, 0x635D, 0x6380 };
    for (int i = 0; i < signs.size(); ++i)
        table.insert(signs[i], run("InsertRepeatSign", signCodes[i]));
    return table;
}

} // namespace

const std::vector<ToolbarEntry>& ToolbarTable()
{
    static const std::vector<ToolbarEntry> table = makeTable();
    return table;
}

std::optional<ToolbarCommand> ButtonCommand(int index)
{
    if (index < 1 || index > kToolbarButtonCount)
        return std::nullopt;
    return ToolbarTable()[index - 1].command;
}

std::optional<ToolbarCommand> DropDownCommand(const QString& text)
{
    static const QHash<QString, ToolbarCommand> table = makeDropDownCommands();
    const auto found = table.find(text);
    if (found == table.end())
        return std::nullopt;
    return *found;
}

} // namespace tunvale::editor
