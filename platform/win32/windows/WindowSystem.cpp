#include "platform/win32/windows/WindowSystem.h"

#include "platform/video/FrameStore.h"
#include "platform/video/VideoBackend.h"
#include "platform/win32/LastError.h"
#include "platform/win32/windows/MessageQueue.h"
#include "platform/win32/windows/WindowClass.h"
#include "platform/win32/windows/WindowObject.h"

#include <strings.h>

namespace win32 {

WindowSystem& WindowSystem::Instance() {
    // Never destroyed: exit-time destructors of other objects may still destroy their windows.
    static WindowSystem* system = new WindowSystem;
    return *system;
}

WindowObject* WindowSystem::Find(HWND window, bool setError) {
    auto found = m_windows.find(reinterpret_cast<std::uintptr_t>(window));
    if (found == m_windows.end()) {
        if (setError) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        }
        return nullptr;
    }
    return found->second.get();
}

WindowObject& WindowSystem::Add(std::unique_ptr<WindowObject> window) {
    WindowObject& added = *window;
    video::FrameStore::Instance().Open(window->handle);
    m_windows.emplace(reinterpret_cast<std::uintptr_t>(window->handle), std::move(window));
    return added;
}

void WindowSystem::Remove(HWND window) {
    m_windows.erase(reinterpret_cast<std::uintptr_t>(window));
}

void WindowSystem::Forget(HWND window) {
    WindowObject* object = Find(window, false);
    if (object == nullptr) {
        return;
    }
    if (object->native && m_backend != nullptr) {
        m_backend->DestroyNative(window);
    }
    video::FrameStore::Instance().Forget(window);
    object->queue->Purge(window);
    object->windowClass->windowCount--;
    if (active == window) {
        active = nullptr;
    }
    if (focus == window) {
        focus = nullptr;
    }
    Remove(window);
}

HWND WindowSystem::NewHandle() {
    // Even values from a counter that only grows, so that a stale handle never names a newer window.
    HWND handle = reinterpret_cast<HWND>(m_nextHandle);
    m_nextHandle += 2;
    return handle;
}

std::vector<WindowObject*> WindowSystem::Windows() {
    std::vector<WindowObject*> windows;
    windows.reserve(m_windows.size());
    for (auto& [value, window] : m_windows) {
        windows.push_back(window.get());
    }
    return windows;
}

std::vector<HWND> WindowSystem::ChildrenOf(HWND window) {
    std::vector<HWND> children;
    for (auto& [value, child] : m_windows) {
        if (child->IsChild() && child->parent == window) {
            children.push_back(child->handle);
        }
    }
    return children;
}

std::vector<HWND> WindowSystem::OwnedBy(HWND window) {
    std::vector<HWND> owned;
    for (auto& [value, other] : m_windows) {
        if (!other->IsChild() && other->parent == window) {
            owned.push_back(other->handle);
        }
    }
    return owned;
}

bool WindowSystem::IsSelfOrDescendant(HWND window, HWND ancestor) {
    while (window != nullptr) {
        if (window == ancestor) {
            return true;
        }
        WindowObject* object = Find(window, false);
        if (object == nullptr || !object->IsChild()) {
            return false;
        }
        window = object->parent;
    }
    return false;
}

POINT WindowSystem::ClientOrigin(const WindowObject& window) {
    RECT client = window.ClientRect();
    POINT origin{client.left, client.top};
    if (window.IsChild()) {
        if (WindowObject* parent = Find(window.parent, false)) {
            POINT parentOrigin = ClientOrigin(*parent);
            origin.x += parentOrigin.x;
            origin.y += parentOrigin.y;
        }
    }
    return origin;
}

HWND WindowSystem::TopLevelOf(HWND window) {
    WindowObject* object = Find(window, false);
    while (object != nullptr && object->IsChild()) {
        WindowObject* parent = Find(object->parent, false);
        if (parent == nullptr) {
            break;
        }
        object = parent;
    }
    return object != nullptr ? object->handle : nullptr;
}

HWND WindowSystem::MainWindowOf(std::thread::id thread) {
    for (WindowObject* window : Windows()) {
        if (!window->IsChild() && window->parent == nullptr && window->visible && window->created &&
            !window->destroying && window->queue->Owner() == thread) {
            return window->handle;
        }
    }
    return nullptr;
}

std::shared_ptr<WindowClass> WindowSystem::FindClass(LPCSTR name, HINSTANCE instance) {
    if (name == nullptr) {
        return nullptr;
    }
    std::shared_ptr<WindowClass> anyInstance;
    for (auto& windowClass : m_classes) {
        bool matches = IS_INTRESOURCE(name)
                           ? windowClass->atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name))
                           : strcasecmp(windowClass->name.c_str(), name) == 0;
        if (!matches) {
            continue;
        }
        // The class of the module asked for wins over a class of the same name from another module.
        if (windowClass->instance == instance) {
            return windowClass;
        }
        if (anyInstance == nullptr) {
            anyInstance = windowClass;
        }
    }
    return anyInstance;
}

std::shared_ptr<WindowClass> WindowSystem::BuiltInClass(const char* name, WNDPROC procedure, UINT style,
                                                        int extraSlots) {
    for (const auto& windowClass : m_classes) {
        if (windowClass->procedure == procedure) {
            return windowClass;
        }
    }
    auto made = std::make_shared<WindowClass>();
    made->name = name;
    made->atom = NewAtom();
    made->style = style;
    made->procedure = procedure;
    made->extraSlots = extraSlots;
    m_classes.push_back(made);
    return made;
}

ATOM WindowSystem::NewAtom() {
    ATOM atom = m_nextAtom;
    m_nextAtom = m_nextAtom == 0xFFFF ? 0xC000 : static_cast<ATOM>(m_nextAtom + 1);
    return atom;
}

video::VideoBackend& WindowSystem::Backend() {
    if (m_backend == nullptr) {
        m_backend = video::MakeVideoBackend();
    }
    return *m_backend;
}

void WindowSystem::ReplaceBackend(std::unique_ptr<video::VideoBackend> backend) {
    m_backend.reset();
    pointerHidden = false;
    m_backend = std::move(backend);
}

} // namespace win32
