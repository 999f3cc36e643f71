#include "components/symbolpick/palette_model.h"
#include "components/symbolpick/palette_scroll.h"
#include "tests/support/test_folders.h"

#include <gtest/gtest.h>

using namespace tunvale;
using symbolpick::PaletteKind;
using symbolpick::PaletteModel;
using symbolpick::PaletteScroll;
using tunvale::testing::testDataPath;

namespace {

PaletteModel fixture(const char* name)
{
    return PaletteModel::fromFile(testDataPath(QStringLiteral("symbolpick/") + QLatin1String(name)));
}

QStringList descriptions(const PaletteKind& kind)
{
    QStringList out;
    for (const auto& e : kind.entries)
        out << e.description;
    return out;
}

TEST(PaletteModel, KindsRowsAndTheScrollBarFollowTheFile)
{
    const PaletteModel model = fixture("kinds.ini");
    ASSERT_EQ(model.kindCount(), 3);
    EXPECT_EQ(model.kind(1).name, QStringLiteral("常规符号")) << "kind 1's name key is not read";
    EXPECT_EQ(model.kind(2).name, QStringLiteral("长的"));
    EXPECT_EQ(model.kind(2).font, QStringLiteral("KORVA_Note_Symbol"));
    EXPECT_EQ(model.kind(2).about, QStringLiteral("thirty-three"));

    // Eight characters fill one row without a bar; thirty-three need five rows and show it.
    const int oneRow = PaletteModel::rowCount(int(model.kind(1).entries.size()));
    const int fiveRows = PaletteModel::rowCount(int(model.kind(2).entries.size()));
    EXPECT_EQ(oneRow, 1);
    EXPECT_FALSE(PaletteModel::showsScrollBar(oneRow));
    EXPECT_EQ(fiveRows, 5);
    EXPECT_TRUE(PaletteModel::showsScrollBar(fiveRows));
    PaletteScroll bar;
    bar.reset(fiveRows);
    EXPECT_EQ(bar.value(), 5) << "the top of the inverted bar is the row count";
    EXPECT_EQ(bar.bottom(), 4);
    EXPECT_EQ(bar.canvasHeight(), 5 * 1175 + 90);
}

TEST(PaletteModel, DescriptionsCarryToEntriesWithoutTheirOwnAndStartEmptyInEachKind)
{
    const PaletteModel model = fixture("kinds.ini");
    EXPECT_EQ(descriptions(model.kind(1)),
        (QStringList { "fermata", "fermata", "voice two", "voice three/with slash", "voice three/with slash",
            "", "", "end repeat" }));
    // Kind 2 begins without a description although kind 1 ended with one.
    EXPECT_EQ(model.kind(2).entries.front().description, QString());
    EXPECT_EQ(model.kind(3).entries.front().description, QStringLiteral("pull bow"));
}

TEST(PaletteModel, LeadingEntriesAreFullSizeInTheGridAndThePreview)
{
    const PaletteModel model = fixture("kinds.ini");
    const PaletteKind& kind = model.kind(2);
    ASSERT_EQ(kind.fullSizeCount, 10);
    EXPECT_EQ(PaletteModel::gridSize(kind, 9), 45);
    EXPECT_EQ(PaletteModel::previewSize(kind, 9), 60);
    EXPECT_EQ(PaletteModel::gridSize(kind, 10), 22.5);
    EXPECT_EQ(PaletteModel::previewSize(kind, 10), 30);
    EXPECT_EQ(PaletteModel::gridSize(kind, 32), 22.5);
}

TEST(PaletteModel, APressFindsItsCellAtOnePitchAllTheWayDown)
{
    constexpr int rows = 40;
    EXPECT_EQ(PaletteModel::cellAt({ 45, 45 }, rows), 0);
    EXPECT_EQ(PaletteModel::cellAt({ 4043, 45 }, rows), 7);
    EXPECT_EQ(PaletteModel::cellAt({ 545, 1220 }, rows), 9);
    EXPECT_EQ(PaletteModel::cellAt({ 44, 100 }, rows), std::nullopt);
    EXPECT_EQ(PaletteModel::cellAt({ 4044, 100 }, rows), std::nullopt);
    EXPECT_EQ(PaletteModel::cellAt({ 100, 44 }, rows), std::nullopt);
    EXPECT_EQ(PaletteModel::cellAt({ 100, rows * 1175 + 44 }, rows), std::nullopt);
    // Just above the drawn top of row 30 is still row 29: the hit test uses the drawing's pitch.
    const double row30 = PaletteModel::cellTopLeft(30 * 8).y();
    EXPECT_EQ(row30, 30 + 30 * 1175);
    EXPECT_EQ(PaletteModel::cellAt({ 100, row30 - 10 }, rows), 29 * 8);
    EXPECT_EQ(PaletteModel::cellAt({ 100, row30 + 20 }, rows), 30 * 8);
}

TEST(PaletteModel, DamagedFilesKeepWhatIsReadableAndNeverHang)
{
    const PaletteModel model = fixture("malformed.ini");
    ASSERT_EQ(model.kindCount(), 4);
    // Missing, non-hexadecimal, zero, out-of-range and half-pair entries are skipped; the rest keep
    // their key numbers.
    QList<int> numbers;
    QString codes;
    for (const auto& e : model.kind(1).entries) {
        numbers << e.number;
        codes += QChar(e.code);
    }
    EXPECT_EQ(numbers, (QList<int> { 0, 3, 7 }));
    EXPECT_EQ(codes, QStringLiteral("\u4E00\u4E03\u4E05"));
    EXPECT_EQ(model.kind(1).fullSizeCount, 0) << "a count that is no number is 0";
    EXPECT_EQ(model.kind(2).entries.size(), 1u) << "a huge total is bounded";
    EXPECT_TRUE(model.kind(3).entries.empty()) << "a negative total gives no entries";
    EXPECT_TRUE(model.kind(4).entries.empty()) << "a kind without section is empty";
    EXPECT_TRUE(model.kind(4).font.isEmpty());

    EXPECT_EQ(fixture("nokinds.ini").kindCount(), 0);
    EXPECT_EQ(fixture("no such file.ini").kindCount(), 0);
}

TEST(PaletteModel, AKindLongerThanTwentySevenRowsIsKept)
{
    std::map<QString, QString> ini { { QStringLiteral("常规/字符种类"), QStringLiteral("1") },
        { QStringLiteral("常规符号/Symbol_Total"), QStringLiteral("299") } };
    for (int n = 0; n < 300; ++n)
        ini[QStringLiteral("常规符号/Symbol%1").arg(n)] = QString::number(0x4E00 + n, 16);
    const PaletteModel model(
        [&ini](const QString& section, const QString& key) { return ini[section + u'/' + key]; });
    const int rows = PaletteModel::rowCount(int(model.kind(1).entries.size()));
    EXPECT_EQ(rows, 38);
    EXPECT_EQ(PaletteModel::canvasHeight(rows), 38 * 1175 + 90);
    EXPECT_EQ(PaletteModel::cellAt({ 100, 37 * 1175 + 100 }, rows), 37 * 8);
}

TEST(PaletteScroll, TheWheelMovesByStepsAndSnapsWhenTheBarsValueChanges)
{
    PaletteScroll scroll;
    scroll.reset(10); // canvas 11840 twips
    std::vector<double> tops;
    for (int i = 0; i < 3; ++i) {
        scroll.wheelTowardsUser();
        tops.push_back(scroll.top());
    }
    // 10 + 10 * top / 11835 rounds to 10, 10, then 9: the third step snaps to the bar's row position.
    EXPECT_EQ(tops, (std::vector<double> { -200, -400, -1183.5 }));
    EXPECT_EQ(scroll.value(), 9);
    scroll.wheelAwayFromUser();
    EXPECT_EQ(scroll.top(), -983.5);
    for (int i = 0; i < 10; ++i)
        scroll.wheelAwayFromUser();
    EXPECT_EQ(scroll.top(), 0);
    EXPECT_EQ(scroll.value(), 10);

    for (int i = 0; i < 100; ++i)
        scroll.wheelTowardsUser();
    EXPECT_EQ(scroll.value(), scroll.bottom());
    EXPECT_GE(scroll.top(), -7101);
    EXPECT_LE(scroll.top(), 4905 - 11840 + 90);

    scroll.setValue(10);
    EXPECT_EQ(scroll.top(), 0);
    scroll.setValue(99);
    EXPECT_EQ(scroll.value(), 10) << "the bar keeps to its range";
}

TEST(PaletteScroll, AGridThatFitsTheViewportDoesNotScroll)
{
    PaletteScroll scroll;
    scroll.reset(4);
    scroll.wheelTowardsUser();
    EXPECT_EQ(scroll.top(), 0);
    EXPECT_EQ(scroll.value(), 4);
}

} // namespace
