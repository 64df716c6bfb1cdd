// A movie controller: the hidden kind draws nothing of its own; the standard one shows its movie above a
// bar with a play/pause button and a position bar, and takes clicks and the space bar. Internal to the
// layer; under the layer's lock.
#pragma once

#include "platform/quicktime/Types.h"

#include <cstdint>
#include <memory>

namespace qt {

struct ControllerRecord {
    static constexpr int kBarHeight = 16;
    static constexpr int kButtonWidth = 16;

    // A QuickTime VR movie's controller gets the movie's VR instance, which shows the movie's nodes instead
    // of its frames (QTVRInstanceRecord.h); one whose default node cannot be shown plays the movie as it is.
    ControllerRecord(MovieRecord* movie, const Rect& bounds, std::int32_t flags);
    ~ControllerRecord();
    ControllerRecord(const ControllerRecord&) = delete;
    ControllerRecord& operator=(const ControllerRecord&) = delete;

    MovieRecord* movie;
    std::int32_t flags;
    bool active = true;
    bool keysEnabled = true;
    std::int32_t controllerFlags = 0;
    std::unique_ptr<QTVRInstanceRecord> vr;

    bool Visible() const { return (flags & mcNotVisible) == 0; }
    // The rectangle the controller takes: the movie's box, and below it the bar of a standard controller.
    Rect Bounds() const;
    Rect Bar() const;
    // What a standard controller's bar shows, to tell when it must be drawn again.
    std::int64_t BarState();
    // Draws the bar into a 32-bit x-R-G-B picture of the bar's size.
    void DrawBar(std::uint32_t* pixels, int width);
    // Takes a click, a pointer move or a key; true when it did something with it.
    bool HandleEvent(const EventRecord& event);

private:
    bool Playing() const;
    void TogglePlay();
    int TrackLeft() const;
};

} // namespace qt
