// OLE automation's values: BSTR texts and VARIANTs, as IDispatch calls and events carry them.
//
// A BSTR is a text of 16-bit characters with its length in bytes kept just before the first character and a
// zero character after the last, so SysStringLen is exact even for a text holding zeros. Every BSTR comes
// from SysAllocString or SysAllocStringLen and goes back through SysFreeString.
#pragma once

#include "platform/com/Com.h"

namespace com {

using win32::BYTE;
using win32::CHAR;
using win32::LONG;
using win32::SHORT;
using win32::ULONG;
using win32::USHORT;
using win32::WORD;

using BSTR = OLECHAR*;
using VARTYPE = USHORT;
using VARIANT_BOOL = SHORT;
using SCODE = LONG;
using DISPID = LONG;
using LCID = DWORD;

constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

// Variant types; VT_BYREF added to a type makes the value a pointer to one of that type.
constexpr VARTYPE VT_EMPTY = 0;
constexpr VARTYPE VT_NULL = 1;
constexpr VARTYPE VT_I2 = 2;
constexpr VARTYPE VT_I4 = 3;
constexpr VARTYPE VT_BSTR = 8;
constexpr VARTYPE VT_DISPATCH = 9;
constexpr VARTYPE VT_ERROR = 10;
constexpr VARTYPE VT_BOOL = 11;
constexpr VARTYPE VT_VARIANT = 12;
constexpr VARTYPE VT_UNKNOWN = 13;
constexpr VARTYPE VT_I1 = 16;
constexpr VARTYPE VT_UI1 = 17;
constexpr VARTYPE VT_UI2 = 18;
constexpr VARTYPE VT_UI4 = 19;
constexpr VARTYPE VT_INT = 22;
constexpr VARTYPE VT_UINT = 23;
constexpr VARTYPE VT_BYREF = 0x4000;

constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003);
constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005);
constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006);
constexpr HRESULT DISP_E_NONAMEDARGS = static_cast<HRESULT>(0x80020007);
constexpr HRESULT DISP_E_BADVARTYPE = static_cast<HRESULT>(0x80020008);
constexpr HRESULT DISP_E_OVERFLOW = static_cast<HRESULT>(0x8002000A);
constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000E);

class IDispatch;

struct VARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONG lVal;
        BYTE bVal;
        SHORT iVal;
        CHAR cVal;
        USHORT uiVal;
        ULONG ulVal;
        int intVal;
        UINT uintVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        LONG* plVal;
        SHORT* piVal;
        BYTE* pbVal;
        VARIANT_BOOL* pboolVal;
        BSTR* pbstrVal;
        VARIANT* pvarVal;
        void* byref;
    };
};

// The arguments of an IDispatch call. rgvarg holds them last first: the first argument is
// rgvarg[cArgs - 1].
struct DISPPARAMS {
    VARIANT* rgvarg;
    DISPID* rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
};

struct EXCEPINFO {
    WORD wCode;
    WORD wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    DWORD dwHelpContext;
    void* pvReserved;
    HRESULT (*pfnDeferredFillIn)(EXCEPINFO*);
    SCODE scode;
};

// A copy of the first length characters of text (zeros when text is null), or null when memory runs out or
// the length cannot be kept in 32 bits of bytes.
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
// A copy of a zero-ended text; null for a null text.
BSTR SysAllocString(const OLECHAR* text);
// Nothing for null.
void SysFreeString(BSTR text);
// Characters (bytes) of the text, zeros included; 0 for null.
UINT SysStringLen(BSTR text);
UINT SysStringByteLen(BSTR text);

void VariantInit(VARIANT* variant);
// Frees what the variant owns (its BSTR; a reference to its object) and leaves it VT_EMPTY. What a VT_BYREF
// value points to is not the variant's. DISP_E_BADVARTYPE, with nothing changed, for a type not listed above.
HRESULT VariantClear(VARIANT* variant);

} // namespace com
