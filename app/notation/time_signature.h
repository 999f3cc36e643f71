#pragma once

#include <QString>

#include <cstdint>

namespace tunvale::notation {

// The text and bar length in sixteenths of the eight plain time-signature codes; every other code
// reads as "2/4".
std::uint8_t getTimeSignature(int DrumTimeSignature, QString& text);

} // namespace tunvale::notation
