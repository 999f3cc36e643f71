#include "platform/settings/ini_file.h"
#include "platform/settings/program_folder.h"
#include "platform/text/runtime_numbers.h"
#include "tests/support/test_folders.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace tunvale;
using platform::ProgramFolder;
using platform::ReadIniValue;

namespace {

QStringList dataLines(const QString& name)
{
    QStringList lines
        = QString::fromUtf8(tunvale::testing::readAll(ProgramFolder::dataPath(name))).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

int leadingNote(const QString& line) { return int(platform::Val(line.left(2))); }

} // namespace

// Other parts of the program index these files by line number and read the note from the first two
// characters of a drum line, so the layout is checked line by line.
TEST(DataFiles, InstrumentAndDrumListsHaveTheirLayout)
{
    const QStringList lines = dataLines(QStringLiteral("genmidi.txt"));
    ASSERT_EQ(lines.size(), 215);
    for (int k = 0; k < 128; ++k) {
        const qsizetype slash = lines[k].indexOf(u'/');
        EXPECT_GT(slash, 0) << "instrument line " << k + 1;
        EXPECT_LT(slash, lines[k].size() - 1) << "instrument line " << k + 1;
    }
    const QStringList drums = dataLines(QStringLiteral("genmidi1.txt"));
    ASSERT_EQ(drums.size(), 75);
    for (int i = 0; i < 75; ++i) {
        EXPECT_EQ(leadingNote(lines[128 + i]), 13 + i) << lines[128 + i].toStdString();
        EXPECT_EQ(leadingNote(drums[i]), 13 + i) << drums[i].toStdString();
        EXPECT_GT(lines[128 + i].size(), 3);
    }
    const int common[] = { 28, 31, 35, 38, 39, 40, 45, 47, 60, 73, 76, 87 };
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(leadingNote(lines[203 + i]), common[i]) << lines[203 + i].toStdString();
}

TEST(DataFiles, AccompanimentStylesAndSolfegeNames)
{
    const QString banzhou = ProgramFolder::dataPath(QStringLiteral("banzhou.ini"));
    const QString styles = QStringLiteral("伴奏类型");
    const int count = int(platform::Val(ReadIniValue(styles, QStringLiteral("TotalTypes"), banzhou)));
    ASSERT_GE(count, 3);
    for (int n = 1; n <= count; ++n) {
        EXPECT_FALSE(ReadIniValue(styles, QStringLiteral("Type%1Name").arg(n), banzhou).isEmpty()) << n;
        for (int k = 0; k <= 4; ++k) {
            const double note
                = platform::Val(ReadIniValue(styles, QStringLiteral("Type%1%2").arg(n).arg(k), banzhou));
            EXPECT_GE(note, 13) << n << k;
            EXPECT_LE(note, 87) << n << k;
        }
    }
    // The solfège compile classifies with key 0, so middle C gets code 29 and the syllable at
    // (code + 7) mod 12: the scale from middle C must sing do re mi fa sol la si with the sharps between.
    const QStringList fromMiddleC
        = { QStringLiteral("do"), QStringLiteral("#do"), QStringLiteral("re"), QStringLiteral("#re"),
              QStringLiteral("mi"), QStringLiteral("fa"), QStringLiteral("#fa"), QStringLiteral("sol"),
              QStringLiteral("#sol"), QStringLiteral("la"), QStringLiteral("#la"), QStringLiteral("si") };
    for (int semitone = 0; semitone < 12; ++semitone) {
        const int code = 60 - 31 + semitone;
        EXPECT_EQ(ReadIniValue(QStringLiteral("唱名"), QStringLiteral("%1cm").arg((code + 7) % 12), banzhou),
            fromMiddleC[semitone])
            << semitone;
    }
    EXPECT_TRUE(tunvale::testing::readAll(ProgramFolder::dataPath(QStringLiteral("Note.ini")))
                    .startsWith("[演唱顺序]"));
}
