#include "components/symbolpick/palette_model.h"
#include "tests/fonts/font_catalogue.h"
#include "tests/support/scripted_prompts.h"

#include "platform/desktop/notation_fonts.h"
#include "platform/settings/program_folder.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using namespace tunvale;
using namespace tunvale::testing;

namespace {

const QString kMain = QStringLiteral("KORVA_Note");
const QString kSymbol = QStringLiteral("KORVA_Note_Symbol");
const QStringList kGraceFamilies { QStringLiteral("KORVA_Note_yy"), QStringLiteral("KORVA_Note_yy1"),
    QStringLiteral("KORVA_Note_yy2"), QStringLiteral("KORVA_Note_yy3") };

class NotationFontTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(platform::loadNotationFonts().isEmpty());
        for (const QString& family : platform::notationFontFamilies())
            fonts()[family] = rawNotationFont(family);
    }

    static std::map<QString, QRawFont>& fonts()
    {
        static std::map<QString, QRawFont> all;
        return all;
    }
    static const QRawFont& font(const QString& family) { return fonts().at(family); }

    static const std::vector<CatalogueEntry>& catalogue()
    {
        static const std::vector<CatalogueEntry> entries
            = readFontCatalogue(QStringLiteral(TUNVALE_FONT_CATALOGUE));
        return entries;
    }
};

QString hex(char16_t code)
{
    return QStringLiteral("U+%1").arg(int(code), 4, 16, QLatin1Char('0')).toUpper();
}

TEST(NotationFontLoading, RegistersTheSixFamiliesAndShowsTheSongFontInAChineseFace)
{
    EXPECT_TRUE(platform::loadNotationFonts().isEmpty());
    EXPECT_TRUE(platform::loadNotationFonts().isEmpty()) << "a second call finds nothing new to report";
    const QStringList families = QFontDatabase::families();
    for (const QString& family : platform::notationFontFamilies())
        EXPECT_TRUE(families.contains(family)) << family.toStdString();

    const QFont song(platform::kSongFontName);
    EXPECT_NE(QFontInfo(song).family(), platform::kSongFontName);
    EXPECT_TRUE(QRawFont::fromFont(song).supportsCharacter(QChar(u'山')));
}

TEST(NotationFontLoading, MissingFilesAreReportedInOneMessageAndLoadingGoesOn)
{
    QTemporaryDir empty;
    platform::ProgramFolder::overrideDataDir(empty.path());
    ScopedPrompts prompts;
    platform::loadNotationFontsAtStartUp();
    platform::ProgramFolder::overrideDataDir(QString());

    ASSERT_EQ(prompts->shown.size(), 1u);
    for (const QString& family : platform::notationFontFamilies())
        EXPECT_TRUE(prompts->shown[0].text.contains(family + QStringLiteral(".ttf"))) << family.toStdString();
    EXPECT_TRUE(platform::loadNotationFonts().isEmpty());
}

TEST_F(NotationFontTest, EveryCatalogueCharacterIsDrawnInItsFamilyAndLooksLikeNoOther)
{
    ASSERT_GT(catalogue().size(), 18000u);
    std::map<QString, std::map<QByteArray, const CatalogueEntry*>> seen;
    for (const CatalogueEntry& e : catalogue()) {
        const QRawFont& raw = font(e.family);
        ASSERT_TRUE(raw.supportsCharacter(QChar(e.code)))
            << e.family.toStdString() << " " << hex(e.code).toStdString();
        const QPainterPath path = glyphPath(raw, e.code);
        if (path.isEmpty()) {
            EXPECT_EQ(e.kind, QStringLiteral("spacer"))
                << hex(e.code).toStdString() << " " << e.meaning.toStdString();
            continue;
        }
        auto [it, fresh] = seen[e.family].emplace(outlineKey(path), &e);
        if (!fresh) {
            const CatalogueEntry& other = *it->second;
            EXPECT_TRUE(!e.shape.isEmpty() && e.shape == other.shape)
                << e.family.toStdString() << ": " << hex(e.code).toStdString() << " ("
                << e.meaning.toStdString() << ") looks like " << hex(other.code).toStdString() << " ("
                << other.meaning.toStdString() << ")";
        }
    }
}

// The code points the program writes, listed here independently of the generator's catalogue.
struct CodeRange {
    char16_t first;
    char16_t last;
};

const std::vector<CodeRange> kMainRanges { { 0x4E00, 0x5E13 }, { 0x5F80, 0x5F9B }, { 0x5FEB, 0x5FEB },
    { 0x6226, 0x6350 }, { 0x6351, 0x6371 }, { 0x6373, 0x6376 }, { 0x637F, 0x6387 }, { 0x6389, 0x638D },
    { 0x638F, 0x638F }, { '$', '%' }, { '^', 'a' } };
const std::vector<CodeRange> kSymbolRanges { { '*', '9' }, { 'B', 'K' }, { 0x5F80, 0x5F9B },
    { 0x5FEB, 0x5FEB } };
const std::vector<CodeRange> kGraceRanges { { 0x4E00, 0x5BC7 }, { '$', '%' }, { '(', ')' } };

TEST_F(NotationFontTest, EveryCodeTheProgramWritesIsDrawnInTheRightFamily)
{
    std::vector<std::pair<QString, std::vector<CodeRange>>> families { { kMain, kMainRanges },
        { kSymbol, kSymbolRanges } };
    for (const QString& grace : kGraceFamilies)
        families.emplace_back(grace, kGraceRanges);
    const QSet<char16_t> spacers { 0x6351, u'(' };
    for (const auto& [family, ranges] : families) {
        for (const CodeRange& range : ranges) {
            for (char16_t code = range.first; code <= range.last; ++code) {
                ASSERT_TRUE(font(family).supportsCharacter(QChar(code)))
                    << family.toStdString() << " " << hex(code).toStdString();
                if (!spacers.contains(code)) {
                    EXPECT_FALSE(glyphPath(font(family), code).isEmpty())
                        << family.toStdString() << " " << hex(code).toStdString();
                }
            }
        }
    }
}

TEST_F(NotationFontTest, EveryCharacterOfTheShippedPaletteIsDrawnInItsKindsFamily)
{
    const symbolpick::PaletteModel palette
        = symbolpick::PaletteModel::fromFile(platform::ProgramFolder::dataPath(QStringLiteral("Note.ini")));
    ASSERT_GE(palette.kindCount(), 3);
    for (int k = 1; k <= palette.kindCount(); ++k) {
        const symbolpick::PaletteKind& kind = palette.kind(k);
        ASSERT_TRUE(platform::notationFontFamilies().contains(kind.font)) << kind.name.toStdString();
        EXPECT_FALSE(kind.entries.empty()) << kind.name.toStdString();
        for (const symbolpick::PaletteEntry& e : kind.entries) {
            EXPECT_FALSE(e.description.isEmpty()) << kind.name.toStdString() << " " << e.number;
            ASSERT_TRUE(font(kind.font).supportsCharacter(QChar(e.code)))
                << kind.name.toStdString() << " " << hex(e.code).toStdString();
            EXPECT_FALSE(glyphPath(font(kind.font), e.code).isEmpty())
                << kind.name.toStdString() << " " << hex(e.code).toStdString();
        }
    }
    // The erhu signs use letters that nothing reading the score gives a meaning.
    for (const symbolpick::PaletteEntry& e : palette.kind(3).entries)
        EXPECT_TRUE((e.code >= u'L' && e.code <= u'Z') || (e.code >= u'b' && e.code <= u'z'))
            << hex(e.code).toStdString();
}

TEST_F(NotationFontTest, NotesWithDifferentFieldsHaveDifferentOutlines)
{
    // In the main family the slur pieces of blocks 4..7 may share a shape; every other field counts.
    std::map<QByteArray, int> mainShapes;
    for (int n = 0; n < 14 * 294; ++n) {
        const int block = n / 294;
        const int key = ((block >= 4 && block <= 7) ? 4 : block) * 294 + n % 294;
        const auto [it, fresh]
            = mainShapes.emplace(outlineKey(glyphPath(font(kMain), char16_t(0x4E00 + n))), key);
        EXPECT_TRUE(fresh || it->second == key) << hex(char16_t(0x4E00 + n)).toStdString();
    }
    for (const QString& grace : kGraceFamilies) {
        std::map<QByteArray, int> shapes;
        for (int n = 0; n < 12 * 294; ++n)
            EXPECT_TRUE(shapes.emplace(outlineKey(glyphPath(font(grace), char16_t(0x4E00 + n))), n).second)
                << grace.toStdString() << " " << hex(char16_t(0x4E00 + n)).toStdString();
    }
    const QString barLines = QStringLiteral("$%^_`a") + QString(QChar(0x6352)) + QChar(0x6355);
    std::map<QByteArray, char16_t> bars;
    QString all = barLines;
    for (char16_t c = 0x6357; c <= 0x6371; ++c)
        all += QChar(c);
    for (char16_t c : { char16_t(0x6373), char16_t(0x638F) })
        all += QChar(c);
    for (char16_t c = 0x637F; c <= 0x6387; ++c)
        all += QChar(c);
    ASSERT_EQ(all.size(), 46);
    for (QChar c : all)
        EXPECT_TRUE(bars.emplace(outlineKey(glyphPath(font(kMain), c.unicode())), c.unicode()).second)
            << hex(c.unicode()).toStdString();
}

TEST_F(NotationFontTest, VerticalMetricsAgreeAcrossFamiliesAndHoldEveryGlyph)
{
    const QRawFont& main = font(kMain);
    for (const QString& family : platform::notationFontFamilies()) {
        EXPECT_EQ(font(family).ascent(), main.ascent()) << family.toStdString();
        EXPECT_EQ(font(family).descent(), main.descent()) << family.toStdString();
        EXPECT_EQ(font(family).unitsPerEm(), main.unitsPerEm()) << family.toStdString();
    }
    for (const CatalogueEntry& e : catalogue()) {
        const QRectF box = glyphPath(font(e.family), e.code).boundingRect();
        EXPECT_GE(box.top(), -main.ascent()) << e.family.toStdString() << " " << hex(e.code).toStdString();
        EXPECT_LE(box.bottom(), main.descent()) << e.family.toStdString() << " " << hex(e.code).toStdString();
    }
}

// Where the ink of a glyph meets one of its edges, within a band of heights (y down, baseline 0).
QRectF inkAtEdge(const QRawFont& font, char16_t code, bool right, double top, double bottom)
{
    const double x = right ? glyphAdvance(font, code) : 0;
    const QRectF strip(x - 0.5, top, 1, bottom - top);
    return glyphPath(font, code)
        .intersected([&] {
            QPainterPath p;
            p.addRect(strip);
            return p;
        }())
        .boundingRect();
}

TEST_F(NotationFontTest, NeighboursJoinTheirUnderlinesSlursAndBrackets)
{
    enum Zone { Underlines, Slur, Triplet };
    struct Pair {
        QString leftFamily;
        char16_t left;
        char16_t right;
        Zone zone;
        QString rightFamily = QStringLiteral("KORVA_Note");
    };
    const std::vector<Pair> pairs {
        { kMain, 0x4E07, 0x4E08, Underlines }, // eighth to eighth
        { kMain, 0x4E23, 0x62C7, Underlines }, // 128th to its dot
        { kMain, 0x62C4, 0x4E0E, Underlines }, // dot of a sixteenth to a sixteenth
        { kMain, 0x4E07, 0x622B, Underlines }, // eighth to a sharp of an eighth
        { kMain, 0x622B, 0x62CF, Underlines }, // that sharp to an eighth rest
        { kMain, 0x4F26, 0x6354, Slur }, // slur start to a spacer under it
        { kMain, 0x6354, 0x6355, Slur }, // to a bar line under it
        { kMain, 0x6355, 0x6356, Slur }, // to a dash under it
        { kMain, 0x6356, 0x5172, Slur }, // to the note where it ends
        { kMain, 0x504C, 0x5298, Slur }, // inside a slur to a junction piece
        { kMain, 0x6363, 0x504C, Slur }, // a volta opens over the notes after it
        { kMain, 0x504C, 0x636D, Slur }, // and closes at the next repeat sign
        { kMain, 0x5730, 0x6262, Triplet }, // first triplet note to an accidental inside the triplet
        { kMain, 0x6262, 0x5856, Triplet }, // to the middle note
        { kMain, 0x5856, 0x597C, Triplet }, // to the last note
        { kGraceFamilies[0], 0x4F26, 0x504C, Slur }, // grace note under a slur to a note inside it
    };
    const double descent = font(kMain).descent();
    for (const Pair& p : pairs) {
        const auto [top, bottom] = p.zone == Underlines ? std::pair(0.0, descent)
            : p.zone == Slur                            ? std::pair(-font(kMain).ascent(), -820.0)
                                                        : std::pair(-820.0, -600.0);
        const QRectF a = inkAtEdge(font(p.leftFamily), p.left, true, top, bottom);
        const QRectF b = inkAtEdge(font(p.rightFamily), p.right, false, top, bottom);
        ASSERT_FALSE(a.isEmpty()) << hex(p.left).toStdString();
        ASSERT_FALSE(b.isEmpty()) << hex(p.right).toStdString();
        EXPECT_NEAR(a.top(), b.top(), 1) << hex(p.left).toStdString() << " " << hex(p.right).toStdString();
        EXPECT_NEAR(a.bottom(), b.bottom(), 1)
            << hex(p.left).toStdString() << " " << hex(p.right).toStdString();
    }
}

TEST_F(NotationFontTest, GraceNotesAreSmallRaisedAndNarrow)
{
    const QRectF note = glyphPath(font(kMain), 0x4E04).boundingRect(); // a plain 5
    for (const QString& grace : kGraceFamilies) {
        // A 5 without the marks that tie a group to its main note.
        const char16_t plain = grace == kGraceFamilies[0] ? 0x4E04 + 8 * 294 : 0x4E04;
        const QRectF small = glyphPath(font(grace), plain).boundingRect();
        EXPECT_LT(small.height(), note.height() * 0.7) << grace.toStdString();
        EXPECT_LT(small.bottom(), -note.height() / 2) << grace.toStdString();
        EXPECT_LT(glyphAdvance(font(grace), 0x4E04), glyphAdvance(font(kMain), 0x4E04) * 0.6)
            << grace.toStdString();
    }
    EXPECT_LT(glyphAdvance(font(kMain), 0x6351), glyphAdvance(font(kMain), 0x4E04) / 2);
}

TEST_F(NotationFontTest, FontconfigReadsEachFamilyName)
{
    for (const QString& family : platform::notationFontFamilies()) {
        QProcess scan;
        scan.start(QStringLiteral("fc-scan"),
            { QStringLiteral("--format"), QStringLiteral("%{family}"),
                platform::ProgramFolder::dataPath(QStringLiteral("fonts/%1.ttf").arg(family)) });
        if (!scan.waitForStarted())
            GTEST_SKIP() << "fc-scan is not installed";
        ASSERT_TRUE(scan.waitForFinished());
        EXPECT_EQ(QString::fromUtf8(scan.readAllStandardOutput()).trimmed(), family);
    }
}

} // namespace
