#include "components/keyshift/sign_reach.h"

namespace tunvale::keyshift {

void SignReach::barLine()
{
    pending_.reset();
    reached_.reset();
}

void SignReach::sign(int alteration)
{
    // The earlier sign's reach ends here, whatever pitch it had.
    pending_ = alteration;
    reached_.reset();
}

int SignReach::character(std::optional<int> pitch)
{
    if (pending_) {
        reached_ = pitch;
        alteration_ = *pending_;
        pending_.reset();
    }
    return pitch && reached_ == pitch ? alteration_ : 0;
}

int SignReach::alterationOf(int pitch) const
{
    if (pending_)
        return *pending_;
    return reached_ == pitch ? alteration_ : 0;
}

std::optional<OrnamentReach> ReachOfOrnament(int letter, int extenders)
{
    switch (letter) {
    case 'B':
    case 'C':
        return OrnamentReach { 2, 0 };
    case 'D':
    case 'E':
        return OrnamentReach { 4, 0 };
    case 'G':
    case 'H':
        return OrnamentReach { 1, 0 };
    case 'I':
        // The short trill starts a whole tone up, the long one on its note; other lengths spell nothing.
        if (extenders == 2)
            return OrnamentReach { 3, 2 };
        if (extenders == 5)
            return OrnamentReach { 6, 0 };
        return std::nullopt;
    case 'J':
        return OrnamentReach { 3, 2 };
    case 'K':
        return OrnamentReach { 3, -2 };
    default:
        return std::nullopt;
    }
}

} // namespace tunvale::keyshift
