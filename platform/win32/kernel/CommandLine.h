// The process's command line, as Windows keeps it: one text holding the program and its arguments.
//
// A host hands its program the arguments already split. The program's entry records them here once, joined
// into the text that Windows would have given for them: arguments are separated by a space, and one that is
// empty or holds a space, tab or double quote is written in double quotes with the escapes of the C
// runtime's splitting rules (backslashes before a quote doubled and the quote escaped, backslashes before the
// closing quote doubled), so that splitting the text again gives the same arguments. The program, which the
// C runtime splits off without escapes, is only put in quotes when it holds a space or tab.
#pragma once

#include "platform/win32/Types.h"

namespace win32 {

// The recorded text; an empty text until the arguments were recorded. Never null; the text stays valid until
// the next recording.
LPSTR GetCommandLineA();

namespace seam {

// Records the arguments (argument 0 the program) as the process's command line.
void SetCommandLineArguments(int count, const char* const* arguments);
// Records the text itself, for tests that need a command line the joining cannot give.
void SetCommandLineText(const char* text);

} // namespace seam

} // namespace win32
