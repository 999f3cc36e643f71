#pragma once

#include "app/notation/drum_accessor.h"
#include "app/notation/drum_events.h"

#include <vector>

namespace tunvale::notation {

// The store a play mode drums from: the templates for mode 9, the audition record for mode 10, the
// score's bars otherwise.
DrumAccessor::Store DrumStoreForMode(int playMode);

// The patterns of the listed bars of the selected store, in list order. A bar outside the store reads
// as a zeroed record, which has no tempo and so ends the drumming there.
std::vector<BarPattern> ReadBarPatterns(const DrumAccessor& drum, const std::vector<int>& bars);

} // namespace tunvale::notation
