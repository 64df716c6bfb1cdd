// The ActiveX hosting library: the host window class "AtlAxWin", its host object, and the helpers that
// connect event sinks to a control's connection points.
//
// Start and stop are counted across the process: the first AtlAxWinInit registers "AtlAxWin" (under the
// program's module instance, GetModuleHandleA(null), as the library is linked into the program) and starts
// COM on the calling thread with CoInitialize; the last AtlAxWinTerm unregisters the class and calls
// CoUninitialize; a class still in use by a host window then stays registered, for the next start to find.
// Both are meant for one thread, the one that hosts controls (COM's start belongs to it).
//
// A window of the class (CreateWindowExA(..., "AtlAxWin", ...)) has a host object for its whole life; its
// title is not read. SendMessageA(window, RegisterWindowMessageA("WM_ATLGETHOST"), 0, 0) answers the host
// object's IUnknown with a new reference, which also answers IAxWinHostWindow. The host holds at most one
// control: it shows the control in its window (IOleObject::DoVerb with OLEIVERB_INPLACEACTIVATE, see
// OleObject.h) when the control offers that, tells it the window's new size (IOleInPlaceObject), and closes
// and releases it when the window is destroyed (at WM_DESTROY, while the control's own windows still exist)
// or when it creates another.
#pragma once

#include "platform/com/Com.h"
#include "platform/win32/windows/Window.h"

namespace com {

using win32::HWND;

constexpr const char* kAtlAxWinClassName = "AtlAxWin";
constexpr const char* kAtlGetHostMessageName = "WM_ATLGETHOST";

class IStream;

class IAxWinHostWindow : public IUnknown {
public:
    // Creates the control and makes it the host's. The text is the ProgID ("SWCtl.SWCtl") or the CLSID text
    // ("{...}") of a registered class. Any other text is taken as an address: the host creates the
    // registered "Shell.Explorer" class and has it navigate there (IWebBrowser2::Navigate with the text, no
    // flags, frame, post data or headers). window must be the host's own window (E_INVALIDARG otherwise, and
    // for a null or empty text); a stream to load the control from is not offered (E_NOTIMPL). Failures are
    // those of creation (REGDB_E_CLASSNOTREG when the class, or "Shell.Explorer" for an address, is not
    // registered), of showing the control, or of the navigation; the host then holds no control.
    virtual HRESULT CreateControl(LPCOLESTR text, HWND window, IStream* stream) = 0;
    // The held control's interface, with a new reference; E_NOINTERFACE when there is no control or it does
    // not answer iid.
    virtual HRESULT QueryControl(REFIID iid, void** object) = 0;
};

extern const IID IID_IAxWinHostWindow;

// TRUE when the library is started (its count raised); FALSE, with nothing changed, when the first start
// cannot register the class.
BOOL AtlAxWinInit();
// Lowers the count; FALSE when the library was not started.
BOOL AtlAxWinTerm();

// Connects the sink to the source's connection point for the event interface (through its
// IConnectionPointContainer); the cookie names the connection for AtlUnadvise. E_INVALIDARG for a null
// source, E_POINTER for a null sink or cookie; otherwise the first failure on the way.
HRESULT AtlAdvise(IUnknown* source, IUnknown* sink, REFIID eventInterface, DWORD* cookie);
HRESULT AtlUnadvise(IUnknown* source, REFIID eventInterface, DWORD cookie);

} // namespace com
