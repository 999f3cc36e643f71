#include "app/dialogs/glyph_palette.h"
#include "app/dialogs/grace_notes_dialog.h"
#include "app/dialogs/key_picker_dialog.h"
#include "app/editor/actions/toolbar_table.h"
#include "app/editor/parts/main_form_editing.h"
#include "app/editor/parts/main_form_notation_marks.h"
#include "app/editor/parts/main_form_ornaments.h"
#include "app/editor/window/main_form.h"
#include "app/editor/window/main_toolbar.h"
#include "tests/editing/score_builder.h"
#include "tests/support/scripted_prompts.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::editor;
using namespace tunvale::testing;

namespace {

constexpr int kArcNote1 = 0x4E00 + 588;

// The main window with the editing, notation marks and ornaments parts on a notation line, a lyric
// line and a second notation line.
struct Window {
    MainForm form;
    platform::RichTextBox& editor = form.editor();
    MainFormEditing& editing = form.addPart<MainFormEditing>();
    MainFormNotationMarks& marks = form.addPart<MainFormNotationMarks>();
    MainFormOrnaments& ornaments = form.addPart<MainFormOrnaments>();

    explicit Window(std::initializer_list<ScoreLine> lines
        = { { kNote, Codes({ kBar, Note(1), Note(2), kBar, Note(3) }) }, { kSong, QStringLiteral("歌词") },
            { kNote, Codes({ Note(5) }) } })
    {
        FillScore(editor, lines);
        editing.undo().Reset();
    }
    QString line(int index) const { return editor.LineText(index).remove(QStringLiteral("\r\n")); }
    void trigger(const QString& name) { form.action(name)->trigger(); }
    int steps()
    {
        editing.undo().FlushSnapshot();
        return editing.undo().getUndoCount();
    }
};

} // namespace

TEST(MainFormNotationMarks, TheVoltaSubmenuFollowsTheSelection)
{
    Window w;
    QMenu* submenu = w.form.menu(QStringLiteral("TYZK"));
    w.editor.setSelStart(2);
    emit submenu->aboutToShow();
    for (int index = 0; index <= 18; ++index) {
        QAction* item = w.form.action(QStringLiteral("TYJH"), index);
        EXPECT_EQ(item->isEnabled(), item->isSeparator()) << index;
    }
    w.editor.select(0, 3);
    emit submenu->aboutToShow();
    for (const int index : VoltaCommands::itemIndices())
        EXPECT_TRUE(w.form.action(QStringLiteral("TYJH"), index)->isEnabled()) << index;
    // The item runs on the selection, and the flag is down afterwards.
    w.trigger(QStringLiteral("TYJH(0)"));
    EXPECT_EQ(Hex(w.line(0)), Hex(Codes({ 0x6363, kArcNote1, kArcNote1 + 1, kBar, Note(3) })));
    EXPECT_FALSE(w.form.state().NotationCmdBusy);
    EXPECT_EQ(w.steps(), 1);
}

TEST(MainFormNotationMarks, EveryVoltaTextOfTheToolbarReachesItsItem)
{
    Window w;
    std::vector<std::pair<QString, int>> ran;
    w.form.defineCommand(QStringLiteral("TYJH"), [&](int i) { ran.emplace_back(QStringLiteral("TYJH"), i); });
    w.form.defineCommand(
        QStringLiteral("DoNoteMark"), [&](int i) { ran.emplace_back(QStringLiteral("DoNoteMark"), i); });
    const QStringList texts = ToolbarTable()[int(ToolbarButton::Voltas) - 1].menuTexts;
    for (const QString& text : texts) {
        ran.clear();
        w.form.toolbar().dropDownItem(text)->trigger();
        ASSERT_EQ(ran.size(), 1u) << text.toStdString();
        if (ran[0].first == QStringLiteral("DoNoteMark")) {
            // The second ending goes through the note marks, with the same rewrite.
            EXPECT_EQ(text, QStringLiteral("第2段"));
            EXPECT_EQ(ran[0].second, 8);
            continue;
        }
        EXPECT_EQ(w.form.action(QStringLiteral("TYJH"), ran[0].second)->text(), text);
    }
}

TEST(MainFormNotationMarks, TheOrnamentButtonsItemsDecorateTheLastSelectedNote)
{
    const std::pair<const char*, QString> items[] = {
        { "颤音", QStringLiteral("IFFFFF") },
        { "波音(单上波音)", QStringLiteral("BF") },
        { "顿音记号", QStringLiteral("G") },
        { "重音记号", QStringLiteral("9") },
        { "延长音", QString(QChar(char16_t(0x5FEB))) },
    };
    for (const auto& [text, ornament] : items) {
        Window w;
        w.editor.select(1, 2);
        w.form.toolbar().dropDownItem(QString::fromUtf8(text))->trigger();
        EXPECT_EQ(
            Hex(w.line(0)), Hex(Codes({ kBar, Note(1) }) + ornament + Codes({ Note(2), kBar, Note(3) })))
            << text;
        EXPECT_EQ(w.editor.SelStart(), 2);
        EXPECT_EQ(w.steps(), 1);
    }
}

TEST(MainFormNotationMarks, MenuItemsRunTheirCommands)
{
    struct Case {
        const char* item;
        int caret;
        int line;
        QString after;
    };
    const Case cases[] = {
        { "ShuoDu(15)", 8, 1, QStringLiteral("歌") + QChar(char16_t(0x5F8E)) + QStringLiteral("词") },
        { "QiangRuo(16)", 1, 0, Codes({ kBar, u'8', Note(1), Note(2), kBar, Note(3) }) },
        { "SB(2)", 1, 0, Codes({ kBar, 0x6376, Note(1), Note(2), kBar, Note(3) }) },
        { "jph(4)", 3, 0, Codes({ kBar, Note(1), Note(2), 0x62AA + 4, kBar, Note(3) }) },
        { "huayin(1)", 2, 0, Codes({ kBar, Note(1), 0x62FF, Note(2), kBar, Note(3) }) },
        { "InstrHQF", 2, 0, Codes({ kBar, Note(1), 0x6300, Note(2), kBar, Note(3) }) },
        { "InstrSpace(0)", 2, 0, Codes({ kBar, Note(1), u'(', Note(2), kBar, Note(3) }) },
        { "instrZJX(1)", 2, 0, Codes({ kBar, Note(1), u'$', Note(2), kBar, Note(3) }) },
    };
    for (const Case& k : cases) {
        Window w;
        w.editor.setSelStart(k.caret);
        w.trigger(QString::fromUtf8(k.item));
        EXPECT_EQ(Hex(w.line(k.line)), Hex(k.after)) << k.item;
        EXPECT_EQ(w.steps(), 1) << k.item;
    }
    // The Format menu's ornaments act on the selected note.
    const std::pair<const char*, QString> ornaments[] = {
        { "instrBY(3)", QStringLiteral("EFFF") },
        { "instrDY(1)", QStringLiteral("H") },
        { "instrHY(1)", QStringLiteral("KFF") },
        { "instrCy", QStringLiteral("9") },
    };
    for (const auto& [item, ornament] : ornaments) {
        Window w;
        w.editor.select(4, 1);
        w.trigger(QString::fromUtf8(item));
        EXPECT_EQ(
            Hex(w.line(0)), Hex(Codes({ kBar, Note(1), Note(2), kBar }) + ornament + Codes({ Note(3) })))
            << item;
        w.editor.select(4 + int(ornament.size()), 1);
        w.trigger(QStringLiteral("KillFormat"));
        EXPECT_EQ(Hex(w.line(0)), Hex(Codes({ kBar, Note(1), Note(2), kBar, Note(3) }))) << item;
    }
}

TEST(MainFormNotationMarks, TheGraceNoteButtonInsertsTheChosenGroup)
{
    Window w;
    QStringList statuses;
    w.ornaments.setGraceDialogRunner([&](dialogs::GraceNotesDialog& dialog) {
        for (const int column : { 0, 2, 4 }) {
            QTest::mouseClick(
                dialog.Text2, Qt::LeftButton, {}, dialog.Text2->cellRect({ 4, column }).center());
            dialog.Command3->click();
        }
        dialog.Command1->click();
    });
    // After a quarter note without a slur.
    w.editor.setSelStart(2);
    w.form.toolbar().button(ToolbarButton::GraceNotes)->trigger();
    const int high = 0x4E00 + 4 * 42 + 588; // short type, octave row 4
    EXPECT_EQ(Hex(w.line(0)),
        Hex(Codes({ kBar, Note(1), high, high + 2 + 1176, high + 4, Note(2), kBar, Note(3) })));
    EXPECT_EQ(w.editor.SelFontName(), kNote);
    w.editor.select(3, 1);
    EXPECT_EQ(w.editor.SelFontName(), QStringLiteral("KORVA_Note_yy2"));
    EXPECT_EQ(w.steps(), 1);
    w.editing.undo().undo(1);
    EXPECT_EQ(Hex(w.line(0)), Hex(Codes({ kBar, Note(1), Note(2), kBar, Note(3) })));
    // The Insert menu's item opens the same dialog; its close box inserts nothing.
    w.ornaments.setGraceDialogRunner([](dialogs::GraceNotesDialog& dialog) {
        QTest::mouseClick(dialog.Text2, Qt::LeftButton, {}, dialog.Text2->cellRect({ 0, 0 }).center());
        dialog.Command3->click();
        dialog.close();
    });
    w.editor.setSelStart(2);
    w.trigger(QStringLiteral("JPyy"));
    EXPECT_EQ(Hex(w.line(0)), Hex(Codes({ kBar, Note(1), Note(2), kBar, Note(3) })));
    EXPECT_EQ(w.steps(), 0);
}

TEST(MainFormNotationMarks, TheKeyCommandWritesThePickedKeyAfterTheKeyMarker)
{
    ScopedPrompts prompts;
    Window w({ { kSong, QStringLiteral("标题") }, { kNote, Codes({ 0x634F, 0x6341 }) },
        { kNote, Codes({ kBar, Note(1) }) } });
    int shown = 0;
    std::optional<dialogs::PaletteCell> preselected;
    std::function<void(dialogs::KeyPickerDialog&)> answer;
    w.marks.setKeyPickerRunner([&](dialogs::KeyPickerDialog& picker) {
        ++shown;
        picker.show();
        preselected = picker.Text1->selectedCell();
        answer(picker);
    });
    // Off the key line: the message, no picker.
    w.editor.setSelStart(9);
    w.trigger(QStringLiteral("M_YD"));
    EXPECT_EQ(prompts->texts(), QStringList({ QStringLiteral("音调请插入到 1= 后边，请定位好光标。") }));
    EXPECT_EQ(shown, 0);
    // The selected key shows selected; the flat G replaces it.
    answer = [](dialogs::KeyPickerDialog& picker) {
        QTest::mouseClick(picker.Text1, Qt::LeftButton, {}, picker.Text1->cellRect({ 1, 4 }).center());
        picker.Upanddown[2]->click();
        picker.Command1->click();
    };
    w.editor.select(5, 1);
    w.trigger(QStringLiteral("M_YD"));
    EXPECT_EQ(preselected, (dialogs::PaletteCell { 1, 0 }));
    EXPECT_EQ(Hex(w.line(1)), Hex(Codes({ 0x634F, 0x6227, 0x6345 })));
    EXPECT_EQ(w.steps(), 1);
    // Cancel and the close box write nothing, and the picker forgets the key.
    for (const bool closeBox : { false, true }) {
        answer = [closeBox](dialogs::KeyPickerDialog& picker) {
            QTest::mouseClick(picker.Text1, Qt::LeftButton, {}, picker.Text1->cellRect({ 2, 2 }).center());
            if (closeBox)
                picker.close();
            else
                picker.Command2->click();
        };
        w.editor.select(5, 2);
        w.trigger(QStringLiteral("M_YD"));
        EXPECT_EQ(Hex(w.line(1)), Hex(Codes({ 0x634F, 0x6227, 0x6345 })));
        EXPECT_TRUE(w.form.dialogResults().KeyPickText.isEmpty());
    }
    EXPECT_EQ(w.steps(), 1);
    EXPECT_EQ(shown, 3);
}
