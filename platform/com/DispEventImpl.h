// The hosting library's event sink: an IDispatch that an event source calls, and that hands each event it
// knows to a handler of its owner.
//
// There are no type libraries here, so the sink map carries what a type library would tell: the types of the
// parameters each handler takes. The handler gets the event's first arguments, as many as it declares, first
// to last and each of its declared type; arguments beyond those are not its concern (a handler that declares
// none ignores them all). An argument of the declared type, or a VT_BYREF one pointing to such a value, is
// passed as it is (a BSTR stays the caller's: the handler copies what it keeps); a declared VT_I4 also takes
// the smaller and unsigned integer types and VT_BOOL, converted (DISP_E_OVERFLOW for an unsigned value above
// 0x7FFFFFFF). An event the map does not list is answered S_OK and goes nowhere; an event with fewer
// arguments than its handler declares gets DISP_E_BADPARAMCOUNT, and one whose argument cannot be converted
// DISP_E_TYPEMISMATCH with the argument's DISPPARAMS index in argumentError; named arguments are refused
// (DISP_E_NONAMEDARGS). Otherwise the handler's result is Invoke's.
//
// The sink belongs to whoever made it: AddRef and Release count the sources that hold it but never delete
// it; its owner disconnects it (AtlUnadvise, platform/com/Atl.h) and then deletes it.
#pragma once

#include "platform/com/Dispatch.h"

#include <atomic>
#include <functional>
#include <span>
#include <vector>

namespace com {

class IDispEventImpl : public IDispatch {
public:
    using Handler = std::function<HRESULT(std::span<const VARIANT> arguments)>;

    struct SinkEntry {
        DISPID dispid;
        std::vector<VARTYPE> parameterTypes;
        Handler handler;
    };

    // controlId names the control the sink listens to among its owner's; eventInterface is the
    // dispinterface it answers besides IUnknown and IDispatch. The first entry of a dispid handles it.
    IDispEventImpl(UINT controlId, REFIID eventInterface, std::vector<SinkEntry> sinkMap);
    virtual ~IDispEventImpl() = default;
    IDispEventImpl(const IDispEventImpl&) = delete;
    IDispEventImpl& operator=(const IDispEventImpl&) = delete;

    UINT ControlId() const { return m_controlId; }
    const IID& EventInterface() const { return m_eventInterface; }
    // References that sources hold.
    ULONG References() const { return m_references.load(); }

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;
    // No type information: 0, and E_NOTIMPL.
    HRESULT GetTypeInfoCount(UINT* count) override;
    HRESULT GetTypeInfo(UINT index, LCID locale, ITypeInfo** typeInfo) override;
    // No names: DISP_E_UNKNOWNNAME.
    HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    HRESULT Invoke(DISPID member, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

private:
    const SinkEntry* Find(DISPID dispid) const;

    const UINT m_controlId;
    const IID m_eventInterface;
    const std::vector<SinkEntry> m_sinkMap;
    std::atomic<ULONG> m_references{0};
};

} // namespace com
