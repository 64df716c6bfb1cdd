// A Flash movie inside the title: an ActiveX host control whose hosted control is the Flash player
// ("ShockwaveFlash.ShockwaveFlash"). The script names the movie and its background colour; messages play,
// stop and rewind it and change the movie. The movie's FSCommand events become "FSCommand." messages, its
// ready states the ready-state messages. Activation announces "FlashReady" or "FlashNotInstalled".
#pragma once

#include "controls/ATLWindowControl.h"
#include "controls/PlayerInputFilter.h"

namespace com {
class IShockwaveFlash;
}

class FlashPlayerEventSink;
class Fragment;

using FlashFilter = PlayerInputFilter;

class ShockwaveFlashControl : public ATLWindowControl {
public:
    ShockwaveFlashControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~ShockwaveFlashControl() override;

    Vemo::String GetClassName() const override;
    bool ReadScript() override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;
    bool CreateHostedControl(com::IAxWinHostWindow* host, HostWindowHolder* holder,
                             win32::HWND hostWindow) override;
    void ReleaseHostedControl() override;

    virtual void OnFSCommand(const Vemo::String& command, const Vemo::String& arguments);
    virtual void OnProgress(unsigned percent);
    virtual void OnReadyStateChange(unsigned state);

    // The movie the name finds; an empty name clears it.
    bool SetMovieFile(const Fragment& name);
    // The movie's full path; the player, when there is one, is given it at once.
    bool SetMovieUrl(const Vemo::String& text);

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

    const Vemo::String& GetMovieUrl() const { return m_movieUrl; }

protected:
    void AnnounceActivation(bool succeeded) override;

private:
    com::IShockwaveFlash* m_player = nullptr;
    FlashPlayerEventSink* m_eventSink = nullptr;
    FlashFilter m_filter;
    Vemo::String m_movieUrl;
    Vemo::String m_bgColor;
};
