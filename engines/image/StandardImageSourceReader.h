// What a codec's encode reads a graphic through: the graphic's rows in the order the encoded image stores
// them (see StandardImageRowAccess) and the graphic's channel layout.
#pragma once

#include "engines/image/StandardImageRowAccess.h"

#include <cstdint>

namespace Vemo {

class Graphic;

class StandardImageSourceReader : public StandardImageRowAccess {
public:
    StandardImageSourceReader();
    ~StandardImageSourceReader();

    bool Begin(std::uint32_t width, std::uint32_t height, std::uint32_t bits, std::uint32_t colorTag,
               Graphic* source, bool topDown);
};

} // namespace Vemo
