// Debugger output.
//
// There is no debugger to receive the text here: it goes to standard error when the environment variable
// VEMO_DEBUG_OUTPUT is set, and to the capture a test has installed (platform/testing/DebugOutput.h) in any
// case.
#pragma once

#include "platform/win32/Types.h"

namespace win32 {

void OutputDebugStringA(LPCSTR text);

namespace seam {

using DebugOutputSink = void (*)(void* context, const char* text);

// Installs a receiver for every text written (null sink: none) and returns the previous one through the out
// parameters. The sink is called under a lock, one text at a time.
void InstallDebugOutputSink(DebugOutputSink sink, void* context, DebugOutputSink* previousSink,
                            void** previousContext);

} // namespace seam

} // namespace win32
