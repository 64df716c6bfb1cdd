// Keeps the player's own right-button menu and the Escape key away from a hosted player: the right button's
// messages and Escape's key messages are consumed; everything else reaches the player.
#pragma once

#include "controls/OSWindowSubclass.h"

class PlayerInputFilter : public OSWindowSubclass {
public:
    bool HandleMessage(const win32::MSG& message) override;
};
