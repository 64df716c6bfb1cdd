// The Shockwave player's event sink: the movie's external events (1), the player's notifications (2) and
// ready-state changes (-609) reach the owner.
#pragma once

#include "platform/com/DispEventImpl.h"

class ShockwaveControl;

class ShockwavePlayerEventSink : public com::IDispEventImpl {
public:
    static constexpr com::DWORD kNotConnected = 0xFEFEFEFE;

    explicit ShockwavePlayerEventSink(ShockwaveControl& owner);

    com::DWORD cookie = kNotConnected;

private:
    static std::vector<SinkEntry> SinkMap(ShockwaveControl& owner);
};
