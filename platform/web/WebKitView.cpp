#include "platform/web/WebKitView.h"

#include "platform/web/WebAddresses.h"
#include "platform/web/WebKitEngine.h"
#include "platform/win32/WindowMessages.h"
#include "platform/win32/windows/WindowGeometry.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <utility>

namespace web {

namespace {

// The message handler of the script that turns the page's window.close() into a message of ours: the engine
// closes only views a page opened itself.
constexpr const char* kCloseHandler = "vemoWindowClose";
constexpr const char* kCloseScript =
    "window.close = function() { window.webkit.messageHandlers.vemoWindowClose.postMessage(null); };";

// Who receives a subclassed window's messages. An entry outlives its view when somebody subclassed the
// window after the view did: its messages then go straight on to the procedure the view found.
struct Subclassed {
    WebKitView* view = nullptr;
    win32::WNDPROC previous = nullptr;
};

std::map<win32::HWND, Subclassed>& SubclassedWindows() {
    static auto* windows = new std::map<win32::HWND, Subclassed>;
    return *windows;
}

bool AllowedScheme(const std::string& address) {
    const std::string scheme = SchemeOf(address);
    return scheme == "http" || scheme == "https" || scheme == "about" || scheme == kScheme;
}

unsigned ModifierState(win32::WPARAM keys) {
    unsigned state = 0;
    if ((keys & win32::MK_SHIFT) != 0) {
        state |= GDK_SHIFT_MASK;
    }
    if ((keys & win32::MK_CONTROL) != 0) {
        state |= GDK_CONTROL_MASK;
    }
    return state;
}

unsigned ButtonMask(unsigned button) {
    return button == 1 ? GDK_BUTTON1_MASK : button == 2 ? GDK_BUTTON2_MASK : GDK_BUTTON3_MASK;
}

// The GDK key of a key that makes no character; 0 for the keys whose characters come as WM_CHAR.
unsigned KeyvalOf(win32::WPARAM key) {
    static const std::pair<win32::BYTE, unsigned> kKeys[] = {
        {win32::VK_BACK, GDK_KEY_BackSpace}, {win32::VK_TAB, GDK_KEY_Tab},
        {win32::VK_RETURN, GDK_KEY_Return},  {win32::VK_ESCAPE, GDK_KEY_Escape},
        {win32::VK_PRIOR, GDK_KEY_Page_Up},  {win32::VK_NEXT, GDK_KEY_Page_Down},
        {win32::VK_END, GDK_KEY_End},        {win32::VK_HOME, GDK_KEY_Home},
        {win32::VK_LEFT, GDK_KEY_Left},      {win32::VK_UP, GDK_KEY_Up},
        {win32::VK_RIGHT, GDK_KEY_Right},    {win32::VK_DOWN, GDK_KEY_Down},
        {win32::VK_INSERT, GDK_KEY_Insert},  {win32::VK_DELETE, GDK_KEY_Delete},
    };
    for (const auto& [virtualKey, keyval] : kKeys) {
        if (key == virtualKey) {
            return keyval;
        }
    }
    if (key >= win32::VK_F1 && key <= win32::VK_F12) {
        return GDK_KEY_F1 + static_cast<unsigned>(key - win32::VK_F1);
    }
    return 0;
}

// The Unicode character of a byte of the Windows-1252 page, which the window's WM_CHAR carries.
gunichar FromCodePage(unsigned char c) {
    static const gunichar kHigh[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                       0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    return c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c;
}

} // namespace

WebKitView::WebKitView(WebKitEngine& engine, win32::HWND window, const WebViewOptions& options,
                       WebViewEvents events)
    : m_engine(engine), m_window(window), m_options(options), m_events(std::move(events)) {}

bool WebKitView::Open(std::string& whyNot) {
    win32::RECT client{};
    if (!win32::IsWindow(m_window) || !win32::GetClientRect(m_window, &client)) {
        whyNot = "the view's window does not exist";
        return false;
    }
    m_content = webkit_user_content_manager_new();
    WebKitUserScript* close =
        webkit_user_script_new(kCloseScript, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(m_content, close);
    webkit_user_script_unref(close);
    for (const std::string& script : m_options.userScripts) {
        WebKitUserScript* user =
            webkit_user_script_new(script.c_str(), WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                                   WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
        webkit_user_content_manager_add_script(m_content, user);
        webkit_user_script_unref(user);
    }
    std::vector<std::string> handlers = m_options.messageHandlers;
    handlers.emplace_back(kCloseHandler);
    for (const std::string& handler : handlers) {
        webkit_user_content_manager_register_script_message_handler(m_content, handler.c_str());
        const std::string signal = "script-message-received::" + handler;
        auto link = std::make_unique<HandlerLink>(HandlerLink{this, handler, 0});
        link->signal =
            g_signal_connect(m_content, signal.c_str(), G_CALLBACK(&WebKitView::OnScriptMessage), link.get());
        m_handlers.push_back(std::move(link));
    }

    WebKitSettings* settings = webkit_settings_new();
    webkit_settings_set_hardware_acceleration_policy(settings, WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    webkit_settings_set_enable_developer_extras(settings, FALSE);
    m_view = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", m_engine.Context(), "settings",
                                          settings, "user-content-manager", m_content, nullptr));
    g_object_unref(settings);
    webkit_web_view_set_is_muted(m_view, m_options.muted ? TRUE : FALSE);

    m_offscreen = gtk_offscreen_window_new();
    gtk_container_add(GTK_CONTAINER(m_offscreen), GTK_WIDGET(m_view));
    g_signal_connect(m_offscreen, "damage-event", G_CALLBACK(&WebKitView::OnDamage), this);
    g_signal_connect(m_view, "load-changed", G_CALLBACK(&WebKitView::OnLoadChanged), this);
    g_signal_connect(m_view, "load-failed", G_CALLBACK(&WebKitView::OnLoadFailed), this);
    g_signal_connect(m_view, "decide-policy", G_CALLBACK(&WebKitView::OnDecidePolicy), this);
    g_signal_connect(m_view, "web-process-terminated", G_CALLBACK(&WebKitView::OnWebProcessTerminated), this);
    Resize(client.right - client.left, client.bottom - client.top);
    gtk_widget_show_all(m_offscreen);
    gtk_widget_grab_focus(GTK_WIDGET(m_view));
    Subclass();
    m_engine.Add(this);
    return true;
}

WebKitView::~WebKitView() {
    m_engine.Remove(this);
    Unsubclass();
    if (m_overlay != 0) {
        video::RemoveOverlay(m_overlay);
    }
    if (m_content != nullptr) {
        for (const auto& link : m_handlers) {
            g_signal_handler_disconnect(m_content, link->signal);
            webkit_user_content_manager_unregister_script_message_handler(m_content, link->name.c_str());
        }
    }
    if (m_view != nullptr) {
        g_signal_handlers_disconnect_by_data(m_view, this);
        webkit_web_view_stop_loading(m_view);
    }
    if (m_offscreen != nullptr) {
        g_signal_handlers_disconnect_by_data(m_offscreen, this);
        gtk_widget_destroy(m_offscreen);
    }
    if (m_content != nullptr) {
        g_object_unref(m_content);
    }
}

void WebKitView::Subclass() {
    Subclassed& entry = SubclassedWindows()[m_window];
    entry.view = this;
    entry.previous = reinterpret_cast<win32::WNDPROC>(win32::SetWindowLongA(
        m_window, win32::GWL_WNDPROC, reinterpret_cast<win32::LONG_PTR>(&WebKitView::WindowProcedure)));
}

void WebKitView::Unsubclass() {
    auto found = SubclassedWindows().find(m_window);
    if (found == SubclassedWindows().end() || found->second.view != this) {
        return;
    }
    const auto current =
        reinterpret_cast<win32::WNDPROC>(win32::GetWindowLongA(m_window, win32::GWL_WNDPROC));
    if (current == &WebKitView::WindowProcedure) {
        win32::SetWindowLongA(m_window, win32::GWL_WNDPROC,
                              reinterpret_cast<win32::LONG_PTR>(found->second.previous));
        SubclassedWindows().erase(found);
    } else {
        found->second.view = nullptr;
    }
}

win32::LRESULT WebKitView::WindowProcedure(win32::HWND window, win32::UINT message, win32::WPARAM wParam,
                                           win32::LPARAM lParam) {
    auto found = SubclassedWindows().find(window);
    if (found == SubclassedWindows().end()) {
        return win32::DefWindowProcA(window, message, wParam, lParam);
    }
    const Subclassed entry = found->second;
    if (message == win32::WM_NCDESTROY) {
        SubclassedWindows().erase(found);
        if (entry.view != nullptr) {
            entry.view->m_window = nullptr;
        }
    } else if (entry.view != nullptr) {
        if (message == win32::WM_SIZE) {
            entry.view->Resize(win32::LOWORD(static_cast<win32::DWORD_PTR>(lParam)),
                               win32::HIWORD(static_cast<win32::DWORD_PTR>(lParam)));
        } else {
            entry.view->HandleInput(message, wParam, lParam);
        }
    }
    return win32::CallWindowProcA(entry.previous, window, message, wParam, lParam);
}

bool WebKitView::HandleInput(win32::UINT message, win32::WPARAM wParam, win32::LPARAM lParam) {
    const int x = win32::GET_X_LPARAM(lParam);
    const int y = win32::GET_Y_LPARAM(lParam);
    const unsigned state = ModifierState(wParam);
    switch (message) {
    case win32::WM_MOUSEMOVE:
        SendPointer(GDK_MOTION_NOTIFY, x, y, 0, state);
        return true;
    case win32::WM_LBUTTONDOWN:
    case win32::WM_MBUTTONDOWN:
    case win32::WM_RBUTTONDOWN: {
        // As a click into a page on Windows does, the click gives the view the keyboard.
        if (win32::GetFocus() != m_window) {
            win32::SetFocus(m_window);
        }
        const unsigned button = message == win32::WM_LBUTTONDOWN   ? 1
                                : message == win32::WM_MBUTTONDOWN ? 2
                                                                   : 3;
        SendPointer(GDK_BUTTON_PRESS, x, y, button, state);
        return true;
    }
    case win32::WM_LBUTTONUP:
    case win32::WM_MBUTTONUP:
    case win32::WM_RBUTTONUP: {
        const unsigned button = message == win32::WM_LBUTTONUP ? 1 : message == win32::WM_MBUTTONUP ? 2 : 3;
        SendPointer(GDK_BUTTON_RELEASE, x, y, button, state);
        return true;
    }
    case win32::WM_MOUSEWHEEL: {
        win32::RECT place{};
        win32::GetWindowRect(m_window, &place);
        SendScroll(x - place.left, y - place.top, static_cast<short>(win32::HIWORD(wParam)) > 0);
        return true;
    }
    case win32::WM_KEYDOWN:
    case win32::WM_KEYUP:
        if (const unsigned keyval = KeyvalOf(wParam)) {
            SendKey(message == win32::WM_KEYDOWN, keyval);
            return true;
        }
        return false;
    case win32::WM_CHAR: {
        const auto character = static_cast<unsigned char>(wParam);
        if (character < 0x20 || character == 0x7F) {
            return false;
        }
        const unsigned keyval = gdk_unicode_to_keyval(FromCodePage(character));
        SendKey(true, keyval);
        SendKey(false, keyval);
        return true;
    }
    case win32::WM_SETFOCUS:
    case win32::WM_KILLFOCUS:
        SendFocus(message == win32::WM_SETFOCUS);
        return true;
    default:
        return false;
    }
}

namespace {

// Fills what every pointer event of GDK's says: where, on which window, sent by us, now.
template <class PointerEvent>
void Place(PointerEvent& event, GdkWindow* target, int x, int y) {
    event.window = GDK_WINDOW(g_object_ref(target));
    event.send_event = TRUE;
    event.time = GDK_CURRENT_TIME;
    event.x = x;
    event.y = y;
    event.x_root = x;
    event.y_root = y;
}

} // namespace

void WebKitView::Dispatch(GdkEvent* event, bool pointer) {
    GdkSeat* seat = gdk_display_get_default_seat(gtk_widget_get_display(m_offscreen));
    gdk_event_set_device(event, pointer ? gdk_seat_get_pointer(seat) : gdk_seat_get_keyboard(seat));
    gtk_main_do_event(event);
    gdk_event_free(event);
}

void WebKitView::SendPointer(GdkEventType type, int x, int y, unsigned button, unsigned state) {
    GdkWindow* target = gtk_widget_get_window(GTK_WIDGET(m_view));
    if (target == nullptr) {
        return;
    }
    GdkEvent* event = gdk_event_new(type);
    const unsigned held = m_buttons | state;
    if (type == GDK_MOTION_NOTIFY) {
        Place(event->motion, target, x, y);
        event->motion.state = held;
    } else {
        Place(event->button, target, x, y);
        event->button.button = button;
        event->button.state = held;
        if (type == GDK_BUTTON_PRESS) {
            m_buttons |= ButtonMask(button);
        } else {
            m_buttons &= ~ButtonMask(button);
        }
    }
    Dispatch(event, true);
}

void WebKitView::SendScroll(int x, int y, bool up) {
    GdkWindow* target = gtk_widget_get_window(GTK_WIDGET(m_view));
    if (target == nullptr) {
        return;
    }
    GdkEvent* event = gdk_event_new(GDK_SCROLL);
    Place(event->scroll, target, x, y);
    event->scroll.direction = up ? GDK_SCROLL_UP : GDK_SCROLL_DOWN;
    Dispatch(event, true);
}

void WebKitView::SendKey(bool press, unsigned keyval) {
    GdkWindow* target = gtk_widget_get_window(GTK_WIDGET(m_view));
    if (target == nullptr) {
        return;
    }
    GdkEvent* event = gdk_event_new(press ? GDK_KEY_PRESS : GDK_KEY_RELEASE);
    event->key.window = GDK_WINDOW(g_object_ref(target));
    event->key.send_event = TRUE;
    event->key.time = GDK_CURRENT_TIME;
    event->key.keyval = keyval;
    event->key.string = g_strdup("");
    event->key.length = 0;
    GdkDisplay* display = gtk_widget_get_display(m_offscreen);
    GdkKeymapKey* keys = nullptr;
    gint count = 0;
    if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(display), keyval, &keys, &count) &&
        count > 0) {
        event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
        event->key.group = static_cast<guint8>(keys[0].group);
    }
    g_free(keys);
    Dispatch(event, false);
}

void WebKitView::SendFocus(bool in) {
    GdkWindow* target = gtk_widget_get_window(GTK_WIDGET(m_view));
    if (target == nullptr) {
        return;
    }
    if (in) {
        gtk_widget_grab_focus(GTK_WIDGET(m_view));
    }
    GdkEvent* event = gdk_event_new(GDK_FOCUS_CHANGE);
    event->focus_change.window = GDK_WINDOW(g_object_ref(target));
    event->focus_change.send_event = TRUE;
    event->focus_change.in = in ? TRUE : FALSE;
    gdk_event_set_device(
        event, gdk_seat_get_keyboard(gdk_display_get_default_seat(gtk_widget_get_display(m_offscreen))));
    gtk_widget_send_focus_change(GTK_WIDGET(m_view), event);
    gdk_event_free(event);
}

void WebKitView::Resize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == m_width && height == m_height) {
        return;
    }
    if (m_overlay != 0) {
        video::RemoveOverlay(m_overlay);
        m_overlay = 0;
    }
    m_width = width;
    m_height = height;
    const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    m_drawn.assign(size, 0);
    m_shown.assign(size, 0);
    gtk_widget_set_size_request(GTK_WIDGET(m_view), width, height);
    gtk_window_resize(GTK_WINDOW(m_offscreen), width, height);
    m_damaged = true;
}

void WebKitView::DrawFrame() {
    if (!m_damaged || m_offscreen == nullptr || m_window == nullptr) {
        return;
    }
    m_damaged = false;
    const int stride = m_width * 4;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(m_drawn.data()), CAIRO_FORMAT_RGB24, m_width, m_height, stride);
    cairo_t* cairo = cairo_create(surface);
    gtk_widget_draw(m_offscreen, cairo);
    cairo_destroy(cairo);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    m_drawnSinceCommit = true;
    if (m_overlay != 0 && m_drawn == m_shown) {
        return;
    }
    {
        auto guard = video::OverlayLock();
        m_shown = m_drawn;
    }
    video::Overlay overlay;
    overlay.window = m_window;
    overlay.dest = win32::RECT{0, 0, m_width, m_height};
    overlay.width = m_width;
    overlay.height = m_height;
    overlay.pitch = stride;
    overlay.pixels = m_shown.data();
    if (m_overlay == 0 || !video::UpdateOverlay(m_overlay, overlay)) {
        m_overlay = video::AddOverlay(overlay);
    }
}

void WebKitView::Load(const std::string& address) {
    m_loading = true;
    webkit_web_view_load_uri(m_view, address.c_str());
}

void WebKitView::GoBack() {
    if (webkit_web_view_can_go_back(m_view)) {
        m_loading = true;
        webkit_web_view_go_back(m_view);
    }
}

void WebKitView::GoForward() {
    if (webkit_web_view_can_go_forward(m_view)) {
        m_loading = true;
        webkit_web_view_go_forward(m_view);
    }
}

void WebKitView::Stop() {
    webkit_web_view_stop_loading(m_view);
}

void WebKitView::Reload() {
    if (webkit_web_view_get_uri(m_view) != nullptr) {
        m_loading = true;
        webkit_web_view_reload(m_view);
    }
}

void WebKitView::RunScript(const std::string& script) {
    webkit_web_view_evaluate_javascript(m_view, script.c_str(), -1, nullptr, nullptr, nullptr, nullptr,
                                        nullptr);
}

void WebKitView::SetPageBusy(bool busy) {
    if (m_pageBusy && !busy) {
        // What the page loaded last settles as a page's own load does.
        m_finishedAt = std::chrono::steady_clock::now();
        m_lastDamage = m_finishedAt;
    }
    m_pageBusy = busy;
}

bool WebKitView::Busy() const {
    if (m_loading || m_pageBusy || m_damaged || !m_drawnSinceCommit) {
        return true;
    }
    const auto now = std::chrono::steady_clock::now();
    return now - m_finishedAt < kLongestSettling && now - m_lastDamage < kStill;
}

void WebKitView::Tell(std::function<void()> event) {
    if (event) {
        m_told.push_back(std::move(event));
    }
}

bool WebKitView::TakeEvent(std::function<void()>& event) {
    if (m_told.empty()) {
        return false;
    }
    event = std::move(m_told.front());
    m_told.pop_front();
    return true;
}

gboolean WebKitView::OnDamage(GtkWidget*, GdkEvent*, gpointer self) {
    auto* me = static_cast<WebKitView*>(self);
    me->m_damaged = true;
    me->m_lastDamage = std::chrono::steady_clock::now();
    return FALSE;
}

void WebKitView::OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self) {
    auto* me = static_cast<WebKitView*>(self);
    switch (event) {
    case WEBKIT_LOAD_STARTED:
        me->m_loading = true;
        me->m_failed = false;
        me->Tell(me->m_events.loadStarted);
        break;
    case WEBKIT_LOAD_COMMITTED: {
        me->m_drawnSinceCommit = false;
        const gchar* uri = webkit_web_view_get_uri(view);
        if (me->m_events.navigated) {
            me->Tell([handler = me->m_events.navigated, address = std::string(uri != nullptr ? uri : "")] {
                handler(address);
            });
        }
        break;
    }
    case WEBKIT_LOAD_FINISHED:
        me->m_loading = false;
        me->m_finishedAt = std::chrono::steady_clock::now();
        me->m_lastDamage = me->m_finishedAt;
        if (me->m_events.loadFinished) {
            me->Tell(
                [handler = me->m_events.loadFinished, succeeded = !me->m_failed] { handler(succeeded); });
        }
        me->m_failed = false;
        break;
    default:
        break;
    }
}

gboolean WebKitView::OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error, gpointer self) {
    auto* me = static_cast<WebKitView*>(self);
    me->m_failed = true;
    const bool stopped = g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
                         g_error_matches(error, WEBKIT_POLICY_ERROR,
                                         WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE);
    // Our scheme's files said what kept them from being read as the engine asked for them.
    const bool said = uri != nullptr && SchemeOf(uri) == kScheme;
    if (!stopped && !said) {
        std::fprintf(stderr, "web view: the page %s cannot be shown: %s\n", uri != nullptr ? uri : "",
                     error != nullptr ? error->message : "the engine gives no reason");
    }
    // No error page of the engine's own: it would be a load of its own, with events of its own.
    return TRUE;
}

gboolean WebKitView::OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                    WebKitPolicyDecisionType type, gpointer self) {
    auto* me = static_cast<WebKitView*>(self);
    if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
        // What the engine cannot show would become a download of a file to the disk.
        if (!webkit_response_policy_decision_is_mime_type_supported(
                WEBKIT_RESPONSE_POLICY_DECISION(decision))) {
            WebKitURIResponse* response =
                webkit_response_policy_decision_get_response(WEBKIT_RESPONSE_POLICY_DECISION(decision));
            std::fprintf(stderr, "web view: %s is not shown: the engine cannot show %s\n",
                         webkit_uri_response_get_uri(response), webkit_uri_response_get_mime_type(response));
            webkit_policy_decision_ignore(decision);
            return TRUE;
        }
        return FALSE;
    }
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    const gchar* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    const std::string address = uri != nullptr ? uri : "";
    if (!AllowedScheme(address)) {
        std::fprintf(stderr,
                     "web view: the address %s is refused: only http, https, about and the title's own files "
                     "are opened\n",
                     address.c_str());
        webkit_policy_decision_ignore(decision);
        // A refused load asked for by the title still ends, as a failed one.
        if (me->m_loading && webkit_web_view_is_loading(view) == FALSE) {
            me->m_loading = false;
        }
        return TRUE;
    }
    if (type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
        // There is no other window to open: the page opens in this view.
        webkit_policy_decision_ignore(decision);
        webkit_web_view_load_uri(view, address.c_str());
        return TRUE;
    }
    webkit_policy_decision_use(decision);
    return TRUE;
}

void WebKitView::OnScriptMessage(WebKitUserContentManager*, WebKitJavascriptResult* result, gpointer link) {
    const auto* handler = static_cast<const HandlerLink*>(link);
    WebKitView* me = handler->view;
    if (handler->name == kCloseHandler) {
        me->Tell(me->m_events.closeRequested);
        return;
    }
    if (!me->m_events.scriptMessage) {
        return;
    }
    gchar* json = jsc_value_to_json(webkit_javascript_result_get_js_value(result), 0);
    std::string text = json != nullptr ? json : "null";
    g_free(json);
    me->Tell([event = me->m_events.scriptMessage, name = handler->name, text] { event(name, text); });
}

void WebKitView::OnWebProcessTerminated(WebKitWebView*, WebKitWebProcessTerminationReason reason,
                                        gpointer self) {
    auto* me = static_cast<WebKitView*>(self);
    std::fprintf(stderr, "web view: the engine's web process %s; the page is gone\n",
                 reason == WEBKIT_WEB_PROCESS_CRASHED ? "crashed" : "ran out of memory");
    if (me->m_loading) {
        me->m_loading = false;
        if (me->m_events.loadFinished) {
            me->Tell([handler = me->m_events.loadFinished] { handler(false); });
        }
    }
}

} // namespace web
