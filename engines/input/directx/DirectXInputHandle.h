// The level that the DirectX keyboard, mouse and joystick handles share above the handle of their kind: the
// connection to their device and the device's answers to the identity queries (index 0, the identifier
// "Not implemented!", the product name DirectInput gave, its capability flags).
#pragma once

#include "engines/input/directx/DirectXInputConnection.h"
#include "foundation/String.h"

#include <cstdint>

namespace Vemo {

class ResourceEngine;

template <class KindHandle>
class DirectXInputHandle : public KindHandle {
public:
    explicit DirectXInputHandle(ResourceEngine* engine) : KindHandle(engine) {}

    // Unacquires and releases the device.
    void Disconnect() { m_connection.Disconnect(); }

    bool GetIdentifier(String& out) override {
        out = m_connection.GetIdentifier();
        return true;
    }
    std::uint32_t GetIndex() override { return 0; }
    bool GetName(String& out) override {
        out = m_connection.GetName();
        return true;
    }
    // Read from the device's capabilities each time.
    bool IsAttached() override { return m_connection.IsAttached(); }
    bool HasForceFeedback() override { return m_connection.HasForceFeedback(); }

protected:
    DirectXInputConnection m_connection;
};

} // namespace Vemo
