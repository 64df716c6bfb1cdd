// Starting a host program the way CreateProcessA starts its children, for the platform calls that start
// host programs of their own (the shell's opener). Internal to the platform layer.
#pragma once

#include "platform/win32/Types.h"

#include <string>
#include <vector>

namespace win32::detail {

// Starts program (a host path, or a name without '/' looked for on the host's PATH) with these arguments, the
// first being the program's own name, no shell in between, the caller's environment and folder, every signal
// at its default. The child is reaped when it exits. Returns its process handle
// (platform/win32/kernel/Process.h), or null with the last error set: ERROR_FILE_NOT_FOUND for a name not on
// PATH, else the host's refusal to start it.
HANDLE StartHostProgram(const std::string& program, std::vector<std::string> arguments);

// The host programs CreateProcessA may start: none in the product, where every program a title names is a
// Windows program. Tests add the host programs they start (host paths, or names looked for on PATH when the
// check is made) and take them back; an entry added twice is taken back twice.
void AllowHostProgram(const std::string& program);
void ForbidHostProgram(const std::string& program);

} // namespace win32::detail
