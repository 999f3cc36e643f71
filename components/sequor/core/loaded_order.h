#pragma once

#include <QString>

#include <vector>

namespace tunvale::sequor {

// The play order the score has loaded: the key it was set for and its 0-based segment numbers.
struct LoadedOrder {
    QString key;
    std::vector<int> segments;
};

} // namespace tunvale::sequor
