#include "platform/quicktime/TrackRecord.h"

#include "platform/quicktime/AudioVoice.h"
#include "platform/quicktime/Layer.h"
#include "platform/quicktime/MovieRecord.h"
#include "platform/quicktime/TimeMath.h"
#include "platform/quicktime/VideoDecoder.h"

#include <algorithm>
#include <limits>

namespace qt {

TrackRecord::TrackRecord(MovieRecord* movie, std::shared_ptr<MediaRecord> media)
    : movie(movie), media(std::move(media)) {
    detail::Layer::Instance().tracks.insert(this);
}

TrackRecord::~TrackRecord() {
    detail::Layer::Instance().tracks.erase(this);
}

std::int64_t TrackRecord::End() const {
    std::int64_t end = 0;
    for (const Edit& edit : edits) {
        end += edit.duration;
    }
    return end;
}

std::int64_t TrackRecord::Offset() const {
    std::int64_t offset = 0;
    for (const Edit& edit : edits) {
        if (!edit.IsEmpty()) {
            return offset;
        }
        offset += edit.duration;
    }
    return offset;
}

double TrackRecord::MediaUnitsPerMovieUnit() const {
    return static_cast<double>(media->unitDenominator) /
           (static_cast<double>(media->unitNumerator) * static_cast<double>(movie->scale));
}

bool TrackRecord::MediaTimeAt(double t, double& mediaTime) const {
    const EditSpan span = SpanAt(t);
    if (!span.shows) {
        return false;
    }
    mediaTime = span.MediaTime(t);
    return true;
}

EditSpan TrackRecord::SpanAt(double t) const {
    constexpr double kForever = std::numeric_limits<double>::infinity();
    EditSpan span;
    double start = 0;
    for (const Edit& edit : edits) {
        const double end = start + static_cast<double>(edit.duration);
        if (t >= start && t < end) {
            span.start = start;
            span.end = end;
            if (!edit.IsEmpty() && edit.duration > 0) {
                span.shows = true;
                span.mediaStart = edit.mediaStart;
                span.mediaDuration = edit.mediaDuration;
                span.duration = edit.duration;
            }
            return span;
        }
        start = end;
    }
    if (t >= start) {
        span.start = start;
        span.end = kForever;
    } else {
        // Before the edits, or not a time at all: an empty stretch, looked up again at the next instant.
        span.start = span.end = t;
    }
    return span;
}

std::vector<std::int64_t> TrackRecord::Edges() const {
    std::vector<std::int64_t> edges;
    std::int64_t start = 0;
    for (const Edit& edit : edits) {
        if (!edit.IsEmpty() && edit.duration > 0) {
            edges.push_back(start);
            if (edit.mediaDuration > 0) {
                const std::int64_t mediaEnd = edit.mediaStart + edit.mediaDuration;
                auto first =
                    std::upper_bound(media->frameStarts.begin(), media->frameStarts.end(), edit.mediaStart);
                for (auto frame = first; frame != media->frameStarts.end() && *frame < mediaEnd; ++frame) {
                    // The first movie unit at which the frame shows.
                    edges.push_back(start + detail::MulDivCeil(*frame - edit.mediaStart, edit.duration,
                                                               edit.mediaDuration));
                }
            }
        }
        start += edit.duration;
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    return edges;
}

std::size_t TrackRecord::SplitAt(std::int64_t t) {
    std::int64_t start = 0;
    for (std::size_t i = 0; i < edits.size(); ++i) {
        if (t == start) {
            return i;
        }
        const Edit edit = edits[i];
        if (t < start + edit.duration) {
            const std::int64_t head = t - start;
            Edit first = edit;
            Edit second = edit;
            first.duration = head;
            second.duration = edit.duration - head;
            if (!edit.IsEmpty()) {
                first.mediaDuration = detail::MulDiv(edit.mediaDuration, head, edit.duration);
                second.mediaStart = edit.mediaStart + first.mediaDuration;
                second.mediaDuration = edit.mediaDuration - first.mediaDuration;
            }
            edits[i] = first;
            edits.insert(edits.begin() + static_cast<std::ptrdiff_t>(i) + 1, second);
            return i + 1;
        }
        start += edit.duration;
    }
    return edits.size();
}

std::vector<Edit> TrackRecord::Extract(std::int64_t start, std::int64_t duration) const {
    TrackRecord copy(movie, media);
    copy.edits = edits;
    const std::int64_t end = std::min(start + duration, copy.End());
    if (start >= end) {
        return {};
    }
    const std::size_t first = copy.SplitAt(start);
    const std::size_t last = copy.SplitAt(end);
    return {copy.edits.begin() + static_cast<std::ptrdiff_t>(first),
            copy.edits.begin() + static_cast<std::ptrdiff_t>(last)};
}

void TrackRecord::Insert(std::int64_t at, const std::vector<Edit>& inserted) {
    const std::int64_t end = End();
    if (at > end) {
        edits.push_back(Edit{at - end, -1, 0});
    }
    const std::size_t index = SplitAt(std::min(at, End()));
    edits.insert(edits.begin() + static_cast<std::ptrdiff_t>(index), inserted.begin(), inserted.end());
}

void TrackRecord::Scale(std::int64_t start, std::int64_t oldDuration, std::int64_t newDuration) {
    const std::int64_t end = std::min(start + oldDuration, End());
    if (start >= end || oldDuration <= 0) {
        return;
    }
    const std::size_t first = SplitAt(start);
    const std::size_t last = SplitAt(end);
    // Each edit's new end is placed by the segment's ratio, so rounding never adds up.
    std::int64_t oldEnd = 0;
    std::int64_t placed = 0;
    for (std::size_t i = first; i < last; ++i) {
        oldEnd += edits[i].duration;
        const std::int64_t newEnd = detail::MulDiv(oldEnd, newDuration, oldDuration);
        edits[i].duration = newEnd - placed;
        placed = newEnd;
    }
}

std::vector<Edit> TrackRecord::Rescaled(std::vector<Edit> list, TimeScale from, TimeScale to) {
    std::int64_t oldEnd = 0;
    std::int64_t placed = 0;
    for (Edit& edit : list) {
        oldEnd += edit.duration;
        const std::int64_t newEnd = detail::MulDiv(oldEnd, to, from);
        edit.duration = newEnd - placed;
        placed = newEnd;
    }
    return list;
}

} // namespace qt
