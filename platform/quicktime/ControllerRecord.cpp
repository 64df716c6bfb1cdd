#include "platform/quicktime/ControllerRecord.h"

#include "platform/quicktime/GrafPortRecord.h"
#include "platform/quicktime/Layer.h"
#include "platform/quicktime/MovieRecord.h"
#include "platform/quicktime/QTVRInstanceRecord.h"

#include <algorithm>

namespace qt {

namespace {
constexpr std::uint32_t kFace = 0xC0C0C0;
constexpr std::uint32_t kShadow = 0x808080;
constexpr std::uint32_t kInk = 0x000000;
constexpr std::uint32_t kInactiveInk = 0x808080;
constexpr std::uint32_t kGroove = 0x404040;
constexpr int kTrackMargin = 4;
constexpr int kThumbWidth = 6;
} // namespace

ControllerRecord::ControllerRecord(MovieRecord* movie, const Rect& bounds, std::int32_t flags)
    : movie(movie), flags(flags) {
    detail::Layer::Instance().controllers.insert(this);
    if (Visible()) {
        Rect box = bounds;
        box.bottom = static_cast<std::int16_t>(std::max<int>(bounds.top, bounds.bottom - kBarHeight));
        movie->box = box;
        // The user plays this movie with the controller's button: it must be active for its time to run.
        movie->SetActive(true);
    }
    if (movie->vrWorld != nullptr) {
        vr = std::make_unique<QTVRInstanceRecord>(*movie, *this);
        if (!vr->Ready()) {
            vr.reset();
        }
    }
}

ControllerRecord::~ControllerRecord() {
    detail::Layer::Instance().controllers.erase(this);
}

Rect ControllerRecord::Bounds() const {
    Rect bounds = movie->box;
    if (Visible()) {
        bounds.bottom = static_cast<std::int16_t>(bounds.bottom + kBarHeight);
    }
    return bounds;
}

Rect ControllerRecord::Bar() const {
    const Rect box = movie->box;
    return {box.bottom, box.left, static_cast<std::int16_t>(box.bottom + kBarHeight), box.right};
}

bool ControllerRecord::Playing() const {
    return movie->Rate() != 0;
}

int ControllerRecord::TrackLeft() const {
    return kButtonWidth + kTrackMargin;
}

std::int64_t ControllerRecord::BarState() {
    const int width = movie->box.right - movie->box.left;
    if (vr != nullptr) {
        return static_cast<std::int64_t>(vr->Version() & 0xFFFFFFFFFF) |
               (static_cast<std::int64_t>(active) << 41);
    }
    const int trackWidth = std::max(1, width - TrackLeft() - kTrackMargin - kThumbWidth);
    const std::int64_t duration = movie->Duration();
    const std::int64_t thumb =
        duration > 0 ? static_cast<std::int64_t>(movie->Now() * trackWidth / static_cast<double>(duration))
                     : 0;
    return thumb | (static_cast<std::int64_t>(width) << 20) | (static_cast<std::int64_t>(Playing()) << 40) |
           (static_cast<std::int64_t>(active) << 41);
}

void ControllerRecord::DrawBar(std::uint32_t* pixels, int width) {
    std::fill(pixels, pixels + width * kBarHeight, kFace);
    std::fill(pixels, pixels + width, kShadow);
    const std::uint32_t ink = active ? kInk : kInactiveInk;
    if (vr != nullptr) {
        vr->DrawBar(pixels, width, kBarHeight, ink);
        return;
    }
    auto plot = [&](int x, int y, std::uint32_t color) {
        if (x >= 0 && x < width && y >= 0 && y < kBarHeight) {
            pixels[y * width + x] = color;
        }
    };
    if (Playing()) {
        for (int y = 4; y < 12; ++y) {
            for (int x : {5, 6, 9, 10}) {
                plot(x, y, ink);
            }
        }
    } else {
        // A triangle pointing right.
        for (int x = 0; x < 7; ++x) {
            for (int y = 4 + x / 2; y <= 11 - x / 2; ++y) {
                plot(5 + x, y, ink);
            }
        }
    }
    const int left = TrackLeft();
    const int right = width - kTrackMargin;
    for (int x = left; x < right; ++x) {
        plot(x, 7, kGroove);
        plot(x, 8, kGroove);
    }
    const int trackWidth = std::max(1, right - left - kThumbWidth);
    const std::int64_t duration = movie->Duration();
    const int thumb =
        left +
        (duration > 0 ? static_cast<int>(movie->Now() * trackWidth / static_cast<double>(duration)) : 0);
    for (int x = thumb; x < thumb + kThumbWidth; ++x) {
        for (int y = 3; y < 13; ++y) {
            plot(x, y, ink);
        }
    }
}

void ControllerRecord::TogglePlay() {
    if (Playing()) {
        movie->SetRate(0);
        return;
    }
    if (movie->IsDone()) {
        movie->SetTime(movie->Forwards() ? 0 : static_cast<double>(movie->Duration()));
    }
    movie->SetRate(movie->preferredRate != 0 ? movie->preferredRate : kFixed1);
}

bool ControllerRecord::HandleEvent(const EventRecord& event) {
    if (active && vr != nullptr) {
        return vr->HandleEvent(event);
    }
    if (!active || !Visible()) {
        return false;
    }
    detail::Layer& layer = detail::Layer::Instance();
    if (event.what == keyDown || event.what == autoKey) {
        if (!keysEnabled || (event.message & 0xFF) != ' ') {
            return false;
        }
        if (event.what == keyDown) {
            TogglePlay();
        }
        return true;
    }
    if (event.what != mouseDown || !layer.IsPort(movie->port) ||
        movie->port->kind != GrafPortRecord::Kind::Window || movie->port->window != event.window) {
        return false;
    }
    const Rect bar = Bar();
    const int x = event.where.h;
    const int y = event.where.v;
    if (x < bar.left || x >= bar.right || y < bar.top || y >= bar.bottom) {
        return false;
    }
    const int local = x - bar.left;
    if (local < kButtonWidth) {
        TogglePlay();
        return true;
    }
    const int left = TrackLeft();
    const int trackWidth = std::max(1, (bar.right - bar.left) - kTrackMargin - left - kThumbWidth);
    const double fraction = std::clamp(static_cast<double>(local - left) / trackWidth, 0.0, 1.0);
    movie->SetTime(fraction * static_cast<double>(movie->Duration()));
    return true;
}

} // namespace qt
