// The scripted object of class word "Viewport": the one window or full screen on which the whole title is
// drawn. It is at once the control manager of the title's controls and the viewport that shows them. It reads
// its display wishes from its script section ("Title", "Position", "Size", "Depth", "Fullscreen"), opens the
// display trying the other depths when one is refused, turns the window's events into a queue of Event
// records that it drains once per frame (ProcessEvents), and draws each frame (DrawFrame): the dirty part of
// the control tree into the back buffer, then only that part copied to the screen.
//
// The application calls, once per input step and once per drawing frame:
//
//     viewport->ProcessEvents();   // the window's events since the last call, to the controls
//     viewport->DrawFrame(true);   // what changed, drawn and shown
//
// The lock guards drawing and the event queue's drain; it is recursive for its owning thread, so a modal
// message box that runs its own message loop inside a control's reaction (and so reaches OnPaint) does not
// deadlock. The window's event handler appends to the queue without it, on the main thread.
//
// Every failure reports the messenger module's generic failure code, except a display that accepts none of
// the depths tried (kErrorOpen); a lock that cannot be made fails without a report.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/Viewport.h"
#include "foundation/BasicDeque.h"
#include "foundation/Mutex.h"
#include "foundation/Rect.h"
#include "resources/error/ErrorFacilities.h"
#include "runtime/screen/ControlManager.h"
#include "script/Fragment.h"

#include <atomic>
#include <cstdint>

class MessengerViewportEventHandler;

namespace Vemo {
class Graphic;
struct ViewportDescription;
} // namespace Vemo

class MessengerViewport : public ControlManager, public Vemo::Viewport {
public:
    // One window event, the same record for every kind; the fields a kind does not use are zero.
    struct Event {
        enum Kind : std::uint32_t { kMouseMove = 0, kMouseButton = 1, kKey = 2, kCharacter = 3, kFocus = 4 };

        std::uint32_t kind = kMouseMove;
        // The pointer in client coordinates (kinds 0 and 1).
        std::int32_t x = 0;
        std::int32_t y = 0;
        // 0 left, 1 right, 2 middle (kind 1).
        std::uint32_t button = 0;
        // The DirectInput key code (kind 2).
        std::uint32_t scanCode = 0;
        std::uint8_t character = 0;
        // Button or key pressed (kinds 1 and 2).
        std::uint8_t down = 0;
        // Kind 1: a double click; kinds 2 and 3: auto-repeat.
        std::uint8_t repeat = 0;
        // Kind 4: the window lost the keyboard focus (else it gained it).
        std::uint8_t lost = 0;
    };

    // The display accepts none of the depths tried.
    static constexpr Vemo::ErrorCode kErrorOpen = Vemo::MakeErrorCode(Vemo::kMessengerViewportFacility, 1);

    MessengerViewport(const Vemo::String& name, Messenger* owner, Script* script);
    // Lets go of the event handler, the graphics and the display (its window goes), then the control tree.
    ~MessengerViewport() override;

    Vemo::String GetClassName() const override;
    // The control manager's part and the lock; with a script, the display as its section describes it.
    bool ReadScript() override;
    // Opens the display, registers the event handler with its window, opens the screen and back buffer
    // graphics, prepares the controls for the display's pixel format and gives the root control the
    // viewport's size.
    bool Open(const Vemo::ViewportDescription& description,
              std::uint32_t engineId = Vemo::kGraphicTypeId) override;

    // Draws the dirty area of the control tree into the back buffer and copies what changed to the screen.
    // The title's own cursor is drawn over the controls when drawCursor is set, once the viewport has one.
    virtual void DrawFrame(bool drawCursor);
    // Hands every queued event to the control manager, the events that arrive meanwhile included; with no
    // mouse event among them, a move to the last mouse position, so that hover follows controls that moved
    // under a still pointer.
    virtual void ProcessEvents();
    // Counts the nesting of busy periods around long operations. The outermost one, while the title's cursor
    // shows, turns it into the busy animation ("Count") and starts the busy thread, which animates it on the
    // screen until the count is back at 0.
    virtual void SetBusy(bool busy);
    // Asks every control (0 suspend query, 1 suspend query refused, 2 suspend, 3 resumed, 4 power status
    // changed, 5 OEM event); true only when all agreed.
    virtual bool PowerEvent(unsigned code);
    // One step of the busy cursor, on the busy thread: the cursor follows the pointer and is drawn again on
    // the screen, where the area it covered before is restored from the back buffer. Skipped while the
    // main thread holds the lock, and once the viewport is no longer busy.
    virtual void StepBusyCursor();

    // The window asks to close: the title ends through the application's shut-down, never by its window
    // being destroyed.
    void OnClose(bool* allowClose) override;
    // Repaints the area from the back buffer.
    void OnPaint(Vemo::Rect* area, bool* handled) override;
    void OnRestored(bool succeeded) override;
    // The display's format changed: the controls are prepared for it and everything is drawn again.
    void OnStyleChanged() override;

    // For the event handler: appends an event to the queue.
    void QueueEvent(const Event& event) { m_events.PushBack(event); }
    const Vemo::BasicDeque<Event>& GetEvents() const { return m_events; }
    MessengerViewportEventHandler* GetEventHandler() const { return m_eventHandler; }
    // The window has the keyboard focus, as the focus events said.
    bool HasFocus() const { return m_hasFocus != 0; }
    // The pointer was inside the client area at the last check.
    bool IsPointerInside() const { return m_pointerInside != 0; }
    void SetPointerInside(bool inside) { m_pointerInside = inside ? 1 : 0; }
    std::uint32_t GetBusyCount() const { return m_busyCount; }
    // Where the cursor was drawn into the back buffer in the last frame, and on the screen by the last busy
    // step.
    const Vemo::Rect& GetCursorRect() const { return m_cursorRect; }
    const Vemo::Rect& GetBusyCursorRect() const { return m_busyCursorRect; }

    class BusyTask;
    // The busy thread's task while it runs, else null.
    BusyTask* GetBusyTask() const { return m_busyTask; }

    static const Vemo::String& ClassWord();
    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);

private:
    bool ReadDescription(Vemo::ViewportDescription& description, bool& preferSpeed);
    // Tries the depth asked for and then the others in the fallback order.
    bool OpenDisplay(Vemo::ViewportDescription& description, bool preferSpeed);
    bool OpenParts(const Vemo::ViewportDescription& description);
    void CloseParts();
    // Copies an area of the back buffer to the screen.
    bool Show(const Vemo::Rect& area);
    bool ReadCursor(const Vemo::BasicArray<Fragment>& value);
    // The busy thread is told to end, waited for and deleted.
    void StopBusyTask();

    Vemo::BasicDeque<Event> m_events;
    MessengerViewportEventHandler* m_eventHandler = nullptr;
    Vemo::Graphic* m_screen = nullptr;
    Vemo::Graphic* m_backBuffer = nullptr;
    std::uint8_t m_hasFocus = 0;
    std::uint8_t m_pointerInside = 0;
    // Where the cursor was drawn into the back buffer in the last frame; empty while it was not.
    Vemo::Rect m_cursorRect;
    // Whether the last frame drew only the place of a cursor that stood still, over nothing that changed.
    bool m_stillCursorDrawn = false;
    // Read by the busy thread.
    std::atomic<std::uint32_t> m_busyCount{0};
    BusyTask* m_busyTask = nullptr;
    Vemo::Rect m_busyCursorRect;
    Vemo::Mutex m_lock;
};
