#include "components/keyshift/font_runs.h"

#include <array>
#include <limits>
#include <optional>
#include <utility>

namespace tunvale::keyshift {

namespace {

// Longer names first: "KORVA_Note" is contained in every other name, "KORVA_Note_yy" in the three
// numbered ones.
const std::array<std::pair<QLatin1StringView, FontKind>, 6> kFamilyKinds = { {
    { QLatin1StringView("KORVA_Note_symbol"), FontKind::Symbol },
    { QLatin1StringView("KORVA_Note_yy1"), FontKind::Grace1 },
    { QLatin1StringView("KORVA_Note_yy2"), FontKind::Grace2 },
    { QLatin1StringView("KORVA_Note_yy3"), FontKind::Grace3 },
    { QLatin1StringView("KORVA_Note_yy"), FontKind::Grace },
    { QLatin1StringView("KORVA_Note"), FontKind::Note },
} };

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// A font number: nothing but ASCII digits, fitting in 32 bits.
std::optional<int> fontNumber(QStringView text)
{
    if (text.isEmpty() || text.size() > 10)
        return std::nullopt;
    qint64 value = 0;
    for (QChar c : text) {
        if (!isDigit(c))
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

// "{\fN" not followed by a further digit, at or after `from`.
qsizetype findEntry(const QString& rtf, int number, qsizetype from)
{
    const QString opening = QStringLiteral("{\\f") + QString::number(number);
    for (qsizetype at = rtf.indexOf(opening, from); at >= 0; at = rtf.indexOf(opening, at + 1)) {
        const qsizetype after = at + opening.size();
        if (after >= rtf.size() || !isDigit(rtf.at(after)))
            return at;
    }
    return -1;
}

// "\f" whose backslash starts a control word; a backslash written as "\\" is text.
qsizetype findFontWord(const QString& rtf, qsizetype from)
{
    for (qsizetype at = rtf.indexOf(QLatin1StringView("\\f"), from); at >= 0;
         at = rtf.indexOf(QLatin1StringView("\\f"), at + 1)) {
        qsizetype backslashes = 0;
        for (qsizetype i = at - 1; i >= 0 && rtf.at(i) == u'\\'; --i)
            ++backslashes;
        if (backslashes % 2 == 0)
            return at;
    }
    return -1;
}

} // namespace

FontKind ClassifyFontEntry(QStringView entry)
{
    for (const auto& [family, kind] : kFamilyKinds) {
        if (entry.contains(family, Qt::CaseInsensitive))
            return kind;
    }
    return FontKind::Other;
}

FontKind FontTable::kindOf(int font) const
{
    const auto it = kinds.find(font);
    return it == kinds.end() ? FontKind::Other : it->second;
}

FontTable ReadFontTable(const QString& rtf)
{
    FontTable table;
    int number = 0;
    for (qsizetype at = findEntry(rtf, 0, 0); at >= 0; at = findEntry(rtf, ++number, table.end)) {
        const qsizetype close = rtf.indexOf(QLatin1StringView(";}"), at);
        if (close < 0)
            break;
        const FontKind kind = ClassifyFontEntry(QStringView(rtf).sliced(at, close - at));
        table.kinds[number] = kind;
        if (kind == FontKind::Note)
            table.NoteFontTag = QStringLiteral("\\f") + QString::number(number);
        table.end = close;
    }
    return table;
}

std::vector<FontRun> SplitFontRuns(const QString& rtf, const FontTable& table)
{
    std::vector<FontRun> runs { FontRun { 0, 0, FontKind::Other, u"\\f0" } };
    runs.reserve(size_t(rtf.count(QLatin1StringView("\\f"))) + 1);
    qsizetype from = table.end + 2;
    for (qsizetype at = findFontWord(rtf, from); at >= 0; at = findFontWord(rtf, from)) {
        const qsizetype digits = at + 2;
        qsizetype delimiter = rtf.size();
        for (qsizetype i = digits; i < rtf.size(); ++i) {
            if (rtf.at(i) == u' ' || rtf.at(i) == u'\\') {
                delimiter = i;
                break;
            }
        }
        const std::optional<int> font = fontNumber(QStringView(rtf).sliced(digits, delimiter - digits));
        if (font) {
            runs.back().End = at;
            runs.push_back(
                FontRun { at, 0, table.kindOf(*font), QStringView(rtf).sliced(at, delimiter - at) });
            from = digits;
        } else {
            // Another control word beginning with f (\fs, \fi ...): go on after its name.
            from = std::max(digits, delimiter);
        }
    }
    runs.back().End = rtf.size();
    return runs;
}

} // namespace tunvale::keyshift
