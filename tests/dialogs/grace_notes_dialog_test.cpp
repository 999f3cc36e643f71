#include "app/dialogs/glyph_palette.h"
#include "app/dialogs/grace_notes_dialog.h"
#include "tests/support/scripted_prompts.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace tunvale;
using namespace tunvale::dialogs;
using namespace tunvale::testing;

namespace {

const QString kLongText = QStringLiteral("长倚音，占本音时长的二分之一，在现代记谱中已废除。");
const QString kShortText = QStringLiteral("短倚音，占本音时长的四分之一，一般倚音即指短倚音。");
const QString kTooMany = QStringLiteral("最长支持4个音符！");

// The dialog, shown as the user meets it.
struct Grace {
    GraceNotesDialog dialog;

    explicit Grace(int YYInitDur = 0, int YYInitArc = 0)
        : dialog(YYInitDur, YYInitArc)
    {
        dialog.show();
    }
    void press(int row, int column)
    {
        QTest::mouseClick(dialog.Text2, Qt::LeftButton, {}, dialog.Text2->cellRect({ row, column }).center());
    }
    void confirm(int row, int column)
    {
        press(row, column);
        dialog.Command3->click();
    }
    void chooseType(int type) { dialog.Option1[std::size_t(type)]->click(); }
    QString sequence() const { return dialog.Text1->text(); }
    QString status() const { return dialog.StatusBar1->currentMessage(); }
};

// The palette character of a type at a cell: an eighth (long) or a sixteenth (short) note of the
// octave row and degree.
QChar paletteChar(int type, int row, int column)
{
    return { char16_t(0x4E07 + 7 * type + 42 * row + column) };
}

struct Cell {
    int row;
    int column;
};

// The codes of a group as the dialog's OK works them out from the palette text.
std::vector<int> expectedCodes(const std::vector<Cell>& cells, int dur, int type, bool slur, bool after)
{
    std::vector<int> codes;
    for (std::size_t e = 1; e <= cells.size(); ++e) {
        const int h = 9 * cells[e - 1].row + cells[e - 1].column + 1;
        const int r = (h - 1) / 9;
        const int c = (h - 1) - 9 * r;
        int code = 0x4E00 + 42 * r + 7 * dur + c + 588 * type;
        if (e == 2)
            code += 1176;
        if (slur)
            code += 294;
        codes.push_back(code);
    }
    if (after)
        codes[codes.size() == 1 ? 0 : 1] += 1176;
    return codes;
}

} // namespace

TEST(GraceNotesDialog, OpensOnTheShortTypeWithTheSlurOfTheNote)
{
    Grace slurred(1, 1);
    EXPECT_TRUE(slurred.dialog.Option1[1]->isChecked());
    EXPECT_TRUE(slurred.dialog.Check1->isChecked());
    EXPECT_FALSE(slurred.dialog.Check2->isChecked());
    EXPECT_EQ(slurred.status(), kShortText);
    EXPECT_EQ(slurred.dialog.Text2->rows().size(), 7);
    EXPECT_EQ(slurred.dialog.Text2->rows()[3][5], paletteChar(1, 3, 5));
    EXPECT_FALSE(slurred.dialog.YYAccepted());
    Grace plain(0, 0);
    EXPECT_FALSE(plain.dialog.Check1->isChecked());
}

TEST(GraceNotesDialog, SwitchingTheTypeEmptiesTheSequence)
{
    Grace g;
    g.confirm(0, 0);
    g.confirm(4, 6);
    EXPECT_EQ(g.sequence(), QString(paletteChar(1, 0, 0)) + paletteChar(1, 4, 6));
    g.chooseType(0);
    EXPECT_TRUE(g.sequence().isEmpty());
    EXPECT_EQ(g.status(), kLongText);
    EXPECT_EQ(g.dialog.Text2->rows()[6][6], paletteChar(0, 6, 6));
    g.confirm(6, 6);
    EXPECT_EQ(g.sequence(), QString(paletteChar(0, 6, 6)));
}

TEST(GraceNotesDialog, EveryCellOfBothTypesGivesItsCode)
{
    for (int type = 0; type < 2; ++type) {
        for (int flags = 0; flags < 4; ++flags) {
            const bool slur = flags & 1;
            const bool after = flags & 2;
            for (int i = 0; i < 49; ++i) {
                // Groups of one to four notes starting at each cell.
                const int count = 1 + i % 4;
                const int dur = i % 6;
                std::vector<Cell> cells;
                cells.reserve(std::size_t(count));
                for (int e = 0; e < count; ++e)
                    cells.push_back({ (i + 3 * e) % 49 / 7, (i + 3 * e) % 7 });
                Grace g(dur, 0);
                g.chooseType(type);
                for (const Cell& cell : cells)
                    g.confirm(cell.row, cell.column);
                g.dialog.Check1->setChecked(slur);
                g.dialog.Check2->setChecked(after);
                g.dialog.Command1->click();
                ASSERT_TRUE(g.dialog.YYAccepted());
                EXPECT_EQ(g.dialog.YYCodes(), expectedCodes(cells, dur, type, slur, after))
                    << "type " << type << " cell " << i << " flags " << flags;
            }
        }
    }
}

TEST(GraceNotesDialog, TypedDegreesAreNotesOfTheMiddleOctave)
{
    Grace g(2, 0);
    QTest::keyClicks(g.dialog.Text1, QStringLiteral("3a8 "));
    EXPECT_EQ(g.sequence(), QString(paletteChar(1, 0, 2)));
    QTest::keyClick(g.dialog.Text1, Qt::Key_7);
    QTest::keyClick(g.dialog.Text1, Qt::Key_Backspace);
    QTest::keyClick(g.dialog.Text1, Qt::Key_1);
    QTest::keyClick(g.dialog.Text1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(g.sequence(), QString(paletteChar(1, 0, 2)) + paletteChar(1, 0, 0));
    g.dialog.Command1->click();
    EXPECT_EQ(g.dialog.YYCodes(), expectedCodes({ { 0, 2 }, { 0, 0 } }, 2, 1, false, false));
}

TEST(GraceNotesDialog, AFifthNoteIsRefusedBothWays)
{
    Grace g;
    g.chooseType(0);
    for (int i = 0; i < 4; ++i)
        g.confirm(1, i);
    // The status shows what it showed when the first note came.
    EXPECT_EQ(g.status(), kLongText);
    g.confirm(2, 2);
    EXPECT_EQ(g.status(), kTooMany);
    QTest::keyClick(g.dialog.Text1, Qt::Key_5);
    EXPECT_EQ(g.sequence().size(), 4);
    // Room again: the next note brings the remembered text back.
    QTest::keyClick(g.dialog.Text1, Qt::Key_Backspace);
    g.confirm(2, 2);
    EXPECT_EQ(g.sequence().size(), 4);
    EXPECT_EQ(g.status(), kLongText);
}

TEST(GraceNotesDialog, NothingComposedAndClosing)
{
    ScopedPrompts prompts;
    Grace empty;
    // "确认=>" without a chosen note adds nothing.
    empty.dialog.Command3->click();
    empty.dialog.Command1->click();
    EXPECT_EQ(prompts->texts(), QStringList({ QStringLiteral("请选择正确后再进行。") }));
    EXPECT_TRUE(empty.dialog.isVisible());
    // Cancel and the close box give nothing, whatever was composed.
    Grace cancel;
    cancel.confirm(0, 0);
    cancel.dialog.Command2->click();
    EXPECT_FALSE(cancel.dialog.YYAccepted());
    Grace closed;
    closed.confirm(0, 0);
    closed.dialog.close();
    EXPECT_FALSE(closed.dialog.YYAccepted());
    EXPECT_FALSE(closed.dialog.isVisible());
}
