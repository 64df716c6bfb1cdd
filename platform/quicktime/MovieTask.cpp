#include "platform/quicktime/MovieTask.h"

#include "platform/quicktime/ControllerRecord.h"
#include "platform/quicktime/FrameWriter.h"
#include "platform/quicktime/Layer.h"
#include "platform/quicktime/QTVRInstanceRecord.h"
#include "platform/quicktime/VideoDecoder.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace qt::detail {

namespace {

struct Picture {
    TrackRecord* track;
    const AVFrame* frame;
};

bool SameRect(const Rect& a, const Rect& b) {
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

// The frames the movie shows now, one per enabled visual track that shows one, bottom track first.
std::vector<Picture> CurrentPictures(MovieRecord& movie, double now, std::vector<std::int64_t>& key) {
    std::vector<Picture> pictures;
    for (std::size_t index = 0; index < movie.tracks.size(); ++index) {
        TrackRecord& track = *movie.tracks[index];
        if (!track.enabled || !track.IsVisual()) {
            continue;
        }
        // At the end a movie goes on showing its last frame.
        const double time = std::min(now, static_cast<double>(track.End()) - 1e-3);
        double mediaTime = 0;
        if (!track.MediaTimeAt(time, mediaTime)) {
            continue;
        }
        if (!track.video) {
            track.video = std::make_unique<VideoDecoder>(*track.media);
        }
        OSErr error = noErr;
        const AVFrame* frame = track.video->FrameAt(static_cast<std::int64_t>(std::floor(mediaTime)), error);
        if (error != noErr && movie.endedAt < 0) {
            movie.endedAt = now;
            movie.decodeError = error;
        }
        if (frame != nullptr) {
            pictures.push_back({&track, frame});
            key.push_back(static_cast<std::int64_t>(index));
            key.push_back(track.video->CurrentStart());
        }
    }
    return pictures;
}

void DrawInto(const PixelTarget& target, const std::vector<Picture>& pictures, const Rect& box,
              ControllerRecord* controller, int originX, int originY) {
    Rect place{static_cast<std::int16_t>(box.top - originY), static_cast<std::int16_t>(box.left - originX),
               static_cast<std::int16_t>(box.bottom - originY),
               static_cast<std::int16_t>(box.right - originX)};
    for (const Picture& picture : pictures) {
        picture.track->video->Writer().PutFrame(target, *picture.frame, place);
    }
    const int boxWidth = box.right - box.left;
    const int boxHeight = box.bottom - box.top;
    if (controller != nullptr && controller->vr != nullptr && boxWidth > 0 && boxHeight > 0) {
        std::vector<std::uint32_t> view(static_cast<std::size_t>(boxWidth) *
                                        static_cast<std::size_t>(boxHeight));
        controller->vr->Draw(view.data(), boxWidth, boxHeight);
        PutPicture(target, view.data(), boxWidth, boxHeight, place.left, place.top);
    }
    if (controller != nullptr && controller->Visible()) {
        const Rect bar = controller->Bar();
        const int width = bar.right - bar.left;
        if (width > 0) {
            std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * ControllerRecord::kBarHeight);
            controller->DrawBar(pixels.data(), width);
            PutPicture(target, pixels.data(), width, ControllerRecord::kBarHeight, bar.left - originX,
                       bar.top - originY);
        }
    }
}

void DrawWindow(MovieRecord& movie, const std::vector<Picture>& pictures, const Rect& area,
                ControllerRecord* controller) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        ForgetPicture(movie);
        return;
    }
    const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (movie.overlayPixels.size() != size) {
        ForgetPicture(movie);
        movie.overlayPixels.assign(size, 0);
    }
    {
        auto guard = video::OverlayLock();
        DrawInto(TargetOfPicture(movie.overlayPixels.data(), width, height), pictures, movie.box, controller,
                 area.left, area.top);
    }
    video::Overlay overlay;
    overlay.window = movie.port->window;
    overlay.dest = {area.left, area.top, area.right, area.bottom};
    overlay.width = width;
    overlay.height = height;
    overlay.pitch = static_cast<std::ptrdiff_t>(width) * 4;
    overlay.pixels = movie.overlayPixels.data();
    if (movie.overlay == 0 || !video::UpdateOverlay(movie.overlay, overlay)) {
        movie.overlay = video::AddOverlay(overlay);
    }
}

} // namespace

void TaskMovie(MovieRecord& movie) {
    Layer& layer = Layer::Instance();
    const double now = movie.Now();
    if (!layer.IsPort(movie.port)) {
        ForgetPicture(movie);
        return;
    }
    GrafPortRecord& port = *movie.port;
    ControllerRecord* controller = layer.IsController(movie.controller) ? movie.controller : nullptr;
    const Rect area = controller != nullptr ? controller->Bounds() : movie.box;
    std::vector<std::int64_t> key;
    // A VR movie's controller shows the node, not the frames.
    const bool vr = controller != nullptr && controller->vr != nullptr;
    std::vector<Picture> pictures = vr ? std::vector<Picture>{} : CurrentPictures(movie, now, key);
    if (vr) {
        key.push_back(static_cast<std::int64_t>(controller->vr->Version()));
    }
    const std::int64_t barState =
        controller != nullptr && controller->Visible() ? controller->BarState() : -1;
    MovieRecord::Drawn& drawn = movie.drawn;
    if (drawn.valid && drawn.port == movie.port && SameRect(drawn.area, area) && drawn.frames == key &&
        drawn.barState == barState) {
        return;
    }
    if (port.kind == GrafPortRecord::Kind::World) {
        if (!port.locked) {
            return;
        }
        DrawInto(TargetOfWorld(port), pictures, movie.box, controller, 0, 0);
    } else {
        if (pictures.empty() && barState < 0 && !vr) {
            return;
        }
        DrawWindow(movie, pictures, area, controller);
    }
    drawn = {movie.port, area, std::move(key), barState, true};
}

void ForgetPicture(MovieRecord& movie) {
    if (movie.overlay != 0) {
        video::RemoveOverlay(movie.overlay);
        movie.overlay = 0;
    }
    movie.overlayPixels.clear();
    movie.drawn.valid = false;
}

} // namespace qt::detail
