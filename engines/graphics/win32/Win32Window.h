// The framework's object for one native window or modeless dialog. It draws nothing: it keeps an ordered list
// of event handlers and turns every window message into one handler operation called on each of them, in the
// order they were added. The Win32 engine hook creates and destroys the native window; the shared window
// procedure hands the window its messages.
//
// Windows and handlers are told apart by serial numbers. Handlers may be added, removed or destroyed while a
// message is being dispatched: each message goes to the handlers attached when it arrived, in order, skipping
// any that has left meanwhile; one added meanwhile first sees the next message.
#pragma once

#include "engines/graphics/win32/Win32WindowEventHandler.h"
#include "foundation/BasicList.h"
#include "foundation/Rect.h"
#include "foundation/String.h"
#include "platform/win32/windows/Window.h"
#include "resources/hooks/Win32HookWindow.h"
#include "resources/hooks/Win32WindowProcedure.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace Vemo {

class Win32Window : public Win32HookWindow {
public:
    // The procedures of the framework's window class and dialogs.
    static constexpr win32::WNDPROC WindowProcedure = &Win32WindowProcedure;
    static constexpr win32::DLGPROC DialogProcedure = &Win32DialogProcedure;

    Win32Window();
    // Destroys a remaining native window (through the hook when one is installed) and detaches every handler.
    ~Win32Window() override;

    // The creation values go unchanged to the Win32 engine hook's CreateWindow.
    virtual bool Create(const String& caption, const Point* position, const Size* size, bool positionIsClient,
                        bool sizeIsClient, std::uint32_t exStyle, std::uint32_t style, Win32Window* parent,
                        win32::HMENU menu, bool show, bool bringToFront);
    virtual bool CreateDialog(std::uint16_t templateId, Win32Window* parent, bool show, bool bringToFront);
    // A handler may delete the window while its WM_DESTROY is handled: the window's destructor then leaves
    // the hook, and what remains of Destroy touches the object no more.
    virtual bool Destroy();
    win32::LRESULT HandleMessage(win32::HWND window, win32::UINT message, win32::WPARAM first,
                                 win32::LPARAM second, bool callDefault) override;
    // Appends the handler (taking it from the window it was attached to, this one included); returns the new
    // number of handlers.
    virtual std::size_t AddEventHandler(Win32WindowEventHandler* handler);
    virtual void RemoveEventHandler(Win32WindowEventHandler* handler);
    virtual bool HasEventHandler(const Win32WindowEventHandler* handler) const;

    std::uint32_t GetSerial() const override { return m_serial; }
    win32::HWND GetWindowHandle() const override { return m_window; }
    bool IsCreated() const { return m_created; }
    std::size_t GetEventHandlerCount() const { return m_handlers.Size(); }

protected:
    // Reads false once this window object is gone: a caller whose call may have let a handler delete the
    // window (a Destroy whose WM_DESTROY it hears) asks it before touching the window again.
    std::shared_ptr<const bool> LifeToken() const { return m_alive; }

private:
    // What the window answers to a message itself; none: default processing.
    using Answer = std::optional<win32::LRESULT>;
    // What the handlers said to a question each of them answers: whether all and whether any said yes (with
    // no handler, all did and none did), and whether this window outlived the asking.
    struct Agreement {
        bool alive = true;
        bool all = true;
        bool any = false;
    };

    Win32WindowEventHandler* FindHandler(std::uint32_t serial) const;
    // Calls the operation on every handler attached now; false when this window was destroyed meanwhile.
    template <class Call>
    bool ForEachHandler(Call call);
    template <class Ask>
    Agreement AskHandlers(Ask ask);
    Answer Dispatch(win32::HWND window, win32::UINT message, win32::WPARAM first, win32::LPARAM second);
    // WM_CREATE and WM_INITDIALOG: every handler must agree; the window learns its handle.
    Answer DispatchCreation(win32::HWND window, win32::UINT message, win32::WPARAM first,
                            win32::LPARAM second);
    Answer DispatchControlColor(win32::UINT message, win32::WPARAM first, win32::LPARAM second);
    // The messages whose handlers' answers count for nothing; false for any other message.
    bool Notify(win32::UINT message, win32::WPARAM first, win32::LPARAM second);
    // The messages no operation names, by their range.
    void NotifyRange(win32::HWND window, win32::UINT message, win32::WPARAM first, win32::LPARAM second);
    void Destroyed();

    BasicList<Win32WindowEventHandler*> m_handlers;
    std::uint32_t m_serial;
    win32::HWND m_window = nullptr;
    bool m_created = false;
    // Cleared when the window object goes away, so that a dispatch running when a handler deletes the window
    // stops touching it.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace Vemo
