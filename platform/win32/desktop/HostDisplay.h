// The host's display, as a program's start needs it.
#pragma once

#include <string>

namespace win32 {

// Chooses the video backend before the program makes its first window (platform/video/VideoBackend.h): true
// when the player will see its windows, or headless was asked for (VEMO_VIDEO=headless, a scripted run).
// False, the backend still unchosen, when no display is named or SDL cannot open the one named; failure then
// says why in one line, and that VEMO_VIDEO=headless runs without a window.
bool OpenHostDisplay(std::string& failure);

} // namespace win32
