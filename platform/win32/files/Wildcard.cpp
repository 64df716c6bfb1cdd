#include "platform/win32/files/Wildcard.h"

#include "platform/win32/CodePage.h"

#include <vector>

namespace win32 {

namespace {

// A text cut into its characters, each one or two bytes long.
std::vector<std::string_view> Characters(std::string_view text) {
    std::vector<std::string_view> characters;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = CharacterLength(text, i);
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

bool SameCharacter(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    return a.size() == 2 ? a == b : FoldCase(a[0]) == FoldCase(b[0]);
}

} // namespace

// Matches left to right, remembering only the last '*': when a later part fails, that star takes one more
// character and the rest is tried again. This never backtracks further, so the work stays proportional to
// the product of the two lengths.
bool MatchWildcard(std::string_view pattern, std::string_view name) {
    std::vector<std::string_view> p = Characters(pattern);
    std::vector<std::string_view> n = Characters(name);
    std::size_t pi = 0;
    std::size_t ni = 0;
    std::size_t starAt = p.size();
    std::size_t starName = 0;
    while (ni < n.size()) {
        if (pi < p.size() && p[pi] == "*") {
            starAt = pi++;
            starName = ni;
        } else if (pi < p.size() && (p[pi] == "?" || SameCharacter(p[pi], n[ni]))) {
            ++pi;
            ++ni;
        } else if (starAt != p.size()) {
            pi = starAt + 1;
            ni = ++starName;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == "*") {
        ++pi;
    }
    return pi == p.size();
}

} // namespace win32
