// The base of every COM interface the runtime calls (DirectInput, DirectDraw, the player controls): interface
// identifiers and the reference-counted IUnknown.
#pragma once

#include "platform/win32/Types.h"

#include <cstdint>

namespace com {

using win32::HRESULT;
using win32::ULONG;

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};

using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using REFGUID = const GUID&;

bool operator==(const GUID& a, const GUID& b);

class IUnknown {
public:
    // S_OK with a new reference in *object, or E_NOINTERFACE with *object null.
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    // The object goes away with its last reference; the count left is returned.
    virtual ULONG Release() = 0;

protected:
    // Objects are released, never deleted through an interface.
    ~IUnknown() = default;
};

extern const IID IID_IUnknown;
// The identifier of nothing, all zero (what IDispatch::Invoke is given as its reserved interface).
extern const IID IID_NULL;

} // namespace com
