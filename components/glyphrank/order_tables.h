#pragma once

#include <QString>

#include <vector>

namespace tunvale::glyphrank {

// The Chinese part of each order, as generated into data/ and compiled in as a resource.
QString pinyinCharacters();
QString strokeCharacters();

// ranks[u] = the 1-based first place in `orderTable` of a character that compares equal to the UTF-16
// unit u (letters without case, full-width forms as their ASCII twins), or 0.
std::vector<int> buildRankTable(const QString& orderTable);

} // namespace tunvale::glyphrank
