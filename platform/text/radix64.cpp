#include "platform/text/radix64.h"

#include <cstdint>
#include <limits>

namespace tunvale::platform {

std::optional<int> Radix64ToInt(const QString& digits)
{
    // Horner's rule gives the same sum as adding digit x 64^place; once a partial sum leaves the 16-bit
    // range, every further digit keeps it outside.
    long long sum = 0;
    for (QChar c : digits) {
        sum = sum * 64 + kRadix64Digits.indexOf(c);
        if (sum > std::numeric_limits<std::int16_t>::max() || sum < std::numeric_limits<std::int16_t>::min())
            return std::nullopt;
    }
    return int(sum);
}

std::optional<QString> IntToRadix64(long long& n)
{
    if (n < 0)
        return std::nullopt;
    if (n == 0)
        return QStringLiteral("0");
    QString out;
    while (n != 0) {
        out.prepend(kRadix64Digits[int(n % 64)]);
        n /= 64;
    }
    return out;
}

} // namespace tunvale::platform
