#include "platform/video/Overlays.h"

#include "platform/win32/Rects.h"
#include "platform/win32/gdi/GdiState.h"
#include "platform/win32/windows/WindowClass.h"
#include "platform/win32/windows/WindowObject.h"
#include "platform/win32/windows/WindowSystem.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <optional>
#include <vector>

namespace video {

namespace {

struct Registry {
    std::mutex lock;
    std::map<OverlayId, Overlay> overlays; // ids grow, so map order is the order of adding
    OverlayId nextId = 1;
    std::atomic<std::uint64_t> version{0};
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

bool Usable(const Overlay& overlay) {
    return overlay.window != nullptr && overlay.pixels != nullptr && overlay.width > 0 && overlay.height > 0;
}

void Draw(const Overlay& overlay, const OverlayFrame& frame, const win32::RECT& clip) {
    const win32::LONG destWidth = overlay.dest.right - overlay.dest.left;
    const win32::LONG destHeight = overlay.dest.bottom - overlay.dest.top;
    win32::RECT place{overlay.dest.left + frame.origin.x, overlay.dest.top + frame.origin.y,
                      overlay.dest.right + frame.origin.x, overlay.dest.bottom + frame.origin.y};
    win32::RECT visible = win32::IntersectRects(place, clip);
    if (win32::IsEmptyRect(visible) || destWidth <= 0 || destHeight <= 0) {
        return;
    }
    const auto* source = reinterpret_cast<const unsigned char*>(overlay.pixels);
    auto* target = reinterpret_cast<unsigned char*>(frame.pixels);
    for (win32::LONG y = visible.top; y < visible.bottom; ++y) {
        const std::int64_t sy = static_cast<std::int64_t>(y - place.top) * overlay.height / destHeight;
        const auto* sourceRow = reinterpret_cast<const std::uint32_t*>(source + sy * overlay.pitch);
        auto* targetRow = reinterpret_cast<std::uint32_t*>(target + y * frame.pitch);
        if (destWidth == overlay.width) {
            std::copy(sourceRow + (visible.left - place.left), sourceRow + (visible.right - place.left),
                      targetRow + visible.left);
            continue;
        }
        for (win32::LONG x = visible.left; x < visible.right; ++x) {
            targetRow[x] = sourceRow[static_cast<std::int64_t>(x - place.left) * overlay.width / destWidth];
        }
    }
}

// With the registry's lock held.
int ComposeLocked(Registry& registry, win32::HWND window, const OverlayFrame& frame) {
    if (frame.pixels == nullptr || frame.width <= 0 || frame.height <= 0) {
        return 0;
    }
    std::vector<const Overlay*> drawn;
    for (const auto& [id, overlay] : registry.overlays) {
        if (overlay.window == window) {
            drawn.push_back(&overlay);
        }
    }
    std::stable_sort(drawn.begin(), drawn.end(),
                     [](const Overlay* a, const Overlay* b) { return a->order < b->order; });
    const win32::RECT clip = win32::IntersectRects(frame.clip, {0, 0, frame.width, frame.height});
    for (const Overlay* overlay : drawn) {
        Draw(*overlay, frame, clip);
    }
    return static_cast<int>(drawn.size());
}

struct Placed {
    win32::HWND window;
    win32::POINT origin;
    win32::RECT clip;
    win32::HBRUSH background;
    // The background brush's colour (x-R-G-B) once looked up; none for a class without a solid brush.
    std::optional<std::uint32_t> color;
};

// The colours of the children's class brushes. Called without the window system's lock.
void LookUpBackgrounds(std::vector<Placed>& children) {
    win32::gdi::GdiCall call("child window background");
    for (Placed& child : children) {
        if (child.background == nullptr) {
            continue;
        }
        if (auto brush = win32::gdi::FindObjectAs<win32::gdi::GdiBrush>(child.background)) {
            const win32::COLORREF color = brush->color;
            child.color = (color & 0xFFu) << 16 | (color & 0xFF00u) | (color >> 16 & 0xFFu);
        }
    }
}

// Fills the frame's clip (frame coordinates) with the colour.
void Fill(const OverlayFrame& frame, const win32::RECT& area, std::uint32_t color) {
    const win32::RECT visible = win32::IntersectRects(area, {0, 0, frame.width, frame.height});
    // An intersection that is empty sideways has its left past its right: no row may be filled then.
    if (visible.left >= visible.right || visible.top >= visible.bottom) {
        return;
    }
    auto* target = reinterpret_cast<unsigned char*>(frame.pixels);
    for (win32::LONG y = visible.top; y < visible.bottom; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(target + y * frame.pitch);
        std::fill(row + visible.left, row + visible.right, color);
    }
}

// With the window system's lock held: the window's visible descendants, parents before their children.
void CollectChildren(win32::WindowSystem& windows, win32::HWND parent, const win32::POINT& topOrigin,
                     const win32::RECT& parentClip, std::vector<Placed>& out) {
    for (win32::HWND child : windows.ChildrenOf(parent)) {
        win32::WindowObject* object = windows.Find(child, false);
        if (object == nullptr || !object->visible) {
            continue;
        }
        win32::POINT origin = windows.ClientOrigin(*object);
        origin.x -= topOrigin.x;
        origin.y -= topOrigin.y;
        win32::RECT clip =
            win32::IntersectRects(parentClip, {origin.x, origin.y, origin.x + object->ClientWidth(),
                                               origin.y + object->ClientHeight()});
        if (win32::IsEmptyRect(clip)) {
            continue;
        }
        out.push_back({child, origin, clip, object->windowClass->background, std::nullopt});
        CollectChildren(windows, child, topOrigin, clip, out);
    }
}

} // namespace

std::unique_lock<std::mutex> OverlayLock() {
    return std::unique_lock(TheRegistry().lock);
}

OverlayId AddOverlay(const Overlay& overlay) {
    if (!Usable(overlay)) {
        return 0;
    }
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    OverlayId id = registry.nextId++;
    registry.overlays.emplace(id, overlay);
    ++registry.version;
    return id;
}

bool UpdateOverlay(OverlayId id, const Overlay& overlay) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    auto found = registry.overlays.find(id);
    if (found == registry.overlays.end() || !Usable(overlay)) {
        return false;
    }
    found->second = overlay;
    ++registry.version;
    return true;
}

void RemoveOverlay(OverlayId id) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    if (registry.overlays.erase(id) != 0) {
        ++registry.version;
    }
}

std::uint64_t OverlaysVersion() {
    return TheRegistry().version.load();
}

int ComposeOverlays(win32::HWND window, const OverlayFrame& frame) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    return ComposeLocked(registry, window, frame);
}

int ComposeWindowOverlays(win32::HWND topLevel, const OverlayFrame& frame) {
    std::vector<Placed> children;
    {
        win32::WindowSystem& windows = win32::WindowSystem::Instance();
        std::lock_guard guard(windows.Lock());
        win32::WindowObject* top = windows.Find(topLevel, false);
        if (top == nullptr) {
            return 0;
        }
        CollectChildren(windows, topLevel, windows.ClientOrigin(*top),
                        {0, 0, top->ClientWidth(), top->ClientHeight()}, children);
    }
    LookUpBackgrounds(children);
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    int drawn = ComposeLocked(registry, topLevel, frame);
    for (const Placed& child : children) {
        OverlayFrame childFrame = frame;
        childFrame.origin = {frame.origin.x + child.origin.x, frame.origin.y + child.origin.y};
        childFrame.clip = win32::IntersectRects(
            frame.clip, {child.clip.left + frame.origin.x, child.clip.top + frame.origin.y,
                         child.clip.right + frame.origin.x, child.clip.bottom + frame.origin.y});
        if (child.color.has_value() && frame.pixels != nullptr) {
            Fill(frame, childFrame.clip, *child.color);
        }
        drawn += ComposeLocked(registry, child.window, childFrame);
    }
    return drawn;
}

std::size_t OverlayCount(win32::HWND window) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    return static_cast<std::size_t>(
        std::count_if(registry.overlays.begin(), registry.overlays.end(),
                      [window](const auto& entry) { return entry.second.window == window; }));
}

} // namespace video
