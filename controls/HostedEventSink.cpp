#include "controls/HostedEventSink.h"

#include "platform/com/Atl.h"

bool HostedEventSink::Connect(com::IUnknown* source) {
    return win32::SUCCEEDED(com::AtlAdvise(source, this, EventInterface(), &cookie));
}

void HostedEventSink::Disconnect(com::IUnknown* source) {
    if (cookie != kNotConnected) {
        com::AtlUnadvise(source, EventInterface(), cookie);
        cookie = kNotConnected;
    }
}
