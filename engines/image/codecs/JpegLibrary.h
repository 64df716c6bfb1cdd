// libjpeg, for the JPEG codec's classes: the one library outside the platform layer that engine code calls
// directly. Its header needs FILE and size_t declared first.
#pragma once

#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <jerror.h>
