#include "platform/video/FrameStore.h"

#include "platform/video/FrameConversion.h"
#include "platform/video/Overlays.h"
#include "platform/video/VideoBackend.h"

#include <algorithm>

namespace video {

namespace {

// A window's overlays (the movie ports shown in it and in its child windows) are drawn over the picture of
// its primary surface, on the copy that is shown. The picture itself stays as presented, so that a change of
// the overlays never leaves traces in it.
void ComposeOverlaysOnto(win32::HWND window, Frame& frame) {
    OverlayFrame target;
    target.pixels = frame.pixels.data();
    target.width = frame.width;
    target.height = frame.height;
    target.pitch =
        static_cast<std::ptrdiff_t>(frame.width) * static_cast<std::ptrdiff_t>(sizeof(std::uint32_t));
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
    win32::RECT area = changed;
    if (picture.width != source.width || picture.height != source.height) {
        picture.width = source.width;
        picture.height = source.height;
        picture.pixels.assign(
            static_cast<std::size_t>(source.width) * static_cast<std::size_t>(source.height), 0);
        area = win32::RECT{0, 0, source.width, source.height};
    }
    picture.fullscreen = fullscreen;
    ConvertArea(source, area, picture);
    entry.presented = true;
    entry.changed = true;
}

void FrameStore::EndFullscreen(win32::HWND window) {
    std::lock_guard guard(m_lock);
    auto found = m_entries.find(window);
    if (found != m_entries.end() && found->second.picture.fullscreen) {
        found->second.picture.fullscreen = false;
        found->second.changed = true;
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
        found->second.changed = true;
    }
}

std::vector<std::pair<win32::HWND, Frame>> FrameStore::TakeChanged() {
    std::vector<std::pair<win32::HWND, Frame>> changed;
    {
        std::lock_guard guard(m_lock);
        for (auto& [window, entry] : m_entries) {
            if (entry.changed) {
                entry.changed = false;
                changed.emplace_back(window, entry.picture);
            }
        }
    }
    for (auto& [window, frame] : changed) {
        ComposeOverlaysOnto(window, frame);
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
            shown.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(shown.width) +
                         static_cast<std::size_t>(x)] = picture.At(x, y);
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
