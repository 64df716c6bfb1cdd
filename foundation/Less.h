// The framework's generic ordering: numeric order for numbers, address order for pointers. Text types add
// their own specialisations beside their declarations.
#pragma once

#include <functional>

namespace Vemo {

template <class T>
struct Less {
    bool operator()(const T& a, const T& b) const { return std::less<T>()(a, b); }
};

} // namespace Vemo
