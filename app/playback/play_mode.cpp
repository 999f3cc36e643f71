#include "app/playback/play_mode.h"

namespace tunvale::playback {

PlayMode PlayModeFor(bool accompaniment, bool drums, bool harmony)
{
    if (!harmony) {
        if (drums)
            return accompaniment ? PlayMode::AccompanimentDrums : PlayMode::Drums;
        return accompaniment ? PlayMode::Accompaniment : PlayMode::Melody;
    }
    if (drums)
        return accompaniment ? PlayMode::AccompanimentDrumsHarmony : PlayMode::DrumsHarmony;
    return accompaniment ? PlayMode::AccompanimentHarmony : PlayMode::Harmony;
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
