// The interfaces of the Shockwave player ("SWCtl.SWCtl") and the Flash player
// ("ShockwaveFlash.ShockwaveFlash"), as the player controls call them: through fixed places of their
// virtual tables, counted from 0 with IUnknown's three and IDispatch's four members first. The members the
// controls call are named at their places; the places between hold members nobody calls here.
#pragma once

#include "platform/com/Dispatch.h"
#include "platform/com/OleAuto.h"

namespace com {

class IShockwavePlayer : public IDispatch {
public:
    virtual HRESULT Unused7() { return E_NOTIMPL; }
    virtual HRESULT put_BGColor(BSTR color) = 0; // 8
    virtual HRESULT Unused9() { return E_NOTIMPL; }
    virtual HRESULT Unused10() { return E_NOTIMPL; }
    virtual HRESULT Unused11() { return E_NOTIMPL; }
    virtual HRESULT Unused12() { return E_NOTIMPL; }
    virtual HRESULT Unused13() { return E_NOTIMPL; }
    virtual HRESULT Unused14() { return E_NOTIMPL; }
    virtual HRESULT Unused15() { return E_NOTIMPL; }
    virtual HRESULT Unused16() { return E_NOTIMPL; }
    virtual HRESULT Unused17() { return E_NOTIMPL; }
    virtual HRESULT Unused18() { return E_NOTIMPL; }
    virtual HRESULT Unused19() { return E_NOTIMPL; }
    virtual HRESULT Unused20() { return E_NOTIMPL; }
    virtual HRESULT Unused21() { return E_NOTIMPL; }
    virtual HRESULT Unused22() { return E_NOTIMPL; }
    virtual HRESULT Unused23() { return E_NOTIMPL; }
    virtual HRESULT Unused24() { return E_NOTIMPL; }
    virtual HRESULT Unused25() { return E_NOTIMPL; }
    virtual HRESULT Unused26() { return E_NOTIMPL; }
    virtual HRESULT Unused27() { return E_NOTIMPL; }
    virtual HRESULT Unused28() { return E_NOTIMPL; }
    virtual HRESULT Unused29() { return E_NOTIMPL; }
    virtual HRESULT Unused30() { return E_NOTIMPL; }
    virtual HRESULT Unused31() { return E_NOTIMPL; }
    virtual HRESULT Unused32() { return E_NOTIMPL; }
    virtual HRESULT Unused33() { return E_NOTIMPL; }
    virtual HRESULT Unused34() { return E_NOTIMPL; }
    virtual HRESULT Unused35() { return E_NOTIMPL; }
    virtual HRESULT Unused36() { return E_NOTIMPL; }
    virtual HRESULT Unused37() { return E_NOTIMPL; }
    virtual HRESULT Unused38() { return E_NOTIMPL; }
    virtual HRESULT Unused39() { return E_NOTIMPL; }
    virtual HRESULT Unused40() { return E_NOTIMPL; }
    virtual HRESULT Unused41() { return E_NOTIMPL; }
    virtual HRESULT Unused42() { return E_NOTIMPL; }
    virtual HRESULT Unused43() { return E_NOTIMPL; }
    virtual HRESULT Unused44() { return E_NOTIMPL; }
    virtual HRESULT Unused45() { return E_NOTIMPL; }
    virtual HRESULT Unused46() { return E_NOTIMPL; }
    virtual HRESULT Unused47() { return E_NOTIMPL; }
    virtual HRESULT Unused48() { return E_NOTIMPL; }
    virtual HRESULT Unused49() { return E_NOTIMPL; }
    virtual HRESULT Unused50() { return E_NOTIMPL; }
    virtual HRESULT Unused51() { return E_NOTIMPL; }
    virtual HRESULT Unused52() { return E_NOTIMPL; }
    virtual HRESULT Unused53() { return E_NOTIMPL; }
    virtual HRESULT Unused54() { return E_NOTIMPL; }
    virtual HRESULT Unused55() { return E_NOTIMPL; }
    virtual HRESULT put_Source(BSTR source) = 0; // 56
    virtual HRESULT Unused57() { return E_NOTIMPL; }
    virtual HRESULT put_AutoStart(BSTR autoStart) = 0; // 58
    virtual HRESULT Unused59() { return E_NOTIMPL; }
    virtual HRESULT Unused60() { return E_NOTIMPL; }
    virtual HRESULT Unused61() { return E_NOTIMPL; }
    virtual HRESULT Unused62() { return E_NOTIMPL; }
    virtual HRESULT Unused63() { return E_NOTIMPL; }
    virtual HRESULT Unused64() { return E_NOTIMPL; }
    virtual HRESULT Unused65() { return E_NOTIMPL; }
    virtual HRESULT Unused66() { return E_NOTIMPL; }
    virtual HRESULT Unused67() { return E_NOTIMPL; }
    virtual HRESULT Unused68() { return E_NOTIMPL; }
    virtual HRESULT Unused69() { return E_NOTIMPL; }
    virtual HRESULT Unused70() { return E_NOTIMPL; }
    virtual HRESULT Unused71() { return E_NOTIMPL; }
    virtual HRESULT Unused72() { return E_NOTIMPL; }
    virtual HRESULT Unused73() { return E_NOTIMPL; }
    virtual HRESULT Unused74() { return E_NOTIMPL; }
    virtual HRESULT Unused75() { return E_NOTIMPL; }
    virtual HRESULT Unused76() { return E_NOTIMPL; }
    virtual HRESULT Unused77() { return E_NOTIMPL; }
    virtual HRESULT Unused78() { return E_NOTIMPL; }
    virtual HRESULT Play() = 0;   // 79
    virtual HRESULT Stop() = 0;   // 80
    virtual HRESULT Rewind() = 0; // 81
    virtual HRESULT Unused82() { return E_NOTIMPL; }
    virtual HRESULT Unused83() { return E_NOTIMPL; }
    virtual HRESULT Unused84() { return E_NOTIMPL; }
    virtual HRESULT EvalScript(BSTR script, BSTR* result) = 0; // 85
};

extern const IID IID_IShockwavePlayer;

class IShockwaveFlash : public IDispatch {
public:
    virtual HRESULT Unused7() { return E_NOTIMPL; }
    virtual HRESULT Unused8() { return E_NOTIMPL; }
    virtual HRESULT Unused9() { return E_NOTIMPL; }
    virtual HRESULT Unused10() { return E_NOTIMPL; }
    virtual HRESULT Unused11() { return E_NOTIMPL; }
    virtual HRESULT Unused12() { return E_NOTIMPL; }
    virtual HRESULT Unused13() { return E_NOTIMPL; }
    virtual HRESULT Unused14() { return E_NOTIMPL; }
    virtual HRESULT Unused15() { return E_NOTIMPL; }
    virtual HRESULT Unused16() { return E_NOTIMPL; }
    virtual HRESULT Unused17() { return E_NOTIMPL; }
    virtual HRESULT Unused18() { return E_NOTIMPL; }
    virtual HRESULT Unused19() { return E_NOTIMPL; }
    virtual HRESULT Unused20() { return E_NOTIMPL; }
    virtual HRESULT Unused21() { return E_NOTIMPL; }
    virtual HRESULT put_Movie(BSTR movie) = 0; // 22
    virtual HRESULT Unused23() { return E_NOTIMPL; }
    virtual HRESULT Unused24() { return E_NOTIMPL; }
    virtual HRESULT Unused25() { return E_NOTIMPL; }
    virtual HRESULT Unused26() { return E_NOTIMPL; }
    virtual HRESULT Unused27() { return E_NOTIMPL; }
    virtual HRESULT Play() = 0; // 28
    virtual HRESULT Stop() = 0; // 29
    virtual HRESULT Unused30() { return E_NOTIMPL; }
    virtual HRESULT Unused31() { return E_NOTIMPL; }
    virtual HRESULT Rewind() = 0;   // 32
    virtual HRESULT StopPlay() = 0; // 33
    virtual HRESULT Unused34() { return E_NOTIMPL; }
    virtual HRESULT Unused35() { return E_NOTIMPL; }
    virtual HRESULT Unused36() { return E_NOTIMPL; }
    virtual HRESULT Unused37() { return E_NOTIMPL; }
    virtual HRESULT Unused38() { return E_NOTIMPL; }
    virtual HRESULT Unused39() { return E_NOTIMPL; }
    virtual HRESULT Unused40() { return E_NOTIMPL; }
    virtual HRESULT Unused41() { return E_NOTIMPL; }
    virtual HRESULT Unused42() { return E_NOTIMPL; }
    virtual HRESULT Unused43() { return E_NOTIMPL; }
    virtual HRESULT Unused44() { return E_NOTIMPL; }
    virtual HRESULT Unused45() { return E_NOTIMPL; }
    virtual HRESULT Unused46() { return E_NOTIMPL; }
    virtual HRESULT Unused47() { return E_NOTIMPL; }
    virtual HRESULT Unused48() { return E_NOTIMPL; }
    virtual HRESULT Unused49() { return E_NOTIMPL; }
    virtual HRESULT Unused50() { return E_NOTIMPL; }
    virtual HRESULT Unused51() { return E_NOTIMPL; }
    virtual HRESULT Unused52() { return E_NOTIMPL; }
    virtual HRESULT Unused53() { return E_NOTIMPL; }
    virtual HRESULT Unused54() { return E_NOTIMPL; }
    virtual HRESULT put_BGColor(BSTR color) = 0; // 55
};

extern const IID IID_IShockwaveFlash;

// The players' event dispinterfaces.
extern const IID DIID_ShockwavePlayerEvents;
extern const IID DIID_IShockwaveFlashEvents;

} // namespace com
