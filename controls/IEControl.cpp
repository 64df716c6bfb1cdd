#include "controls/IEControl.h"

#include "controls/HostedPlayerText.h"
#include "controls/IEControlEventSink.h"
#include "platform/com/Atl.h"
#include "platform/com/WebBrowser.h"
#include "resources/error/Error.h"
#include "runtime/application/WindowFunctions.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

namespace {

enum Word : unsigned {
    kGoBack,
    kGoForward,
    kGoHome,
    kGoSearch,
    kGoRefresh,
    kStop,
    kNavigate,
    kQuit,
    kMissingWord = ~0U,
};

const KeywordIds<unsigned>& Words() {
    static const auto* const words = new KeywordIds<unsigned>(
        {
            {"GoBack", kGoBack},
            {"GoForward", kGoForward},
            {"GoHome", kGoHome},
            {"GoSearch", kGoSearch},
            {"GoRefresh", kGoRefresh},
            {"Stop", kStop},
            {"Navigate", kNavigate},
            {"Quit", kQuit},
        },
        kMissingWord);
    return *words;
}

const MessengerFactory::Registrar g_registrar(IEControl::ClassWord(), &IEControl::Create);

const char* const kBrowserProgId = "Shell.Explorer";

// Navigate with the address and every other parameter empty.
void NavigateTo(com::IWebBrowser2& browser, const Vemo::String& address) {
    com::BSTR url = HostedPlayerText::ToBstr(address);
    browser.Navigate(url, nullptr, nullptr, nullptr, nullptr);
    com::SysFreeString(url);
}

} // namespace

IEControl::IEControl(const Vemo::String& name, Messenger* owner, Script* script)
    : ATLWindowControl(name, owner, script) {}

IEControl::~IEControl() {
    DestroyHostWindow();
}

const Vemo::String& IEControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("IEControl");
    return *word;
}

Vemo::String IEControl::GetClassName() const {
    return ClassWord();
}

Messenger* IEControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<IEControl>(name, owner, script);
}

bool IEControl::ReadScript() {
    if (!Control::ReadScript()) {
        return false;
    }
    Script* script = GetScript();
    if (script == nullptr) {
        return true;
    }
    const Vemo::BasicArray<Fragment>* value = nullptr;
    if (script->GetFragments(GetSectionName(), "StartUrl", value)) {
        FragmentStream(*value) >> m_startLocation;
    }
    if (script->GetFragments(GetSectionName(), "StartFile", value) && !value->Empty()) {
        if (!HostedPlayerText::FindFullPath((*value)[0], m_startLocation)) {
            return false;
        }
    }
    if (script->GetFragments(GetSectionName(), "ShowScrollBar", value)) {
        FragmentStream(*value) >> m_showScrollBar;
    }
    return true;
}

bool IEControl::HandleMessage(const Fragment& message, Messenger* sender) {
    const unsigned id = Words()[message.GetText()];
    if (id == kMissingWord) {
        return ATLWindowControl::HandleMessage(message, sender);
    }
    if (m_browser == nullptr) {
        return false;
    }
    switch (id) {
    case kGoBack:
        m_browser->GoBack();
        break;
    case kGoForward:
        m_browser->GoForward();
        break;
    case kGoHome:
        m_browser->GoHome();
        break;
    case kGoSearch:
        m_browser->GoSearch();
        break;
    case kGoRefresh:
        m_browser->Refresh();
        break;
    case kStop:
        m_browser->Stop();
        break;
    case kNavigate: {
        Vemo::String address;
        FragmentStream(message.GetChildren()) >> address;
        NavigateTo(*m_browser, address);
        break;
    }
    default:
        m_browser->Quit();
        break;
    }
    return true;
}

bool IEControl::CreateHostedControl(com::IAxWinHostWindow* host, HostWindowHolder*, win32::HWND hostWindow) {
    PlayQuickTimeHookMovie(false);
    const Vemo::String text =
        !m_showScrollBar && !m_startLocation.IsEmpty() ? m_startLocation : Vemo::String(kBrowserProgId);
    if (!CreateControlInHost(*host, text, hostWindow, com::IID_IWebBrowser2,
                             reinterpret_cast<void**>(&m_browser))) {
        return false;
    }
    m_eventSink = new IEControlEventSink(*this);
    if (!m_eventSink->Connect(m_browser)) {
        return false;
    }
    if (!m_startLocation.IsEmpty()) {
        NavigateTo(*m_browser, m_startLocation);
    }
    return true;
}

void IEControl::ReleaseHostedControl() {
    if (GetManager() != nullptr) {
        win32::SetFocus(GetViewportWindow());
    }
    HostedEventSink::ReleaseWithSource(m_eventSink, m_browser);
    PlayQuickTimeHookMovie(true);
}

void IEControl::AnnounceActivation(bool succeeded) {
    HostedPlayerText::AnnounceWord(*this, succeeded ? "FlashReady" : "FlashNotInstalled");
}

void IEControl::OnDownloadEvent() {}

void IEControl::OnBrowserEvent() {}

void IEControl::OnBrowserQuit() {}
