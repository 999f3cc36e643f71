#include "components/sequor/core/jianpu_parser.h"

#include <QString>

#include <cstddef>
#include <cstdint>

// Every two input bytes are one UTF-16 character; the low byte of a pair picks from the characters the
// parser knows when the high byte is 0xFF, so that marks, notes and bar lines meet often.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const char16_t known[] = { u'$', u'^', u'*', u'3', u'4', u'5', u'6', u'7', u'9', u'B', u'C', u'D',
        u'E', u'F', u'G', u'H', u'I', u'J', u'K', 0x6352, 0x638E, 0x638F, 0x6389, 0x638A, 0x638B, 0x638C,
        0x638D, 0x62C2, 0x6353, 0x5FEB, 0x6226, 0x622A, 0x62FE, 0x62FF, 0x5F80, 0x5F8E, 0x5F8F, 0x5F9B,
        0x62CE, 0x62DA, 0x629E };
    QString text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const char16_t c = data[i + 1] == 0xFF ? known[data[i] % std::size(known)]
                                               : char16_t(0x4E00 + (data[i] | data[i + 1] << 8) % 0x1600);
        text += QChar(c);
    }
    const auto parsed = tunvale::sequor::ParseJianpu(text);
    if (parsed.ScoreEvents.size() != std::size_t(text.size()))
        __builtin_trap();
    return 0;
}
