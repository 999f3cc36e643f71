#pragma once

#include "platform/richtext/rich_text_snapshot.h"
#include "platform/text/runtime_numbers.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// The result of a compile: everything the players read, in one value that never changes once built.
// A new compile, a drum-only build or a breakpoint cut makes a new value, so a performance that is
// playing is never touched underneath its threads.
namespace tunvale::notation {

// Times of a performance are kept to the millisecond, halves to the even neighbour. Sums run on the
// unrounded values; only their results are rounded.
inline double RoundSeconds(double seconds) { return platform::RoundHalfEven(seconds, 3); }

// One melody record. EventTime is the time in seconds at which the event ends; a player sends
// record k when the clock reaches the EventTime of record k - 1, and record 0 at once.
struct PlayEvent {
    double EventTime = 0;
    int Note = 0;
    int Velocity = 0;
    int BarNo = 0;
    platform::SnapshotColor CharColor = 0;
    int CharPos = 0; // -1 for a record that no character stands for
    int LineEnd = 0; // -1 on the last event of a display line
    std::uint32_t NoteOnMsg = 0;
    std::uint32_t ThirdMsg = 0;
    std::uint32_t FifthMsg = 0;
};

// A drum or accompaniment hit while it is built. While building, EventTime is the length of the span
// the record owns; afterwards the time at which that span ends.
struct DrumCodeEvent {
    double EventTime = 0;
    int Velocity = 0;
    int Sound = 0; // drum-list index; the MIDI key is Sound + 13
    int Pan = 0;
    int BarNo = 0;
    std::uint32_t PanMsg = 0;
    std::uint32_t HitMsg = 0;
};

// A drum or accompaniment hit as the players send it.
struct DrumPlayEvent {
    double EventTime = 0;
    int BarNo = 0;
    std::uint32_t PanMsg = 0;
    std::uint32_t HitMsg = 0;
};

inline DrumPlayEvent PlayedHit(const DrumCodeEvent& e)
{
    return { e.EventTime, e.BarNo, e.PanMsg, e.HitMsg };
}

struct TempoMark {
    int TempoBpm = 0;
    double TempoStart = 0; // seconds once the performance is built
};

inline constexpr int DrumTrackCount = 8;

// The eight drum tracks. Record 0 of a track is its silent lead-in and records 1..count its hits;
// records past a track's count are never sent.
struct DrumTracks {
    std::array<std::vector<DrumPlayEvent>, DrumTrackCount> DrumPlayEvents;
    std::array<int, DrumTrackCount> DrumEventCounts {};
};

// The stores count the way the players walk them: PlayEventCount and AccompEventCount are last
// indices, a drum count is the number of hits after the lead-in. Either way the players send
// count + 1 records.
constexpr int RecordsToSend(int count) { return count + 1; }

struct PerformanceData {
    std::vector<PlayEvent> PlayEvents { PlayEvent {} };
    std::vector<DrumPlayEvent> AccompPlayEvents { DrumPlayEvent {} };
    int AccompStartIndex = 0;
    DrumTracks Drums;
    double TotalPlayTime = 0;
    double StartPlayTime = 0;
    int PlayStartIndex = 0;
    std::vector<TempoMark> TempoMarks;
    std::vector<int> DrumPlayBars;
    QString CMingText;
    int PlayMode = 0;
};

class Performance
{
public:
    Performance();
    explicit Performance(PerformanceData data);

    const std::vector<PlayEvent>& PlayEvents() const { return data_.PlayEvents; }
    int PlayEventCount() const { return int(data_.PlayEvents.size()) - 1; }
    const std::vector<DrumPlayEvent>& AccompPlayEvents() const { return data_.AccompPlayEvents; }
    int AccompEventCount() const { return int(data_.AccompPlayEvents.size()) - 1; }
    int AccompStartIndex() const { return data_.AccompStartIndex; }
    const std::vector<DrumPlayEvent>& DrumPlayEvents(int track) const;
    int DrumEventCount(int track) const;
    const DrumTracks& Drums() const { return data_.Drums; }
    double TotalPlayTime() const { return data_.TotalPlayTime; }
    double StartPlayTime() const { return data_.StartPlayTime; }
    int PlayStartIndex() const { return data_.PlayStartIndex; }
    const std::vector<TempoMark>& TempoMarks() const { return data_.TempoMarks; }
    const std::vector<int>& DrumPlayBars() const { return data_.DrumPlayBars; }
    const QString& CMingText() const { return data_.CMingText; }
    int PlayMode() const { return data_.PlayMode; }

    const PerformanceData& data() const { return data_; }

    // A copy with the drum part of a drum-only build: its tracks, its length and its play mode.
    Performance withDrums(DrumTracks drums, double totalPlayTime, int playMode) const;

private:
    PerformanceData data_;
};

} // namespace tunvale::notation
