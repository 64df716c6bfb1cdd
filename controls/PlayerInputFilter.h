// Keeps the player's own right-button menu and the Escape key away from a hosted player: the right button's
// messages and Escape's key messages are consumed; everything else reaches the player.
#pragma once

#include "controls/OSWindowSubclass.h"

class PlayerInputFilter : public OSWindowSubclass {
public:
    bool HandleMessage(const win32::MSG& message) override;

    // Filters the player's own window, the host window's first child, or the host window when the player made
    // none.
    bool SubclassPlayerIn(win32::HWND hostWindow);
};
