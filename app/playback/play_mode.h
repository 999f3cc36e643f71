#pragma once

namespace tunvale::playback {

// The play modes by their numbers: 0 to 7 play the melody with the switches of the play command, 8 the
// drums of a list of bars, 9 a drum template and 10 the drum editor's pattern.
enum class PlayMode {
    Melody = 0,
    Drums = 1,
    AccompanimentDrums = 2,
    AccompanimentDrumsHarmony = 3,
    Accompaniment = 4,
    Harmony = 5,
    AccompanimentHarmony = 6,
    DrumsHarmony = 7,
    DrumBars = 8,
    TemplateAudition = 9,
    PatternAudition = 10,
};

// What a play mode sends. Modes 0 to 7 play the melody with the switches of the play command, 8 the
// drums of a list of bars, 9 and 10 the drum editor's audition.
struct ModeStreams {
    bool drums = false;
    bool melody = false; // melody and accompaniment
    bool harmony = false;
};

// The mode of a melody play from the accompaniment style (chosen or not), the drum and the harmony
// switch.
PlayMode PlayModeFor(bool accompaniment, bool drums, bool harmony);

ModeStreams StreamsOf(int mode);

// Whether the following thread runs for a mode: modes 0 to 8 (the audition modes have none).
bool ModeIsFollowed(int mode);

} // namespace tunvale::playback
