#include "runtime/product/QuorvenApp.h"

#include "resources/error/Error.h"
#include "resources/storage/Path.h"
#include "runtime/screen/Control.h"
#include "runtime/screen/MessengerViewport.h"
#include "script/MessengerFactory.h"

#include <cctype>
#include <cstring>

const char* const QuorvenApp::kApplicationName = "Quorven ZUT Plexotron";
const char* const QuorvenApp::kIdentPrefix = "Quorven,";

namespace {

const Vemo::String& ProductClassWord() {
    static const Vemo::String* const word = new Vemo::String("QuorvenApp");
    return *word;
}

} // namespace

QuorvenApp::QuorvenApp() : Win32DXQTMultimediaApplication(ProductClassWord()) {
    // The messenger keeps the class word as its name; the application, the mutex
    // and the registry key go by the product's title.
    Vemo::Win32Application::SetName(Vemo::String(kApplicationName));
    SetProductTitle(Vemo::String(kApplicationName));
}

QuorvenApp::~QuorvenApp() {
    m_productControls.Clear();
}

Vemo::String QuorvenApp::GetClassName() const {
    return ProductClassWord();
}

const Vemo::String& QuorvenApp::GetConfigFileName() const {
    static const Vemo::String* const name = new Vemo::String("Quorven.ini");
    return *name;
}

const Vemo::String& QuorvenApp::GetLocaleFileName() const {
    static const Vemo::String* const name = new Vemo::String("Quorven.loc");
    return *name;
}

const Vemo::String& QuorvenApp::UserSettingsName() {
    static const Vemo::String* const name = new Vemo::String("User.ini");
    return *name;
}

bool QuorvenApp::MatchIdent(const Vemo::String& ident) {
    const std::size_t length = std::strlen(kIdentPrefix);
    if (ident.Length() < length) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        const auto a = static_cast<unsigned char>(ident.CStr()[i]);
        const auto b = static_cast<unsigned char>(kIdentPrefix[i]);
        if (std::tolower(a) != std::tolower(b)) {
            return false;
        }
    }
    return true;
}

void QuorvenApp::Step() {
    Win32DXQTMultimediaApplication::Step();
    for (Control* control : m_productControls) {
        control->Idle();
    }
}

bool QuorvenApp::OnStartup() {
    if (!Win32DXQTMultimediaApplication::OnStartup()) {
        return false;
    }
    if (GetUserPath() == nullptr) {
        return false;
    }
    Vemo::Path userSettings(*GetUserPath());
    if (!userSettings.Parse(UserSettingsName()) || !OpenUserSettings(userSettings)) {
        return false;
    }
    if (GetViewport() == nullptr || GetViewport()->GetRootControl() == nullptr) {
        return false;
    }
    return AddProductControl("AmbientSoundControl", "AmbientSound") &&
           AddProductControl("SoundControl", "RolloverSound") &&
           AddProductControl("VoiceoverControl", "VOSound");
}

bool QuorvenApp::AddProductControl(const char* classWord, const char* name) {
    // The control classes lie above the application; their registered creation functions make them.
    const MessengerFactory::CreateFunction create =
        MessengerFactory::FindCreateFunction(Vemo::String(classWord));
    Messenger* made = create != nullptr ? create(Vemo::String(name), this, nullptr) : nullptr;
    Control* control = Control::FromMessenger(made);
    if (control == nullptr || !control->Configure(GetViewport()->GetRootControl(), nullptr)) {
        delete made;
        RaiseError(Control::kErrorFailure);
        return false;
    }
    control->Register();
    control->SetTransparent(true);
    m_productControls.PushBack(control);
    return true;
}

bool QuorvenApp::OnShutdown() {
    const bool userSaved = CloseUserSettings();
    while (!m_productControls.Empty()) {
        Control* control = m_productControls.Front();
        m_productControls.PopFront();
        delete control;
    }
    return Win32DXQTMultimediaApplication::OnShutdown() && userSaved;
}
