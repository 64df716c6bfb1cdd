#include "platform/win32/windows/WindowObject.h"

namespace win32 {

namespace {

// This host's frame metrics, in pixels.
constexpr LONG kBorder = 1;
constexpr LONG kDialogFrame = 3;
constexpr LONG kSizingFrame = 4;
constexpr LONG kCaption = 18;
constexpr LONG kMenu = 19;
constexpr LONG kClientEdge = 2;
constexpr LONG kStaticEdge = 1;

} // namespace

RECT FrameInsetsFor(DWORD style, bool hasMenu, DWORD exStyle) {
    LONG frame = 0;
    if ((style & WS_THICKFRAME) != 0) {
        frame = kSizingFrame;
    } else if ((style & WS_DLGFRAME) != 0 || (exStyle & WS_EX_DLGMODALFRAME) != 0) {
        frame = kDialogFrame;
    } else if ((style & WS_BORDER) != 0) {
        frame = kBorder;
    }
    if ((exStyle & WS_EX_CLIENTEDGE) != 0) {
        frame += kClientEdge;
    }
    if ((exStyle & WS_EX_STATICEDGE) != 0) {
        frame += kStaticEdge;
    }
    RECT insets{frame, frame, frame, frame};
    if ((style & WS_CAPTION) == WS_CAPTION) {
        insets.top += kCaption;
    }
    // A child window never has a menu bar; its menu handle is its identifier.
    if (hasMenu && (style & WS_CHILD) == 0) {
        insets.top += kMenu;
    }
    return insets;
}

RECT WindowObject::FrameInsets() const {
    return FrameInsetsFor(style, menu != nullptr, exStyle);
}

RECT WindowObject::ClientRect() const {
    RECT insets = FrameInsets();
    RECT client{rect.left + insets.left, rect.top + insets.top, rect.right - insets.right,
                rect.bottom - insets.bottom};
    if (client.right < client.left) {
        client.right = client.left;
    }
    if (client.bottom < client.top) {
        client.bottom = client.top;
    }
    return client;
}

int WindowObject::ClientWidth() const {
    RECT client = ClientRect();
    return client.right - client.left;
}

int WindowObject::ClientHeight() const {
    RECT client = ClientRect();
    return client.bottom - client.top;
}

} // namespace win32
