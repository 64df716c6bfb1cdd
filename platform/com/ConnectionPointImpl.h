// A connection point for one event interface, for objects that fire events to IDispatch sinks (the doubles of
// players and browsers that tests register build on it, as real controls build on their library's).
#pragma once

#include "platform/com/ComObject.h"
#include "platform/com/ConnectionPoint.h"
#include "platform/com/Dispatch.h"

#include <cstddef>
#include <mutex>
#include <span>
#include <vector>

namespace com {

class ConnectionPointImpl final : public ComObject<IConnectionPoint> {
public:
    // With one reference.
    static ConnectionPointImpl* Create(REFIID eventInterface);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    // Keeps a reference to the sink's event interface; cookies start at 1 and are never given twice.
    HRESULT Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT Unadvise(DWORD cookie) override;

    // Calls the member on every sink connected when the call starts, in the order they connected, with the
    // arguments given first to last (the sink sees them last first, as DISPPARAMS holds them). A sink may
    // disconnect itself, or others, while it runs. S_OK, or the failure of the last sink that failed.
    HRESULT Fire(DISPID member, std::span<VARIANT> arguments);

    std::size_t ConnectionCount();

    // What its container's FindConnectionPoint answers: this point, with a reference, when asked for its event
    // interface; CONNECT_E_NOCONNECTION and null otherwise, E_POINTER without a place for the answer.
    HRESULT OfferFor(REFIID eventInterface, IConnectionPoint** point);

private:
    explicit ConnectionPointImpl(REFIID eventInterface) : m_eventInterface(eventInterface) {}
    ~ConnectionPointImpl() override;

    struct Connection {
        DWORD cookie;
        IDispatch* sink;
    };

    const IID m_eventInterface;
    std::mutex m_lock;
    std::vector<Connection> m_connections;
    DWORD m_nextCookie = 1;
};

} // namespace com
