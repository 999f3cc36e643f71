#pragma once

#include "components/sequor/core/score_event.h"

#include <QStringView>

namespace tunvale::sequor {

// Parses the export text (the notation lines in play order, a FontRunMark before every grace-font and
// symbol-font run) into one record per character and the bar lengths. Keeps nothing between calls.
ParsedScore ParseJianpu(QStringView text);

} // namespace tunvale::sequor
