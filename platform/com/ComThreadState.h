// What COM keeps for each thread. Internal to the platform layer.
#pragma once

namespace com::detail {

// The calling thread's count of CoInitialize calls not yet undone.
int& ThreadStarts();

} // namespace com::detail
