#include "components/sequor/export_options_dialog.h"
#include "tests/support/test_folders.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tunvale::testing {
namespace {

using sequor::ExportOptionsForm;

class OptionsDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QByteArray names;
        for (int i = 0; i < 128; ++i)
            names += "name" + QByteArray::number(i) + "/乐器" + QByteArray::number(i) + "\n";
        ASSERT_TRUE(writeAll(dir_.filePath(QStringLiteral("genmidi.txt")), names));
    }
    QStringList folders() const { return { dir_.path() }; }

    template <class T> static T* child(const ExportOptionsForm& dialog, const char* name)
    {
        T* widget = dialog.findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static void ok(ExportOptionsForm& dialog) { child<QPushButton>(dialog, "SaveFile")->click(); }

    QTemporaryDir dir_;
};

TEST_F(OptionsDialogTest, InitialState)
{
    for (const bool selection : { false, true }) {
        ExportOptionsForm dialog(QStringLiteral("/tmp/song.Mid"), selection, folders());
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("制作Mid..."));
        EXPECT_EQ(child<QLineEdit>(dialog, "Text1")->text(), QStringLiteral("/tmp/song.Mid"));
        EXPECT_TRUE(child<QLineEdit>(dialog, "Text1")->isReadOnly());
        const char* texts[] = { "Text2_0", "Text2_1", "Text2_2" };
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(child<QLineEdit>(dialog, texts[i])->text().isEmpty());
            EXPECT_EQ(child<QLineEdit>(dialog, texts[i])->placeholderText(),
                ExportOptionsForm::TextPlaceholders[std::size_t(i)]);
        }
        EXPECT_EQ(ExportOptionsForm::TextPlaceholders[0], QStringLiteral("写在MID文件中的标题(缺省为空)..."));
        const struct {
            const char* name;
            const char* text;
            bool checked;
        } checks[] = { { "Check0", "使用简谱中的鼓点。", false },
            { "Check1", "按节奏自动配置打击乐器，音量（0-127）：", true },
            { "Check2", "叠加一个音轨，其中，音色：", false }, { "Check3", "主音轨声像（0-127）：", false },
            { "Check4", "仅针对选中的简谱（按顺序转换）。", false } };
        for (const auto& c : checks) {
            EXPECT_EQ(child<QCheckBox>(dialog, c.name)->text(), QString::fromUtf8(c.text));
            EXPECT_EQ(child<QCheckBox>(dialog, c.name)->isChecked(), c.checked) << c.name;
        }
        EXPECT_EQ(child<QCheckBox>(dialog, "Check4")->isEnabled(), selection);
        EXPECT_EQ(child<QLineEdit>(dialog, "Text3_0")->text(), QStringLiteral("80"));
        EXPECT_EQ(child<QLineEdit>(dialog, "Text3_1")->text(), QStringLiteral("64"));
        EXPECT_EQ(child<QLineEdit>(dialog, "Text3_3")->text(), QStringLiteral("60"));
        EXPECT_EQ(child<QLineEdit>(dialog, "Text3_4")->text(), QStringLiteral("64"));
        QComboBox* list = child<QComboBox>(dialog, "Combo1");
        ASSERT_EQ(list->count(), 128);
        EXPECT_EQ(list->itemText(0), QStringLiteral("乐器0"));
        EXPECT_EQ(list->itemText(127), QStringLiteral("乐器127"));
        EXPECT_EQ(list->currentIndex(), 0);
        EXPECT_EQ(child<QPushButton>(dialog, "SaveFile")->text(), QStringLiteral("确定(&O)"));
        EXPECT_EQ(child<QPushButton>(dialog, "SaveFile")->toolTip(),
            QStringLiteral("注意：本界面各数据只记录在Mid。"));
        EXPECT_EQ(child<QPushButton>(dialog, "Command1")->text(), QStringLiteral("取消(&C)"));
        EXPECT_EQ(child<QStatusBar>(dialog, "StatusBar1")->currentMessage(),
            QStringLiteral("“自动配置打击乐器”有随机性，做两次配置前后并不会完全一致。"));
    }
}

TEST_F(OptionsDialogTest, OkAtOnce)
{
    ExportOptionsForm dialog(QStringLiteral("a.Mid"), false, folders());
    ok(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const sequor::ExportOptions& o = dialog.options();
    EXPECT_TRUE(o.AutoPercussion);
    EXPECT_EQ(o.PercussionVolume, 80);
    EXPECT_FALSE(o.UseScoreDrums || o.OverlayTrack || o.MainPanOn || o.SelectionOnly);
    EXPECT_TRUE(o.MidTitle.isEmpty() && o.MidNotice.isEmpty() && o.MidComment.isEmpty());
    EXPECT_EQ(o.MainPan, 64);
    EXPECT_EQ(o.OverlayProgram, 0);
    EXPECT_EQ(o.OverlayVolume, 60);
    EXPECT_EQ(o.OverlayPan, 64);
}

TEST_F(OptionsDialogTest, TextsAndChoices)
{
    ExportOptionsForm dialog(QStringLiteral("a.Mid"), true, folders());
    child<QLineEdit>(dialog, "Text2_0")->setText(QStringLiteral("歌"));
    child<QLineEdit>(dialog, "Text2_1")->setText(ExportOptionsForm::TextPlaceholders[1]);
    child<QCheckBox>(dialog, "Check4")->setChecked(true);
    child<QCheckBox>(dialog, "Check2")->setChecked(true);
    child<QComboBox>(dialog, "Combo1")->setCurrentIndex(40);
    ok(dialog);
    EXPECT_EQ(dialog.options().MidTitle, QStringLiteral("歌"));
    EXPECT_TRUE(dialog.options().MidNotice.isEmpty()) << "the placeholder text writes nothing";
    EXPECT_TRUE(dialog.options().SelectionOnly);
    EXPECT_TRUE(dialog.options().OverlayTrack);
    EXPECT_EQ(dialog.options().OverlayProgram, 40);
}

TEST_F(OptionsDialogTest, ValidatesNumberBoxes)
{
    const struct {
        const char* box;
        const char* text;
        std::optional<int> value;
    } cases[] = {
        { "Text3_0", "127", 127 },
        { "Text3_0", "128", {} },
        { "Text3_1", "127", 127 },
        { "Text3_1", "128", {} },
        { "Text3_4", "127", 127 },
        { "Text3_4", "128", {} },
        { "Text3_3", "100", 100 },
        { "Text3_3", "101", {} },
        { "Text3_1", "12.5", 12 },
        { "Text3_1", "13.5", 14 },
        { "Text3_4", "", 0 },
        { "Text3_0", "99999999", {} },
    };
    for (const auto& c : cases) {
        ExportOptionsForm dialog(QStringLiteral("a.Mid"), false, folders());
        dialog.show();
        QLineEdit* box = child<QLineEdit>(dialog, c.box);
        box->setText(QString::fromLatin1(c.text));
        ok(dialog);
        const std::string what = std::string(c.box) + " " + c.text;
        if (!c.value) {
            EXPECT_EQ(dialog.result(), QDialog::Rejected) << what;
            EXPECT_TRUE(dialog.isVisible()) << what;
            EXPECT_EQ(dialog.focusWidget(), box) << what;
            EXPECT_EQ(box->selectedText(), box->text()) << what;
            continue;
        }
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << what;
        const sequor::ExportOptions& o = dialog.options();
        const int got = QByteArray(c.box) == "Text3_0" ? o.PercussionVolume
            : QByteArray(c.box) == "Text3_1"           ? o.MainPan
            : QByteArray(c.box) == "Text3_3"           ? o.OverlayVolume
                                                       : o.OverlayPan;
        EXPECT_EQ(got, *c.value) << what;
    }
}

TEST_F(OptionsDialogTest, NumberBoxesDropOtherCharacters)
{
    ExportOptionsForm dialog(QStringLiteral("a.Mid"), false, folders());
    QLineEdit* box = child<QLineEdit>(dialog, "Text3_0");
    box->clear();
    for (const QChar c : QStringLiteral("1a2.-5 x")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
    EXPECT_EQ(box->text(), QStringLiteral("12.5"));
}

TEST_F(OptionsDialogTest, MissingOrShortInstrumentFile)
{
    ASSERT_TRUE(writeAll(dir_.filePath(QStringLiteral("genmidi.txt")), "piano/钢琴\nwhole line\n"));
    ExportOptionsForm shortList(QStringLiteral("a.Mid"), false, folders());
    QComboBox* list = child<QComboBox>(shortList, "Combo1");
    ASSERT_EQ(list->count(), 128);
    EXPECT_EQ(list->itemText(0), QStringLiteral("钢琴"));
    EXPECT_EQ(list->itemText(1), QStringLiteral("whole line"));
    EXPECT_EQ(list->itemText(2), QStringLiteral("2"));
    ExportOptionsForm missing(QStringLiteral("a.Mid"), false, { dir_.filePath(QStringLiteral("none")) });
    EXPECT_EQ(child<QComboBox>(missing, "Combo1")->itemText(127), QStringLiteral("127"));
}

} // namespace
} // namespace tunvale::testing
