#include "app/playback/play_mode.h"

namespace tunvale::playback {

int PlayModeFor(bool accompaniment, bool drums, bool harmony)
{
    if (!harmony)
        return drums ? (accompaniment ? 2 : 1) : (accompaniment ? 4 : 0);
    return drums ? (accompaniment ? 3 : 7) : (accompaniment ? 6 : 5);
}

ModeStreams StreamsOf(int mode)
{
    switch (mode) {
    case 0:
    case 4:
        return { false, true, false };
    case 1:
    case 2:
        return { true, true, false };
    case 5:
    case 6:
        return { false, true, true };
    case 3:
    case 7:
        return { true, true, true };
    case 8:
    case 9:
    case 10:
        return { true, false, false };
    default:
        return {};
    }
}

bool ModeIsFollowed(int mode) { return mode >= 0 && mode <= 8; }

} // namespace tunvale::playback
