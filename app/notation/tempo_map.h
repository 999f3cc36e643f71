#pragma once

#include "app/notation/code_event.h"
#include "app/notation/performance.h"

#include <vector>

namespace tunvale::notation {

// The score tempo as the compiler uses it: a damaged header's value is brought into the range of the
// tempo control (10..300), so no length divides by zero.
int CompileSpeed(int Speed);

// Whether a working event survives into the played melody: it takes time and is not a bar line.
bool TakesTime(const CodeEvent& event);

// Turns every length of the working array from sixteenth units into seconds at the tempo in force and
// returns the tempo map. A tempo term starts a mark (a term on the first event replaces the opening
// one) at the summed seconds of the events before it that take time, rounded to 3 decimals; the end
// mark carries the melody's length the same way.
std::vector<TempoMark> BuildTempoMap(std::vector<CodeEvent>& working, int Speed);

} // namespace tunvale::notation
