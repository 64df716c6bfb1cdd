// The web browser's event sink: every browser event is answered; download begin and end and the browser's
// quit reach the owner.
#pragma once

#include "controls/HostedEventSink.h"

class IEControl;

class IEControlEventSink : public HostedEventSink {
public:
    explicit IEControlEventSink(IEControl& owner);

private:
    static std::vector<SinkEntry> SinkMap(IEControl& owner);
};
