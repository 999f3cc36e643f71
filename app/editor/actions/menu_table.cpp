#include "app/editor/actions/menu_table.h"

#include <QStringList>

namespace tunvale::editor {

namespace {

MenuEntry item(const QString& name, const QString& caption, const QString& shortcut = {})
{
    return MenuEntry { name, caption, shortcut, false, false, false, false, {} };
}

MenuEntry checkedItem(const QString& name, const QString& caption, const QString& shortcut = {})
{
    MenuEntry e = item(name, caption, shortcut);
    e.checkable = e.checked = true;
    return e;
}

MenuEntry disabledItem(const QString& name, const QString& caption, const QString& shortcut = {})
{
    MenuEntry e = item(name, caption, shortcut);
    e.disabled = true;
    return e;
}

MenuEntry hiddenItem(const QString& name, const QString& caption)
{
    MenuEntry e = item(name, caption);
    e.hidden = true;
    return e;
}

MenuEntry separator(const QString& name) { return item(name, QStringLiteral("-")); }

MenuEntry submenu(const QString& name, const QString& caption, std::vector<MenuEntry> children)
{
    MenuEntry e = item(name, caption);
    e.children = std::move(children);
    return e;
}

// An item array whose captions are given in index order; "-" gives a separator at that index.
std::vector<MenuEntry> array(const QString& name, const QStringList& captions)
{
    std::vector<MenuEntry> items;
    for (int i = 0; i < captions.size(); ++i)
        items.push_back(item(ArrayItemName(name, i), captions[i]));
    return items;
}

std::vector<MenuEntry> checkable(std::vector<MenuEntry> items)
{
    for (MenuEntry& e : items)
        e.checkable = !e.isSeparator();
    return items;
}

MenuEntry checkableItem(const QString& name, const QString& caption, const QString& shortcut = {})
{
    MenuEntry e = item(name, caption, shortcut);
    e.checkable = true;
    return e;
}

std::vector<MenuEntry> join(std::vector<std::vector<MenuEntry>> parts)
{
    std::vector<MenuEntry> all;
    for (auto& part : parts)
        all.insert(all.end(), std::make_move_iterator(part.begin()), std::make_move_iterator(part.end()));
    return all;
}

MenuEntry fileMenu()
{
    std::vector<MenuEntry> recent = array(QStringLiteral("mLastFile"), { "", "", "", "" });
    for (std::size_t i = 1; i < recent.size(); ++i)
        recent[i].hidden = true;
    return submenu(QStringLiteral("File"), QStringLiteral("文件(&F)"),
        join({ {
                   item("NewBuilt", "新建", "Ctrl+N"),
                   item("InputVls(0)", "打开简谱...", "Ctrl+O"),
                   item("InputVls(1)", "搜索并打开..."),
                   item("SaveVls", "保存简谱", "Ctrl+S"),
                   item("SaveVlsAs", "另存简谱..."),
                   separator("FileSep1"),
                   item("PrintPreview1", "打印预览..."),
                   item("PRt", "打印...", "Ctrl+P"),
                   separator("FileSep2"),
                   item("OutputPic", "导出图片格式..."),
                   item("OutputRTF", "导出RTF格式..."),
                   item("OutputMid", "导出Mid..."),
                   separator("FileSep3"),
               },
            recent, { separator("FileSep4"), item("exitsub", "退出") } }));
}

MenuEntry editMenu()
{
    return submenu(QStringLiteral("Edit"), QStringLiteral("编辑(&E)"),
        {
            checkedItem("MunJPline", "简谱行"),
            separator("Line2_1"),
            item("mnuUnDo", "撤销", "Ctrl+Z"),
            item("mnuRedo", "重做", "Ctrl+Y"),
            separator("Line2_3"),
            item("mnuReset", "重置撤销"),
            item("UndoAll", "撤销所有"),
            item("RedoAll", "重置所有"),
            separator("Line2_4"),
            item("mnuSelAll", "全选(&L)"),
            item("mnuCopy", "复制(&C)"),
            item("mnuCut", "剪切(&T)"),
            item("mnuPaste", "粘贴(&P)"),
            separator("Line2_2"),
            item("GCFont", "歌词字体.."),
            item("InstrSpace(0)", "插半角空格"),
            item("InstrSpace(1)", "插1/4空格"),
            item("instrZJX(0)", "插1/2间距小节线"),
            item("instrZJX(1)", "插1/4间距小节线"),
            item("instrDrum", "编辑小节鼓点..."),
        });
}

MenuEntry insertMenu()
{
    std::vector<MenuEntry> sb = array(QStringLiteral("SB"), { "第一声部", "第二声部", "第三声部" });
    MenuEntry voices = submenu(QStringLiteral("SB1"), QStringLiteral("声部记号"), sb);
    voices.hidden = true;
    return submenu(QStringLiteral("My_instr"), QStringLiteral("插入(&I)"),
        {
            item("M_YD", "音调..."),
            submenu("BD", "变调",
                array("biandiao",
                    { "转 C 调", "转#C调", "转 D 调", "转#D调", "转 E 调", "转 F 调", "转#F调", "转 G 调",
                        "转#G调", "转 A 调", "转#A调", "转 B 调", "-", "回 原调" })),
            submenu("jzph", "节奏拍号",
                array("jph", { "1/4", "2/4", "3/4", "4/4", "3/8", "6/8", "9/8", "12/8" })),
            submenu("M_bhy", "简谱行变化音", array("MY_bhy", { "升号", "降号", "重升", "重降", "还原记号" })),
            item("D_word", "特殊符号...", "Ctrl+I"),
            submenu("pf", "力度记号",
                array("QiangRuo",
                    { "pppp 最弱", "ppp 极弱", "pp 很弱", "p 弱", "mp 中弱", "mf 中强", "f 强", "ff 很强",
                        "fff 极强", "ffff 最强", "-", "cresc. 渐强", "dim. 渐弱", "-", "sfz 特强",
                        "fp 强后弱", "sfp 特强后弱" })),
            voices,
            submenu("sd", "速度记号",
                array("ShuoDu",
                    { "Grave 庄板/40", "Largo 广板/46", "Lento 慢板/52", "Adagio 柔板/56",
                        "Larghetto 小广板/60", "Andante 行板/66", "Andantino 小行板/69", "Moderato 中板/88",
                        "Allegretto 小快板/108", "Allegro 快板/132", "Vivo 小速板/152", "Vivace 速板/160",
                        "Presto 急板/184", "Prestissimo 极急/208", "-", "原速" })),
            item("huayin(0)", "上滑音"),
            item("huayin(1)", "下滑音"),
            item("JPyy", "倚音..."),
            item("InstrHQF", "换气符号"),
            // The drum patterns are listed when the menu opens.
            submenu("Drum", "鼓点", { item("DrumArray(0)", "") }),
        });
}

MenuEntry formatMenu()
{
    return submenu(QStringLiteral("FormatJP"), QStringLiteral("格式(&L)"),
        {
            submenu("BY", "波音", array("instrBY", { "单上波音", "单下波音", "复上波音", "复下波音" })),
            submenu("Dyjh", "顿音", array("instrDY", { "1/2时值", "1/4时值" })),
            item("instrZy", "颤音"),
            item("instrCy", "重音"),
            submenu("HY", "回音", array("instrHY", { "顺回音", "逆回音" })),
            item("YYY", "延长音"),
            item("KillFormat", "取消装饰音"),
            separator("FormatSep1"),
            submenu("TYZK", "跳跃记号",
                array("TYJH",
                    { "第1段", "第2段", "第3段(D.S.)", "-", "第1,2段", "第3段", "-", "第1,2,3段", "第4段",
                        "-", "第1,2,3,4段", "第5段", "-", "第1,3段", "第2,4段", "第2,4段(D.S.)", "-",
                        "补充跳跃线", "取消跳跃线" })),
        });
}

MenuEntry playMenu()
{
    MenuEntry settings = hiddenItem(QStringLiteral("PZType1"), QStringLiteral("音序鼓设置"));
    std::vector<MenuEntry> styles = checkable(array(QStringLiteral("PZType"), { "无伴奏", "-", "随机伴奏" }));
    styles[0].checked = true;
    std::vector<MenuEntry> accompaniment { settings };
    accompaniment.insert(accompaniment.end(), styles.begin(), styles.end());
    return submenu(QStringLiteral("runmusic"), QStringLiteral("播放(&P)"),
        {
            submenu("Devies", "设备", { checkedItem("my_ComDevies(0)", "设备1") }),
            separator("PlaySep1"),
            item("MunPlay", "演奏", "F5"),
            disabledItem("MunPandG", "暂停/继续", "Ctrl+B"),
            item("Mungoonplay", "断点演奏"),
            checkableItem("GotoGoplay", "循环播放"),
            checkableItem("CtrlPlay", "步进开关"),
            separator("PlaySep2"),
            item("RapSet", "RAP音色..."),
            checkedItem("DrumPZ", "鼓点伴奏"),
            checkedItem("SameSpeed", "鼓点与主歌时速一致"),
            checkableItem("HeYing", "和音"),
            submenu("ShuiJiPZ", "音序鼓", accompaniment),
            separator("PlaySep3"),
            item("MunStop1", "停止", "Ctrl+Q"),
        });
}

MenuEntry toolMenu()
{
    return submenu(QStringLiteral("Mtool"), QStringLiteral("工具(&T)"),
        {
            item("Tape", "录音..."),
            hiddenItem("WriteMID", "记录Mid..."),
            separator("ToolSep1"),
            checkableItem("FormatTool(0)", "音高格式刷"),
            checkableItem("FormatTool(1)", "音长格式刷"),
            item("FormatTool(2)", "取消格式刷"),
            separator("ToolSep2"),
            disabledItem("SFZH", "缩放字号..."),
            disabledItem("CQSF", "承前缩放", "Ctrl+D"),
            submenu("YD", "移调(倚音不变)", array("mYD", { "+2", "-2", "+1", "-1" })),
            separator("ToolSep3"),
            item("MycolorSet", "颜色..."),
            item("TurnVer", "版本转换..."),
            item("PlayGoto", "演唱顺序...", "Ctrl+W"),
            item("SHowCM", "获取唱名"),
        });
}

MenuEntry viewMenu()
{
    std::vector<MenuEntry> bars = checkable(array(QStringLiteral("GroupBar"), { "鼓点条", "状态栏" }));
    bars[0].checked = bars[1].checked = true;
    std::vector<MenuEntry> modes
        = checkable(array(QStringLiteral("MainToolBar"), { "主工具栏", "边距/行距调整", "隐藏" }));
    modes[0].checked = true;
    modes[0].shortcut = QStringLiteral("F2");
    modes[1].shortcut = QStringLiteral("F3");
    std::vector<MenuEntry> items = bars;
    items.push_back(submenu(QStringLiteral("GroupBar1"), QStringLiteral("工具栏"), modes));
    items.push_back(submenu(QStringLiteral("MJJH"), QStringLiteral("主工具栏简化"),
        checkable(array(QStringLiteral("GroupBoution"), { "音高按钮组", "音长按钮组", "音长组合设定组" }))));
    MenuEntry tiled = hiddenItem(QStringLiteral("Other"), QStringLiteral("乐曲平铺"));
    tiled.checkable = true;
    items.push_back(tiled);
    return submenu(QStringLiteral("Vars"), QStringLiteral("界面(&V)"), items);
}

MenuEntry helpMenu()
{
    return submenu(QStringLiteral("help"), QStringLiteral("帮助(&H)"),
        {
            item("MunHelp", "帮助...", "F1"),
            item("QYY", "我愿意..."),
            separator("HelpSep1"),
            item("MY_about", "关于..."),
        });
}

} // namespace

QString ArrayItemName(const QString& array, int index)
{
    return QStringLiteral("%1(%2)").arg(array).arg(index);
}

const std::vector<MenuEntry>& MainMenuTable()
{
    static const std::vector<MenuEntry> table { fileMenu(), editMenu(), insertMenu(), formatMenu(),
        playMenu(), toolMenu(), viewMenu(), helpMenu() };
    return table;
}

} // namespace tunvale::editor
