#include "app/notation/time_signature.h"

#include "app/notation/drum_record.h"

namespace tunvale::notation {

std::uint8_t getTimeSignature(int DrumTimeSignature, QString& text)
{
    constexpr int TwoFour = 1;
    const bool plain = DrumTimeSignature >= 0 && DrumTimeSignature <= 7;
    return std::uint8_t(TimeSigSteps(plain ? DrumTimeSignature : TwoFour, text));
}

} // namespace tunvale::notation
