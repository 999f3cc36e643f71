#pragma once

#include "app/notation/code_event.h"

#include <QString>

#include <vector>

namespace tunvale::notation {

// Fixes the last segment once the key is known: a score that ends with a segment mark has an empty
// segment after it, which goes; otherwise the bar counted after the last bar line does not exist.
void CloseLastSegment(std::vector<ScoreSegment>& segments, const QString& key);

// How many events the order plays: the events of each segment it names, once per entry. Entries that
// name no segment play nothing.
std::size_t PlayedEventCount(const std::vector<ScoreSegment>& segments, const std::vector<int>& order);

// The events of the segments named by the order, one copy per entry, fields unchanged. Entries that
// name no segment are skipped.
std::vector<CodeEvent> CopyInPlayOrder(const std::vector<CodeEvent>& events,
    const std::vector<ScoreSegment>& segments, const std::vector<int>& order);

// The score bar of every played bar, in play order; the single bar 0 when nothing is played.
std::vector<int> PlayedBars(const std::vector<ScoreSegment>& segments, const std::vector<int>& order);

} // namespace tunvale::notation
