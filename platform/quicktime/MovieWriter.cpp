#include "platform/quicktime/Calls.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <unistd.h>

#include <cmath>
#include <string>

namespace qt::detail {

namespace {

struct Output {
    int descriptor;
    std::int64_t position = 0;
    std::int64_t length = 0;
};

int WritePacket(void* opaque, std::uint8_t* buffer, int size) {
    auto* output = static_cast<Output*>(opaque);
    ssize_t written = pwrite(output->descriptor, buffer, static_cast<std::size_t>(size), output->position);
    if (written != size) {
        return AVERROR(EIO);
    }
    output->position += size;
    output->length = std::max(output->length, output->position);
    return size;
}

std::int64_t SeekOutput(void* opaque, std::int64_t offset, int whence) {
    auto* output = static_cast<Output*>(opaque);
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return output->length;
    case SEEK_SET:
        break;
    case SEEK_CUR:
        offset += output->position;
        break;
    case SEEK_END:
        offset += output->length;
        break;
    default:
        return -1;
    }
    output->position = offset;
    return offset;
}

AVCodecID CodecOf(const MediaRecord::Chunk& chunk) {
    if (chunk.format == MakeOSType("raw ")) {
        return chunk.bits == 8 ? AV_CODEC_ID_PCM_U8 : AV_CODEC_ID_NONE;
    }
    if (chunk.format == MakeOSType("twos")) {
        return chunk.bits == 8 ? AV_CODEC_ID_PCM_S8 : AV_CODEC_ID_PCM_S16BE;
    }
    if (chunk.format == MakeOSType("sowt")) {
        return chunk.bits == 8 ? AV_CODEC_ID_PCM_S8 : AV_CODEC_ID_PCM_S16LE;
    }
    return AV_CODEC_ID_NONE;
}

struct Written {
    TrackRecord* track;
    AVStream* stream;
};

class Muxer {
public:
    ~Muxer() {
        if (format != nullptr) {
            avformat_free_context(format);
        }
        if (io != nullptr) {
            av_freep(&io->buffer);
            avio_context_free(&io);
        }
        av_dict_free(&options);
    }
    AVFormatContext* format = nullptr;
    AVIOContext* io = nullptr;
    AVDictionary* options = nullptr;
};

} // namespace

OSErr WriteMovie(MovieRecord& movie, const std::string&, int descriptor) {
    std::vector<TrackRecord*> tracks;
    for (auto& track : movie.tracks) {
        if (!track->media->InMemory() || !track->media->IsAudible() || track->media->chunks.empty() ||
            CodecOf(track->media->chunks.front()) == AV_CODEC_ID_NONE) {
            return featureUnsupported;
        }
        tracks.push_back(track.get());
    }
    if (tracks.empty()) {
        return featureUnsupported;
    }
    if (ftruncate(descriptor, 0) != 0) {
        return ioErr;
    }
    Output output{descriptor};
    Muxer muxer;
    if (avformat_alloc_output_context2(&muxer.format, nullptr, "mov", nullptr) < 0) {
        return memFullErr;
    }
    auto* buffer = static_cast<unsigned char*>(av_malloc(64 * 1024));
    muxer.io = buffer != nullptr
                   ? avio_alloc_context(buffer, 64 * 1024, 1, &output, nullptr, &WritePacket, &SeekOutput)
                   : nullptr;
    if (muxer.io == nullptr) {
        av_free(buffer);
        return memFullErr;
    }
    muxer.format->pb = muxer.io;
    av_dict_set(&muxer.options, "movie_timescale", std::to_string(movie.scale).c_str(), 0);
    std::vector<Written> written;
    for (TrackRecord* track : tracks) {
        const MediaRecord& media = *track->media;
        const MediaRecord::Chunk& first = media.chunks.front();
        AVStream* stream = avformat_new_stream(muxer.format, nullptr);
        if (stream == nullptr) {
            return memFullErr;
        }
        const double rate =
            static_cast<double>(media.unitDenominator) /
            (static_cast<double>(media.unitNumerator) * static_cast<double>(media.unitsPerSample));
        stream->codecpar->codec_type = AVMEDIA_TYPE_AUDIO;
        stream->codecpar->codec_id = CodecOf(first);
        stream->codecpar->sample_rate = std::max(1, static_cast<int>(std::lround(rate)));
        av_channel_layout_default(&stream->codecpar->ch_layout, first.channels);
        stream->codecpar->bits_per_coded_sample = first.bits;
        stream->codecpar->block_align = first.channels * first.bits / 8;
        stream->time_base = AVRational{1, stream->codecpar->sample_rate};
        stream->disposition = track->enabled ? AV_DISPOSITION_DEFAULT : 0;
        written.push_back({track, stream});
    }
    if (avformat_write_header(muxer.format, &muxer.options) < 0) {
        return ioErr;
    }
    AVPacket* packet = av_packet_alloc();
    if (packet == nullptr) {
        return memFullErr;
    }
    OSErr result = noErr;
    for (const Written& item : written) {
        std::int64_t samples = 0;
        for (const MediaRecord::Chunk& chunk : item.track->media->chunks) {
            if (av_new_packet(packet, static_cast<int>(chunk.bytes.size())) < 0) {
                result = memFullErr;
                break;
            }
            std::copy(chunk.bytes.begin(), chunk.bytes.end(), packet->data);
            packet->stream_index = item.stream->index;
            packet->pts = packet->dts = av_rescale_q(
                samples, AVRational{1, item.stream->codecpar->sample_rate}, item.stream->time_base);
            packet->duration = av_rescale_q(chunk.samples, AVRational{1, item.stream->codecpar->sample_rate},
                                            item.stream->time_base);
            samples += chunk.samples;
            if (av_interleaved_write_frame(muxer.format, packet) < 0) {
                result = ioErr;
                break;
            }
        }
    }
    av_packet_free(&packet);
    if (av_write_trailer(muxer.format) < 0 && result == noErr) {
        result = ioErr;
    }
    avio_flush(muxer.io);
    return result;
}

} // namespace qt::detail
