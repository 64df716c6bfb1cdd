#include "platform/web/WebKitEngine.h"

#include "platform/video/VideoBackend.h"
#include "platform/web/GLibRunLoopGuest.h"
#include "platform/web/WebKitSchemeHandler.h"
#include "platform/web/WebKitView.h"
#include "platform/web/XvfbServer.h"
#include "platform/win32/input/HeadlessRun.h"
#include "platform/win32/windows/RunLoopPacing.h"

#include <SDL.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace web {

namespace {

// The languages pages are asked for: the engine gives pages none under the C locale, and some scripts (the
// Flash player's) fail without one.
const gchar* const kLanguages[] = {"en-US", "en", nullptr};

// Which GDK backend shows views on the player's display, when the program's windows are on one: SDL's
// driver says which. None when the program shows no window a player sees (headless, or a driver of SDL's
// that has no display).
const char* PlayersDisplayBackend() {
    if (video::HeadlessVideoAsked() || SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return nullptr;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && std::strcmp(driver, "x11") == 0) {
        return "x11";
    }
    if (driver != nullptr && std::strcmp(driver, "wayland") == 0) {
        return "wayland";
    }
    return nullptr;
}

// GTK on the player's display, or on an X server of the program's own.
bool StartGtk(std::string& whyNot) {
    static bool started = false;
    if (started) {
        return true;
    }
    const char* backend = PlayersDisplayBackend();
    if (backend == nullptr) {
        std::string why;
        const std::string display = XvfbServer::Display(why);
        if (display.empty()) {
            whyNot = why;
            return false;
        }
        // The engine's own processes find the display here too.
        ::setenv("DISPLAY", display.c_str(), 1);
        ::unsetenv("WAYLAND_DISPLAY");
        backend = "x11";
    }
    // The backend is ours to choose (never one that does not draw offscreen windows, such as broadway), and
    // the program's locale stays as it is: the title's numbers are read in the C locale.
    ::unsetenv("GDK_BACKEND");
    gdk_set_allowed_backends(backend);
    gtk_disable_setlocale();
    if (!gtk_init_check(nullptr, nullptr)) {
        const char* display = std::getenv(std::strcmp(backend, "x11") == 0 ? "DISPLAY" : "WAYLAND_DISPLAY");
        whyNot =
            std::string("GTK cannot open the ") + backend + " display " + (display != nullptr ? display : "");
        return false;
    }
    started = true;
    return true;
}

// The engine's web processes run inside bubblewrap, and where it cannot set up its sandbox (a chroot, a
// container without namespaces) the engine ends the whole program the moment a page is made. Tried once
// first, the same refusal leaves the controls without the engine instead.
bool SandboxStarts(std::string& whyNot) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char bwrap[] = "bwrap";
    char bind[] = "--ro-bind";
    char root[] = "/";
    char command[] = "true";
    char* arguments[] = {bwrap, bind, root, root, command, nullptr};
    pid_t child = -1;
    const int failed = posix_spawnp(&child, bwrap, &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (failed == 0) {
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }
    if (failed != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        whyNot = failed != 0 ? "the web engine's sandbox program bwrap is missing"
                             : "the web engine's sandbox (bwrap) cannot start here";
        return false;
    }
    return true;
}

WebKitEngine* g_engine = nullptr;

} // namespace

WebKitEngine* WebKitEngine::Start(std::string& whyNot) {
    if (g_engine != nullptr) {
        return g_engine;
    }
    auto* engine = new WebKitEngine;
    if (!engine->Open(whyNot)) {
        delete engine;
        return nullptr;
    }
    g_engine = engine;
    return g_engine;
}

bool WebKitEngine::Open(std::string& whyNot) {
    if (!SandboxStarts(whyNot) || !StartGtk(whyNot)) {
        return false;
    }
    // Nothing of a title's browsing stays on the disk.
    m_context = webkit_web_context_new_ephemeral();
    webkit_web_context_set_sandbox_enabled(m_context, TRUE);
    webkit_web_context_set_preferred_languages(m_context, kLanguages);
    webkit_web_context_set_cache_model(m_context, WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
    WebKitSchemeHandler::Register(m_context);
    // Both stay for the life of the program, as the engine does.
    static GLibRunLoopGuest* guest = new GLibRunLoopGuest([this] { AfterDrain(); });
    win32::SetRunLoopGuest(guest);
    win32::HoldScriptedClockWhile([this] { return AnyViewBusy(); });
    return true;
}

void WebKitEngine::Add(WebKitView* view) {
    m_views.push_back(view);
}

void WebKitEngine::Remove(WebKitView* view) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

bool WebKitEngine::IsLive(const WebKitView* view) const {
    return std::find(m_views.begin(), m_views.end(), view) != m_views.end();
}

void WebKitEngine::AfterDrain() {
    const std::vector<WebKitView*> views = m_views;
    for (WebKitView* view : views) {
        if (IsLive(view)) {
            view->DrawFrame();
        }
    }
    // What a view tells may end it, or others: each is looked for again before it is asked.
    for (WebKitView* view : views) {
        std::function<void()> event;
        while (IsLive(view) && view->TakeEvent(event)) {
            event();
        }
    }
}

bool WebKitEngine::AnyViewBusy() const {
    return std::any_of(m_views.begin(), m_views.end(), [](const WebKitView* view) { return view->Busy(); });
}

std::unique_ptr<WebView> WebView::Create(win32::HWND window, const WebViewOptions& options,
                                         WebViewEvents events, std::string* whyNot) {
    std::string why;
    WebKitEngine* engine = WebKitEngine::Start(why);
    if (engine != nullptr) {
        auto view = std::make_unique<WebKitView>(*engine, window, options, std::move(events));
        if (view->Open(why)) {
            return view;
        }
    }
    if (whyNot != nullptr) {
        *whyNot = why;
    }
    return nullptr;
}

bool EngineBuiltIn() {
    return true;
}

} // namespace web
