#include "platform/com/ComThreadState.h"

namespace com::detail {

int& ThreadStarts() {
    thread_local int starts = 0;
    return starts;
}

} // namespace com::detail
