// Connection points: how an object that fires events (a player, a browser) lets sinks connect to one of its
// event interfaces. A connection is known by the cookie Advise gives.
#pragma once

#include "platform/com/Com.h"

namespace com {

constexpr HRESULT CONNECT_E_NOCONNECTION = static_cast<HRESULT>(0x80040200);
constexpr HRESULT CONNECT_E_CANNOTCONNECT = static_cast<HRESULT>(0x80040202);

class IConnectionPoint : public IUnknown {
public:
    // Connects the sink, which must answer the point's event interface (CONNECT_E_CANNOTCONNECT otherwise);
    // the cookie names the connection.
    virtual HRESULT Advise(IUnknown* sink, DWORD* cookie) = 0;
    // CONNECT_E_NOCONNECTION for a cookie that names no connection of this point.
    virtual HRESULT Unadvise(DWORD cookie) = 0;
};

class IConnectionPointContainer : public IUnknown {
public:
    // The point of the event interface, with a new reference; CONNECT_E_NOCONNECTION when there is none.
    virtual HRESULT FindConnectionPoint(REFIID eventInterface, IConnectionPoint** point) = 0;
};

extern const IID IID_IConnectionPoint;
extern const IID IID_IConnectionPointContainer;

} // namespace com
