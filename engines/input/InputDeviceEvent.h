// One change read from an input device: a key or a mouse button going down or up, or mouse motion. Made by
// the reading handle's ReadEvents, owned by the poll that read it, and gone at the end of its turn.
#pragma once

#include <cstdint>

namespace Vemo {

struct InputDeviceEvent {
    // None marks the start of a poll's events, and a change a filter swallowed.
    enum Kind : std::uint32_t { None = 0, Key = 1, MouseButton = 2, MouseMotion = 3 };

    struct Change {
        std::uint32_t code;   // the key code or the button number
        std::uint8_t pressed; // 1 down, 0 up
    };
    struct Motion {
        std::int32_t x;
        std::int32_t y;
        std::int32_t z;
    };

    // The reading handle's timer when the event was read.
    std::uint32_t time = 0;
    std::uint32_t kind = None;
    union {
        Change change; // Key, MouseButton
        Motion motion; // MouseMotion
    };

    InputDeviceEvent() : motion{0, 0, 0} {}
    InputDeviceEvent(std::uint32_t eventTime, std::uint32_t eventKind)
        : time(eventTime), kind(eventKind), motion{0, 0, 0} {}
};

} // namespace Vemo
