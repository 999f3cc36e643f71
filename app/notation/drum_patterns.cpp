#include "app/notation/drum_patterns.h"

namespace tunvale::notation {

DrumAccessor::Store DrumStoreForMode(int playMode)
{
    if (playMode == 9)
        return DrumAccessor::DrumTemplates;
    if (playMode == 10)
        return DrumAccessor::AuditionDrum;
    return DrumAccessor::XjDrums;
}

std::vector<BarPattern> ReadBarPatterns(const DrumAccessor& drum, const std::vector<int>& bars)
{
    std::vector<BarPattern> patterns;
    patterns.reserve(bars.size());
    QString text;
    for (int bar : bars) {
        BarPattern p;
        p.barNo = bar;
        p.steps = drum.DrumTime(bar, text);
        p.speed = drum.DrumSpeed(bar);
        p.haveDrum = drum.HaveDrum(bar) != 0;
        for (int t = 0; t < DrumTrackCount; ++t) {
            const auto track = size_t(t);
            p.channel[track] = drum.DrumChannel(bar, t);
            for (int s = 0; s < p.steps; ++s)
                p.rhythm[track] |= drum.DrumRhythms(bar, s, t) ? 1u << s : 0u;
            p.sound[track] = drum.DrumSounds(bar, t);
            p.volume[track] = drum.DrumVolume(bar, t);
            p.pan[track] = drum.DrumSoundImage(bar, t);
        }
        patterns.push_back(p);
    }
    return patterns;
}

} // namespace tunvale::notation
