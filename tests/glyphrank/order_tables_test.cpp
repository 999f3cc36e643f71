#include "glyphrank.h"
#include "tests/support/test_folders.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tunvale;
using glyphrank::SortBH;
using glyphrank::SortPY;
using tunvale::testing::readAll;

namespace {

const QString kTables = QStringLiteral(TUNVALE_SOURCE_DIR "/components/glyphrank/data");
const QString kGenerator = QStringLiteral(TUNVALE_SOURCE_DIR "/tools/glyphrank/glyphrank_tables.py");
const QString kUnihan = QStringLiteral("/usr/share/unicode");

struct TableLine {
    QString label;
    QString characters;
};

// The labelled lines of a committed table file, and the Unihan version its header records.
std::vector<TableLine> tableLines(const QString& name, QString* version = nullptr)
{
    std::vector<TableLine> lines;
    const QString text = QString::fromUtf8(readAll(QDir(kTables).filePath(name)));
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(QStringLiteral("# Unihan ")) && version)
            *version = line.mid(9);
        else if (!line.startsWith(u'#'))
            lines.push_back({ line.section(u'\t', 0, 0), line.section(u'\t', 1) });
    }
    return lines;
}

QString characters(const std::vector<TableLine>& lines)
{
    QString all;
    for (const auto& line : lines)
        all += line.characters;
    return all;
}

const TableLine* line(const std::vector<TableLine>& lines, const QString& label)
{
    for (const auto& l : lines) {
        if (l.label == label)
            return &l;
    }
    return nullptr;
}

} // namespace

TEST(OrderTables, SignBlockLeadsBothOrders)
{
    // Ranks 1 to 76: spaces, signs and digits; then a A b B ... z Z.
    const char16_t signs[] = { 0x0020, 0x3000, 0x0021, 0xFF01, 0x0023, 0x0024, 0x0025, 0x0026, 0x0028, 0xFF08,
        0x0029, 0xFF09, 0x002C, 0xFF0C, 0x002E, 0x0027, 0x002D, 0x2014, 0x3002, 0xFF1A, 0x003B, 0xFF1B,
        0x0040, 0x005B, 0x005D, 0x005E, 0x005F, 0x0060, 0x007B, 0x007D, 0x007E, 0xFF5E, 0x2018, 0x201C,
        0x300A, 0x300B, 0xFFE5, 0x300E, 0x300F, 0x3010, 0x3011, 0x002B, 0x003D, 0x2260, 0x00B1, 0x00D7,
        0x00F7, 0x2234, 0x2235, 0x2248, 0x25B3, 0x25C6, 0x25C7, 0x25CB, 0x25CE, 0x25CF, 0x2191, 0x2192,
        0x2193, 0x2190, 0x00A7, 0x00B7, 0x3013, 0x2606, 0x2605, 0x2026, 0x0030, 0x0031, 0x0032, 0x0033,
        0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039 };
    QString expected = QString::fromUtf16(signs, std::size(signs));
    for (char16_t c = u'a'; c <= u'z'; ++c)
        expected.append(QChar(c)).append(QChar(c - 32));
    EXPECT_EQ(glyphrank::SignBlock(), expected);
    EXPECT_EQ(SortPY().OrderTable().left(128), expected);
    EXPECT_EQ(SortBH().OrderTable().left(128), expected);

    const SortBH sorter;
    const struct {
        char16_t c;
        int rank;
    } ranks[] = { { u' ', 1 }, { 0x3000, 1 }, { u'!', 3 }, { 0xFF01, 3 }, { u'0', 67 }, { 0xFF10, 67 },
        { u'9', 76 }, { u'a', 77 }, { u'A', 77 }, { 0xFF21, 77 }, { u'z', 127 }, { u'Z', 127 }, { u'"', 0 },
        { u'/', 0 }, { 0xAC00, 0 }, { 0xD840, 0 }, { 0x4E00, 129 } };
    for (const auto& r : ranks)
        EXPECT_EQ(sorter.CharRank(QChar(r.c)), r.rank) << int(r.c);
}

TEST(OrderTables, LibraryOrdersAreTheCommittedFiles)
{
    EXPECT_EQ(SortPY().OrderTable(), glyphrank::SignBlock() + characters(tableLines("pinyin_order.txt")));
    EXPECT_EQ(SortBH().OrderTable(), glyphrank::SignBlock() + characters(tableLines("stroke_order.txt")));
}

TEST(OrderTables, BothHoldTheSameCharactersAndCoverTheBlock)
{
    const QString strokes = characters(tableLines("stroke_order.txt"));
    const QString pinyin = characters(tableLines("pinyin_order.txt"));
    QSet<char16_t> strokeSet;
    for (QChar c : strokes) {
        EXPECT_FALSE(strokeSet.contains(c.unicode())) << "twice in the stroke order: " << int(c.unicode());
        strokeSet.insert(c.unicode());
    }
    QSet<char16_t> pinyinSet;
    for (QChar c : pinyin)
        pinyinSet.insert(c.unicode());
    EXPECT_EQ(strokeSet, pinyinSet);
    EXPECT_EQ(strokeSet.size(), 0x9FA5 - 0x4E00 + 1);
    for (char16_t c = 0x4E00; c <= 0x9FA5; ++c)
        ASSERT_TRUE(strokeSet.contains(c)) << int(c);
}

TEST(OrderTables, StrokeRowsHold)
{
    const auto lines = tableLines("stroke_order.txt");
    ASSERT_GE(lines.size(), 4u);
    const struct {
        const char* strokes;
        const char16_t* head;
        bool whole;
    } rows[] = {
        { "1", u"一丨丶丿乀乁乙乚乛亅", true },
        { "2", u"丁丂七丄丅丆丩丷乂乃", false },
        { "3", u"万丈三上下丌个丫", false },
        { "4", u"不与丏丐丑丒专中", false },
    };
    for (const auto& row : rows) {
        const TableLine* l = line(lines, QString::fromLatin1(row.strokes));
        ASSERT_TRUE(l) << row.strokes;
        const QString head = QString::fromUtf16(row.head);
        if (row.whole)
            EXPECT_EQ(l->characters, head);
        else
            EXPECT_TRUE(l->characters.startsWith(head)) << row.strokes;
    }
    EXPECT_TRUE(SortBH().OrderTable().endsWith(u'龘'));
    EXPECT_GE(lines.back().label.toInt(), 30);
}

TEST(OrderTables, PinyinRowsHold)
{
    const auto lines = tableLines("pinyin_order.txt");
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.front().label, QStringLiteral("a"));
    EXPECT_EQ(lines.front().characters, QStringLiteral("啊阿呵吖嗄腌锕錒"));
    EXPECT_TRUE(line(lines, "ai")->characters.startsWith(QStringLiteral("爱矮挨哎碍癌艾唉哀蔼隘埃皑")));
    EXPECT_TRUE(line(lines, "an")->characters.startsWith(QStringLiteral("按安暗岸俺案鞍氨胺")));
    // The syllables run alphabetically, and zuo is the last of them.
    QStringList syllables;
    for (const auto& l : lines) {
        if (l.label.front().isLetter())
            syllables << l.label;
    }
    QStringList sortedSyllables = syllables;
    sortedSyllables.sort();
    EXPECT_EQ(syllables, sortedSyllables);
    EXPECT_EQ(syllables.back(), QStringLiteral("zuo"));
    EXPECT_TRUE(line(lines, "zuo")->characters.startsWith(QStringLiteral("做作坐左座昨凿琢撮佐")));

    const SortPY sorter;
    EXPECT_TRUE(sorter.OrderTable().endsWith(u'阝'));
    EXPECT_EQ(sorter.CharRank(u'阝'), sorter.OrderTable().size()); // nowhere else
    EXPECT_EQ(sorter.CharRank(u'啊'), 129);
}

TEST(OrderTables, Counts)
{
    const QString pinyin = characters(tableLines("pinyin_order.txt"));
    QHash<char16_t, int> occurrences;
    for (QChar c : pinyin)
        ++occurrences[c.unicode()];
    int polyphones = 0;
    int mostReadings = 0;
    for (int n : std::as_const(occurrences)) {
        polyphones += n > 1;
        mostReadings = std::max(mostReadings, n);
    }
    const auto strokeLines = tableLines("stroke_order.txt");
    std::cout << "characters " << occurrences.size() << ", pinyin entries " << pinyin.size()
              << ", polyphones " << polyphones << ", most readings " << mostReadings << ", stroke counts "
              << strokeLines.size() << ", three-stroke characters "
              << line(strokeLines, "3")->characters.size() << '\n';
    EXPECT_GT(polyphones, 0);
}

TEST(OrderTables, GeneratorGivesTheCommittedFiles)
{
    QString committed;
    tableLines("pinyin_order.txt", &committed);
    if (!QFileInfo::exists(QDir(kUnihan).filePath("Unihan_Readings.txt.bz2")))
        GTEST_SKIP() << "no Unihan files in " << kUnihan.toStdString() << " (Debian package unicode-data)";
    QProcess version;
    version.start(QStringLiteral("/usr/bin/python3"), { kGenerator, QStringLiteral("--version"), kUnihan });
    ASSERT_TRUE(version.waitForFinished(60000));
    const QString installed = QString::fromUtf8(version.readAllStandardOutput()).trimmed();
    if (installed != committed)
        GTEST_SKIP() << "the installed Unihan is " << installed.toStdString() << ", the tables come from "
                     << committed.toStdString();

    QTemporaryDir out;
    QProcess generator;
    generator.start(QStringLiteral("/usr/bin/python3"), { kGenerator, kUnihan, out.path() });
    ASSERT_TRUE(generator.waitForFinished(120000));
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
    for (const char* name : { "pinyin_order.txt", "stroke_order.txt" }) {
        const QByteArray fresh = readAll(out.filePath(name));
        EXPECT_FALSE(fresh.isEmpty()) << name;
        EXPECT_TRUE(fresh == readAll(QDir(kTables).filePath(name)))
            << name << " differs from the generator's output; regenerate it (components/glyphrank/README.md)";
    }
}
