#include "app/notation/play_order_key.h"

#include "app/notation/notation_chars.h"
#include "platform/text/radix64.h"

#include <algorithm>

namespace tunvale::notation {

bool IsNotationLine(const QString& lineText, const QString& startFont)
{
    const bool notationFont = startFont == NoteFontFamily || startFont == SymbolFontFamily
        || std::ranges::find(GraceFontFamilies, startFont) != GraceFontFamilies.end();
    return notationFont && !lineText.contains(QChar(KeyMarker::Code))
        && !lineText.contains(QChar(HeaderMarker::Code));
}

QString PlayOrderKey(const QString& notationText)
{
    QString text = notationText;
    text.remove(QStringLiteral("\r\n"));
    text.remove(QChar(SpacerGlyph::Plain));
    text.remove(u'(');
    if (text.isEmpty())
        return {};
    QString key;
    for (QChar c : std::as_const(text)) {
        if (IsSegMark(c.unicode()))
            key += platform::kRadix64Digits[SegMarkCode(c.unicode())];
    }
    if (!IsSegMark(text.front().unicode()))
        key.prepend(u'0');
    if (!IsSegMark(text.back().unicode()))
        key.append(u'0');
    return key;
}

bool IsOpeningFiller(int code) { return code == '(' || code == SpacerGlyph::Plain; }

std::vector<qsizetype> SegmentLengths(const QString& notationText)
{
    QString text = notationText;
    text.remove(QStringLiteral("\r\n"));
    std::vector<qsizetype> lengths { 0 };
    bool onlyFillers = true;
    for (QChar c : std::as_const(text)) {
        ++lengths.back();
        if (IsSegMark(c.unicode()) && !onlyFillers)
            lengths.push_back(0);
        onlyFillers = onlyFillers && IsOpeningFiller(c.unicode());
    }
    return lengths;
}

} // namespace tunvale::notation
