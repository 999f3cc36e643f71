#include "tests/keyshift/keyshift_text.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include "components/keyshift/font_runs.h"
#include "components/keyshift/transposer.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace tunvale::keyshift;
using namespace tunvale::testing;

namespace {

// Rounds of each kind; a longer run by hand: TUNVALE_KEYSHIFT_FUZZ_ROUNDS=100000.
int rounds()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("TUNVALE_KEYSHIFT_FUZZ_ROUNDS", &ok);
    return ok && n > 0 ? n : 2000;
}

// The pieces of our dialect and of damaged text that it is read from.
QString pieceOfText(QRandomGenerator& random)
{
    static const QStringList pieces = { "\\'d2\\'bb", "\\'D2\\'BB", "\\'a8\\'a6", "\\'92\\'ba", "\\'7f",
        "\\'80", "\\'d2", "\\'d2x", "\\'zz", "\\'1f", "\\'", "\\", "\\\\", "\\par\r\n", "\\pard", "\\fs64 ",
        "\\f", "\\f1 ", "\\f2\\fs40 ", "\\f7 ", "\\f99999999999 ", "\\f1e3 ", "\\f-1 ", "\\up6 ", "\\tab ",
        "$", "a", "(", ")", "B", "F", " ", "{", "}", ";}", "\\'63\\'4f", "\\'92\\'71", "\\'d8\\'a2" };
    return pieces[random.bounded(pieces.size())];
}

QString fontEntry(QRandomGenerator& random, int number)
{
    static const QStringList names = { "KORVA_Note", "KORVA_Note_Symbol", "KORVA_Note_yy", "KORVA_Note_yy1",
        "KORVA_Note_yy2", "KORVA_Note_yy3", "\\'cb\\'ce\\'cc\\'e5", "Arial", "korva_note_SYMBOL" };
    const QString number_ = random.bounded(8) == 0 ? QStringLiteral("99999999999") : QString::number(number);
    QString entry
        = QStringLiteral("{\\f%1\\fnil\\fcharset134 %2").arg(number_, names[random.bounded(names.size())]);
    if (random.bounded(6) != 0)
        entry += QStringLiteral(";}");
    return entry;
}

QString builtText(QRandomGenerator& random)
{
    QString text = QStringLiteral("{\\rtf1\\ansi\\ansicpg936\\deff0");
    if (random.bounded(5) != 0) {
        text += QStringLiteral("{\\fonttbl");
        for (int i = 0, n = int(random.bounded(13)); i < n; ++i)
            text += fontEntry(random, i);
        text += QStringLiteral("}\r\n");
    }
    for (int i = 0, n = int(random.bounded(60)); i < n; ++i)
        text += pieceOfText(random);
    if (random.bounded(2))
        text += u'}';
    return text;
}

QString mutated(QRandomGenerator& random, QString text)
{
    static const QString characters = QStringLiteral("\\'{};f0123456789abcdefABCDEF xz\r\n");
    for (int k = 1 + int(random.bounded(8)); k > 0 && !text.isEmpty(); --k) {
        const qsizetype at = random.bounded(text.size());
        switch (random.bounded(4)) {
        case 0:
            text[at] = characters.at(random.bounded(characters.size()));
            break;
        case 1:
            text.insert(at, pieceOfText(random));
            break;
        case 2:
            text.remove(at, 1 + random.bounded(8));
            break;
        default:
            text[at] = QChar(char16_t(random.bounded(0x10000)));
        }
    }
    return text;
}

// Ends without crashing; a refused text shows one message, any other gives a text.
void transposeEverySteps(const QString& text)
{
    for (int step : { 2, -2, 1, -1 }) {
        ScriptedPrompts prompts;
        const TransposeResult result = TransposeRtf(text, step, prompts);
        ASSERT_EQ(prompts.shown.size(), result.outOfRange ? 1u : 0u);
        if (!result.outOfRange) {
            ASSERT_FALSE(result.rtf.isEmpty() && !text.isEmpty());
        }
    }
}

} // namespace

// Cut, mutated and assembled texts: nothing crashes, hangs or reads outside its text.
TEST(Fuzz, DamagedAndForeignTextsEnd)
{
    QRandomGenerator random(1919);
    std::vector<QString> originals
        = { QString::fromLatin1(readAll(testDataPath(QStringLiteral("rtf/score_features.rtf")))),
              ScoreRtf({ { T("title") }, { N(QString(KeyMark) + QChar(0x6341)) },
                  { N(QString(Note(3)) + Sharp(Note(4)) + Note(4)), S("B"), Y(1, QString(Note(2, 0, 1))),
                      N(QString(Note(7, 6))) },
                  { T("lyric 一") } }) };
    int texts = 0;
    for (const QString& original : originals) {
        ASSERT_FALSE(original.isEmpty());
        for (qsizetype cut = 0; cut < original.size(); cut += 5, ++texts)
            transposeEverySteps(original.left(cut));
        for (int i = 0; i < rounds(); ++i, ++texts)
            transposeEverySteps(mutated(random, original));
    }
    for (int i = 0; i < rounds(); ++i, ++texts)
        transposeEverySteps(builtText(random));
    RecordProperty("texts", texts);
    std::printf("%d texts\n", texts);
}
