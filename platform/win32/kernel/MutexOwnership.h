// The link between threads and the mutexes they own: a thread's end abandons what it still owns.
// Internal to the platform layer.
#pragma once

namespace win32::detail {

// Abandons every mutex the calling thread owns: the next wait on each is granted ownership with
// WAIT_ABANDONED.
void AbandonMutexesOwnedByCurrentThread();

} // namespace win32::detail
