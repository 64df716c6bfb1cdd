// A web view of the hosted engine (WebKitGTK) drawn into a child window of ours: the view lives in an
// offscreen GTK window of the window's client size; each time GTK reports damage, the view is drawn into a
// 32-bit picture that the window shows as its overlay (platform/video/Overlays.h), and only a picture that
// changed is handed on, so that a still page presents nothing. The window's mouse and key messages become GDK
// events on the view's own window (the offscreen top-level itself is never given a focus event: GDK's X11
// code does not survive one). Main thread only.
#pragma once

#include "platform/video/Overlays.h"
#include "platform/web/WebView.h"
#include "platform/win32/windows/Window.h"

#include <webkit2/webkit2.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace web {

class WebKitEngine;

class WebKitView final : public WebView {
public:
    WebKitView(WebKitEngine& engine, win32::HWND window, const WebViewOptions& options, WebViewEvents events);
    ~WebKitView() override;
    WebKitView(const WebKitView&) = delete;
    WebKitView& operator=(const WebKitView&) = delete;

    // Makes the GTK side; false when the window is gone.
    bool Open(std::string& whyNot);

    void Load(const std::string& address) override;
    void GoBack() override;
    void GoForward() override;
    void Stop() override;
    void Reload() override;
    void RunScript(const std::string& script) override;
    bool Busy() const override;
    void SetPageBusy(bool busy) override;

    // Draws the frame the view holds, when GTK reported damage since the last one.
    void DrawFrame();
    // Takes the next event that happened to the view (they are told after GLib's main loop ran, never from
    // inside the engine's own signals); false when none is left.
    bool TakeEvent(std::function<void()>& event);

private:
    static win32::LRESULT WindowProcedure(win32::HWND window, win32::UINT message, win32::WPARAM wParam,
                                          win32::LPARAM lParam);
    bool HandleInput(win32::UINT message, win32::WPARAM wParam, win32::LPARAM lParam);
    void Resize(int width, int height);
    void SendPointer(GdkEventType type, int x, int y, unsigned button, unsigned state);
    void SendScroll(int x, int y, bool up);
    void SendKey(bool press, unsigned keyval);
    void SendFocus(bool in);
    // Hands the event, from the pointer or the keyboard, to GTK, and frees it.
    void Dispatch(GdkEvent* event, bool pointer);
    void Tell(std::function<void()> event);
    void Subclass();
    void Unsubclass();

    static gboolean OnDamage(GtkWidget* widget, GdkEvent* event, gpointer self);
    static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
    static gboolean OnLoadFailed(WebKitWebView* view, WebKitLoadEvent event, gchar* uri, GError* error,
                                 gpointer self);
    static gboolean OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                   WebKitPolicyDecisionType type, gpointer self);
    static void OnScriptMessage(WebKitUserContentManager* manager, WebKitJavascriptResult* result,
                                gpointer link);
    static void OnWebProcessTerminated(WebKitWebView* view, WebKitWebProcessTerminationReason reason,
                                       gpointer self);

    WebKitEngine& m_engine;
    win32::HWND m_window;
    const WebViewOptions m_options;
    const WebViewEvents m_events;
    GtkWidget* m_offscreen = nullptr;
    WebKitWebView* m_view = nullptr;
    WebKitUserContentManager* m_content = nullptr;
    // What a page's script message reaches: the view and the handler's name.
    struct HandlerLink {
        WebKitView* view;
        std::string name;
        gulong signal;
    };
    std::vector<std::unique_ptr<HandlerLink>> m_handlers;

    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_drawn; // what the last draw gave
    std::vector<std::uint32_t> m_shown; // what the overlay shows
    video::OverlayId m_overlay = 0;
    bool m_damaged = false;

    bool m_loading = false;  // a load was asked for or is under way
    bool m_pageBusy = false; // the page said it goes on loading
    bool m_failed = false;   // the load under way failed
    bool m_drawnSinceCommit = true;
    // The engine draws a page's late parts (its images, its web fonts) a moment after it says the load
    // finished: a view is busy until it has been still for kStill after the finish, up to kLongestSettling.
    static constexpr std::chrono::milliseconds kStill{100};
    static constexpr std::chrono::milliseconds kLongestSettling{2000};
    std::chrono::steady_clock::time_point m_finishedAt{};
    std::chrono::steady_clock::time_point m_lastDamage{};
    unsigned m_buttons = 0; // GDK's button state bits held down

    std::deque<std::function<void()>> m_told;
};

} // namespace web
