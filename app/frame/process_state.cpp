#include "app/frame/process_state.h"

namespace tunvale::frame {

ProcessState& Process()
{
    static ProcessState state;
    return state;
}

} // namespace tunvale::frame
