// libjpeg, for the JPEG codec's classes: the one library outside the platform layer that engine code calls
// directly. Its header needs FILE and size_t declared first; its TRUE and FALSE macros are taken away again,
// since the platform's Win32 types hold constants of those names, and kJpegTrue and kJpegFalse stand in.
#pragma once

#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <jerror.h>

#undef TRUE
#undef FALSE

namespace Vemo {

inline constexpr boolean kJpegTrue = 1;
inline constexpr boolean kJpegFalse = 0;

} // namespace Vemo
