#pragma once

#include "app/notation/drum_accessor.h"

#include <initializer_list>

namespace tunvale::testing {

// One bar of drums in a store of `stores`: track 0 on, hitting the given steps.
inline void SetDrumBar(notation::DrumStores& stores, int store, int bar, int timeSig, int speed,
    std::initializer_list<int> steps)
{
    notation::DrumStore& records
        = store == notation::DrumAccessor::DrumTemplates ? stores.DrumTemplates : stores.XjDrums;
    if (int(records.size()) <= bar)
        records.resize(size_t(bar) + 1);
    notation::DrumAccessor drum(stores);
    drum.DrumType(store);
    drum.setDrumTimeSignature(bar, std::uint8_t(timeSig));
    drum.setDrumSpeed(bar, std::uint8_t(speed));
    drum.setHaveDrum(bar, 1);
    drum.setDrumChannel(bar, 0, true);
    drum.setDrumSounds(bar, 0, 22);
    drum.setDrumVolume(bar, 0, 100);
    drum.setDrumSoundImage(bar, 0, 64);
    for (int s : steps)
        drum.setDrumRhythms(bar, s, 0, true);
}

} // namespace tunvale::testing
