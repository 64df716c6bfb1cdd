// The steps that every engine's and system's Create shares: make the default object when none is given, run
// the base class's Create on the object, and delete what was made here (never a given object) when that
// fails.
#pragma once

namespace Vemo {

template <class T, class Make, class BaseCreate>
T* CreateThrough(T* given, Make make, BaseCreate baseCreate) {
    T* made = nullptr;
    if (given == nullptr) {
        made = make();
        given = made;
    }
    if (baseCreate(given) == nullptr) {
        delete made;
        return nullptr;
    }
    return given;
}

} // namespace Vemo
