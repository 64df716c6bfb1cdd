// A Shockwave movie inside the title: an ActiveX host control whose hosted control is the Shockwave player
// ("SWCtl.SWCtl"). The script names the movie, its background colour, whether it starts by itself and a
// Lingo script file run when the player starts; messages play, stop and rewind it, change the movie and run
// further Lingo files. The movie's external events become "ExternalEvent." messages, its ready states the
// ready-state messages. Activation announces "ShockwaveReady" or "ShockwaveNotInstalled".
#pragma once

#include "controls/ATLWindowControl.h"
#include "controls/PlayerInputFilter.h"
#include "script/Fragment.h"

namespace com {
class IShockwavePlayer;
}

class ShockwavePlayerEventSink;

using ShockwaveFilter = PlayerInputFilter;

class ShockwaveControl : public ATLWindowControl {
public:
    // The most of a Lingo script file that is given to the player.
    static constexpr std::uint32_t kLingoScriptLimit = 5000;

    ShockwaveControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~ShockwaveControl() override;

    Vemo::String GetClassName() const override;
    bool ReadScript() override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;
    bool CreateHostedControl(com::IAxWinHostWindow* host, HostWindowHolder* holder,
                             win32::HWND hostWindow) override;
    void ReleaseHostedControl() override;

    virtual void OnExternalEvent(const Vemo::String& text);
    virtual void OnPlayerNotification(unsigned value);
    virtual void OnReadyStateChange(unsigned state);

    // The movie the name finds; an empty name clears it.
    bool SetMovieFile(const Fragment& name);
    // The movie's full path; the player, when there is one, is given it at once.
    bool SetMovieUrl(const Vemo::String& text);
    // Gives the player the text of the Lingo script file the name finds; false without a player.
    bool ExecuteLingoScriptFile(const Fragment& name);

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

    const Vemo::String& GetMovieUrl() const { return m_movieUrl; }

protected:
    void AnnounceActivation(bool succeeded) override;

private:
    com::IShockwavePlayer* m_player = nullptr;
    ShockwavePlayerEventSink* m_eventSink = nullptr;
    ShockwaveFilter m_filter;
    Vemo::String m_movieUrl;
    Fragment m_lingoScript;
    bool m_autoPlay = true;
    Vemo::String m_bgColor;
};
