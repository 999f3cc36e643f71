#include "app/playback/play_session.h"

#include "app/playback/sender_core.h"

#include <algorithm>

namespace tunvale::playback {

namespace {

// The loop both threads share: sleep until the next record falls due (or the end time), pass the
// gate, do one pass; leave once the clock has reached the end time.
template <typename Core, typename Out>
bool runPasses(Core& core, double totalPlayTime, PlayClock& clock, ThreadPass& pass, const Out& out)
{
    out(core.start());
    for (;;) {
        const double wake = std::min(core.nextDue().value_or(totalPlayTime), totalPlayTime);
        clock.WaitUntil(wake, pass.interruption());
        if (!pass.PassGate())
            return false;
        out(core.pass(clock.seconds()));
        if (clock.seconds() >= totalPlayTime)
            return true;
    }
}

} // namespace

void Deliver(PlayNote& output, const std::vector<SendCall>& calls)
{
    for (const SendCall& call : calls) {
        switch (call.kind) {
        case SendCall::NoteOff:
            output.note_off(0, int(call.first));
            break;
        case SendCall::NoteOn01:
            output.Note_on01(call.first);
            break;
        case SendCall::DrumNoteOn01:
            output.DrumNote_on01(call.first, call.second);
            break;
        }
    }
}

bool RunSender(const PlaySession& session, PlayClock& clock, PlayNote& output, ThreadPass& pass)
{
    SenderCore core(*session.performance, session.mode);
    return runPasses(core, session.performance->TotalPlayTime(), clock, pass,
        [&](const std::vector<SendCall>& calls) { Deliver(output, calls); });
}

bool RunFollower(const PlaySession& session, PlayClock& clock,
    const std::function<void(const FollowUpdate&)>& show, ThreadPass& pass)
{
    FollowerCore core(*session.performance, session.mode);
    return runPasses(core, session.performance->TotalPlayTime(), clock, pass,
        [&](const std::vector<FollowUpdate>& updates) {
            for (const FollowUpdate& update : updates)
                show(update);
        });
}

} // namespace tunvale::playback
