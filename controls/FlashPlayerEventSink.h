// The Flash player's event sink: FSCommand (150), OnProgress (1958) and ready-state changes (-609) reach
// the owner.
#pragma once

#include "platform/com/DispEventImpl.h"

class ShockwaveFlashControl;

class FlashPlayerEventSink : public com::IDispEventImpl {
public:
    static constexpr com::DWORD kNotConnected = 0xFEFEFEFE;

    explicit FlashPlayerEventSink(ShockwaveFlashControl& owner);

    com::DWORD cookie = kNotConnected;

private:
    static std::vector<SinkEntry> SinkMap(ShockwaveFlashControl& owner);
};
