// The Flash player control ("ShockwaveFlash.ShockwaveFlash") of this platform: Ruffle on a page of ours
// (flash-player.html) in a web view, drawn into a child window the control makes in its host's window.
//
// put_Movie loads the movie (a Windows path of the emulated machine, served through the engine's title
// scheme, or an http or https address); Play and Stop or StopPlay resume and suspend the player; Rewind loads
// the movie again from its start (Ruffle has no rewind); put_BGColor ("#RRGGBB" or "RRGGBB"; anything else is
// ignored) is a load option: given after the movie, it loads the movie again. The movie's fscommand calls,
// its loading states and its progress are fired as the Flash player's events (FSCommand 150 with command and
// arguments, OnReadyStateChange -609 with 0 to 4, OnProgress 1958 with 0 or 100 percent) through the
// connection point of DIID_IShockwaveFlashEvents, each from the program's message pump rather than from
// inside the engine, so that a sink may release the control at once.
//
// Showing the control (DoVerb) fails, and so does the host's CreateControl, when the player's files or the
// web engine cannot be had (a build without the engine, no display); the reason is said once on the standard
// error. A headless or silent run (VEMO_VIDEO=headless, a scripted run, VEMO_AUDIO=none) mutes the movie.
//
// The player's files are looked for beside the program (PROGRAM-FOLDER/flash) and then in an installation's
// share folder (PROGRAM-FOLDER/../share/quorven/flash).
#pragma once

#include "platform/com/ComObject.h"
#include "platform/com/ConnectionPoint.h"
#include "platform/com/OleObject.h"
#include "platform/com/ShockwavePlayers.h"

#include <memory>
#include <string>
#include <vector>

namespace com {
class ConnectionPointImpl;
}

namespace web {

class WebView;

class ShockwaveFlash final : public com::ComObject<com::IShockwaveFlash, com::IOleObject,
                                                   com::IOleInPlaceObject, com::IConnectionPointContainer> {
public:
    static const com::CLSID kClassId;
    static constexpr const char* kProgId = "ShockwaveFlash.ShockwaveFlash";

    // Registers the class with COM under kClassId and kProgId; false when either is taken already.
    static bool Register();
    static void Unregister();

    // With one reference.
    static ShockwaveFlash* Create();

    // The folder the player's files are served from; empty, with the places looked at in *whereLooked, when
    // none holds them.
    static std::string PlayerFolder(std::string* whereLooked = nullptr);

    com::HRESULT QueryInterface(const com::IID& iid, void** object) override;
    com::HRESULT GetTypeInfoCount(com::UINT* count) override;
    com::HRESULT GetTypeInfo(com::UINT index, com::LCID locale, com::ITypeInfo** typeInfo) override;
    com::HRESULT GetIDsOfNames(const com::IID& iid, com::LPOLESTR* names, com::UINT count, com::LCID locale,
                               com::DISPID* ids) override;
    com::HRESULT Invoke(com::DISPID member, const com::IID& iid, com::LCID locale, com::WORD flags,
                        com::DISPPARAMS* parameters, com::VARIANT* result, com::EXCEPINFO* exception,
                        com::UINT* argumentError) override;

    com::HRESULT put_Movie(com::BSTR movie) override;
    com::HRESULT Play() override;
    com::HRESULT Stop() override;
    com::HRESULT Rewind() override;
    com::HRESULT StopPlay() override;
    com::HRESULT put_BGColor(com::BSTR color) override;

    com::HRESULT Close(com::DWORD saveOption) override;
    com::HRESULT DoVerb(com::LONG verb, com::MSG* message, com::IOleClientSite* site, com::LONG index,
                        win32::HWND parent, const win32::RECT* position) override;
    com::HRESULT SetObjectRects(const win32::RECT* position, const win32::RECT* clip) override;

    com::HRESULT FindConnectionPoint(const com::IID& eventInterface, com::IConnectionPoint** point) override;

    // Fires the events that arrived since the last call; the player window's procedure calls it.
    void FirePending();

private:
    struct Event {
        com::DISPID member;
        std::u16string command;
        std::u16string arguments;
        int value;
    };

    ShockwaveFlash();
    ~ShockwaveFlash() override;

    void LoadMovie();
    void RunScript(const char* script);
    void Received(const std::string& handler, const std::string& json);
    void Queue(Event event);

    com::ConnectionPointImpl* m_point;
    win32::HWND m_window = nullptr;
    std::unique_ptr<WebView> m_view;
    std::string m_movie;
    std::string m_background;
    bool m_playing = true;
    std::vector<Event> m_pending;
    bool m_firePosted = false;
};

} // namespace web
