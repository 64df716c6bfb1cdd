#include "platform/win32/desktop/DrawnMessageBox.h"

#include "platform/video/FrameStore.h"
#include "platform/video/Overlays.h"
#include "platform/video/VideoBackend.h"
#include "platform/win32/Rects.h"
#include "platform/win32/gdi/Gdi.h"
#include "platform/win32/windows/MessageQueue.h"
#include "platform/win32/windows/Window.h"
#include "platform/win32/windows/WindowActions.h"
#include "platform/win32/windows/WindowObject.h"
#include "platform/win32/windows/WindowSystem.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace win32 {

namespace {

// The colours of a classic Windows box.
constexpr COLORREF kFaceColor = RGB(212, 208, 200);
constexpr COLORREF kPressedColor = RGB(182, 178, 170);
constexpr COLORREF kFrameColor = RGB(64, 64, 64);
constexpr COLORREF kCaptionColor = RGB(10, 36, 106);
constexpr COLORREF kCaptionTextColor = RGB(255, 255, 255);
constexpr COLORREF kTextColor = RGB(0, 0, 0);

constexpr int kBorder = 1;
constexpr int kMargin = 12;
constexpr int kCaptionInset = 6;
constexpr int kButtonGap = 8;
constexpr int kNarrowestButton = 75;
constexpr int kNarrowestBox = 200;
// Lines a reader takes in at a glance, as Windows keeps a box's lines.
constexpr int kWidestText = 440;
// Over everything else the window shows, movies included.
constexpr std::int32_t kOverlayOrder = INT32_MAX;
// How long the loop rests when no input waits; each look at the queue reads the host's events.
constexpr std::chrono::milliseconds kRest{5};

constexpr char kClassName[] = "VemoMessageBox";

struct Button {
    RECT rect{};
    int answer = 0;
    const char* label = "";
};

struct Layout {
    SIZE size{};
    int lineHeight = 0;
    RECT caption{};
    RECT text{};
    std::vector<Button> buttons;
};

std::mutex g_placeLock;
std::optional<DrawnMessageBoxPlace> g_place;

std::optional<DrawnMessageBoxPlace> Publish(std::optional<DrawnMessageBoxPlace> place) {
    std::lock_guard guard(g_placeLock);
    return std::exchange(g_place, place);
}

LRESULT BoxWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

std::shared_ptr<WindowClass> BoxWindowClass() {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    return system.BuiltInClass(kClassName, BoxWindowProcedure, 0, 0);
}

// A caption is one line, as the title bar it stands for.
std::string OneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

SIZE Measure(HDC dc, const std::string& text, int width, UINT format) {
    if (text.empty()) {
        return SIZE{0, 0};
    }
    RECT rect{0, 0, width, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

constexpr UINT kTextFormat = DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;

// The box for an area it is to show in: its lines as wide as the area lets them be, up to kWidestText. With
// cut, a text taller than the area keeps only the lines that fit.
Layout MakeLayout(HDC dc, const std::string& caption, const std::string& text, bool withCancel, SIZE area,
                  bool cut) {
    Layout layout;
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    layout.lineHeight = metrics.tmHeight;
    const int captionHeight = layout.lineHeight + 8;
    const int buttonHeight = layout.lineHeight + 10;
    layout.buttons.push_back(Button{RECT{}, IDOK, "OK"});
    if (withCancel) {
        layout.buttons.push_back(Button{RECT{}, IDCANCEL, "Cancel"});
    }
    int buttonWidth = kNarrowestButton;
    for (const Button& button : layout.buttons) {
        buttonWidth =
            std::max(buttonWidth, static_cast<int>(Measure(dc, button.label, 0, DT_NOPREFIX).cx) + 24);
    }
    const int count = static_cast<int>(layout.buttons.size());
    const int buttonsWidth = count * buttonWidth + (count - 1) * kButtonGap;
    const int frame = 2 * (kBorder + kMargin);
    const int widest = std::max(buttonsWidth, std::min(kWidestText, static_cast<int>(area.cx) - frame));
    const SIZE textSize = Measure(dc, text, widest, kTextFormat);
    const SIZE captionSize = Measure(dc, caption, 0, DT_NOPREFIX);
    const int inner = std::max({kNarrowestBox - frame, buttonsWidth, static_cast<int>(textSize.cx),
                                std::min(static_cast<int>(captionSize.cx) + 2 * kCaptionInset, widest)});
    const int fixedHeight = 2 * kBorder + captionHeight + 3 * kMargin + buttonHeight;
    int textHeight = textSize.cy;
    if (cut) {
        textHeight = std::clamp(static_cast<int>(area.cy) - fixedHeight, 0, textHeight);
    }
    layout.size = SIZE{inner + frame, fixedHeight + textHeight};
    layout.caption = RECT{kBorder, kBorder, layout.size.cx - kBorder, kBorder + captionHeight};
    // Breaking at any width from the widest line to the measuring width gives the same lines.
    const int textLeft = kBorder + kMargin;
    const int textTop = layout.caption.bottom + kMargin;
    layout.text = RECT{textLeft, textTop, textLeft + std::min(inner, widest), textTop + textHeight};
    const int buttonTop = layout.size.cy - kBorder - kMargin - buttonHeight;
    int buttonLeft = (layout.size.cx - buttonsWidth) / 2;
    for (Button& button : layout.buttons) {
        button.rect = RECT{buttonLeft, buttonTop, buttonLeft + buttonWidth, buttonTop + buttonHeight};
        buttonLeft += buttonWidth + kButtonGap;
    }
    return layout;
}

bool Fits(const Layout& layout, SIZE area) {
    return layout.size.cx <= area.cx && layout.size.cy <= area.cy;
}

RECT Offset(const RECT& rect, POINT by) {
    return RECT{rect.left + by.x, rect.top + by.y, rect.right + by.x, rect.bottom + by.y};
}

RECT Inset(const RECT& rect, int by) {
    return RECT{rect.left + by, rect.top + by, rect.right - by, rect.bottom - by};
}

// The box's pixels: a 32-bit top-down DIB section in a memory DC, which starts with the system font.
class BoxPicture {
public:
    BoxPicture() : m_dc(CreateCompatibleDC(nullptr)) {}
    ~BoxPicture() {
        if (m_dc != nullptr) {
            DeleteDC(m_dc);
        }
        if (m_bitmap != nullptr) {
            DeleteObject(m_bitmap);
        }
    }
    BoxPicture(const BoxPicture&) = delete;
    BoxPicture& operator=(const BoxPicture&) = delete;

    HDC Dc() const { return m_dc; }

    bool Make(SIZE size) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = size.cx;
        info.bmiHeader.biHeight = -size.cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (m_dc == nullptr || bitmap == nullptr || SelectObject(m_dc, bitmap) == nullptr) {
            DeleteObject(bitmap);
            return false;
        }
        if (m_bitmap != nullptr) {
            DeleteObject(m_bitmap);
        }
        m_bitmap = bitmap;
        m_bits = static_cast<const std::uint32_t*>(bits);
        m_size = size;
        return true;
    }

    // Blue, green, red and a spare byte: x-R-G-B words on this little-endian host.
    video::PixelSource Source() const {
        video::PixelSource source;
        source.bits = reinterpret_cast<const std::uint8_t*>(m_bits);
        source.pitch = m_size.cx * 4;
        source.width = m_size.cx;
        source.height = m_size.cy;
        source.bitsPerPixel = 32;
        source.redMask = 0xFF0000;
        source.greenMask = 0x00FF00;
        source.blueMask = 0x0000FF;
        return source;
    }

    const std::uint32_t* Bits() const { return m_bits; }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    const std::uint32_t* m_bits = nullptr;
    SIZE m_size{};
};

void Fill(HDC dc, const RECT& rect, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// A line of text at the top of the rectangle's middle.
void DrawLine(HDC dc, const std::string& text, RECT rect, int lineHeight, UINT format) {
    rect.top += (rect.bottom - rect.top - lineHeight) / 2;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_NOPREFIX);
}

void Draw(HDC dc, const Layout& layout, const std::string& caption, const std::string& text, int pressed) {
    Fill(dc, RECT{0, 0, layout.size.cx, layout.size.cy}, kFrameColor);
    Fill(dc, Inset(RECT{0, 0, layout.size.cx, layout.size.cy}, kBorder), kFaceColor);
    Fill(dc, layout.caption, kCaptionColor);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kCaptionTextColor);
    RECT captionText = layout.caption;
    captionText.left += kCaptionInset;
    captionText.right -= kCaptionInset;
    DrawLine(dc, caption, captionText, layout.lineHeight, DT_LEFT);
    SetTextColor(dc, kTextColor);
    RECT textRect = layout.text;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect, kTextFormat);
    for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
        const Button& button = layout.buttons[i];
        const bool down = static_cast<int>(i) == pressed;
        Fill(dc, button.rect, kFrameColor);
        // The default button wears the heavier frame.
        Fill(dc, Inset(button.rect, i == 0 ? 2 : 1), down ? kPressedColor : kFaceColor);
        DrawLine(dc, button.label, down ? Offset(button.rect, POINT{1, 1}) : button.rect, layout.lineHeight,
                 DT_CENTER);
    }
}

class DrawnMessageBox {
public:
    explicit DrawnMessageBox(const video::MessageBoxSpec& spec)
        : m_caption(OneLine(spec.caption)), m_text(spec.text), m_withCancel(spec.buttons == MB_OKCANCEL),
          m_owner(spec.owner) {}

    ~DrawnMessageBox() {
        if (m_overlay != 0) {
            video::RemoveOverlay(m_overlay);
        }
        if (m_ownWindow) {
            DestroyWindow(m_window);
            // As when a box of the host goes: the window that was active before it comes back.
            if (m_previousActive != nullptr && IsWindow(m_previousActive)) {
                SetActiveWindow(m_previousActive);
            }
            if (m_previousFocus != nullptr && IsWindow(m_previousFocus)) {
                SetFocus(m_previousFocus);
            }
        }
        if (m_shown) {
            KeepPointerShown(false);
            Publish(m_covered);
        }
    }

    DrawnMessageBox(const DrawnMessageBox&) = delete;
    DrawnMessageBox& operator=(const DrawnMessageBox&) = delete;

    bool Show() {
        {
            WindowSystem& system = WindowSystem::Instance();
            std::lock_guard guard(system.Lock());
            if (!system.Backend().OwnsCurrentThread()) {
                return false;
            }
            m_previousActive = system.active;
            m_previousFocus = system.focus;
        }
        if (!ShowOverOwner() && !ShowInOwnWindow()) {
            return false;
        }
        m_shown = true;
        KeepPointerShown(true);
        DrawnMessageBoxPlace place{m_window, BoxRect(), Offset(m_layout.buttons[0].rect, m_at), RECT{}};
        if (m_withCancel) {
            place.cancel = Offset(m_layout.buttons[1].rect, m_at);
        }
        m_covered = Publish(place);
        return true;
    }

    int Run() {
        while (m_answer == 0) {
            MSG message{};
            if (PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
                OnKey(message);
            } else if (PeekMessageA(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
                OnMouse(message);
            } else if (m_ownWindow && PeekMessageA(&message, m_window, 0, 0, PM_REMOVE)) {
                OnOwnWindowMessage(message);
            } else if (!IsWindow(m_window)) {
                // Nobody can see the box any more: it is answered as its close box would.
                m_answer = EscapeAnswer();
            } else {
                std::this_thread::sleep_for(kRest);
            }
        }
        return m_answer;
    }

private:
    // Over the owner's picture, when the owner shows one on this thread and the box fits into it.
    bool ShowOverOwner() {
        SIZE client{};
        {
            WindowSystem& system = WindowSystem::Instance();
            std::lock_guard guard(system.Lock());
            WindowObject* owner = m_owner != nullptr ? system.Find(m_owner, false) : nullptr;
            if (owner == nullptr || !owner->visible || owner->IsMinimized() || !owner->native ||
                owner->queue.get() != MessageQueue::CurrentIfAny()) {
                return false;
            }
            client = SIZE{owner->ClientWidth(), owner->ClientHeight()};
        }
        const std::optional<video::Frame> shown = video::FrameStore::Instance().Shown(m_owner);
        if (!shown.has_value()) {
            return false;
        }
        // A windowed picture shows from the client area's corner, cut to it; a full-screen one is the
        // display, scaled to the desktop with everything drawn over it.
        const SIZE area = shown->fullscreen ? SIZE{shown->width, shown->height}
                                            : SIZE{std::min(shown->width, static_cast<int>(client.cx)),
                                                   std::min(shown->height, static_cast<int>(client.cy))};
        m_layout = MakeLayout(m_picture.Dc(), m_caption, m_text, m_withCancel, area, false);
        if (!Fits(m_layout, area) || !m_picture.Make(m_layout.size)) {
            return false;
        }
        m_window = m_owner;
        m_at = POINT{(area.cx - m_layout.size.cx) / 2, (area.cy - m_layout.size.cy) / 2};
        m_pixels.assign(
            static_cast<std::size_t>(m_layout.size.cx) * static_cast<std::size_t>(m_layout.size.cy), 0);
        m_overlay = video::AddOverlay(OverlayRecord());
        Redraw();
        return m_overlay != 0;
    }

    // A window of its own in the middle of the desktop, above the others.
    bool ShowInOwnWindow() {
        SIZE desktop{};
        HWND owner = nullptr;
        {
            WindowSystem& system = WindowSystem::Instance();
            std::lock_guard guard(system.Lock());
            desktop = system.Backend().DesktopSize();
            WindowObject* object = m_owner != nullptr ? system.Find(m_owner, false) : nullptr;
            if (object != nullptr && object->queue.get() == MessageQueue::CurrentIfAny()) {
                owner = m_owner;
            }
        }
        m_layout = MakeLayout(m_picture.Dc(), m_caption, m_text, m_withCancel, desktop, true);
        if (!m_picture.Make(m_layout.size)) {
            return false;
        }
        const CREATESTRUCTA creation{nullptr,
                                     nullptr,
                                     nullptr,
                                     owner,
                                     static_cast<int>(m_layout.size.cy),
                                     static_cast<int>(m_layout.size.cx),
                                     std::max(0, static_cast<int>(desktop.cy - m_layout.size.cy) / 2),
                                     std::max(0, static_cast<int>(desktop.cx - m_layout.size.cx) / 2),
                                     static_cast<LONG>(WS_POPUP | WS_VISIBLE),
                                     m_caption.c_str(),
                                     kClassName,
                                     WS_EX_TOPMOST};
        m_window = CreateWindowOfClass(BoxWindowClass(), creation, nullptr);
        if (m_window == nullptr) {
            return false;
        }
        m_ownWindow = true;
        m_at = POINT{0, 0};
        Redraw();
        SetForegroundWindow(m_window);
        return true;
    }

    RECT BoxRect() const { return Offset(RECT{0, 0, m_layout.size.cx, m_layout.size.cy}, m_at); }

    video::Overlay OverlayRecord() const {
        video::Overlay overlay;
        overlay.window = m_window;
        overlay.dest = BoxRect();
        overlay.width = m_layout.size.cx;
        overlay.height = m_layout.size.cy;
        overlay.pitch = m_layout.size.cx * static_cast<std::ptrdiff_t>(sizeof(std::uint32_t));
        overlay.pixels = m_pixels.data();
        overlay.order = kOverlayOrder;
        return overlay;
    }

    void DrawPicture() {
        Draw(m_picture.Dc(), m_layout, m_caption, m_text, m_held >= 0 && m_heldOver ? m_held : -1);
    }

    // What the picture now holds goes where the box shows.
    void PutPicture() {
        if (m_ownWindow) {
            const RECT whole{0, 0, m_layout.size.cx, m_layout.size.cy};
            video::Present(m_window, m_picture.Source(), whole, false);
            return;
        }
        {
            auto lock = video::OverlayLock();
            std::transform(m_picture.Bits(), m_picture.Bits() + m_pixels.size(), m_pixels.begin(),
                           [](std::uint32_t pixel) { return pixel & 0x00FFFFFFu; });
        }
        if (m_overlay != 0) {
            video::UpdateOverlay(m_overlay, OverlayRecord());
        }
    }

    void Redraw() {
        DrawPicture();
        PutPicture();
    }

    int EscapeAnswer() const { return m_withCancel ? IDCANCEL : IDOK; }

    void OnKey(const MSG& message) {
        if (message.message != WM_KEYDOWN || (message.lParam & KF_REPEAT_BIT) != 0) {
            return;
        }
        if (message.wParam == VK_RETURN) {
            m_answer = IDOK;
        } else if (message.wParam == VK_ESCAPE) {
            m_answer = EscapeAnswer();
        }
    }

    // A button is pressed by the left button going down on it, shows pressed while the pointer stays on it,
    // and answers when the button comes up on it.
    void OnMouse(const MSG& message) {
        const std::optional<POINT> point = BoxPoint(message.pt);
        const int under = point.has_value() ? ButtonAt(*point) : -1;
        const int held = m_held;
        const bool heldOver = m_heldOver;
        switch (message.message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            m_held = under;
            m_heldOver = under >= 0;
            break;
        case WM_MOUSEMOVE:
            m_heldOver = m_held >= 0 && under == m_held;
            break;
        case WM_LBUTTONUP:
            if (m_held >= 0 && under == m_held) {
                m_answer = m_layout.buttons[static_cast<std::size_t>(m_held)].answer;
            }
            m_held = -1;
            m_heldOver = false;
            break;
        default:
            break;
        }
        if (m_held != held || m_heldOver != heldOver) {
            Redraw();
        }
    }

    // Input that arrived since the look for it is the box's as well.
    void OnOwnWindowMessage(const MSG& message) {
        if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
            OnKey(message);
        } else if (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) {
            OnMouse(message);
        } else if (message.message == WM_SYSCOMMAND && (message.wParam & 0xFFF0) == SC_CLOSE) {
            m_answer = EscapeAnswer();
        } else {
            DispatchMessageA(&message);
        }
    }

    // A point of the screen in the box's own coordinates; none when the window it is drawn in is gone.
    std::optional<POINT> BoxPoint(POINT screen) const {
        WindowSystem& system = WindowSystem::Instance();
        std::lock_guard guard(system.Lock());
        WindowObject* window = system.Find(m_window, false);
        if (window == nullptr) {
            return std::nullopt;
        }
        const POINT origin = system.ClientOrigin(*window);
        return POINT{screen.x - origin.x - m_at.x, screen.y - origin.y - m_at.y};
    }

    int ButtonAt(POINT point) const {
        for (std::size_t i = 0; i < m_layout.buttons.size(); ++i) {
            if (RectContains(m_layout.buttons[i].rect, point)) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    // A title that hides the host's pointer over its window draws its own, which stands still while the box
    // is up: the host's pointer shows instead, so that the buttons can be found.
    void KeepPointerShown(bool keep) {
        WindowSystem& system = WindowSystem::Instance();
        std::lock_guard guard(system.Lock());
        if (keep) {
            ++system.drawnBoxesUp;
            m_pointerWasHidden = system.pointerHidden;
            if (system.pointerHidden) {
                system.pointerHidden = false;
                system.Backend().ShowPointer(true);
            }
            return;
        }
        --system.drawnBoxesUp;
        if (m_pointerWasHidden && system.drawnBoxesUp == 0) {
            system.pointerHidden = true;
            system.Backend().ShowPointer(false);
        }
    }

    const std::string m_caption;
    const std::string m_text;
    const bool m_withCancel;
    const HWND m_owner;

    BoxPicture m_picture;
    Layout m_layout;
    // The window the box is drawn in, and where in its client area.
    HWND m_window = nullptr;
    bool m_ownWindow = false;
    POINT m_at{};
    video::OverlayId m_overlay = 0;
    std::vector<std::uint32_t> m_pixels;

    int m_held = -1;
    bool m_heldOver = false;
    int m_answer = 0;

    bool m_shown = false;
    HWND m_previousActive = nullptr;
    HWND m_previousFocus = nullptr;
    bool m_pointerWasHidden = false;
    std::optional<DrawnMessageBoxPlace> m_covered;
};

} // namespace

int ShowDrawnMessageBox(const video::MessageBoxSpec& box) {
    DrawnMessageBox drawn(box);
    if (!drawn.Show()) {
        return 0;
    }
    return drawn.Run();
}

std::optional<DrawnMessageBoxPlace> DrawnMessageBoxShown() {
    std::lock_guard guard(g_placeLock);
    return g_place;
}

} // namespace win32
