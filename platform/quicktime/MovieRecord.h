// A movie: its tracks, its time on the platform clock, its place (port and box), volume and controller.
// Internal to the layer; under the layer's lock.
#pragma once

#include "platform/quicktime/MediaSource.h"
#include "platform/quicktime/TrackRecord.h"
#include "platform/quicktime/VrWorld.h"
#include "platform/video/Overlays.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace qt {

struct TimeBaseRecord {
    MovieRecord* movie = nullptr;
};

struct MovieRecord {
    explicit MovieRecord(TimeScale scale = 600);
    ~MovieRecord();
    MovieRecord(const MovieRecord&) = delete;
    MovieRecord& operator=(const MovieRecord&) = delete;

    TimeScale scale;
    std::vector<std::unique_ptr<TrackRecord>> tracks;
    Rect box{};
    Fixed preferredRate = kFixed1;
    std::int16_t volume = 256;
    std::int32_t playHints = 0;
    bool looping = false;
    CGrafPtr port = nullptr;
    GDHandle device = nullptr;
    ControllerRecord* controller = nullptr;
    // The file the movie was read from (null for a movie made in memory), and the file it was created with.
    std::shared_ptr<detail::MediaSource> source;
    std::int16_t createdFile = 0;
    // The VR world of a QuickTime VR movie read from a file (null for any other movie), and its "qtvr" track.
    std::shared_ptr<const detail::VrWorld> vrWorld;
    TrackRecord* vrTrack = nullptr;
    // A decoding error ended the movie at this time (movie units), when endedAt >= 0.
    double endedAt = -1;
    OSErr decodeError = noErr;
    TimeBaseRecord timeBase;

    // What was drawn last, so that a task redraws only when the picture changes.
    struct Drawn {
        CGrafPtr port = nullptr;
        Rect area{};
        std::vector<std::int64_t> frames;
        std::int64_t barState = -1;
        bool valid = false;
    } drawn;
    // A window port's picture, shown as an overlay.
    video::OverlayId overlay = 0;
    std::vector<std::uint32_t> overlayPixels;

    std::int64_t Duration() const;
    // The current time in movie units (fractions kept), with the clock's time applied.
    double Now();
    void SetTime(double time);
    Fixed Rate() const { return m_rate; }
    void SetRate(Fixed rate);
    bool Active() const { return m_active; }
    void SetActive(bool active);
    bool IsDone();
    // Plays forwards, or at rate 0 with a forward preferred rate.
    bool Forwards() const { return m_rate != 0 ? m_rate > 0 : preferredRate >= 0; }
    // Tracks have changed: times and pictures are computed afresh.
    void Changed();

private:
    double Normalized(double time) const;

    double m_anchorTime = 0;
    std::uint64_t m_anchorNanoseconds;
    Fixed m_rate = 0;
    bool m_active = false;
};

} // namespace qt
