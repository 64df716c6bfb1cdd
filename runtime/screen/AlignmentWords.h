// The alignment words of every text-bearing control's "Horizontal" and "Vertical" keys and messages. The
// whole word is looked up without regard to case; a word outside the tables means Left or Top.
#pragma once

#include "engines/graphics/GraphicSystem.h"
#include "script/SubString.h"

#include <optional>

// "Left" 0, "Right" 1, "Center" 2, "Justified" 3.
Vemo::GraphicSystem::HorizontalAlignment ParseHorizontalAlignment(const SubString& word);
// "Top" 0, "Bottom" 1, "Center" 2.
Vemo::GraphicSystem::VerticalAlignment ParseVerticalAlignment(const SubString& word);

// The alignment the word names, or nothing for a word outside the table (where a message naming it fails
// rather than falling back to Left or Top).
std::optional<Vemo::GraphicSystem::HorizontalAlignment> FindHorizontalAlignment(const SubString& word);
std::optional<Vemo::GraphicSystem::VerticalAlignment> FindVerticalAlignment(const SubString& word);
