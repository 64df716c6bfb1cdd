#include "platform/com/DispEventImpl.h"

#include <optional>

namespace com {

namespace {

constexpr LONG kLargestI4 = 0x7FFFFFFF;

// The value a VT_BYREF argument points to, as a variant of the same type without VT_BYREF.
std::optional<VARIANT> Dereferenced(const VARIANT& argument) {
    if ((argument.vt & VT_BYREF) == 0) {
        return argument;
    }
    if (argument.byref == nullptr) {
        return std::nullopt;
    }
    VARIANT value{};
    value.vt = static_cast<VARTYPE>(argument.vt & ~VT_BYREF);
    switch (value.vt) {
    case VT_VARIANT:
        // One level of indirection: a variant that points to a variant pointer is refused, so a variant
        // pointing to itself cannot loop.
        if (argument.pvarVal->vt == (VT_BYREF | VT_VARIANT)) {
            return std::nullopt;
        }
        return Dereferenced(*argument.pvarVal);
    case VT_I1:
        value.cVal = *static_cast<const CHAR*>(argument.byref);
        return value;
    case VT_UI1:
        value.bVal = *argument.pbVal;
        return value;
    case VT_I2:
        value.iVal = *argument.piVal;
        return value;
    case VT_UI2:
        value.uiVal = *static_cast<const USHORT*>(argument.byref);
        return value;
    case VT_I4:
    case VT_INT:
        value.lVal = *argument.plVal;
        return value;
    case VT_UI4:
    case VT_UINT:
        value.ulVal = *static_cast<const ULONG*>(argument.byref);
        return value;
    case VT_BOOL:
        value.boolVal = *argument.pboolVal;
        return value;
    case VT_BSTR:
        value.bstrVal = *argument.pbstrVal;
        return value;
    default:
        return std::nullopt;
    }
}

// The value as a 32-bit integer, or the failure that stops it.
HRESULT ToI4(const VARIANT& value, LONG& out) {
    switch (value.vt) {
    case VT_I1:
        out = value.cVal;
        return win32::S_OK;
    case VT_UI1:
        out = value.bVal;
        return win32::S_OK;
    case VT_I2:
        out = value.iVal;
        return win32::S_OK;
    case VT_UI2:
        out = value.uiVal;
        return win32::S_OK;
    case VT_I4:
    case VT_INT:
        out = value.lVal;
        return win32::S_OK;
    case VT_UI4:
    case VT_UINT:
        if (value.ulVal > static_cast<ULONG>(kLargestI4)) {
            return DISP_E_OVERFLOW;
        }
        out = static_cast<LONG>(value.ulVal);
        return win32::S_OK;
    case VT_BOOL:
        out = value.boolVal;
        return win32::S_OK;
    default:
        return DISP_E_TYPEMISMATCH;
    }
}

HRESULT Convert(const VARIANT& argument, VARTYPE type, VARIANT& out) {
    std::optional<VARIANT> value = Dereferenced(argument);
    if (value && value->vt == type) {
        out = *value;
        return win32::S_OK;
    }
    if (argument.vt == type) {
        out = argument;
        return win32::S_OK;
    }
    if (!value || type != VT_I4) {
        return DISP_E_TYPEMISMATCH;
    }
    out = VARIANT{};
    out.vt = VT_I4;
    return ToI4(*value, out.lVal);
}

} // namespace

IDispEventImpl::IDispEventImpl(UINT controlId, REFIID eventInterface, std::vector<SinkEntry> sinkMap)
    : m_controlId(controlId), m_eventInterface(eventInterface), m_sinkMap(std::move(sinkMap)) {}

HRESULT IDispEventImpl::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return win32::E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == m_eventInterface) {
        AddRef();
        *object = static_cast<IDispatch*>(this);
        return win32::S_OK;
    }
    *object = nullptr;
    return win32::E_NOINTERFACE;
}

ULONG IDispEventImpl::AddRef() {
    return m_references.fetch_add(1) + 1;
}

ULONG IDispEventImpl::Release() {
    ULONG held = m_references.load();
    while (held > 0 && !m_references.compare_exchange_weak(held, held - 1)) {
    }
    return held > 0 ? held - 1 : 0;
}

HRESULT IDispEventImpl::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return win32::E_POINTER;
    }
    *count = 0;
    return win32::S_OK;
}

HRESULT IDispEventImpl::GetTypeInfo(UINT, LCID, ITypeInfo** typeInfo) {
    if (typeInfo != nullptr) {
        *typeInfo = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT IDispEventImpl::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return DISP_E_UNKNOWNNAME;
}

const IDispEventImpl::SinkEntry* IDispEventImpl::Find(DISPID dispid) const {
    for (const SinkEntry& entry : m_sinkMap) {
        if (entry.dispid == dispid) {
            return &entry;
        }
    }
    return nullptr;
}

HRESULT IDispEventImpl::Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT* result,
                               EXCEPINFO*, UINT* argumentError) {
    if (result != nullptr) {
        VariantInit(result);
    }
    const SinkEntry* entry = Find(member);
    if (entry == nullptr) {
        return win32::S_OK;
    }
    const UINT given = parameters != nullptr ? parameters->cArgs : 0;
    if (parameters != nullptr && parameters->cNamedArgs != 0) {
        return DISP_E_NONAMEDARGS;
    }
    if (given < entry->parameterTypes.size() || (given > 0 && parameters->rgvarg == nullptr)) {
        return DISP_E_BADPARAMCOUNT;
    }
    std::vector<VARIANT> arguments(entry->parameterTypes.size());
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const UINT index = given - 1 - static_cast<UINT>(i);
        const HRESULT converted = Convert(parameters->rgvarg[index], entry->parameterTypes[i], arguments[i]);
        if (win32::FAILED(converted)) {
            if (argumentError != nullptr) {
                *argumentError = index;
            }
            return converted;
        }
    }
    return entry->handler ? entry->handler(arguments) : win32::S_OK;
}

} // namespace com
