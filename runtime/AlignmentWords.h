// The alignment words of every text-bearing control's "Horizontal" and "Vertical" keys and messages. The
// whole word is looked up without regard to case; a word outside the tables means Left or Top.
#pragma once

#include "engines/graphics/GraphicSystem.h"
#include "foundation/String.h"

// "Left" 0, "Right" 1, "Center" 2, "Justified" 3.
Vemo::GraphicSystem::HorizontalAlignment ParseHorizontalAlignment(const Vemo::String& word);
// "Top" 0, "Bottom" 1, "Center" 2.
Vemo::GraphicSystem::VerticalAlignment ParseVerticalAlignment(const Vemo::String& word);
