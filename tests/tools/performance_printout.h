#pragma once

#include "app/notation/performance.h"

#include <QStringList>

namespace tunvale::scoretool {

// A finished performance as text, one item per line: totals, tempo marks, melody, accompaniment,
// drum tracks and the solfège string. Times are printed to the millisecond, messages in hex.
QStringList PerformanceLines(const notation::Performance& performance);

} // namespace tunvale::scoretool
