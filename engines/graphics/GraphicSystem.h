// The resource system of the graphic family, through which every graphic and every viewport is opened.
#pragma once

#include "resources/ResourceSystem.h"

#include <cstdint>

namespace Vemo {

class GraphicSystem : public ResourceSystem {
public:
    // How text lines up across its box; the viewport's text drawing centres every value above 1.
    enum class HorizontalAlignment : std::uint32_t {
        Left = 0,
        Right = 1,
        Center = 2,
        Justified = 3,
    };

    // How text lines up down its box; the viewport's text drawing centres every value above 1.
    enum class VerticalAlignment : std::uint32_t {
        Top = 0,
        Bottom = 1,
        Center = 2,
    };

    // The memory a surface lives in; the script words are "Hardware", "Accelerated" and "System".
    enum class Memory : std::uint32_t {
        Any = 0,
        // Local video memory.
        Hardware = 1,
        // Non-local video memory.
        Accelerated = 2,
        // System memory; the only placement of a surface over caller memory.
        System = 3,
    };
};

} // namespace Vemo
