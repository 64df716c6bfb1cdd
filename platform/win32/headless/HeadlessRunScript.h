// The steps of a scripted headless run (platform/win32/input/HeadlessRun.h) and how their text reads.
// Internal to the platform layer.
#pragma once

#include "platform/win32/Types.h"

#include <string>
#include <string_view>
#include <vector>

namespace win32 {

struct HeadlessStep {
    enum class Kind { Wait, Move, Click, Down, Up, Key, Answer, Snapshot, Close };
    enum class Button { Left, Right };

    Kind kind = Kind::Close;
    int line = 0;
    // wait: the milliseconds; move, click, down, up: the point.
    std::uint32_t milliseconds = 0;
    int x = 0;
    int y = 0;
    Button button = Button::Left;
    // key: the virtual key; answer: IDOK ... IDNO.
    int value = 0;
    // snapshot: the file, as written.
    std::string file;
};

// False with a message naming the line ("line 4: ...") when a step is malformed.
bool ParseHeadlessSteps(std::string_view text, std::vector<HeadlessStep>& steps, std::string& error);

// The virtual key of a name ("Escape", "Return", "Space", "A", "F1", ...: the virtual-key names without their
// prefix, without regard to case), or 0.
BYTE VirtualKeyFromName(std::string_view name);

} // namespace win32
