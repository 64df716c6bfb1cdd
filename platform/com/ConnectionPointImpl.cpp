#include "platform/com/ConnectionPointImpl.h"

#include <algorithm>

namespace com {

const IID IID_IConnectionPoint = {
    0xB196B286, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
const IID IID_IConnectionPointContainer = {
    0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

ConnectionPointImpl* ConnectionPointImpl::Create(REFIID eventInterface) {
    return new ConnectionPointImpl(eventInterface);
}

ConnectionPointImpl::~ConnectionPointImpl() {
    for (const Connection& connection : m_connections) {
        connection.sink->Release();
    }
}

HRESULT ConnectionPointImpl::QueryInterface(REFIID iid, void** object) {
    return Answer(iid, object, {{&IID_IConnectionPoint, static_cast<IConnectionPoint*>(this)}});
}

HRESULT ConnectionPointImpl::OfferFor(REFIID eventInterface, IConnectionPoint** point) {
    if (point == nullptr) {
        return win32::E_POINTER;
    }
    if (!(eventInterface == m_eventInterface)) {
        *point = nullptr;
        return CONNECT_E_NOCONNECTION;
    }
    AddRef();
    *point = this;
    return win32::S_OK;
}

HRESULT ConnectionPointImpl::Advise(IUnknown* sink, DWORD* cookie) {
    if (sink == nullptr || cookie == nullptr) {
        return win32::E_POINTER;
    }
    *cookie = 0;
    void* events = nullptr;
    if (win32::FAILED(sink->QueryInterface(m_eventInterface, &events)) || events == nullptr) {
        return CONNECT_E_CANNOTCONNECT;
    }
    std::lock_guard guard(m_lock);
    *cookie = m_nextCookie++;
    m_connections.push_back(Connection{*cookie, static_cast<IDispatch*>(events)});
    return win32::S_OK;
}

HRESULT ConnectionPointImpl::Unadvise(DWORD cookie) {
    IDispatch* sink = nullptr;
    {
        std::lock_guard guard(m_lock);
        auto found =
            std::find_if(m_connections.begin(), m_connections.end(),
                         [cookie](const Connection& connection) { return connection.cookie == cookie; });
        if (found == m_connections.end()) {
            return CONNECT_E_NOCONNECTION;
        }
        sink = found->sink;
        m_connections.erase(found);
    }
    sink->Release();
    return win32::S_OK;
}

HRESULT ConnectionPointImpl::Fire(DISPID member, std::span<VARIANT> arguments) {
    std::vector<IDispatch*> sinks;
    {
        std::lock_guard guard(m_lock);
        for (const Connection& connection : m_connections) {
            connection.sink->AddRef();
            sinks.push_back(connection.sink);
        }
    }
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    HRESULT outcome = win32::S_OK;
    for (IDispatch* sink : sinks) {
        DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
        VARIANT result;
        VariantInit(&result);
        const HRESULT answer =
            sink->Invoke(member, IID_NULL, 0, DISPATCH_METHOD, &parameters, &result, nullptr, nullptr);
        VariantClear(&result);
        if (win32::FAILED(answer)) {
            outcome = answer;
        }
        sink->Release();
    }
    return outcome;
}

std::size_t ConnectionPointImpl::ConnectionCount() {
    std::lock_guard guard(m_lock);
    return m_connections.size();
}

} // namespace com
