#include "app/notation/time_signature.h"

#include <array>

namespace tunvale::notation {

std::uint8_t getTimeSignature(int DrumTimeSignature, QString& text)
{
    struct Entry {
        const char16_t* text;
        std::uint8_t sixteenths;
    };
    static constexpr std::array<Entry, 8> table { {
        { u"1/4", 4 },
        { u"2/4", 8 },
        { u"3/4", 12 },
        { u"4/4", 16 },
        { u"3/8", 6 },
        { u"6/8", 12 },
        { u"9/8", 18 },
        { u"12/8", 24 },
    } };
    const Entry& entry = DrumTimeSignature >= 0 && DrumTimeSignature < int(table.size())
        ? table[size_t(DrumTimeSignature)]
        : table[1];
    text = QString::fromUtf16(entry.text);
    return entry.sixteenths;
}

} // namespace tunvale::notation
