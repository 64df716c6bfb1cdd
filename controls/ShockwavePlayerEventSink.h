// The Shockwave player's event sink: the movie's external events (1), the player's notifications (2) and
// ready-state changes (-609) reach the owner.
#pragma once

#include "controls/HostedEventSink.h"

class ShockwaveControl;

class ShockwavePlayerEventSink : public HostedEventSink {
public:
    explicit ShockwavePlayerEventSink(ShockwaveControl& owner);

private:
    static std::vector<SinkEntry> SinkMap(ShockwaveControl& owner);
};
