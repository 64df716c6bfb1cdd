#include "controls/ShockwaveFlashControl.h"

#include "controls/FlashPlayerEventSink.h"
#include "controls/HostedPlayerText.h"
#include "platform/com/Atl.h"
#include "platform/com/ShockwavePlayers.h"
#include "resources/error/Error.h"
#include "runtime/application/WindowFunctions.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

namespace {

enum Word : unsigned { kPlay, kStop, kRewind, kMovie, kMissingWord = ~0U };

const KeywordIds<unsigned>& Words() {
    static const auto* const words = new KeywordIds<unsigned>(
        {
            {"Play", kPlay},
            {"Stop", kStop},
            {"Rewind", kRewind},
            {"Movie", kMovie},
        },
        kMissingWord);
    return *words;
}

const MessengerFactory::Registrar g_registrar(ShockwaveFlashControl::ClassWord(),
                                              &ShockwaveFlashControl::Create);

template <class Member>
void GiveText(com::IShockwaveFlash& player, Member member, const Vemo::String& text) {
    com::BSTR value = HostedPlayerText::ToBstr(text);
    (player.*member)(value);
    com::SysFreeString(value);
}

} // namespace

ShockwaveFlashControl::ShockwaveFlashControl(const Vemo::String& name, Messenger* owner, Script* script)
    : ATLWindowControl(name, owner, script) {}

ShockwaveFlashControl::~ShockwaveFlashControl() {
    DestroyHostWindow();
}

const Vemo::String& ShockwaveFlashControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("ShockwaveFlashControl");
    return *word;
}

Vemo::String ShockwaveFlashControl::GetClassName() const {
    return ClassWord();
}

Messenger* ShockwaveFlashControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<ShockwaveFlashControl>(name, owner, script);
}

bool ShockwaveFlashControl::ReadScript() {
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
    if (script->GetFragments(GetSectionName(), "BgColor", value)) {
        FragmentStream(*value) >> m_bgColor;
    }
    return true;
}

bool ShockwaveFlashControl::HandleMessage(const Fragment& message, Messenger* sender) {
    const unsigned id = Words()[message.GetText()];
    switch (id) {
    case kPlay:
        if (m_player == nullptr) {
            return false;
        }
        m_player->Play();
        HostedPlayerText::Redraw(GetWindow());
        return true;
    case kStop:
        if (m_player == nullptr) {
            return false;
        }
        m_player->StopPlay();
        m_player->Stop();
        return true;
    case kRewind:
        if (m_player == nullptr) {
            return false;
        }
        m_player->Rewind();
        HostedPlayerText::Redraw(GetWindow());
        return true;
    case kMovie: {
        const Fragment* argument = message.GetChildren().Empty() ? nullptr : &message.GetChildren()[0];
        return argument == nullptr || argument->GetText().Length() == 0 ? SetMovieUrl(Vemo::String())
                                                                        : SetMovieFile(*argument);
    }
    default:
        return ATLWindowControl::HandleMessage(message, sender);
    }
}

bool ShockwaveFlashControl::SetMovieFile(const Fragment& name) {
    Vemo::String path;
    return HostedPlayerText::ResolveMovie(name, path) && SetMovieUrl(path);
}

bool ShockwaveFlashControl::SetMovieUrl(const Vemo::String& text) {
    if (m_player == nullptr) {
        m_movieUrl = text;
        return true;
    }
    if (text.Compare(m_movieUrl) == 0) {
        return true;
    }
    GiveText(*m_player, &com::IShockwaveFlash::put_Movie, text);
    m_movieUrl = text;
    HostedPlayerText::Redraw(GetWindow());
    return true;
}

bool ShockwaveFlashControl::CreateHostedControl(com::IAxWinHostWindow* host, HostWindowHolder*,
                                                win32::HWND hostWindow) {
    PlayQuickTimeHookMovie(false);
    if (!CreateControlInHost(*host, Vemo::String("ShockwaveFlash.ShockwaveFlash"), hostWindow,
                             com::IID_IShockwaveFlash, reinterpret_cast<void**>(&m_player)) ||
        !m_filter.SubclassPlayerIn(hostWindow)) {
        return false;
    }
    m_eventSink = new FlashPlayerEventSink(*this);
    if (!m_eventSink->Connect(m_player)) {
        return false;
    }
    if (!m_bgColor.IsEmpty()) {
        GiveText(*m_player, &com::IShockwaveFlash::put_BGColor, m_bgColor);
    }
    if (!m_movieUrl.IsEmpty()) {
        const Vemo::String movie = m_movieUrl;
        m_movieUrl = Vemo::String();
        SetMovieUrl(movie);
    }
    return true;
}

void ShockwaveFlashControl::ReleaseHostedControl() {
    if (GetManager() != nullptr) {
        win32::SetFocus(GetViewportWindow());
    }
    m_filter.Unsubclass();
    HostedEventSink::ReleaseWithSource(m_eventSink, m_player);
    PlayQuickTimeHookMovie(true);
}

void ShockwaveFlashControl::AnnounceActivation(bool succeeded) {
    HostedPlayerText::AnnounceWord(*this, succeeded ? "FlashReady" : "FlashNotInstalled");
}

void ShockwaveFlashControl::OnFSCommand(const Vemo::String& command, const Vemo::String&) {
    Vemo::String word("FSCommand.");
    word.Append(command);
    HostedPlayerText::AnnounceWord(*this, word);
}

void ShockwaveFlashControl::OnProgress(unsigned) {}

void ShockwaveFlashControl::OnReadyStateChange(unsigned state) {
    HostedPlayerText::AnnounceReadyState(*this, state);
}
