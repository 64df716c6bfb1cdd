// What the host window asks of a control it holds: to show itself in the host's window (DoVerb with
// OLEIVERB_INPLACEACTIVATE, given the host window and the control's rectangle in it), to follow the host's
// size (SetObjectRects), and to close when the host lets it go. A control that answers neither interface is
// held without a window of its own.
#pragma once

#include "platform/com/Com.h"
#include "platform/win32/windows/Window.h"

namespace com {

using win32::HWND;
using win32::LONG;
using win32::MSG;
using win32::RECT;

constexpr LONG OLEIVERB_INPLACEACTIVATE = -5;
constexpr DWORD OLECLOSE_NOSAVE = 1;

class IOleClientSite;

class IOleObject : public IUnknown {
public:
    virtual HRESULT Close(DWORD saveOption) = 0;
    // The host passes no message and no client site: parent is its window, position the control's
    // rectangle in the parent's client area.
    virtual HRESULT DoVerb(LONG verb, MSG* message, IOleClientSite* site, LONG index, HWND parent,
                           const RECT* position) = 0;
};

class IOleInPlaceObject : public IUnknown {
public:
    virtual HRESULT SetObjectRects(const RECT* position, const RECT* clip) = 0;
};

extern const IID IID_IOleObject;
extern const IID IID_IOleInPlaceObject;

} // namespace com
