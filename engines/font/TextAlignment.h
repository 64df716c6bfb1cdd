// Where a font container puts text against its anchor point or box.
#pragma once

#include "engines/graphics/GraphicSystem.h"

namespace Vemo {

// A line's anchor is on its baseline. Only a text line knows it; the script words have none for it.
inline constexpr auto kTextBaseline = static_cast<GraphicSystem::VerticalAlignment>(3);

struct TextAlignment {
    GraphicSystem::HorizontalAlignment horizontal = GraphicSystem::HorizontalAlignment::Left;
    GraphicSystem::VerticalAlignment vertical = GraphicSystem::VerticalAlignment::Top;
};

} // namespace Vemo
