// Starting a host program the way CreateProcessA starts its children, for the platform calls that start
// host programs of their own (the shell's opener). Internal to the platform layer.
#pragma once

#include "platform/win32/Types.h"

#include <string>
#include <vector>

namespace win32::detail {

// Starts program (a host path, or a name without '/' looked for on the host's PATH) with these arguments, the
// first being the program's own name, no shell in between, the caller's environment and folder, every signal
// at its default. The child is reaped when it exits. Returns its process handle (platform/win32/Process.h),
// or null with the last error set: ERROR_FILE_NOT_FOUND for a name not on PATH, else the host's refusal to
// start it.
HANDLE StartHostProgram(const std::string& program, std::vector<std::string> arguments);

} // namespace win32::detail
