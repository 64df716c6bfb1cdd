// The event handler level of the DirectX windows' handlers; it adds nothing to the Win32 one.
#pragma once

#include "engines/graphics/win32/Win32WindowEventHandler.h"

namespace Vemo {

class DirectXWindowEventHandler : public Win32WindowEventHandler {
public:
    DirectXWindowEventHandler() = default;
    ~DirectXWindowEventHandler() override;
};

} // namespace Vemo
