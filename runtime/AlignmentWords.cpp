#include "runtime/AlignmentWords.h"

#include "script/KeywordIds.h"

namespace {

using Horizontal = Vemo::GraphicSystem::HorizontalAlignment;
using Vertical = Vemo::GraphicSystem::VerticalAlignment;

const KeywordIds<Horizontal>& HorizontalWords() {
    static const KeywordIds<Horizontal>* const words = new KeywordIds<Horizontal>(
        {
            {"Left", Horizontal::Left},
            {"Right", Horizontal::Right},
            {"Center", Horizontal::Center},
            {"Justified", Horizontal::Justified},
        },
        Horizontal::Left);
    return *words;
}

const KeywordIds<Vertical>& VerticalWords() {
    static const KeywordIds<Vertical>* const words = new KeywordIds<Vertical>(
        {
            {"Top", Vertical::Top},
            {"Bottom", Vertical::Bottom},
            {"Center", Vertical::Center},
        },
        Vertical::Top);
    return *words;
}

} // namespace

Vemo::GraphicSystem::HorizontalAlignment ParseHorizontalAlignment(const Vemo::String& word) {
    return HorizontalWords()[SubString(word)];
}

Vemo::GraphicSystem::VerticalAlignment ParseVerticalAlignment(const Vemo::String& word) {
    return VerticalWords()[SubString(word)];
}
