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

} // namespace tunvale::keyshift
