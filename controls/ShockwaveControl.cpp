#include "controls/ShockwaveControl.h"

#include "controls/HostedPlayerText.h"
#include "controls/ShockwavePlayerEventSink.h"
#include "platform/com/Atl.h"
#include "platform/com/ShockwavePlayers.h"
#include "resources/error/Error.h"
#include "runtime/application/WindowFunctions.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

namespace {

enum Word : unsigned { kPlay, kStop, kRewind, kMovie, kExecuteLingoScript, kMissingWord = ~0U };

const KeywordIds<unsigned>& Words() {
    static const auto* const words = new KeywordIds<unsigned>(
        {
            {"Play", kPlay},
            {"Stop", kStop},
            {"Rewind", kRewind},
            {"Movie", kMovie},
            {"ExecuteLingoScript", kExecuteLingoScript},
        },
        kMissingWord);
    return *words;
}

const MessengerFactory::Registrar g_registrar(ShockwaveControl::ClassWord(), &ShockwaveControl::Create);

// Calls the player's member with the text as a BSTR.
template <class Member>
void GiveText(com::IShockwavePlayer& player, Member member, const Vemo::String& text) {
    com::BSTR value = HostedPlayerText::ToBstr(text);
    (player.*member)(value);
    com::SysFreeString(value);
}

const Fragment* FirstArgument(const Fragment& message) {
    return message.GetChildren().Empty() ? nullptr : &message.GetChildren()[0];
}

} // namespace

ShockwaveControl::ShockwaveControl(const Vemo::String& name, Messenger* owner, Script* script)
    : ATLWindowControl(name, owner, script) {}

ShockwaveControl::~ShockwaveControl() {
    DestroyHostWindow();
}

const Vemo::String& ShockwaveControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("ShockwaveControl");
    return *word;
}

Vemo::String ShockwaveControl::GetClassName() const {
    return ClassWord();
}

Messenger* ShockwaveControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<ShockwaveControl>(name, owner, script);
}

bool ShockwaveControl::ReadScript() {
    if (!Control::ReadScript()) {
        return false;
    }
    Script* script = GetScript();
    if (script == nullptr) {
        return true;
    }
    const Vemo::BasicArray<Fragment>* value = nullptr;
    if (script->GetFragments(GetSectionName(), "MovieFile", value) && !value->Empty() &&
        !SetMovieFile((*value)[0])) {
        RaiseError(kErrorFailure);
        return false;
    }
    if (script->GetFragments(GetSectionName(), "AutoPlay", value)) {
        FragmentStream(*value) >> m_autoPlay;
    }
    if (script->GetFragments(GetSectionName(), "BgColor", value)) {
        FragmentStream(*value) >> m_bgColor;
    }
    if (script->GetFragments(GetSectionName(), "LingoScript", value) && !value->Empty()) {
        m_lingoScript = (*value)[0];
    }
    return true;
}

bool ShockwaveControl::HandleMessage(const Fragment& message, Messenger* sender) {
    const unsigned id = Words()[message.GetText()];
    const Fragment* argument = FirstArgument(message);
    switch (id) {
    case kPlay:
    case kStop:
    case kRewind:
        if (m_player == nullptr) {
            return false;
        }
        if (id == kPlay) {
            m_player->Play();
            HostedPlayerText::Redraw(GetWindow());
        } else if (id == kStop) {
            m_player->Stop();
        } else {
            m_player->Rewind();
            HostedPlayerText::Redraw(GetWindow());
        }
        return true;
    case kMovie:
        return argument == nullptr || argument->GetText().Length() == 0 ? SetMovieUrl(Vemo::String())
                                                                        : SetMovieFile(*argument);
    case kExecuteLingoScript:
        return argument != nullptr && ExecuteLingoScriptFile(*argument);
    default:
        return ATLWindowControl::HandleMessage(message, sender);
    }
}

bool ShockwaveControl::SetMovieFile(const Fragment& name) {
    Vemo::String path;
    return HostedPlayerText::ResolveMovie(name, path) && SetMovieUrl(path);
}

bool ShockwaveControl::SetMovieUrl(const Vemo::String& text) {
    if (m_player == nullptr) {
        m_movieUrl = text;
        return true;
    }
    if (text.Compare(m_movieUrl) == 0) {
        return true;
    }
    Vemo::String source("File://");
    source.Append(text);
    GiveText(*m_player, &com::IShockwavePlayer::put_Source, source);
    m_movieUrl = text;
    HostedPlayerText::Redraw(GetWindow());
    return true;
}

bool ShockwaveControl::ExecuteLingoScriptFile(const Fragment& name) {
    Vemo::String path;
    if (name.GetText().Length() == 0 || !HostedPlayerText::FindFullPath(name, path)) {
        return false;
    }
    Vemo::String text;
    if (!HostedPlayerText::ReadText(path, kLingoScriptLimit, text) || m_player == nullptr) {
        return false;
    }
    com::BSTR script = HostedPlayerText::ToBstr(text);
    com::BSTR result = nullptr;
    m_player->EvalScript(script, &result);
    com::SysFreeString(script);
    com::SysFreeString(result);
    return true;
}

bool ShockwaveControl::CreateHostedControl(com::IAxWinHostWindow* host, HostWindowHolder*,
                                           win32::HWND hostWindow) {
    PlayQuickTimeHookMovie(false);
    if (!CreateControlInHost(*host, Vemo::String("SWCtl.SWCtl"), hostWindow, com::IID_IShockwavePlayer,
                             reinterpret_cast<void**>(&m_player)) ||
        !m_filter.SubclassPlayerIn(hostWindow)) {
        return false;
    }
    m_eventSink = new ShockwavePlayerEventSink(*this);
    if (!m_eventSink->Connect(m_player)) {
        return false;
    }
    ExecuteLingoScriptFile(m_lingoScript);
    if (!m_bgColor.IsEmpty()) {
        GiveText(*m_player, &com::IShockwavePlayer::put_BGColor, m_bgColor);
    }
    GiveText(*m_player, &com::IShockwavePlayer::put_AutoStart, m_autoPlay ? "TRUE" : "FALSE");
    if (!m_movieUrl.IsEmpty()) {
        const Vemo::String movie = m_movieUrl;
        m_movieUrl = Vemo::String();
        SetMovieUrl(movie);
    }
    return true;
}

void ShockwaveControl::ReleaseHostedControl() {
    if (GetManager() != nullptr) {
        win32::SetFocus(GetViewportWindow());
    }
    m_filter.Unsubclass();
    HostedEventSink::ReleaseWithSource(m_eventSink, m_player);
    PlayQuickTimeHookMovie(true);
}

void ShockwaveControl::AnnounceActivation(bool succeeded) {
    HostedPlayerText::AnnounceWord(*this, succeeded ? "ShockwaveReady" : "ShockwaveNotInstalled");
}

void ShockwaveControl::OnExternalEvent(const Vemo::String& text) {
    Vemo::String word("ExternalEvent.");
    word.Append(text);
    HostedPlayerText::AnnounceWord(*this, word);
}

void ShockwaveControl::OnPlayerNotification(unsigned) {}

void ShockwaveControl::OnReadyStateChange(unsigned state) {
    HostedPlayerText::AnnounceReadyState(*this, state);
}
