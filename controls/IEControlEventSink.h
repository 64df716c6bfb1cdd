// The web browser's event sink: every browser event is answered; download begin and end and the browser's
// quit reach the owner.
#pragma once

#include "platform/com/DispEventImpl.h"

class IEControl;

class IEControlEventSink : public com::IDispEventImpl {
public:
    static constexpr com::DWORD kNotConnected = 0xFEFEFEFE;

    explicit IEControlEventSink(IEControl& owner);

    com::DWORD cookie = kNotConnected;

private:
    static std::vector<SinkEntry> SinkMap(IEControl& owner);
};
