#include "app/playback/play_texts.h"

#include <array>
#include <cmath>
#include <utility>

namespace tunvale::playback {

namespace {

constexpr char16_t KeyMarker = 0x634F;
constexpr char16_t FirstKeyLetter = 0x633A;
constexpr char16_t LastKeyLetter = 0x634E;
constexpr char16_t SharpSign = 0x6226;
constexpr char16_t FlatSign = 0x6227;

bool isKeyLetter(QChar c) { return c.unicode() >= FirstKeyLetter && c.unicode() <= LastKeyLetter; }
bool isLineBreak(QChar c) { return c == u'\r' || c == u'\n'; }

} // namespace

QString GetKeyText(const QString& scoreText)
{
    const qsizetype marker = scoreText.indexOf(QChar(KeyMarker));
    if (marker < 0)
        return {};
    if (marker + 2 < scoreText.size() && isKeyLetter(scoreText[marker + 2])
        && !isLineBreak(scoreText[marker + 1]))
        return scoreText.mid(marker, 3);
    if (marker + 1 < scoreText.size() && !isLineBreak(scoreText[marker + 1]))
        return scoreText.mid(marker, 2);
    return scoreText.mid(marker, 1);
}

Tonic TonicFromKey(const QString& keyText)
{
    // Semitones of C D E F G A B above C.
    static constexpr std::array<int, 7> kSemitone = { 0, 2, 4, 5, 7, 9, 11 };
    if (keyText.size() < 2 || keyText[0] != QChar(KeyMarker))
        return {};
    int alteration = 0;
    QChar letter = keyText[1];
    if ((letter == QChar(SharpSign) || letter == QChar(FlatSign)) && keyText.size() >= 3) {
        alteration = letter == QChar(SharpSign) ? 1 : -1;
        letter = keyText[2];
    } else if (keyText.size() != 2) {
        return {};
    }
    if (!isKeyLetter(letter))
        return {};
    const int index = letter.unicode() - FirstKeyLetter;
    const int octave = index / 7;
    const int degree = index % 7;
    const bool refused = (degree == 0 && alteration < 0) || (degree == 2 && alteration > 0)
        || (degree == 3 && alteration < 0) || (degree == 6 && alteration > 0);
    if (refused)
        return { 31, true };
    return { 19 + 12 * octave + kSemitone[size_t(degree)] + alteration, false };
}

QString FormatPlaySeconds(double seconds)
{
    const double hundredths = std::round(seconds * 100);
    const QString text = QString::number(std::abs(hundredths) / 100, 'f', 2);
    return (hundredths < 0 ? QStringLiteral("-") : QString()) + text.rightJustified(5, QChar(u'0'));
}

QString PlayTimeText(double seconds) { return QStringLiteral("演奏时长:") + FormatPlaySeconds(seconds); }

QString BreakpointCaption(double startPlayTime, double totalPlayTime)
{
    return QStringLiteral("断点演奏（") + FormatPlaySeconds(startPlayTime) + QChar(u'/')
        + FormatPlaySeconds(totalPlayTime) + QChar(u')');
}

int ScrollLinesForRow(int row)
{
    if (row >= 4)
        return 3;
    switch (row) {
    case 3:
        return 1;
    case 2:
        return -1;
    case 1:
        return -2;
    default:
        return 0;
    }
}

std::optional<std::vector<int>> DrumRangeBars(int a, int b)
{
    if (a < 0 || b <= 0)
        return std::nullopt;
    if (b < a)
        std::swap(a, b);
    std::vector<int> bars;
    for (int bar = a; bar <= b; ++bar)
        bars.push_back(bar);
    return bars;
}

} // namespace tunvale::playback
