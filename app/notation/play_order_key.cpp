#include "app/notation/play_order_key.h"

#include "platform/text/radix64.h"

#include <array>
#include <optional>

namespace tunvale::notation {

namespace {

constexpr std::array<const char16_t*, 6> kNotationFamilies = {
    u"KORVA_Note", u"KORVA_Note_yy1", u"KORVA_Note_yy2", u"KORVA_Note_yy3", u"KORVA_Note_Symbol", u"KORVA_Note_yy",
};
constexpr char16_t kKeyMarker = 0x634F;
constexpr char16_t kHeaderMarker = 0x6350;
constexpr char16_t kSpacer = 0x6351;

std::optional<int> segMarkCode(char16_t c)
{
    if (c >= u'^' && c <= u'a')
        return c - 81;
    if (c == 0x638F)
        return 57;
    const bool mark = (c >= 0x6357 && c <= 0x635B) || (c >= 0x635F && c <= 0x6361) || (c >= 0x6363 && c <= 0x6371)
                      || c == 0x6373 || (c >= 0x637F && c <= 0x6387);
    return mark ? std::optional<int>(c - 25430) : std::nullopt;
}

} // namespace

bool IsNotationLine(const QString& lineText, const QString& startFont)
{
    bool notationFont = false;
    for (const char16_t* family : kNotationFamilies)
        notationFont = notationFont || startFont == QStringView(family);
    return notationFont && !lineText.contains(QChar(kKeyMarker)) && !lineText.contains(QChar(kHeaderMarker));
}

QString PlayOrderKey(const QString& notationText)
{
    QString text = notationText;
    text.remove(QStringLiteral("\r\n"));
    text.remove(QChar(kSpacer));
    text.remove(u'(');
    if (text.isEmpty())
        return {};
    QString key;
    for (QChar c : std::as_const(text)) {
        if (const auto code = segMarkCode(c.unicode()))
            key += platform::kRadix64Digits[*code];
    }
    if (!segMarkCode(text.front().unicode()))
        key.prepend(u'0');
    if (!segMarkCode(text.back().unicode()))
        key.append(u'0');
    return key;
}

} // namespace tunvale::notation
