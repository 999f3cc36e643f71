#pragma once

#include "components/sequor/core/score_event.h"

#include <vector>

namespace tunvale::sequor {

// The parser's last pass: loudness marks, ornaments, staccato, tempo terms, key changes, the fermata,
// accidentals and glides act, in index order, on the records around them.
void ApplyMarks(std::vector<ScoreEvent>& events);

} // namespace tunvale::sequor
