// A track: an edit list in its movie's time over one media. An edit lasts `duration` movie units and plays
// the media from mediaStart for mediaDuration media units (faster or slower when the two differ); an empty
// edit (mediaStart < 0) shows nothing. Internal to the layer; under the layer's lock.
#pragma once

#include "platform/quicktime/MediaRecord.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace qt::detail {
class AudioVoice;
class VideoDecoder;
} // namespace qt::detail

namespace qt {

struct Edit {
    std::int64_t duration = 0;
    std::int64_t mediaStart = -1;
    std::int64_t mediaDuration = 0;

    bool IsEmpty() const { return mediaStart < 0; }
};

// The stretch of movie time [start, end) that one edit covers, or a stretch before, between or after the
// edits where the track shows nothing. Media time follows movie time linearly within it, so one lookup
// serves every instant of the stretch.
struct EditSpan {
    double start = 0;
    double end = 0;
    bool shows = false;
    std::int64_t mediaStart = 0;
    std::int64_t mediaDuration = 0;
    std::int64_t duration = 0;

    bool Contains(double t) const { return t >= start && t < end; }
    // The media time at movie time t of the stretch (only where it shows).
    double MediaTime(double t) const {
        return static_cast<double>(mediaStart) +
               (t - start) * static_cast<double>(mediaDuration) / static_cast<double>(duration);
    }
};

struct TrackRecord {
    TrackRecord(MovieRecord* movie, std::shared_ptr<MediaRecord> media);
    ~TrackRecord();
    TrackRecord(const TrackRecord&) = delete;
    TrackRecord& operator=(const TrackRecord&) = delete;

    MovieRecord* movie;
    std::shared_ptr<MediaRecord> media;
    bool enabled = true;
    std::int16_t volume = 256;
    std::vector<Edit> edits;

    // Playback state, made on first use.
    std::unique_ptr<detail::VideoDecoder> video;
    std::unique_ptr<detail::AudioVoice> voice;
    double voiceNext = 0;
    bool voiceValid = false;

    bool IsVisual() const { return media != nullptr && media->IsVisual(); }
    bool IsAudible() const { return media != nullptr && media->IsAudible(); }

    std::int64_t End() const;
    std::int64_t Offset() const;
    // Media units per movie unit of the movie's time scale, at rate 1.
    double MediaUnitsPerMovieUnit() const;
    // The media time shown at movie time t; false where the track shows nothing.
    bool MediaTimeAt(double t, double& mediaTime) const;
    // The stretch of the edits that holds movie time t.
    EditSpan SpanAt(double t) const;
    // Movie times at which a frame (or, without frames, an edit) begins, ascending and distinct.
    std::vector<std::int64_t> Edges() const;
    // The edits from start for duration, cut at both ends.
    std::vector<Edit> Extract(std::int64_t start, std::int64_t duration) const;
    // Puts edits in at time `at` (an empty edit fills a gap before it), moving later edits on.
    void Insert(std::int64_t at, const std::vector<Edit>& inserted);
    // Makes the part from start for oldDuration last newDuration.
    void Scale(std::int64_t start, std::int64_t oldDuration, std::int64_t newDuration);
    // Converts every edit's duration from one time scale to another.
    static std::vector<Edit> Rescaled(std::vector<Edit> edits, TimeScale from, TimeScale to);

private:
    // Splits the edit that spans t so that an edit begins at t (0 <= t <= End()); returns its index.
    std::size_t SplitAt(std::int64_t t);
};

} // namespace qt
