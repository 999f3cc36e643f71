#include "app/notation/notation_seam.h"

#include "app/notation/notation_chars.h"
#include "platform/text/radix64.h"

#include <QStringList>

namespace tunvale::notation::seam {

bool isNotationLine(const QString& font, const QString& text)
{
    const bool notationFont = font == NoteFontFamily || font == SymbolFontFamily
        || std::find(GraceFontFamilies.begin(), GraceFontFamilies.end(), font) != GraceFontFamilies.end();
    return notationFont && !text.contains(QChar(KeyMarker::Code)) && !text.contains(QChar(HeaderMarker::Code));
}

QString playOrderKey(const QString& notationText)
{
    QString t = notationText;
    t.remove(QStringLiteral("\r\n")).remove(QChar(SpacerGlyph::Plain)).remove(QChar('('));
    if (t.isEmpty())
        return {};
    QString key;
    for (QChar c : t) {
        if (IsSegMark(c.unicode())) {
            long long code = SegMarkCode(c.unicode());
            key += platform::IntToRadix64(code).value_or(QString());
        }
    }
    if (!IsSegMark(t.front().unicode()))
        key.prepend(QChar('0'));
    if (!IsSegMark(t.back().unicode()))
        key.append(QChar('0'));
    return key;
}

std::vector<int> defaultPlayOrder(const QString& key)
{
    std::vector<int> order;
    for (int i = 0; i + 1 < key.size(); ++i)
        order.push_back(i);
    return order;
}

} // namespace tunvale::notation::seam
