#include "app/notation/notation_seam.h"

#include "platform/text/radix64.h"

#include <QStringList>

namespace tunvale::notation::seam {

namespace {

const std::u16string kBarLines = u"$%^_`a\u6352\u6355\u6357\u6358\u6359\u635A\u635B\u635C\u635D\u635E\u635F\u6360"
                                 u"\u6361\u6362\u6363\u6364\u6365\u6366\u6367\u6368\u6369\u636A\u636B\u636C"
                                 u"\u636D\u636E\u636F\u6370\u6371\u6373\u637F\u6380\u6381\u6382\u6383\u6384"
                                 u"\u6385\u6386\u6387\u638F";
const std::u16string kPlainBarLines = u"$%\u6352\u6355\u635C\u635D\u635E\u6362";

int segMarkCode(char16_t c) { return c < 0x100 ? c - 81 : c - 25430; }

} // namespace

int fontClassOf(const QString& family)
{
    static const QStringList grace = {QStringLiteral("KORVA_Note_yy"), QStringLiteral("KORVA_Note_yy1"),
                                      QStringLiteral("KORVA_Note_yy2"), QStringLiteral("KORVA_Note_yy3")};
    return int(grace.indexOf(family) + 1);
}

bool isBarLine(char16_t c) { return kBarLines.find(c) != std::u16string::npos; }

bool isSegMark(char16_t c) { return isBarLine(c) && kPlainBarLines.find(c) == std::u16string::npos; }

bool isNotationLine(const QString& font, const QString& text)
{
    static const QStringList families = {QStringLiteral("KORVA_Note"), QStringLiteral("KORVA_Note_Symbol"),
                                         QStringLiteral("KORVA_Note_yy"), QStringLiteral("KORVA_Note_yy1"),
                                         QStringLiteral("KORVA_Note_yy2"), QStringLiteral("KORVA_Note_yy3")};
    return families.contains(font) && !text.contains(QChar(kKeyMarker)) && !text.contains(QChar(kHeaderMarker));
}

QString playOrderKey(const QString& notationText)
{
    QString t = notationText;
    t.remove(QStringLiteral("\r\n")).remove(QChar(kSpacer)).remove(QChar('('));
    if (t.isEmpty())
        return {};
    QString key;
    for (QChar c : t) {
        if (isSegMark(c.unicode())) {
            long long code = segMarkCode(c.unicode());
            key += platform::IntToRadix64(code).value_or(QString());
        }
    }
    if (!isSegMark(t.front().unicode()))
        key.prepend(QChar('0'));
    if (!isSegMark(t.back().unicode()))
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
