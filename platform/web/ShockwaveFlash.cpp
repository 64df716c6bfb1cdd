#include "platform/web/ShockwaveFlash.h"

#include "platform/com/ClassRegistry.h"
#include "platform/com/ConnectionPointImpl.h"
#include "platform/com/FunctionClassFactory.h"
#include "platform/video/VideoBackend.h"
#include "platform/web/ControlWindow.h"
#include "platform/web/ScriptMessageJson.h"
#include "platform/web/WebView.h"
#include "platform/win32/WindowMessages.h"
#include "platform/win32/kernel/Module.h"
#include "platform/win32/kernel/StringConversion.h"
#include "platform/win32/windows/Window.h"

#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

namespace web {

const com::CLSID ShockwaveFlash::kClassId = {
    0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

namespace {

namespace fs = std::filesystem;

constexpr const char* kWindowClass = "ShockwaveFlash Player";
constexpr const char* kPage = "flash-player.html";
constexpr win32::UINT kFireMessage = win32::WM_APP + 0x0F1A;

constexpr com::DISPID kFSCommand = 150;
constexpr com::DISPID kOnProgress = 1958;
constexpr int kReadyComplete = 4;

win32::LRESULT PlayerWindowProcedure(win32::HWND window, win32::UINT message, win32::WPARAM wParam,
                                     win32::LPARAM lParam) {
    if (message == kFireMessage) {
        if (auto* player =
                reinterpret_cast<ShockwaveFlash*>(win32::GetWindowLongA(window, win32::GWL_USERDATA))) {
            player->FirePending();
        }
        return 0;
    }
    return win32::DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterPlayerWindowClass() {
    static const bool registered = [] {
        win32::WNDCLASSEXA record{};
        record.cbSize = sizeof(record);
        record.lpfnWndProc = &PlayerWindowProcedure;
        record.hInstance = win32::GetModuleHandleA(nullptr);
        record.lpszClassName = kWindowClass;
        return win32::RegisterClassExA(&record) != 0;
    }();
    return registered;
}

// The reason the player cannot be shown, said once a run: every later activation would say the same.
void SayOnce(const std::string& why) {
    static std::atomic<bool> said{false};
    if (!said.exchange(true)) {
        std::fprintf(stderr, "ShockwaveFlash.ShockwaveFlash: the Flash player is off: %s\n", why.c_str());
    }
}

std::u16string Wide(com::BSTR text) {
    return text == nullptr ? std::u16string() : std::u16string(text, com::SysStringLen(text));
}

// A text of the emulated machine's code page, as its paths are spelt.
std::string Ansi(const std::u16string& text) {
    if (text.empty()) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int size =
        win32::WideCharToMultiByte(win32::CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        win32::WideCharToMultiByte(win32::CP_ACP, 0, text.data(), length, narrow.data(), size, nullptr,
                                   nullptr);
    }
    return narrow;
}

bool StartsWithNoCase(const std::string& text, const char* prefix) {
    const std::size_t length = std::strlen(prefix);
    if (text.size() < length) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) {
            return false;
        }
    }
    return true;
}

// The engine's address of a movie the control names: web addresses as they are, anything else a path of the
// emulated machine.
std::string MovieAddress(const std::string& movie) {
    if (StartsWithNoCase(movie, "http://") || StartsWithNoCase(movie, "https://")) {
        return movie;
    }
    return TitleFileAddress(movie);
}

// "#rrggbb" from "#RRGGBB" or "RRGGBB"; nothing from any other text.
std::optional<std::string> BackgroundColor(const std::string& text) {
    const std::string digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    if (digits.size() != 6) {
        return std::nullopt;
    }
    std::string color = "#";
    for (char c : digits) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return std::nullopt;
        }
        color += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return color;
}

std::string QueryValue(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0xF];
        }
    }
    return encoded;
}

com::VARIANT Text(const std::u16string& text) {
    com::VARIANT variant;
    com::VariantInit(&variant);
    variant.vt = com::VT_BSTR;
    variant.bstrVal = com::SysAllocStringLen(text.data(), static_cast<com::UINT>(text.size()));
    return variant;
}

com::VARIANT Number(int value) {
    com::VARIANT variant;
    com::VariantInit(&variant);
    variant.vt = com::VT_I4;
    variant.lVal = value;
    return variant;
}

bool SilentRun() {
    const char* audio = std::getenv("VEMO_AUDIO");
    return video::HeadlessVideoAsked() || (audio != nullptr && std::strcmp(audio, "none") == 0);
}

fs::path ProgramFolder() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : program.parent_path();
}

} // namespace

bool ShockwaveFlash::Register() {
    return com::FunctionClassFactory::Register(kClassId, kProgId,
                                               [] { return static_cast<com::IShockwaveFlash*>(Create()); });
}

void ShockwaveFlash::Unregister() {
    com::ClassRegistry::Instance().Unregister(kClassId);
}

ShockwaveFlash* ShockwaveFlash::Create() {
    return new ShockwaveFlash;
}

std::string ShockwaveFlash::PlayerFolder(std::string* whereLooked) {
    const fs::path program = ProgramFolder();
    const fs::path places[] = {program / "flash", program.parent_path() / "share" / "quorven" / "flash"};
    std::string looked;
    for (const fs::path& place : places) {
        std::error_code error;
        if (fs::is_regular_file(place / kPage, error) && fs::is_regular_file(place / "ruffle.js", error)) {
            return place.string();
        }
        looked += (looked.empty() ? "" : " and ") + place.string();
    }
    if (whereLooked != nullptr) {
        *whereLooked = looked;
    }
    return {};
}

ShockwaveFlash::ShockwaveFlash()
    : m_point(com::ConnectionPointImpl::Create(com::DIID_IShockwaveFlashEvents)) {}

ShockwaveFlash::~ShockwaveFlash() {
    Close(com::OLECLOSE_NOSAVE);
    m_point->Release();
}

com::HRESULT ShockwaveFlash::QueryInterface(const com::IID& iid, void** object) {
    return Answer(
        iid, object,
        {{&com::IID_IShockwaveFlash, static_cast<com::IShockwaveFlash*>(this)},
         {&com::IID_IDispatch, static_cast<com::IDispatch*>(this)},
         {&com::IID_IOleObject, static_cast<com::IOleObject*>(this)},
         {&com::IID_IOleInPlaceObject, static_cast<com::IOleInPlaceObject*>(this)},
         {&com::IID_IConnectionPointContainer, static_cast<com::IConnectionPointContainer*>(this)}});
}

com::HRESULT ShockwaveFlash::GetTypeInfoCount(com::UINT* count) {
    if (count == nullptr) {
        return win32::E_POINTER;
    }
    *count = 0;
    return win32::S_OK;
}

com::HRESULT ShockwaveFlash::GetTypeInfo(com::UINT, com::LCID, com::ITypeInfo**) {
    return com::E_NOTIMPL;
}

com::HRESULT ShockwaveFlash::GetIDsOfNames(const com::IID&, com::LPOLESTR*, com::UINT, com::LCID,
                                           com::DISPID*) {
    return com::DISP_E_UNKNOWNNAME;
}

com::HRESULT ShockwaveFlash::Invoke(com::DISPID, const com::IID&, com::LCID, com::WORD, com::DISPPARAMS*,
                                    com::VARIANT*, com::EXCEPINFO*, com::UINT*) {
    return com::DISP_E_MEMBERNOTFOUND;
}

com::HRESULT ShockwaveFlash::put_Movie(com::BSTR movie) {
    m_movie = Ansi(Wide(movie));
    LoadMovie();
    return win32::S_OK;
}

com::HRESULT ShockwaveFlash::Play() {
    m_playing = true;
    RunScript("window.vemoFlash && window.vemoFlash.play()");
    return win32::S_OK;
}

com::HRESULT ShockwaveFlash::Stop() {
    m_playing = false;
    RunScript("window.vemoFlash && window.vemoFlash.pause()");
    return win32::S_OK;
}

com::HRESULT ShockwaveFlash::StopPlay() {
    return Stop();
}

com::HRESULT ShockwaveFlash::Rewind() {
    if (!m_movie.empty()) {
        LoadMovie();
    }
    return win32::S_OK;
}

com::HRESULT ShockwaveFlash::put_BGColor(com::BSTR color) {
    std::optional<std::string> background = BackgroundColor(Ansi(Wide(color)));
    if (background && *background != m_background) {
        m_background = *background;
        if (!m_movie.empty()) {
            LoadMovie();
        }
    }
    return win32::S_OK;
}

void ShockwaveFlash::LoadMovie() {
    if (m_view == nullptr) {
        return;
    }
    std::string address = PlayerFileAddress(kPage) + "?play=" + (m_playing ? "1" : "0");
    if (!m_background.empty()) {
        address += "&background=" + QueryValue(m_background);
    }
    const std::string movie = m_movie.empty() ? std::string() : MovieAddress(m_movie);
    if (!movie.empty()) {
        address += "&movie=" + QueryValue(movie);
    }
    // Until the movie is in, as the page's own load is: a scripted run waits for both.
    m_view->SetPageBusy(!movie.empty());
    m_view->Load(address);
}

void ShockwaveFlash::RunScript(const char* script) {
    if (m_view != nullptr) {
        m_view->RunScript(script);
    }
}

com::HRESULT ShockwaveFlash::DoVerb(com::LONG, com::MSG*, com::IOleClientSite*, com::LONG, win32::HWND parent,
                                    const win32::RECT* position) {
    if (m_window != nullptr) {
        return win32::S_OK;
    }
    if (parent == nullptr || position == nullptr) {
        return win32::E_INVALIDARG;
    }
    std::string looked;
    const std::string folder = PlayerFolder(&looked);
    if (folder.empty()) {
        SayOnce("its page and Ruffle are not installed (looked in " + looked +
                "; scripts/install-deps fetches Ruffle and the build puts them beside the program)");
        return win32::E_FAIL;
    }
    if (!RegisterPlayerWindowClass()) {
        return win32::E_FAIL;
    }
    m_window = CreateControlWindow(kWindowClass, parent, *position);
    if (m_window == nullptr) {
        return win32::E_FAIL;
    }
    win32::SetWindowLongA(m_window, win32::GWL_USERDATA, reinterpret_cast<win32::LONG_PTR>(this));
    ServePlayerFiles(folder);
    WebViewOptions options;
    options.muted = SilentRun();
    options.messageHandlers = {"fscommand", "readyState", "progress"};
    WebViewEvents events;
    events.scriptMessage = [this](const std::string& handler, const std::string& json) {
        Received(handler, json);
    };
    std::string whyNot;
    m_view = WebView::Create(m_window, options, std::move(events), &whyNot);
    if (m_view == nullptr) {
        SayOnce(whyNot);
        Close(com::OLECLOSE_NOSAVE);
        return win32::E_FAIL;
    }
    LoadMovie();
    return win32::S_OK;
}

com::HRESULT ShockwaveFlash::Close(com::DWORD) {
    m_view.reset();
    m_pending.clear();
    m_firePosted = false;
    const win32::HWND window = m_window;
    m_window = nullptr;
    if (window != nullptr && win32::IsWindow(window)) {
        win32::SetWindowLongA(window, win32::GWL_USERDATA, 0);
        win32::DestroyWindow(window);
    }
    return win32::S_OK;
}

com::HRESULT ShockwaveFlash::SetObjectRects(const win32::RECT* position, const win32::RECT*) {
    PlaceControlWindow(m_window, position);
    return win32::S_OK;
}

com::HRESULT ShockwaveFlash::FindConnectionPoint(const com::IID& eventInterface,
                                                 com::IConnectionPoint** point) {
    return m_point->OfferFor(eventInterface, point);
}

void ShockwaveFlash::Received(const std::string& handler, const std::string& json) {
    if (handler == "fscommand") {
        if (auto pair = ScriptMessageJson::TextPair(json)) {
            Queue(Event{kFSCommand, std::move(pair->first), std::move(pair->second), 0});
        }
    } else if (handler == "readyState" || handler == "progress") {
        if (std::optional<int> value = ScriptMessageJson::Number(json)) {
            if (handler == "readyState" && *value == kReadyComplete && m_view != nullptr) {
                m_view->SetPageBusy(false);
            }
            Queue(Event{handler == "progress" ? kOnProgress : com::DISPID_READYSTATECHANGE, {}, {}, *value});
        }
    }
}

void ShockwaveFlash::Queue(Event event) {
    m_pending.push_back(std::move(event));
    if (!m_firePosted && m_window != nullptr) {
        m_firePosted = win32::PostMessageA(m_window, kFireMessage, 0, 0) != win32::FALSE;
    }
}

void ShockwaveFlash::FirePending() {
    m_firePosted = false;
    std::vector<Event> events;
    events.swap(m_pending);
    // A sink may release the control, and its host may close it, while an event is fired.
    AddRef();
    for (const Event& event : events) {
        if (m_window == nullptr) {
            break;
        }
        std::vector<com::VARIANT> arguments;
        if (event.member == kFSCommand) {
            arguments = {Text(event.command), Text(event.arguments)};
        } else {
            arguments = {Number(event.value)};
        }
        m_point->Fire(event.member, arguments);
        for (com::VARIANT& argument : arguments) {
            com::VariantClear(&argument);
        }
    }
    Release();
}

} // namespace web
