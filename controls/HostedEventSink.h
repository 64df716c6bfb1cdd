// The event sink of a hosted ActiveX control, connected to the control's connection point for its event
// interface while the control exists.
#pragma once

#include "platform/com/DispEventImpl.h"

class HostedEventSink : public com::IDispEventImpl {
public:
    static constexpr com::DWORD kNotConnected = 0xFEFEFEFE;

    using com::IDispEventImpl::IDispEventImpl;

    // Connects the sink to the source's connection point for its event interface.
    bool Connect(com::IUnknown* source);
    // Disconnects it when it is connected.
    void Disconnect(com::IUnknown* source);

    // Disconnects the sink from the source and deletes it; nothing without a sink.
    template <class Sink>
    static void Release(Sink*& sink, com::IUnknown* source) {
        if (sink != nullptr) {
            sink->Disconnect(source);
            delete sink;
            sink = nullptr;
        }
    }

    // Releases the sink as above, then the control's own reference to its source.
    template <class Sink, class Source>
    static void ReleaseWithSource(Sink*& sink, Source*& source) {
        Release(sink, source);
        if (source != nullptr) {
            source->Release();
            source = nullptr;
        }
    }

    com::DWORD cookie = kNotConnected;
};
