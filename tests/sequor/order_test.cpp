#include "components/sequor/core/jianpu_parser.h"
#include "components/sequor/core/midi_export.h"
#include "components/sequor/core/play_order_expansion.h"
#include "tests/sequor/sequor_text.h"
#include "tests/support/test_folders.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tunvale::testing {
namespace {

using namespace sequor;

// Letters stand for notes, "|" for the plain bar line, "^" for a segment mark and "#" for the join mark.
QString Spelled(const char* text)
{
    QString spelled;
    for (const char* p = text; *p; ++p) {
        switch (*p) {
        case '|':
            spelled += QChar(char16_t(0x6352));
            break;
        case '#':
            spelled += QChar(char16_t(0x638E));
            break;
        case '^':
            spelled += QChar(u'^');
            break;
        default:
            spelled += QChar(char16_t(0x4E00 + (*p - 'A') % 7));
            break;
        }
    }
    return spelled;
}

TEST(SequorOrder, Keys)
{
    const struct {
        QString text;
        const char* key;
    } cases[] = {
        { Spelled(""), "00" },
        { Spelled("A|B|"), "00" },
        { Spelled("^A|B^"), "dd" },
        { Spelled("A^B"), "0d0" },
        { Spelled("^A"), "d0" },
        { QStringLiteral("a") + Spelled("A") + QChar(char16_t(0x6357)) + QChar(char16_t(0x638F)), "g1V" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeOrderKey(c.text), QLatin1String(c.key)) << c.key;
}

TEST(SequorOrder, ItemsAreReadOnce)
{
    EXPECT_EQ(OrderPieces(QStringLiteral("1, 2,x,0,4,2.5,-1,3"), 3), (std::vector<int> { 0, 1, 1, 2 }));
    EXPECT_EQ(OrderPieces(QStringLiteral(""), 3), std::vector<int> {});
    EXPECT_EQ(OrderPieces(QStringLiteral("1.5"), 3), (std::vector<int> { 1 }));
}

TEST(SequorOrder, ExpandsBarsAndText)
{
    const struct {
        const char* text;
        std::vector<int> pieces;
        std::vector<int> bars;
        const char* play;
    } cases[] = {
        { "A|B^C|D^E|", { 0, 1, 1, 2 }, { 0, 1, 2, 3, 2, 3, 4 }, "A|B#C|D#C|D#E|" }, // a lead-in
        { "|A|B^C|", { 0, 1, 0 }, { 0, 1, 2, -1, -1, 0, 1 }, "|A|B#C|#|A|B" }, // two empty bars
        { "^A|B^C^", { 1, 0 }, { 2, 0, 1 }, "#C#A|B#" },
        { "A|B|C", { 0, 0 }, { 0, 1, 2, 0, 1 }, "A|B|C#A|B|C" }, { "A", { 0 }, {}, "A" },
        { "A", { 0, 0 }, { 0 }, "A#A" }, // the open end closed by the join
        { "A|B^C|D|", { 0, 1, 0 }, { 0, 1, 2, 3, -1, 0, 1 }, "A|B#C|D|#A|B" }, // an empty bar after D
        { "|A|B|", { 0, 0 }, { 0, 1, -1, -1, 0, 1 }, "|A|B|#|A|B|" },
        { "^A^^B|", { 0, 1, 2 }, { 0, 1, 2 }, "#A##B|" }, // an empty piece
    };
    for (const auto& c : cases) {
        const QString text = Spelled(c.text);
        EXPECT_EQ(BuildBarPlayList(text, c.pieces), c.bars) << c.text;
        EXPECT_EQ(AssemblePlayText(text, c.pieces), Spelled(c.play)) << c.text;
        EXPECT_EQ(PlayTextLength(text, c.pieces), Spelled(c.play).size()) << c.text;
    }
}

// Entry i of the bar list is bar i of the play text, as the parser counts it, whatever the order; the
// list may hold one entry more, for a last bar that the play text leaves open.
TEST(SequorOrder, BarListFollowsThePlayText)
{
    const char* texts[] = { "A|B^C|D^E|", "|A|B^C|", "^A|B^C^", "A|B|C", "|A|B|", "A^B", "^A^^B|", "A|B^C|D|",
        "|A^B", "A", "^|A|^B|^" };
    const std::vector<std::vector<int>> orders
        = { { 0 }, { 0, 0 }, { 0, 1, 0 }, { 1, 0, 1 }, { 2, 0, 1, 2 }, { 1, 1 }, { 2, 2, 0 } };
    for (const char* spelled : texts) {
        const QString text = Spelled(spelled);
        for (const std::vector<int>& order : orders) {
            std::vector<int> pieces;
            for (const int piece : order) {
                if (piece < PieceCount(text))
                    pieces.push_back(piece);
            }
            const auto bars = BuildBarPlayList(text, pieces);
            const auto lengths = ParseJianpu(AssemblePlayText(text, pieces)).BarLengths;
            // The last bar of the order may stay open in the play text: no length, no drums.
            EXPECT_TRUE(bars.size() == lengths.size() || bars.size() == lengths.size() + 1)
                << spelled << " order " << ::testing::PrintToString(pieces) << ": " << bars.size()
                << " entries for " << lengths.size() << " bars";
        }
    }
}

class SequorOrderFiles : public ::testing::Test
{
protected:
    void write(const QTemporaryDir& dir, const char* name, const char* content)
    {
        ASSERT_TRUE(writeAll(dir.filePath(QString::fromLatin1(name)), content));
    }
    QTemporaryDir user, data;
};

TEST_F(SequorOrderFiles, NoteIniFirstAndUserFolderFirst)
{
    write(data, "Note.ini", "[演唱顺序]\n0d0=2,1\n00=1\n");
    write(data, "MyNote.ini", "[演唱顺序]\n0d0=1,1\n0dd0=3\n");
    const QStringList folders { user.path(), data.path() };
    EXPECT_EQ(ReadOrderString(QStringLiteral("0d0"), folders), QStringLiteral("2,1"));
    EXPECT_EQ(ReadOrderString(QStringLiteral("0dd0"), folders), QStringLiteral("3"));
    EXPECT_EQ(ReadOrderString(QStringLiteral("dd"), folders), QString());
    write(user, "Note.ini", "[演唱顺序]\n0d0=1,2,1\n");
    EXPECT_EQ(ReadOrderString(QStringLiteral("0d0"), folders), QStringLiteral("1,2,1"));
    // The user's "Note.ini" hides the shipped one entirely; "MyNote.ini" is still looked at.
    EXPECT_EQ(ReadOrderString(QStringLiteral("00"), folders), QString());
    EXPECT_EQ(ReadOrderString(QStringLiteral("0dd0"), folders), QStringLiteral("3"));
}

TEST_F(SequorOrderFiles, LoadedOrderOfTheSameKeyWins)
{
    write(data, "Note.ini", "[演唱顺序]\n0d0=2,1\n00=1\n");
    ExportInput input;
    input.text = Spelled("A|B^C|");
    input.folders = QStringList { data.path() };
    auto converted = ConvertScore(input);
    ASSERT_TRUE(converted);
    EXPECT_EQ(converted->order, (std::vector<int> { 1, 0 }));

    input.loadedOrder = LoadedOrder { QStringLiteral("0d0"), { 0, 0, 1, 7 } };
    converted = ConvertScore(input);
    ASSERT_TRUE(converted);
    EXPECT_EQ(converted->key, QStringLiteral("0d0"));
    EXPECT_EQ(converted->order, (std::vector<int> { 0, 0, 1 }));
    EXPECT_EQ(converted->BarPlayList, (std::vector<int> { 0, 1, 0, 1, 2 }));
    EXPECT_EQ(converted->parsed.BarLengths, (std::vector<double> { 4, 4, 4, 4, 4 }));

    // An order loaded for another key (a selection) is not used.
    input.loadedOrder = LoadedOrder { QStringLiteral("0dd0"), { 0, 0 } };
    EXPECT_EQ(ConvertScore(input)->order, (std::vector<int> { 1, 0 }));
}

TEST_F(SequorOrderFiles, NoUsableItemIsNoOrder)
{
    write(data, "Note.ini", "[演唱顺序]\n0d0=x,9\n");
    ExportInput input;
    input.text = Spelled("A|B^C|");
    input.folders = QStringList { data.path() };
    EXPECT_FALSE(ConvertScore(input));
    input.text = Spelled("A|B|");
    EXPECT_FALSE(ConvertScore(input));
    const QString out = user.filePath(QStringLiteral("out.mid"));
    const ExportResult result = ExportMidi(input, out);
    EXPECT_EQ(result.status, ExportResult::NoOrder);
    EXPECT_EQ(result.message, QStringLiteral("请先设置好歌曲的“演唱顺序”!"));
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(SequorOrderFiles, AnOrderPlayingMoreThanAScoreMayIsRefusedWithItsReason)
{
    // Two pieces of 1,000 notes; 5,000 items would play 5,005,000 characters.
    ExportInput input;
    input.text = Spelled(QByteArray(999, 'A') + "^" + QByteArray(1000, 'B'));
    input.loadedOrder = LoadedOrder { QStringLiteral("0d0"), std::vector<int>(5000) };
    for (size_t i = 1; i < input.loadedOrder->segments.size(); i += 2)
        input.loadedOrder->segments[i] = 1;
    const QString out = user.filePath(QStringLiteral("out.mid"));
    const ExportResult result = ExportMidi(input, out);
    EXPECT_EQ(result.status, ExportResult::Failed);
    EXPECT_TRUE(result.message.contains(QStringLiteral("play order"))) << result.message.toStdString();
    EXPECT_FALSE(QFile::exists(out));

    input.loadedOrder->segments.resize(4000); // 4,004,000 characters
    EXPECT_EQ(ExportMidi(input, out).status, ExportResult::Written);
}

} // namespace
} // namespace tunvale::testing
