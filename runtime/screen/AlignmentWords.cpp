#include "runtime/screen/AlignmentWords.h"

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

Vemo::GraphicSystem::HorizontalAlignment ParseHorizontalAlignment(const SubString& word) {
    return HorizontalWords()[word];
}

Vemo::GraphicSystem::VerticalAlignment ParseVerticalAlignment(const SubString& word) {
    return VerticalWords()[word];
}

std::optional<Vemo::GraphicSystem::HorizontalAlignment> FindHorizontalAlignment(const SubString& word) {
    const auto found = HorizontalWords().Lookup(word);
    return found != HorizontalWords().End() ? std::optional<Horizontal>(found->id) : std::nullopt;
}

std::optional<Vemo::GraphicSystem::VerticalAlignment> FindVerticalAlignment(const SubString& word) {
    const auto found = VerticalWords().Lookup(word);
    return found != VerticalWords().End() ? std::optional<Vertical>(found->id) : std::nullopt;
}
