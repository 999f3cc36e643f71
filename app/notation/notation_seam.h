#pragma once

// Temporary stand-ins for the play-order functions that are being written elsewhere; replaced by the
// real ones as soon as they are on main.
#include <QString>

#include <vector>

namespace tunvale::notation::seam {

bool isNotationLine(const QString& font, const QString& text);
QString playOrderKey(const QString& notationText);
std::vector<int> defaultPlayOrder(const QString& key);

} // namespace tunvale::notation::seam
