#include "platform/text/runtime_numbers.h"

#include <cmath>
#include <iterator>

namespace tunvale::platform {

double RoundHalfEven(double x)
{
    return std::nearbyint(x); // the default floating-point mode rounds halves to even
}

double RoundHalfEven(double x, int decimals)
{
    // The powers a compiler rounds to are exact: the same scale as pow gives, without its cost on every
    // drum step of a long score.
    static constexpr double kPowers[] = { 1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9 };
    const double scale
        = decimals >= 0 && decimals < int(std::size(kPowers)) ? kPowers[decimals] : std::pow(10.0, decimals);
    return std::nearbyint(x * scale) / scale;
}

double Int(double x) { return std::floor(x); }

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

double radixValue(const QString& digits, int radix)
{
    double value = 0;
    for (QChar c : digits) {
        if (isBlank(c))
            continue;
        const int d = c.isDigit()
            ? c.digitValue()
            : (c.toLower() >= u'a' && c.toLower() <= u'f' ? c.toLower().unicode() - u'a' + 10 : 99);
        if (d >= radix)
            break;
        value = value * radix + d;
    }
    // Past the largest double the digits give infinity, which no caller can convert: such a number
    // reads as none, as a decimal one that overflows does.
    if (!std::isfinite(value))
        return 0.0;
    // The runtime reads "&H" and "&O" numbers that fit in 16 bits as 16-bit signed values and larger
    // ones that fit in 32 bits as 32-bit signed values.
    if (value >= 32768 && value < 65536)
        value -= 65536;
    else if (value >= 2147483648.0 && value < 4294967296.0)
        value -= 4294967296.0;
    return value;
}

} // namespace

double Val(const QString& text)
{
    int i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i + 1 < text.size() && text[i] == u'&') {
        const QChar kind = text[i + 1].toUpper();
        if (kind == u'H')
            return radixValue(text.mid(i + 2), 16);
        if (kind == u'O')
            return radixValue(text.mid(i + 2), 8);
    }
    // Collect sign, digits, one decimal point and an exponent, skipping blanks inside the number.
    QString number;
    bool seenDigit = false, seenPoint = false, seenExp = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isBlank(c))
            continue;
        if (c.isDigit() && c.unicode() < 128) {
            number += c;
            seenDigit = true;
        } else if ((c == u'+' || c == u'-') && (number.isEmpty() || number.endsWith(u'E'))) {
            number += c;
        } else if (c == u'.' && !seenPoint && !seenExp) {
            number += c;
            seenPoint = true;
        } else if ((c == u'e' || c == u'E' || c == u'd' || c == u'D') && seenDigit && !seenExp) {
            number += u'E';
            seenExp = true;
        } else {
            break;
        }
    }
    while (!number.isEmpty() && !number.back().isDigit() && number.back() != u'.')
        number.chop(1);
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok ? value : 0.0;
}

std::int16_t ToInt16Bits(std::int64_t value)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
}

std::uint16_t ToUInt16Bits(std::int64_t value) { return static_cast<std::uint16_t>(value & 0xFFFF); }

std::uint8_t ToByteBits(std::int64_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

} // namespace tunvale::platform
