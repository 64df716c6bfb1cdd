// The interfaces of the Shockwave player ("SWCtl.SWCtl") and the Flash player
// ("ShockwaveFlash.ShockwaveFlash"), as far as the player controls call them. On Windows the controls reach
// these members through fixed places of the players' virtual tables (counted from 0 with IUnknown's three and
// IDispatch's four members first); the number after each member is its place there. The players of this
// platform implement these interfaces themselves, so the members nobody calls are left out.
#pragma once

#include "platform/com/Dispatch.h"
#include "platform/com/OleAuto.h"

namespace com {

class IShockwavePlayer : public IDispatch {
public:
    virtual HRESULT put_BGColor(BSTR color) = 0;               // 8
    virtual HRESULT put_Source(BSTR source) = 0;               // 56
    virtual HRESULT put_AutoStart(BSTR autoStart) = 0;         // 58
    virtual HRESULT Play() = 0;                                // 79
    virtual HRESULT Stop() = 0;                                // 80
    virtual HRESULT Rewind() = 0;                              // 81
    virtual HRESULT EvalScript(BSTR script, BSTR* result) = 0; // 85
};

extern const IID IID_IShockwavePlayer;

class IShockwaveFlash : public IDispatch {
public:
    virtual HRESULT put_Movie(BSTR movie) = 0;   // 22
    virtual HRESULT Play() = 0;                  // 28
    virtual HRESULT Stop() = 0;                  // 29
    virtual HRESULT Rewind() = 0;                // 32
    virtual HRESULT StopPlay() = 0;              // 33
    virtual HRESULT put_BGColor(BSTR color) = 0; // 55
};

extern const IID IID_IShockwaveFlash;

// The players' event dispinterfaces.
extern const IID DIID_ShockwavePlayerEvents;
extern const IID DIID_IShockwaveFlashEvents;

} // namespace com
