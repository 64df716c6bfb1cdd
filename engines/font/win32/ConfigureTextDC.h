// The drawing state that the font engine's memory DCs start from: device pixels, text aligned at its top
// left without moving a current position, no extra spacing and a transparent background; a container's DC
// also draws black text on a white background colour.
#pragma once

#include "platform/win32/Types.h"
#include "resources/error/ErrorCode.h"

namespace Vemo {

enum class TextDCUse { Font, Container };

// Makes every setting, then answers the Win32 font engine's code of the last one that failed, or 0.
ErrorCode ConfigureTextDC(win32::HDC dc, TextDCUse use);

} // namespace Vemo
