#pragma once

#include "tests/tools/ruler_steps.h"

#include <QVariantMap>

#include <optional>
#include <utility>
#include <vector>

namespace tunvale::scoretool {

struct RulerScoreRun {
    QString score; // a score or an RTF file
    std::optional<std::pair<int, int>> selection; // start and length
    QVariantMap bag;
    std::optional<std::pair<int, int>> margins; // the score's margins in place of its own
    std::vector<RulerStep> steps;
};

// Opens the score in the main window offscreen, shows the ruler in the toolbar's place and sends each
// step as the user's mouse and keys would; prints the events as the ruler raises them, then the ruler,
// the score's margins and saved flag, the undo steps and the editor's paragraphs. The exit code.
int RunRulerOnScore(const RulerScoreRun& run);

} // namespace tunvale::scoretool
