#pragma once

#include "app/notation/performance.h"
#include "app/playback/play_mode.h"
#include "app/playback/stream_cursor.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tunvale::playback {

// One call of the MIDI output that the sending thread makes.
struct SendCall {
    enum Kind { NoteOff, NoteOn01, DrumNoteOn01 };
    Kind kind = NoteOff;
    std::uint32_t first = 0; // NoteOff: the note; NoteOn01: the message; DrumNoteOn01: the pan message
    std::uint32_t second = 0; // DrumNoteOn01: the hit message

    friend bool operator==(const SendCall&, const SendCall&) = default;
};

// The sending thread's decisions for one performance in one mode, free of threads and clocks: what
// goes out at the start, what one pass at a clock value sends, and when the next record falls due.
// Each pass sends at most one record per stream.
class SenderCore
{
public:
    SenderCore(const notation::Performance& performance, int mode);

    std::vector<SendCall> start();
    std::vector<SendCall> pass(double clock);
    // The earliest time at which an unfinished stream has a record due; none when every stream is done.
    std::optional<double> nextDue() const;

private:
    void sendMelody(std::vector<SendCall>& calls);
    void sendHit(const notation::DrumPlayEvent& hit, std::vector<SendCall>& calls) const;

    const notation::Performance& performance_;
    ModeStreams streams_;
    StreamCursor melody_;
    StreamCursor accomp_;
    std::array<StreamCursor, notation::DrumTrackCount> drums_ {};
};

} // namespace tunvale::playback
