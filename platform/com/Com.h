// COM on this host: an in-process class registry, the per-thread start-up count, and object creation.
//
// No ActiveX control or shell object exists on Linux, so the registry is empty: every creation fails with
// REGDB_E_CLASSNOTREG unless a test registered a class (platform/testing/ComTesting.h). A class is known by
// its CLSID and, optionally, its ProgID ("Shell.Explorer"); ProgIDs compare without regard to ASCII case, as
// registry key names do.
#pragma once

#include "platform/com/Unknown.h"

namespace com {

using win32::BOOL;
using win32::DWORD;
using win32::LPVOID;
using win32::UINT;
using win32::WCHAR;

// Text of COM calls: 16-bit characters, as Windows' wide strings.
using OLECHAR = WCHAR;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;

constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFF);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154);
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0);
constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3);

// Where a created object may run. Only in-process servers exist here.
constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
constexpr DWORD CLSCTX_ALL =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

// What the registry holds for each class: the object that makes its instances.
class IClassFactory : public IUnknown {
public:
    // A new instance answering iid in *object; outer is the aggregating object, or null.
    virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
    virtual HRESULT LockServer(BOOL lock) = 0;
};

extern const IID IID_IClassFactory;

// Starts COM on the calling thread: S_OK for the first start, S_FALSE when the thread has started it already.
// Every successful start (either result) is undone by one CoUninitialize. reserved must be null
// (E_INVALIDARG otherwise, counting nothing).
HRESULT CoInitialize(LPVOID reserved);
// Undoes one start of the calling thread; nothing when the thread has none left.
void CoUninitialize();

// A new instance of the registered class answering iid. CO_E_NOTINITIALIZED when the thread has not started
// COM, REGDB_E_CLASSNOTREG when the class is not registered or context does not include
// CLSCTX_INPROC_SERVER; otherwise what the class's factory answers. *object is null on every failure.
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, LPVOID* object);

// The CLSID registered under the ProgID; CO_E_CLASSSTRING for a ProgID no class has.
HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid);
// A CLSID written "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (hexadecimal digits of either case), or, as on
// Windows, a registered ProgID; CO_E_CLASSSTRING for any other text.
HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid);

} // namespace com
