#include "platform/quicktime/Calls.h"
#include "platform/quicktime/Demuxer.h"
#include "platform/quicktime/MovieHeader.h"
#include "platform/quicktime/VrWorldReader.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace qt::detail {

namespace {

std::int64_t StreamDuration(const AVFormatContext* format, const AVStream* stream) {
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
        return stream->duration;
    }
    if (format->duration != AV_NOPTS_VALUE && format->duration > 0) {
        return av_rescale_q(format->duration, AVRational{1, AV_TIME_BASE}, stream->time_base);
    }
    return 0;
}

// Frame starts from the demuxer's index; without an index, from a pass over the stream's packets.
void ReadFrameStarts(Demuxer& demuxer, MediaRecord& media) {
    AVStream* stream = demuxer.Stream(media.stream);
    const int count = avformat_index_get_entries_count(stream);
    for (int i = 0; i < count; ++i) {
        const AVIndexEntry* entry = avformat_index_get_entry(stream, i);
        if (entry != nullptr && (entry->flags & AVINDEX_DISCARD_FRAME) == 0) {
            media.frameStarts.push_back(entry->timestamp);
        }
    }
    if (media.frameStarts.empty()) {
        AVPacket* packet = av_packet_alloc();
        while (packet != nullptr && av_read_frame(demuxer.Format(), packet) >= 0) {
            if (packet->stream_index == media.stream) {
                const std::int64_t stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
                if (stamp != AV_NOPTS_VALUE) {
                    media.frameStarts.push_back(stamp);
                }
            }
            av_packet_unref(packet);
        }
        av_packet_free(&packet);
    }
    std::sort(media.frameStarts.begin(), media.frameStarts.end());
    media.frameStarts.erase(std::unique(media.frameStarts.begin(), media.frameStarts.end()),
                            media.frameStarts.end());
    // Decoding timestamps may begin before the first shown frame; media time 0 is the first frame.
    const std::int64_t first = media.frameStarts.empty() ? 0 : media.frameStarts.front();
    for (std::int64_t& start : media.frameStarts) {
        start -= first;
    }
}

std::shared_ptr<MediaRecord> MediaOf(Demuxer& demuxer, int index,
                                     const std::shared_ptr<MediaSource>& source) {
    AVStream* stream = demuxer.Stream(index);
    const AVCodecParameters* codec = stream->codecpar;
    auto media = std::make_shared<MediaRecord>();
    media->type = codec->codec_type == AVMEDIA_TYPE_VIDEO ? VideoMediaType : SoundMediaType;
    media->source = source;
    media->stream = index;
    media->unitNumerator = stream->time_base.num;
    media->unitDenominator = stream->time_base.den;
    media->origin = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    media->duration = StreamDuration(demuxer.Format(), stream);
    media->width = codec->width;
    media->height = codec->height;
    media->sampleRate = codec->sample_rate;
    return media;
}

// The VR track of a VR movie: a track the rest of the layer keeps (it shows and sounds nothing) over the
// nodes' time, and the world it describes. A damaged VR part leaves the movie an ordinary one.
void ReadVr(ByteReader& reader, const std::shared_ptr<MediaSource>& source, MovieRecord& movie,
            const std::string& name) {
    VrReadResult vr = ReadVrWorld(reader);
    if (!vr.world) {
        if (!vr.problem.empty()) {
            std::fprintf(
                stderr,
                "QuickTime: %s: the QuickTime VR part is damaged (%s); it plays as an ordinary movie\n",
                name.c_str(), vr.problem.c_str());
        }
        return;
    }
    auto media = std::make_shared<MediaRecord>();
    media->type = MakeOSType("qtvr");
    media->source = source;
    media->unitDenominator = movie.scale;
    std::int64_t end = 0;
    for (const VrNode& node : vr.world->nodes) {
        end = std::max(end, node.start + node.duration);
    }
    media->duration = end;
    auto track = std::make_unique<TrackRecord>(&movie, media);
    if (end > 0) {
        track->edits.push_back(Edit{end, 0, end});
    }
    movie.vrTrack = track.get();
    movie.tracks.insert(movie.tracks.begin(), std::move(track));
    if (movie.box.right == 0 && vr.world->width > 0 && vr.world->height > 0) {
        movie.box = {0, 0, static_cast<std::int16_t>(std::min(vr.world->height, 0x7FFF)),
                     static_cast<std::int16_t>(std::min(vr.world->width, 0x7FFF))};
    }
    movie.vrWorld = std::make_shared<const VrWorld>(std::move(*vr.world));
}

} // namespace

OSErr ReadMovie(const std::shared_ptr<MediaSource>& source, Movie& movie, const std::string& name) {
    movie = nullptr;
    std::unique_ptr<ByteReader> reader = source->OpenReader();
    if (reader == nullptr) {
        return couldNotResolveDataRef;
    }
    std::optional<MovieHeader> header = ReadMovieHeader(*reader);
    if (header && (header->timeScale == 0 || header->timeScale > INT32_MAX)) {
        return invalidMovie;
    }
    Demuxer demuxer;
    if (!demuxer.Open(*source)) {
        return noMovieFound;
    }
    std::vector<std::shared_ptr<MediaRecord>> media;
    for (unsigned i = 0; i < demuxer.Format()->nb_streams; ++i) {
        AVStream* stream = demuxer.Stream(static_cast<int>(i));
        const AVMediaType type = stream->codecpar->codec_type;
        const bool picture =
            type == AVMEDIA_TYPE_VIDEO && (stream->disposition & AV_DISPOSITION_ATTACHED_PIC) == 0;
        const bool sound = type == AVMEDIA_TYPE_AUDIO && stream->codecpar->sample_rate > 0;
        if ((picture || sound) && stream->time_base.num > 0 && stream->time_base.den > 0) {
            media.push_back(MediaOf(demuxer, static_cast<int>(i), source));
        }
    }
    if (media.empty()) {
        return noMovieFound;
    }
    for (auto& item : media) {
        if (item->IsVisual()) {
            ReadFrameStarts(demuxer, *item);
        }
    }
    auto* made = new MovieRecord(header ? static_cast<TimeScale>(header->timeScale) : 600);
    made->source = source;
    for (auto& item : media) {
        auto track = std::make_unique<TrackRecord>(made, item);
        const std::int64_t length = static_cast<std::int64_t>(
            (static_cast<__int128>(item->duration) * item->unitNumerator * made->scale +
             item->unitDenominator / 2) /
            item->unitDenominator);
        if (item->duration > 0 && length > 0) {
            track->edits.push_back(Edit{length, 0, item->duration});
        }
        if (demuxer.IsQuickTimeFamily()) {
            track->enabled = (demuxer.Stream(item->stream)->disposition & AV_DISPOSITION_DEFAULT) != 0;
        }
        if (track->enabled && item->IsVisual() && made->box.right == 0 && item->width > 0 &&
            item->height > 0) {
            made->box = {0, 0, static_cast<std::int16_t>(std::min(item->height, 0x7FFF)),
                         static_cast<std::int16_t>(std::min(item->width, 0x7FFF))};
        }
        made->tracks.push_back(std::move(track));
    }
    if (header) {
        ReadVr(*reader, source, *made, name);
    }
    movie = made;
    return noErr;
}

} // namespace qt::detail
