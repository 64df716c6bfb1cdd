// Texts of the emulated machine (bytes in its ANSI code page, platform/win32/CodePage.h) as the host's
// windowing wants them: UTF-8. Internal to the platform layer.
#pragma once

#include <string>
#include <string_view>

namespace video {

// Bytes that do not make a character of the page become U+FFFD.
std::string Utf8FromAnsi(std::string_view text);

} // namespace video
