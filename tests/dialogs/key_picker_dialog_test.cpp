#include "app/dialogs/glyph_palette.h"
#include "app/dialogs/key_picker_dialog.h"
#include "tests/support/scripted_prompts.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::dialogs;
using namespace tunvale::testing;

namespace {

constexpr char16_t kSharp = 0x6226;
constexpr char16_t kFlat = 0x6227;

// The key name of a palette cell, from the key names' order: low, middle, high C to B.
QChar keyName(int row, int column) { return { char16_t(0x633A + 7 * row + column) }; }

// The picker, shown as the user meets it.
struct Picker {
    QString KeyPickText;
    KeyPickerDialog dialog;

    explicit Picker(QString preset)
        : KeyPickText(std::move(preset))
        , dialog(KeyPickText)
    {
        dialog.show();
    }
    void press(int row, int column)
    {
        QTest::mouseClick(dialog.Text1, Qt::LeftButton, {}, dialog.Text1->cellRect({ row, column }).center());
    }
    // Beside the keys, where only a press sent to the palette itself arrives.
    void pressAt(const QPointF& point)
    {
        QMouseEvent press(QEvent::MouseButtonPress, point, dialog.Text1->mapToGlobal(point), Qt::RightButton,
            Qt::RightButton, Qt::NoModifier);
        QCoreApplication::sendEvent(dialog.Text1, &press);
    }
    bool enabled(int option) const { return dialog.Upanddown[std::size_t(option)]->isEnabled(); }
};

} // namespace

TEST(KeyPickerDialog, ShowsTheKeyItWasGivenSelected)
{
    Picker sharpC(QString(QChar(kSharp)) + keyName(1, 0));
    EXPECT_EQ(sharpC.dialog.Text1->selectedCell(), (PaletteCell { 1, 0 }));
    EXPECT_TRUE(sharpC.dialog.Upanddown[0]->isChecked());
    EXPECT_EQ(sharpC.dialog.StatusBar1->currentMessage(), QStringLiteral("音调选择，前边可插入升降号。"));
    Picker highB(keyName(2, 6));
    EXPECT_EQ(highB.dialog.Text1->selectedCell(), (PaletteCell { 2, 6 }));
    Picker none(QStringLiteral("x"));
    EXPECT_FALSE(none.dialog.Text1->selectedCell());
}

TEST(KeyPickerDialog, AKeyEnablesThePrefixesItTakes)
{
    Picker p({});
    const bool flat[] = { false, true, true, false, true, true, true };
    const bool sharp[] = { true, true, false, true, true, true, false };
    for (int column = 0; column < 7; ++column) {
        p.press(2, column);
        EXPECT_TRUE(p.enabled(0));
        EXPECT_EQ(p.enabled(1), sharp[column]) << column;
        EXPECT_EQ(p.enabled(2), flat[column]) << column;
    }
    // A press that disables the marked option leaves it marked, and OK takes it.
    p.press(1, 1);
    p.dialog.Upanddown[2]->click();
    p.press(1, 0);
    EXPECT_FALSE(p.enabled(2));
    EXPECT_TRUE(p.dialog.Upanddown[2]->isChecked());
    p.dialog.Command1->click();
    EXPECT_EQ(p.KeyPickText, QString(QChar(kFlat)) + keyName(1, 0));
}

TEST(KeyPickerDialog, APressOutsideTheKeysSelectsNothing)
{
    ScopedPrompts prompts;
    Picker p(keyName(0, 3));
    const QSize cell = p.dialog.Text1->cellSize();
    // Right of the seventh column and below the third row.
    p.pressAt({ 7 * cell.width() + 2, cell.height() / 2 });
    EXPECT_FALSE(p.dialog.Text1->selectedCell());
    p.press(0, 3);
    p.pressAt({ cell.width() / 2, 3 * cell.height() + 2 });
    EXPECT_FALSE(p.dialog.Text1->selectedCell());
    EXPECT_TRUE(p.enabled(1) && p.enabled(2));
    p.dialog.Command1->click();
    EXPECT_EQ(prompts->texts(), QStringList({ QStringLiteral("请选择一个字符。") }));
    EXPECT_TRUE(p.dialog.isVisible());
    EXPECT_EQ(p.KeyPickText, QString(keyName(0, 3)));
}

TEST(KeyPickerDialog, OkGivesEveryKeyWithEachPrefixItTakes)
{
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 7; ++column) {
            for (int option = 0; option < 3; ++option) {
                Picker p({});
                p.press(row, column);
                if (!p.enabled(option))
                    continue;
                p.dialog.Upanddown[std::size_t(option)]->click();
                p.dialog.Command1->click();
                const QString prefix = option == 1 ? QString(QChar(kSharp))
                    : option == 2                  ? QString(QChar(kFlat))
                                                   : QString();
                EXPECT_EQ(p.KeyPickText, prefix + keyName(row, column)) << row << column << option;
                EXPECT_EQ(p.dialog.result(), QDialog::Accepted);
            }
        }
    }
}

TEST(KeyPickerDialog, DoubleClickCancelAndCloseBox)
{
    // A double-click takes the key alone, whatever is marked.
    Picker twice({});
    twice.press(1, 4);
    twice.dialog.Upanddown[1]->click();
    QTest::mouseDClick(
        twice.dialog.Text1, Qt::LeftButton, {}, twice.dialog.Text1->cellRect({ 1, 4 }).center());
    EXPECT_EQ(twice.KeyPickText, QString(keyName(1, 4)));
    EXPECT_FALSE(twice.dialog.isVisible());
    // A double-click beside the keys picks nothing and leaves the picker open.
    Picker beside(keyName(1, 4));
    const QPointF below(4, 3 * beside.dialog.Text1->cellSize().height() + 2);
    for (const QEvent::Type type : { QEvent::MouseButtonPress, QEvent::MouseButtonDblClick }) {
        QMouseEvent event(type, below, beside.dialog.Text1->mapToGlobal(below), Qt::LeftButton,
            Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(beside.dialog.Text1, &event);
    }
    EXPECT_TRUE(beside.dialog.isVisible());
    EXPECT_EQ(beside.KeyPickText, QString(keyName(1, 4)));
    // Cancel and the close box both answer "".
    Picker cancel(keyName(1, 4));
    cancel.press(0, 0);
    cancel.dialog.Command2->click();
    EXPECT_TRUE(cancel.KeyPickText.isEmpty());
    EXPECT_EQ(cancel.dialog.result(), QDialog::Rejected);
    Picker closed(keyName(1, 4));
    closed.dialog.close();
    EXPECT_TRUE(closed.KeyPickText.isEmpty());
}
