#include "app/notation/play_order_copy.h"

namespace tunvale::notation {

namespace {

const ScoreSegment* segmentOf(const std::vector<ScoreSegment>& segments, int entry)
{
    return entry >= 0 && entry < int(segments.size()) ? &segments[size_t(entry)] : nullptr;
}

} // namespace

void CloseLastSegment(std::vector<ScoreSegment>& segments, const QString& key)
{
    if (segments.empty() || key.isEmpty())
        return;
    if (key.back() != QChar('0'))
        segments.pop_back();
    else
        --segments.back().BarCount;
}

std::size_t PlayedEventCount(const std::vector<ScoreSegment>& segments, const std::vector<int>& order)
{
    std::size_t total = 0;
    for (int entry : order) {
        if (const ScoreSegment* segment = segmentOf(segments, entry))
            total += std::size_t(segment->EventCount);
    }
    return total;
}

std::vector<CodeEvent> CopyInPlayOrder(const std::vector<CodeEvent>& events,
    const std::vector<ScoreSegment>& segments, const std::vector<int>& order)
{
    std::vector<CodeEvent> working;
    working.reserve(PlayedEventCount(segments, order));
    for (int entry : order) {
        if (const ScoreSegment* segment = segmentOf(segments, entry)) {
            const auto first = events.begin() + segment->FirstEvent;
            working.insert(working.end(), first, first + segment->EventCount);
        }
    }
    return working;
}

std::vector<int> PlayedBars(const std::vector<ScoreSegment>& segments, const std::vector<int>& order)
{
    std::vector<int> bars;
    for (int entry : order) {
        if (const ScoreSegment* segment = segmentOf(segments, entry)) {
            for (int bar = segment->FirstBar; bar < segment->FirstBar + segment->BarCount; ++bar)
                bars.push_back(bar);
        }
    }
    if (bars.empty())
        bars.push_back(0);
    return bars;
}

} // namespace tunvale::notation
