// IDispatch: calls by member number with VARIANT arguments, as automation controllers and event sources make
// them. There are no type libraries here: GetTypeInfo of the platform's objects gives none.
#pragma once

#include "platform/com/OleAuto.h"

namespace com {

// How a member is called.
constexpr WORD DISPATCH_METHOD = 0x1;
constexpr WORD DISPATCH_PROPERTYGET = 0x2;
constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
constexpr WORD DISPATCH_PROPERTYPUTREF = 0x8;

// The standard event of a control whose ready state changed; its one argument is the new state.
constexpr DISPID DISPID_READYSTATECHANGE = -609;

class ITypeInfo;

class IDispatch : public IUnknown {
public:
    virtual HRESULT GetTypeInfoCount(UINT* count) = 0;
    virtual HRESULT GetTypeInfo(UINT index, LCID locale, ITypeInfo** typeInfo) = 0;
    virtual HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) = 0;
    // iid is IID_NULL. result, exception and argumentError may be null.
    virtual HRESULT Invoke(DISPID member, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                           VARIANT* result, EXCEPINFO* exception, UINT* argumentError) = 0;
};

extern const IID IID_IDispatch;

} // namespace com
