#include "runtime/screen/MessengerViewport.h"

#include "engines/graphics/DepthCode.h"
#include "engines/graphics/Graphic.h"
#include "engines/graphics/ViewportDescription.h"
#include "engines/graphics/directx/DirectXViewportHandle.h"
#include "platform/win32/desktop/DisplaySettings.h"
#include "resources/error/Error.h"
#include "runtime/SectionKeys.h"
#include "runtime/screen/Control.h"
#include "runtime/screen/Cursor.h"
#include "runtime/screen/MessengerViewportBusyTask.h"
#include "runtime/screen/MessengerViewportEventHandler.h"
#include "script/Application.h"
#include "script/FragmentStream.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

namespace {

const MessengerFactory::Registrar g_viewportRegistrar(MessengerViewport::ClassWord(),
                                                      &MessengerViewport::Create);

constexpr std::uint32_t kCopy = 3;
constexpr unsigned kCursorFramesPerSecond = 40;
constexpr Vemo::DepthCode kDepth16 = 5;
constexpr Vemo::DepthCode kDepth24 = 6;
constexpr Vemo::DepthCode kDepth32 = 7;

bool Fail() {
    RaiseError(Control::kErrorFailure);
    return false;
}

// Holds the viewport's lock for a scope; a lock that was never made guards nothing.
class Locked {
public:
    explicit Locked(Vemo::Mutex& lock) : m_lock(lock), m_held(lock.Lock(true)) {}
    ~Locked() {
        if (m_held) {
            m_lock.Unlock();
        }
    }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    Vemo::Mutex& m_lock;
    bool m_held;
};

// Reads an optional flag that follows two numbers.
void ReadTrailingFlag(FragmentStream& stream, bool& flag) {
    if (!stream.AtEnd()) {
        stream >> flag;
    }
}

} // namespace

MessengerViewport::MessengerViewport(const Vemo::String& name, Messenger* owner, Script* script)
    : ControlManager(name, owner, script) {}

MessengerViewport::~MessengerViewport() {
    StopBusyTask();
    CloseParts();
    // While the manager part is whole: closing the display destroys its window, whose last messages still
    // reach the viewport's notifications.
    ReleaseHandle();
}

const Vemo::String& MessengerViewport::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("Viewport");
    return *word;
}

Vemo::String MessengerViewport::GetClassName() const {
    return ClassWord();
}

Messenger* MessengerViewport::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<MessengerViewport>(name, owner, script);
}

// --- Configuration ---------------------------------------------------------------------------------------

bool MessengerViewport::ReadScript() {
    if (!ControlManager::ReadScript()) {
        return false;
    }
    if (!m_lock.Create()) {
        return false;
    }
    if (GetScript() == nullptr) {
        return true;
    }
    Vemo::ViewportDescription description(Vemo::String(), Vemo::Point(100, 100), false, Vemo::Size(640, 480),
                                          true, false, true, true, false, 0, 1, 2, 1, false, true);
    bool preferSpeed = true;
    if (!ReadDescription(description, preferSpeed) || !OpenDisplay(description, preferSpeed)) {
        return false;
    }
    const Vemo::BasicArray<Fragment>* cursor = nullptr;
    if (GetScript()->GetFragments(GetSectionName(), Vemo::String("Cursor"), cursor) && cursor != nullptr) {
        return ReadCursor(*cursor);
    }
    return true;
}

bool MessengerViewport::ReadCursor(const Vemo::BasicArray<Fragment>& value) {
    auto* cursor = new Cursor(this);
    SetCursor(cursor);
    if (!cursor->Configure(value, kCursorFramesPerSecond)) {
        return Fail();
    }
    cursor->SetState(Cursor::kNone);
    return true;
}

bool MessengerViewport::ReadDescription(Vemo::ViewportDescription& description, bool& preferSpeed) {
    const Vemo::BasicArray<Fragment>* title = nullptr;
    const Vemo::BasicArray<Fragment>* position = nullptr;
    const Vemo::BasicArray<Fragment>* size = nullptr;
    const Vemo::BasicArray<Fragment>* depth = nullptr;
    const Vemo::BasicArray<Fragment>* fullscreen = nullptr;
    if (!FindSectionKeys(*GetScript(), GetSectionName(),
                         {{"Title", &title},
                          {"Position", &position},
                          {"Size", &size},
                          {"Depth", &depth},
                          {"Fullscreen", &fullscreen}})) {
        return Fail();
    }
    if (title != nullptr) {
        FragmentStream(*title) >> description.title;
    }
    // The flag that follows the two numbers of "Position" and "Size" says that the size is the client
    // area's; the later key wins.
    if (position != nullptr) {
        FragmentStream stream(*position);
        stream.ReadPosition(description.position);
        ReadTrailingFlag(stream, description.sizeIsClient);
    }
    if (size != nullptr) {
        FragmentStream stream(*size);
        stream.ReadSize(description.size);
        ReadTrailingFlag(stream, description.sizeIsClient);
    }
    if (!CheckPlacementKeys(GetScript(), GetSectionName(), description.position, description.size,
                            size != nullptr)) {
        return Fail();
    }
    if (depth != nullptr) {
        FragmentStream stream(*depth);
        std::uint32_t bits = 0;
        Vemo::String word;
        stream >> bits >> word;
        description.depth = Vemo::DepthFromBitsPerPixel(bits);
        if (bits != 0 && description.depth == 0) {
            return Fail();
        }
        if (Vemo::CompareNoCase(word.CStr(), "Performance") == 0) {
            preferSpeed = true;
        } else if (Vemo::CompareNoCase(word.CStr(), "Quality") == 0) {
            preferSpeed = false;
        }
    }
    if (fullscreen != nullptr) {
        FragmentStream(*fullscreen) >> description.fullscreen;
    }
    return true;
}

bool MessengerViewport::OpenDisplay(Vemo::ViewportDescription& description, bool preferSpeed) {
    if (description.depth == 0) {
        win32::DEVMODEA mode{};
        mode.dmSize = sizeof(mode);
        if (!win32::EnumDisplaySettingsA(nullptr, win32::ENUM_CURRENT_SETTINGS, &mode)) {
            return Fail();
        }
        description.depth = Vemo::DepthFromBitsPerPixel(mode.dmBitsPerPel);
    }
    // Fewer than 16 bits a pixel are not offered: the title is drawn in direct colour.
    if (description.depth < kDepth16) {
        description.depth = preferSpeed ? kDepth16 : kDepth32;
    }
    const Vemo::DepthCode preferred = preferSpeed ? kDepth16 : kDepth32;
    const Vemo::DepthCode other = preferSpeed ? kDepth32 : kDepth16;
    for (const Vemo::DepthCode depth : {description.depth, preferred, kDepth24, other}) {
        description.depth = depth;
        if (Open(description, Vemo::kGraphicTypeId)) {
            return true;
        }
    }
    RaiseError(kErrorOpen);
    return false;
}

bool MessengerViewport::Open(const Vemo::ViewportDescription& description, std::uint32_t engineId) {
    m_hasFocus = 1;
    return Vemo::Viewport::Open(description, engineId) && OpenParts(description);
}

bool MessengerViewport::OpenParts(const Vemo::ViewportDescription& description) {
    CloseParts();
    auto* handle = Vemo::DirectXViewportHandle::FromViewportHandle(GetViewportHandle());
    if (handle == nullptr) {
        return Fail();
    }
    m_eventHandler = new MessengerViewportEventHandler(this);
    handle->AddEventHandler(m_eventHandler);
    m_screen = new Vemo::Graphic();
    if (!m_screen->OpenOnViewport(this, 0, 0)) {
        return Fail();
    }
    if (description.backBufferCount != 0) {
        m_backBuffer = new Vemo::Graphic();
        if (!m_backBuffer->OpenOnViewport(this, 1, 0)) {
            return Fail();
        }
    }
    const Vemo::PixelFormat* format = GetPixelFormat();
    if (format == nullptr || !SetPixelFormat(*format)) {
        return Fail();
    }
    GetRootControl()->SetRectangle(Vemo::Rect(0, 0, GetWidth(), GetHeight()));
    return true;
}

void MessengerViewport::CloseParts() {
    delete m_eventHandler;
    m_eventHandler = nullptr;
    delete m_screen;
    m_screen = nullptr;
    delete m_backBuffer;
    m_backBuffer = nullptr;
}

// --- Frames ----------------------------------------------------------------------------------------------

bool MessengerViewport::Show(const Vemo::Rect& area) {
    return m_screen != nullptr && m_backBuffer != nullptr &&
           m_screen->Blit(Vemo::Point(area.left, area.top), *m_backBuffer, area, kCopy);
}

void MessengerViewport::DrawFrame(bool drawCursor) {
    Locked locked(m_lock);
    if (!IsOpen()) {
        return;
    }
    if (m_eventHandler != nullptr) {
        m_eventHandler->CheckPointerInside();
    }
    Cursor* cursor = GetCursor();
    const bool cursorShown = cursor != nullptr && drawCursor && IsPointerInside();
    if (cursorShown) {
        cursor->Advance();
    }
    // Nothing changed and the cursor stands still. Its place is drawn again once, as a part of its own: what
    // lies under it was last drawn as parts of other shapes, and a scaled picture may come out a little
    // otherwise so. From then on each such frame would draw the very same pixels again: the buffer and the
    // screen hold it already, and it is neither drawn nor copied again.
    const bool still = cursorShown && !m_cursorRect.IsEmpty() && m_busyCount == 0 &&
                       GetDirtyRegion().Empty() && cursor->DrawsAsLastTime();
    if (still && m_stillCursorDrawn) {
        return;
    }
    m_stillCursorDrawn = still;
    if (!m_cursorRect.IsEmpty()) {
        Invalidate(&m_cursorRect);
        m_cursorRect = Vemo::Rect();
    }
    Vemo::Rect bounds;
    Draw(bounds, *this);
    if (cursorShown) {
        Vemo::Graphic* buffer = m_backBuffer != nullptr ? m_backBuffer : m_screen;
        const Vemo::Rect clip = buffer != nullptr ? buffer->GetClipRect() : Vemo::Rect();
        if (buffer != nullptr) {
            buffer->SetClipRect(Vemo::Rect(0, 0, buffer->GetWidth(), buffer->GetHeight()));
        }
        cursor->DrawAdvanced(m_cursorRect);
        if (buffer != nullptr) {
            buffer->SetClipRect(clip);
        }
    } else {
        m_cursorRect = Vemo::Rect();
    }
    if (!bounds.IsEmpty()) {
        if (!m_cursorRect.IsEmpty()) {
            bounds.Union(m_cursorRect);
        }
        Show(bounds);
    } else if (!m_cursorRect.IsEmpty()) {
        Show(m_cursorRect);
    }
}

void MessengerViewport::ProcessEvents() {
    Locked locked(m_lock);
    bool mouseSeen = false;
    // Each event leaves the queue before it is handed on: a reaction that runs a message loop of its own
    // appends further events, which this same drain then takes in order.
    while (!m_events.Empty()) {
        const Event event = m_events.Front();
        m_events.PopFront();
        switch (event.kind) {
        case Event::kMouseMove:
            mouseSeen = true;
            MouseMoved(Vemo::Point(event.x, event.y));
            break;
        case Event::kMouseButton:
            mouseSeen = true;
            MouseButton(Vemo::Point(event.x, event.y), event.button, event.down != 0);
            break;
        case Event::kKey:
            Key(event.scanCode, event.down != 0, event.repeat);
            break;
        case Event::kCharacter:
            Character(event.character, event.repeat);
            break;
        case Event::kFocus:
            if (event.lost != 0) {
                SetFocusControl(nullptr);
            }
            m_hasFocus = event.lost != 0 ? 0 : 1;
            break;
        default:
            break;
        }
    }
    if (!mouseSeen) {
        MouseMoved(GetMousePoint());
    }
}

void MessengerViewport::SetBusy(bool busy) {
    if (!busy) {
        if (m_busyCount > 0 && --m_busyCount == 0) {
            StopBusyTask();
        }
        return;
    }
    Cursor* cursor = GetCursor();
    if (++m_busyCount != 1 || cursor == nullptr || cursor->GetState() == Cursor::kNone) {
        return;
    }
    {
        Locked locked(m_lock);
        if (!m_cursorRect.IsEmpty()) {
            Invalidate(&m_cursorRect);
            m_cursorRect = Vemo::Rect();
        }
        cursor->SetState(Cursor::kCount);
        if (IsOpen()) {
            Vemo::Rect bounds;
            Draw(bounds, *this);
            if (!bounds.IsEmpty()) {
                Show(bounds);
            }
        }
    }
    m_busyCursorRect = Vemo::Rect();
    StepBusyCursor();
    m_busyTask = new BusyTask(this);
    if (!m_busyTask->Start()) {
        delete m_busyTask;
        m_busyTask = nullptr;
    }
}

void MessengerViewport::StopBusyTask() {
    if (m_busyTask != nullptr) {
        m_busyTask->Stop();
        delete m_busyTask;
        m_busyTask = nullptr;
    }
}

void MessengerViewport::StepBusyCursor() {
    // The main thread may hold the lock while it waits for this thread to end: a step that cannot have the
    // lock at once is left out.
    if (!m_lock.Lock(false)) {
        return;
    }
    Cursor* cursor = GetCursor();
    if (m_busyCount != 0 && cursor != nullptr && IsOpen() && m_screen != nullptr) {
        win32::POINT pointer{};
        if (m_eventHandler != nullptr && m_eventHandler->ReadPointer(pointer, false)) {
            cursor->SetPosition(Vemo::Point(pointer.x, pointer.y));
        }
        WaitForVerticalBlank(false);
        if (!m_busyCursorRect.IsEmpty()) {
            Show(m_busyCursorRect);
        }
        cursor->Draw(m_busyCursorRect, m_screen);
    }
    m_lock.Unlock();
}

bool MessengerViewport::PowerEvent(unsigned code) {
    Locked locked(m_lock);
    return ControlManager::PowerEvent(code);
}

// --- Notifications of the display ------------------------------------------------------------------------

void MessengerViewport::OnClose(bool* allowClose) {
    Locked locked(m_lock);
    if (Vemo::Application* application = Vemo::GetApplication()) {
        application->Quit();
    }
    *allowClose = false;
}

void MessengerViewport::OnPaint(Vemo::Rect* area, bool* handled) {
    Locked locked(m_lock);
    if (IsOpen() && !*handled) {
        *handled = Show(*area);
    }
}

void MessengerViewport::OnRestored(bool succeeded) {
    Locked locked(m_lock);
    if (succeeded) {
        Invalidate(nullptr);
    }
}

void MessengerViewport::OnStyleChanged() {
    Locked locked(m_lock);
    if (!IsOpen()) {
        return;
    }
    if (const Vemo::PixelFormat* format = GetPixelFormat()) {
        SetPixelFormat(*format);
    }
    if (Cursor* cursor = GetCursor()) {
        cursor->ReloadBitmap();
    }
    Invalidate(nullptr);
}
