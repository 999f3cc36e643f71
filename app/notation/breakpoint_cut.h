#pragma once

#include "app/notation/performance.h"

namespace tunvale::notation {

// The performance cut so that it starts at its start position (play from the breakpoint): every store
// drops the records that end before StartPlayTime and the rest move earlier by it. The record in
// progress at the start becomes record 0, which the players send at once. A performance without a
// start position (StartPlayTime 0) comes back unchanged.
Performance CutAtBreakpoint(const Performance& performance);

} // namespace tunvale::notation
