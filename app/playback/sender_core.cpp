#include "app/playback/sender_core.h"

#include <algorithm>

namespace tunvale::playback {

namespace {

// The note a packed note-on message sounds.
std::uint32_t noteOf(std::uint32_t message) { return message >> 8 & 0xFF; }

} // namespace

SenderCore::SenderCore(const notation::Performance& performance, int mode)
    : performance_(performance)
    , streams_(StreamsOf(mode))
{
}

void SenderCore::sendHit(const notation::DrumPlayEvent& hit, std::vector<SendCall>& calls) const
{
    calls.push_back({ SendCall::DrumNoteOn01, hit.PanMsg, hit.HitMsg });
}

void SenderCore::sendMelody(std::vector<SendCall>& calls)
{
    const auto& events = performance_.PlayEvents();
    const notation::PlayEvent& record = events[size_t(melody_.next)];
    if (record.Velocity != 0) {
        const notation::PlayEvent& previous = events[size_t(std::max(melody_.next - 1, 0))];
        calls.push_back({ SendCall::NoteOff, std::uint32_t(previous.Note), 0 });
        // The previous chord ends with its main note.
        if (streams_.harmony) {
            calls.push_back({ SendCall::NoteOff, noteOf(previous.ThirdMsg), 0 });
            calls.push_back({ SendCall::NoteOff, noteOf(previous.FifthMsg), 0 });
        }
    }
    calls.push_back({ SendCall::NoteOn01, record.NoteOnMsg, 0 });
    if (streams_.harmony) {
        calls.push_back({ SendCall::NoteOn01, record.ThirdMsg, 0 });
        calls.push_back({ SendCall::NoteOn01, record.FifthMsg, 0 });
    }
    melody_.advance(performance_.PlayEventCount());
}

std::vector<SendCall> SenderCore::start()
{
    std::vector<SendCall> calls;
    if (streams_.drums) {
        for (int t = 0; t < notation::DrumTrackCount; ++t) {
            sendHit(performance_.DrumPlayEvents(t)[0], calls);
            drums_[size_t(t)].advance(performance_.DrumEventCount(t));
        }
    }
    if (streams_.melody) {
        sendMelody(calls);
        sendHit(performance_.AccompPlayEvents()[0], calls);
        accomp_.advance(performance_.AccompEventCount());
    }
    return calls;
}

std::vector<SendCall> SenderCore::pass(double clock)
{
    std::vector<SendCall> calls;
    if (streams_.drums) {
        for (int t = 0; t < notation::DrumTrackCount; ++t) {
            StreamCursor& track = drums_[size_t(t)];
            const auto& hits = performance_.DrumPlayEvents(t);
            if (!track.finished && track.due(hits, clock)) {
                sendHit(hits[size_t(track.next)], calls);
                track.advance(performance_.DrumEventCount(t));
            }
        }
    }
    if (streams_.melody) {
        if (!melody_.finished && melody_.due(performance_.PlayEvents(), clock))
            sendMelody(calls);
        const auto& accomp = performance_.AccompPlayEvents();
        if (!accomp_.finished && accomp_.due(accomp, clock)) {
            sendHit(accomp[size_t(accomp_.next)], calls);
            accomp_.advance(performance_.AccompEventCount());
        }
    }
    return calls;
}

std::optional<double> SenderCore::nextDue() const
{
    std::optional<double> earliest;
    if (streams_.drums) {
        for (int t = 0; t < notation::DrumTrackCount; ++t)
            KeepEarliest(earliest, drums_[size_t(t)].dueTime(performance_.DrumPlayEvents(t)));
    }
    if (streams_.melody) {
        KeepEarliest(earliest, melody_.dueTime(performance_.PlayEvents()));
        KeepEarliest(earliest, accomp_.dueTime(performance_.AccompPlayEvents()));
    }
    return earliest;
}

} // namespace tunvale::playback
