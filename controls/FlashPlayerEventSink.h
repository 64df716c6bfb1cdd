// The Flash player's event sink: FSCommand (150), OnProgress (1958) and ready-state changes (-609) reach
// the owner.
#pragma once

#include "controls/HostedEventSink.h"

class ShockwaveFlashControl;

class FlashPlayerEventSink : public HostedEventSink {
public:
    explicit FlashPlayerEventSink(ShockwaveFlashControl& owner);

private:
    static std::vector<SinkEntry> SinkMap(ShockwaveFlashControl& owner);
};
