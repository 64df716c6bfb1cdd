#include "platform/testing/WindowTesting.h"

#include "platform/directx/DirectInputHost.h"
#include "platform/video/HeadlessVideoBackend.h"
#include "platform/video/SdlVideoBackend.h"
#include "platform/win32/input/HostEvents.h"
#include "platform/win32/kernel/Power.h"
#include "platform/win32/windows/MessageQueue.h"
#include "platform/win32/windows/SystemKeys.h"
#include "platform/win32/windows/WindowActions.h"
#include "platform/win32/windows/WindowClass.h"
#include "platform/win32/windows/WindowObject.h"
#include "platform/win32/windows/WindowSystem.h"

#include <algorithm>
#include <cstdlib>

namespace win32::testing {

namespace {

host::MouseButton HostButton(MouseButton button) {
    switch (button) {
    case MouseButton::Right:
        return host::MouseButton::Right;
    case MouseButton::Middle:
        return host::MouseButton::Middle;
    default:
        return host::MouseButton::Left;
    }
}

RECT Offset(RECT rect, LONG dx, LONG dy) {
    return RECT{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

} // namespace

bool UseVideoBackend(VideoBackendKind kind) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    if (kind == VideoBackendKind::Headless) {
        system.ReplaceBackend(std::make_unique<video::HeadlessVideoBackend>());
        return true;
    }
    system.ReplaceBackend(nullptr);
    auto sdl = std::make_unique<video::SdlVideoBackend>();
    bool started = sdl->Started();
    system.ReplaceBackend(std::move(sdl));
    return started;
}

bool SetDesktopSize(int width, int height, int bitsPerPixel) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    if (auto* headless = dynamic_cast<video::HeadlessVideoBackend*>(&system.Backend())) {
        headless->SetDesktopSize(SIZE{width, height});
    }
    return system.Backend().SetDesktopBitsPerPixel(bitsPerPixel);
}

void RefuseDisplayDepth(int bitsPerPixel, bool refuse) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    system.Backend().RefuseDepth(bitsPerPixel, refuse);
}

std::size_t LiveWindowCount() {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    return system.Windows().size();
}

void MoveMouse(HWND topLevel, int x, int y) {
    host::MouseMoved(topLevel, x, y);
}

void PressMouse(HWND topLevel, MouseButton button, int x, int y, int clickCount) {
    host::MouseMoved(topLevel, x, y);
    host::MouseButtonChanged(topLevel, HostButton(button), true, x, y, clickCount);
}

void ReleaseMouse(HWND topLevel, MouseButton button, int x, int y) {
    host::MouseButtonChanged(topLevel, HostButton(button), false, x, y, 1);
}

void Click(HWND topLevel, MouseButton button, int x, int y, int clickCount) {
    PressMouse(topLevel, button, x, y, clickCount);
    ReleaseMouse(topLevel, button, x, y);
}

void PressKey(BYTE virtualKey, HWND topLevel, bool repeat) {
    host::VirtualKeyChanged(topLevel, virtualKey, true, repeat);
}

void ReleaseKey(BYTE virtualKey, HWND topLevel) {
    host::VirtualKeyChanged(topLevel, virtualKey, false, false);
}

void TypeKey(BYTE virtualKey, HWND topLevel) {
    PressKey(virtualKey, topLevel);
    ReleaseKey(virtualKey, topLevel);
}

void MovePointerTo(int screenX, int screenY) {
    host::PointerMoved(screenX, screenY);
}

void TakeCaptureAway() {
    HWND previous = nullptr;
    ChangeCapture(nullptr, previous);
}

void ReleaseAllInput() {
    TakeCaptureAway();
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    system.asyncKeys.fill(0);
    dinput::host::ReleaseAll();
    // Off every window, so that the next mouse input is a move wherever it is.
    system.cursor = POINT{-1, -1};
    if (MessageQueue* queue = MessageQueue::CurrentIfAny()) {
        queue->KeyState().fill(0);
    }
}

void TurnMouseWheel(HWND topLevel, int notches) {
    host::MouseWheelTurned(topLevel, notches * WHEEL_DELTA);
}

void HostMoves(HWND topLevel, int clientX, int clientY) {
    host::Moved(topLevel, clientX, clientY);
}
void HostResizes(HWND topLevel, int clientWidth, int clientHeight) {
    host::Resized(topLevel, clientWidth, clientHeight);
}
void HostMinimizes(HWND topLevel) {
    host::Minimized(topLevel);
}
void HostMaximizes(HWND topLevel) {
    host::Maximized(topLevel);
}
void HostRestores(HWND topLevel) {
    host::Restored(topLevel);
}
void HostFocuses(HWND topLevel) {
    host::FocusGained(topLevel);
}
void HostUnfocuses(HWND topLevel) {
    host::FocusLost(topLevel);
}
void HostCloses(HWND topLevel) {
    host::CloseRequested(topLevel);
}
void HostExposes(HWND topLevel) {
    host::Exposed(topLevel);
}

namespace {

// The answer of every top-level window to the message, in creation order.
std::vector<LRESULT> SendToTopLevelWindows(UINT message, WPARAM wParam, LPARAM lParam) {
    std::vector<LRESULT> answers;
    for (HWND window : LiveTopLevelWindows()) {
        answers.push_back(SendMessageA(window, message, wParam, lParam));
    }
    return answers;
}

LRESULT AnyAnswer(const std::vector<LRESULT>& answers, LRESULT refusal, LRESULT agreement) {
    return std::find(answers.begin(), answers.end(), refusal) != answers.end() ? refusal : agreement;
}

} // namespace

LRESULT SendPower(WPARAM event) {
    return AnyAnswer(SendToTopLevelWindows(WM_POWER, event, 0), PWR_FAIL, PWR_OK);
}

LRESULT SendPowerBroadcast(WPARAM event, LPARAM data) {
    return AnyAnswer(SendToTopLevelWindows(WM_POWERBROADCAST, event, data), BROADCAST_QUERY_DENY, TRUE);
}

std::size_t WindowMenuRequests() {
    return win32::WindowMenuRequests();
}

std::vector<MSG> QueuedMessages() {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    MessageQueue* queue = MessageQueue::CurrentIfAny();
    if (queue == nullptr) {
        return {};
    }
    std::deque<MSG> messages = queue->Snapshot();
    return std::vector<MSG>(messages.begin(), messages.end());
}

bool QuitPending() {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    MessageQueue* queue = MessageQueue::CurrentIfAny();
    return queue != nullptr && queue->QuitPending();
}

WindowState GetWindowState(HWND window) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    WindowState state;
    WindowObject* object = system.Find(window, false);
    if (object == nullptr) {
        return state;
    }
    state.exists = true;
    state.text = object->text;
    state.className = object->windowClass->name;
    POINT clientOrigin = system.ClientOrigin(*object);
    RECT client = object->ClientRect();
    state.rect = WindowRectOnScreen(system, *object);
    state.clientRect = Offset(client, clientOrigin.x - client.left, clientOrigin.y - client.top);
    state.visible = object->visible;
    state.minimized = object->placement == WindowObject::Placement::Minimized;
    state.maximized = object->placement == WindowObject::Placement::Maximized;
    state.needsPaint = object->needsPaint;
    state.isDialog = object->isDialog;
    state.hasNativeWindow = object->native;
    state.parent = object->parent;
    state.style = object->style;
    state.exStyle = object->exStyle;
    return state;
}

HWND ActiveWindow() {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    return system.active;
}

HWND FocusWindow() {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    return system.focus;
}

BYTE QueueKeyState(BYTE virtualKey) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    MessageQueue* queue = MessageQueue::CurrentIfAny();
    return queue != nullptr ? queue->KeyState()[virtualKey] : 0;
}

std::uint32_t SdlWindowId(HWND window) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    auto* sdl = dynamic_cast<video::SdlVideoBackend*>(system.BackendIfChosen());
    if (sdl == nullptr) {
        return 0;
    }
    SDL_Window* native = sdl->WindowFor(window);
    return native != nullptr ? SDL_GetWindowID(native) : 0;
}

bool UseDummySdlBackend() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    return UseVideoBackend(VideoBackendKind::Sdl);
}

bool PushSdlClick(HWND topLevel, MouseButton button, int x, int y) {
    std::uint32_t windowId = SdlWindowId(topLevel);
    if (windowId == 0) {
        return false;
    }
    Uint8 sdlButton = button == MouseButton::Right    ? SDL_BUTTON_RIGHT
                      : button == MouseButton::Middle ? SDL_BUTTON_MIDDLE
                                                      : SDL_BUTTON_LEFT;
    for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        SDL_Event event{};
        event.type = type;
        event.button.windowID = windowId;
        event.button.button = sdlButton;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = 1;
        event.button.x = x;
        event.button.y = y;
        if (SDL_PushEvent(&event) != 1) {
            return false;
        }
    }
    return true;
}

namespace {

// An SDL event for the real window behind the top-level window, filled in by fill, put into SDL's queue.
template <class Fill>
bool PushSdlEvent(HWND topLevel, Uint32 type, Fill fill) {
    std::uint32_t windowId = SdlWindowId(topLevel);
    if (windowId == 0) {
        return false;
    }
    SDL_Event event{};
    event.type = type;
    fill(event, windowId);
    return SDL_PushEvent(&event) == 1;
}

} // namespace

bool PushSdlMouseMotion(HWND topLevel, int x, int y) {
    return PushSdlEvent(topLevel, SDL_MOUSEMOTION, [&](SDL_Event& event, std::uint32_t windowId) {
        event.motion.windowID = windowId;
        event.motion.x = x;
        event.motion.y = y;
    });
}

bool PushSdlWheel(HWND topLevel, int notches) {
    return PushSdlEvent(topLevel, SDL_MOUSEWHEEL, [&](SDL_Event& event, std::uint32_t windowId) {
        event.wheel.windowID = windowId;
        event.wheel.y = notches;
        event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    });
}

bool PushSdlKey(HWND topLevel, int usage, bool down) {
    return PushSdlEvent(topLevel, down ? SDL_KEYDOWN : SDL_KEYUP,
                        [&](SDL_Event& event, std::uint32_t windowId) {
                            event.key.windowID = windowId;
                            event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
                            event.key.keysym.scancode = static_cast<SDL_Scancode>(usage);
                            event.key.keysym.sym = SDL_GetKeyFromScancode(event.key.keysym.scancode);
                        });
}

} // namespace win32::testing
