#include "platform/video/FrameStore.h"

#include "platform/video/FrameConversion.h"
#include "platform/video/Overlays.h"
#include "platform/video/VideoBackend.h"
#include "platform/win32/Rects.h"

#include <algorithm>

namespace video {

namespace {

// A window's overlays (the movie ports shown in it and in its child windows) are drawn over the picture of
// its primary surface, on the copy that is shown. The picture itself stays as presented, so that a change of
// the overlays never leaves traces in it.
// origin is where the window's client point (0, 0) lies in the frame: a frame may hold only a part.
void ComposeOverlaysOnto(win32::HWND window, Frame& frame, win32::POINT origin = win32::POINT{0, 0}) {
    OverlayFrame target;
    target.pixels = frame.pixels.data();
    target.width = frame.width;
    target.height = frame.height;
    target.pitch =
        static_cast<std::ptrdiff_t>(frame.width) * static_cast<std::ptrdiff_t>(sizeof(std::uint32_t));
    target.origin = origin;
    ComposeWindowOverlays(window, target);
}

} // namespace

FrameStore& FrameStore::Instance() {
    // Never destroyed: windows may still be forgotten by exit-time destructors.
    static FrameStore* store = new FrameStore;
    return *store;
}

void FrameStore::Open(win32::HWND window) {
    std::lock_guard guard(m_lock);
    m_entries.try_emplace(window);
}

void FrameStore::Update(win32::HWND window, const PixelSource& source, const win32::RECT& changed,
                        bool fullscreen) {
    std::lock_guard guard(m_lock);
    auto found = m_entries.find(window);
    if (found == m_entries.end()) {
        return;
    }
    Entry& entry = found->second;
    Frame& picture = entry.picture;
    entry.presented = true;
    if (picture.width != source.width || picture.height != source.height) {
        picture.width = source.width;
        picture.height = source.height;
        picture.pixels.assign(
            static_cast<std::size_t>(source.width) * static_cast<std::size_t>(source.height), 0);
        picture.fullscreen = fullscreen;
        ConvertArea(source, win32::RECT{0, 0, source.width, source.height}, picture);
        MarkWhole(entry);
        return;
    }
    if (picture.fullscreen != fullscreen) {
        picture.fullscreen = fullscreen;
        MarkWhole(entry);
    }
    const win32::RECT area = win32::IntersectRects(changed, win32::RECT{0, 0, picture.width, picture.height});
    if (win32::IsEmptyRect(area)) {
        return;
    }
    const auto width = static_cast<std::size_t>(area.right - area.left);
    const auto rowStart = [&picture, &area](win32::LONG y) {
        return picture.pixels.begin() + static_cast<std::ptrdiff_t>(picture.IndexOf(area.left, y));
    };
    m_before.clear();
    for (win32::LONG y = area.top; y < area.bottom; ++y) {
        m_before.insert(m_before.end(), rowStart(y), rowStart(y) + static_cast<std::ptrdiff_t>(width));
    }
    ConvertArea(source, area, picture);
    // The smallest rectangle around the pixels that differ.
    win32::RECT differs{area.right, area.bottom, area.left, area.top};
    auto before = m_before.begin();
    for (win32::LONG y = area.top; y < area.bottom; ++y, before += static_cast<std::ptrdiff_t>(width)) {
        const auto now = rowStart(y);
        const auto rowEnd = now + static_cast<std::ptrdiff_t>(width);
        const auto first = std::mismatch(now, rowEnd, before).first;
        if (first == rowEnd) {
            continue;
        }
        auto last = rowEnd;
        auto lastBefore = before + static_cast<std::ptrdiff_t>(width);
        while (*(last - 1) == *(lastBefore - 1)) {
            --last;
            --lastBefore;
        }
        differs.left = std::min(differs.left, area.left + static_cast<win32::LONG>(first - now));
        differs.right = std::max(differs.right, area.left + static_cast<win32::LONG>(last - now));
        differs.top = std::min(differs.top, y);
        differs.bottom = y + 1;
    }
    if (!win32::IsEmptyRect(differs)) {
        entry.changed =
            win32::IsEmptyRect(entry.changed) ? differs : win32::UnionRects(entry.changed, differs);
    }
}

void FrameStore::MarkWhole(Entry& entry) {
    entry.changed = win32::RECT{0, 0, entry.picture.width, entry.picture.height};
}

void FrameStore::EndFullscreen(win32::HWND window) {
    std::lock_guard guard(m_lock);
    auto found = m_entries.find(window);
    if (found != m_entries.end() && found->second.picture.fullscreen) {
        found->second.picture.fullscreen = false;
        MarkWhole(found->second);
    }
}

void FrameStore::Forget(win32::HWND window) {
    std::lock_guard guard(m_lock);
    m_entries.erase(window);
}

void FrameStore::MarkChanged(win32::HWND window) {
    std::lock_guard guard(m_lock);
    auto found = m_entries.find(window);
    if (found != m_entries.end() && found->second.presented) {
        MarkWhole(found->second);
    }
}

std::vector<ChangedPicture> FrameStore::TakeChanged() {
    std::vector<ChangedPicture> changed;
    const std::uint64_t overlays = OverlaysVersion();
    {
        std::lock_guard guard(m_lock);
        for (auto& [window, entry] : m_entries) {
            if (!entry.presented) {
                continue;
            }
            if (entry.overlaysTaken != overlays) {
                entry.overlaysTaken = overlays;
                MarkWhole(entry);
            }
            if (win32::IsEmptyRect(entry.changed)) {
                continue;
            }
            const Frame& picture = entry.picture;
            ChangedPicture& taken = changed.emplace_back();
            taken.window = window;
            taken.area = entry.changed;
            taken.width = picture.width;
            taken.height = picture.height;
            taken.fullscreen = picture.fullscreen;
            taken.part.width = entry.changed.right - entry.changed.left;
            taken.part.height = entry.changed.bottom - entry.changed.top;
            taken.part.pixels.reserve(static_cast<std::size_t>(taken.part.width) *
                                      static_cast<std::size_t>(taken.part.height));
            for (win32::LONG y = entry.changed.top; y < entry.changed.bottom; ++y) {
                const auto row = picture.pixels.begin() +
                                 static_cast<std::ptrdiff_t>(picture.IndexOf(entry.changed.left, y));
                taken.part.pixels.insert(taken.part.pixels.end(), row, row + taken.part.width);
            }
            entry.changed = win32::RECT{};
        }
    }
    for (ChangedPicture& taken : changed) {
        ComposeOverlaysOnto(taken.window, taken.part, win32::POINT{-taken.area.left, -taken.area.top});
    }
    return changed;
}

std::optional<Frame> FrameStore::Shown(win32::HWND window) {
    std::optional<Frame> shown;
    {
        std::lock_guard guard(m_lock);
        auto found = m_entries.find(window);
        if (found == m_entries.end() || !found->second.presented) {
            return std::nullopt;
        }
        shown = found->second.picture;
    }
    ComposeOverlaysOnto(window, *shown);
    return shown;
}

Frame InClientArea(const Frame& picture, win32::SIZE client) {
    Frame shown;
    shown.width = client.cx;
    shown.height = client.cy;
    shown.pixels.assign(static_cast<std::size_t>(client.cx) * static_cast<std::size_t>(client.cy), 0);
    for (int y = 0; y < std::min(picture.height, shown.height); ++y) {
        for (int x = 0; x < std::min(picture.width, shown.width); ++x) {
            shown.pixels[shown.IndexOf(x, y)] = picture.At(x, y);
        }
    }
    return shown;
}

void Present(win32::HWND window, const PixelSource& source, const win32::RECT& changed, bool fullscreen) {
    FrameStore::Instance().Update(window, source, changed, fullscreen);
}

void EndFullscreen(win32::HWND window) {
    FrameStore::Instance().EndFullscreen(window);
}

} // namespace video
