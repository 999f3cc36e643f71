#include "app/notation/performance.h"

#include <algorithm>

namespace tunvale::notation {

namespace {

// Every store keeps at least its record 0 and every count stays inside its store, so a player that
// sends RecordsToSend(count) records never reads past the end.
void normalise(PerformanceData& data)
{
    if (data.PlayEvents.empty())
        data.PlayEvents.emplace_back();
    if (data.AccompPlayEvents.empty())
        data.AccompPlayEvents.emplace_back();
    for (int t = 0; t < DrumTrackCount; ++t) {
        auto& track = data.Drums.DrumPlayEvents[size_t(t)];
        if (track.empty())
            track.emplace_back();
        int& count = data.Drums.DrumEventCounts[size_t(t)];
        count = std::clamp(count, 0, int(track.size()) - 1);
    }
}

} // namespace

Performance::Performance()
    : Performance(PerformanceData {})
{
}

Performance::Performance(PerformanceData data)
    : data_(std::move(data))
{
    normalise(data_);
}

const std::vector<DrumPlayEvent>& Performance::DrumPlayEvents(int track) const
{
    return data_.Drums.DrumPlayEvents.at(size_t(track));
}

int Performance::DrumEventCount(int track) const { return data_.Drums.DrumEventCounts.at(size_t(track)); }

Performance Performance::withDrums(DrumTracks drums, double totalPlayTime, int playMode) const
{
    PerformanceData data = data_;
    data.Drums = std::move(drums);
    data.TotalPlayTime = totalPlayTime;
    data.PlayMode = playMode;
    return Performance(std::move(data));
}

} // namespace tunvale::notation
