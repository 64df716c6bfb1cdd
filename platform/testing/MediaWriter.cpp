#include "platform/testing/MediaWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

namespace qt::testing {

namespace {

void Check(int result, const std::string& what) {
    if (result < 0) {
        char text[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(result, text, sizeof(text));
        throw std::runtime_error("MediaWriter: " + what + ": " + text);
    }
}

struct Encoder {
    AVStream* stream = nullptr;
    AVCodecContext* codec = nullptr;
    AVFrame* frame = nullptr;
    std::int64_t next = 0;
    std::int64_t end = 0;
    bool picture = false;
    PictureTrack pictureTrack;
    SoundTrack soundTrack;
    SwsContext* scaler = nullptr;

    ~Encoder() {
        sws_freeContext(scaler);
        av_frame_free(&frame);
        avcodec_free_context(&codec);
    }
};

AVPixelFormat PixelFormatFor(const std::string& codec) {
    if (codec == "qtrle") {
        return AV_PIX_FMT_RGB24;
    }
    if (codec == "mjpeg") {
        return AV_PIX_FMT_YUVJ420P;
    }
    return AV_PIX_FMT_YUV420P;
}

std::unique_ptr<Encoder> OpenPicture(AVFormatContext* format, const PictureTrack& track) {
    auto encoder = std::make_unique<Encoder>();
    encoder->picture = true;
    encoder->pictureTrack = track;
    const AVCodec* codec = avcodec_find_encoder_by_name(track.codec.c_str());
    if (codec == nullptr) {
        throw std::runtime_error("MediaWriter: no encoder " + track.codec);
    }
    encoder->stream = avformat_new_stream(format, nullptr);
    encoder->codec = avcodec_alloc_context3(codec);
    encoder->codec->width = track.width;
    encoder->codec->height = track.height;
    encoder->codec->pix_fmt = PixelFormatFor(track.codec);
    encoder->codec->time_base = AVRational{1, track.framesPerSecond};
    encoder->codec->framerate = AVRational{track.framesPerSecond, 1};
    encoder->codec->gop_size = track.keyInterval;
    encoder->codec->max_b_frames = 0;
    if (format->oformat->flags & AVFMT_GLOBALHEADER) {
        encoder->codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    Check(avcodec_open2(encoder->codec, codec, nullptr), "open " + track.codec);
    Check(avcodec_parameters_from_context(encoder->stream->codecpar, encoder->codec), "parameters");
    encoder->stream->time_base = encoder->codec->time_base;
    encoder->stream->disposition = track.enabled ? AV_DISPOSITION_DEFAULT : 0;
    encoder->end = track.frames;
    encoder->frame = av_frame_alloc();
    encoder->frame->format = encoder->codec->pix_fmt;
    encoder->frame->width = track.width;
    encoder->frame->height = track.height;
    Check(av_frame_get_buffer(encoder->frame, 0), "frame");
    encoder->scaler = sws_getContext(track.width, track.height, AV_PIX_FMT_RGB24, track.width, track.height,
                                     encoder->codec->pix_fmt, SWS_POINT, nullptr, nullptr, nullptr);
    return encoder;
}

std::unique_ptr<Encoder> OpenSound(AVFormatContext* format, const SoundTrack& track) {
    auto encoder = std::make_unique<Encoder>();
    encoder->soundTrack = track;
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
    encoder->stream = avformat_new_stream(format, nullptr);
    encoder->codec = avcodec_alloc_context3(codec);
    encoder->codec->sample_rate = track.sampleRate;
    encoder->codec->sample_fmt = AV_SAMPLE_FMT_S16;
    av_channel_layout_default(&encoder->codec->ch_layout, track.channels);
    encoder->codec->time_base = AVRational{1, track.sampleRate};
    Check(avcodec_open2(encoder->codec, codec, nullptr), "open pcm");
    Check(avcodec_parameters_from_context(encoder->stream->codecpar, encoder->codec), "parameters");
    encoder->stream->time_base = encoder->codec->time_base;
    encoder->stream->disposition = track.enabled ? AV_DISPOSITION_DEFAULT : 0;
    encoder->end = static_cast<std::int64_t>(std::llround(track.seconds * track.sampleRate));
    encoder->frame = av_frame_alloc();
    return encoder;
}

void FillPicture(Encoder& encoder) {
    const PictureTrack& track = encoder.pictureTrack;
    const std::uint32_t color = FrameColor(static_cast<int>(encoder.next));
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(track.width) * track.height * 3);
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = static_cast<std::uint8_t>(color >> 16);
        rgb[i + 1] = static_cast<std::uint8_t>(color >> 8);
        rgb[i + 2] = static_cast<std::uint8_t>(color);
    }
    Check(av_frame_make_writable(encoder.frame), "writable");
    const std::uint8_t* planes[1] = {rgb.data()};
    const int pitches[1] = {track.width * 3};
    sws_scale(encoder.scaler, planes, pitches, 0, track.height, encoder.frame->data, encoder.frame->linesize);
    encoder.frame->pts = encoder.next;
    encoder.next += 1;
}

void FillSound(Encoder& encoder) {
    const SoundTrack& track = encoder.soundTrack;
    const int count = static_cast<int>(std::min<std::int64_t>(1024, encoder.end - encoder.next));
    av_frame_unref(encoder.frame);
    encoder.frame->format = AV_SAMPLE_FMT_S16;
    encoder.frame->sample_rate = track.sampleRate;
    encoder.frame->nb_samples = count;
    av_channel_layout_default(&encoder.frame->ch_layout, track.channels);
    Check(av_frame_get_buffer(encoder.frame, 0), "sound frame");
    auto* samples = reinterpret_cast<std::int16_t*>(encoder.frame->data[0]);
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(encoder.next + i) / track.sampleRate;
        const auto value = static_cast<std::int16_t>(
            std::lround(32767 * track.amplitude * std::sin(2 * M_PI * track.frequency * t)));
        for (int channel = 0; channel < track.channels; ++channel) {
            samples[i * track.channels + channel] = value;
        }
    }
    encoder.frame->pts = encoder.next;
    encoder.next += count;
}

void Drain(AVFormatContext* format, Encoder& encoder, AVPacket* packet) {
    while (avcodec_receive_packet(encoder.codec, packet) == 0) {
        if (encoder.picture && packet->duration == 0) {
            packet->duration = 1;
        }
        av_packet_rescale_ts(packet, encoder.codec->time_base, encoder.stream->time_base);
        packet->stream_index = encoder.stream->index;
        Check(av_interleaved_write_frame(format, packet), "write");
    }
}

} // namespace

std::uint32_t FrameColor(int frame) {
    const auto red = static_cast<std::uint32_t>((frame * 40 + 20) % 256);
    const auto green = static_cast<std::uint32_t>((255 - frame * 24) & 0xFF);
    const auto blue = static_cast<std::uint32_t>((frame * 90 + 60) % 256);
    return (red << 16) | (green << 8) | blue;
}

void WriteMediaFile(const std::string& hostPath, const MediaFile& file) {
    AVFormatContext* format = nullptr;
    Check(avformat_alloc_output_context2(&format, nullptr, file.format.c_str(), hostPath.c_str()), "format");
    std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> owner(format, [](AVFormatContext* f) {
        if (f->pb != nullptr) {
            avio_closep(&f->pb);
        }
        avformat_free_context(f);
    });
    std::vector<std::unique_ptr<Encoder>> encoders;
    for (const PictureTrack& track : file.pictures) {
        encoders.push_back(OpenPicture(format, track));
    }
    for (const SoundTrack& track : file.sounds) {
        encoders.push_back(OpenSound(format, track));
    }
    Check(avio_open(&format->pb, hostPath.c_str(), AVIO_FLAG_WRITE), "open " + hostPath);
    AVDictionary* options = nullptr;
    if (file.format == "mov") {
        av_dict_set(&options, "movie_timescale", std::to_string(file.movieTimeScale).c_str(), 0);
    }
    int header = avformat_write_header(format, &options);
    av_dict_free(&options);
    Check(header, "header");
    AVPacket* packet = av_packet_alloc();
    for (auto& encoder : encoders) {
        while (encoder->next < encoder->end) {
            if (encoder->picture) {
                FillPicture(*encoder);
            } else {
                FillSound(*encoder);
            }
            Check(avcodec_send_frame(encoder->codec, encoder->frame), "encode");
            Drain(format, *encoder, packet);
        }
        avcodec_send_frame(encoder->codec, nullptr);
        Drain(format, *encoder, packet);
    }
    av_packet_free(&packet);
    Check(av_write_trailer(format), "trailer");
}

void PatchMovieTimeScale(const std::string& hostPath, std::uint32_t timeScale) {
    std::fstream stream(hostPath, std::ios::in | std::ios::out | std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    const std::size_t at = bytes.find("mvhd");
    if (at == std::string::npos || at + 20 > bytes.size()) {
        throw std::runtime_error("MediaWriter: no movie header in " + hostPath);
    }
    // After the tag: version and flags (4), creation and modification times (4 each in version 0).
    const std::size_t field = at + 4 + 4 + (bytes[at + 4] == 1 ? 16 : 8);
    for (int i = 0; i < 4; ++i) {
        bytes[field + static_cast<std::size_t>(i)] = static_cast<char>((timeScale >> (24 - 8 * i)) & 0xFF);
    }
    stream.clear();
    stream.seekp(0);
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

int DecodeAndConvertWithFfmpeg(const std::string& hostPath) {
    AVFormatContext* format = nullptr;
    Check(avformat_open_input(&format, hostPath.c_str(), nullptr, nullptr), "open " + hostPath);
    std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> owner(
        format, [](AVFormatContext* f) { avformat_close_input(&f); });
    Check(avformat_find_stream_info(format, nullptr), "stream info");
    const int index = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    Check(index, "picture track");
    const AVCodecParameters* parameters = format->streams[index]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    Encoder decoder;
    decoder.codec = avcodec_alloc_context3(codec);
    Check(avcodec_parameters_to_context(decoder.codec, parameters), "parameters");
    Check(avcodec_open2(decoder.codec, codec, nullptr), "decoder");
    decoder.frame = av_frame_alloc();
    std::vector<std::uint32_t> picture(static_cast<std::size_t>(parameters->width) * parameters->height);
    int converted = 0;
    auto convert = [&] {
        while (avcodec_receive_frame(decoder.codec, decoder.frame) == 0) {
            decoder.scaler = sws_getCachedContext(decoder.scaler, decoder.frame->width, decoder.frame->height,
                                                  static_cast<AVPixelFormat>(decoder.frame->format),
                                                  parameters->width, parameters->height, AV_PIX_FMT_BGRA,
                                                  SWS_BILINEAR, nullptr, nullptr, nullptr);
            std::uint8_t* planes[4] = {reinterpret_cast<std::uint8_t*>(picture.data())};
            int pitches[4] = {parameters->width * 4};
            sws_scale(decoder.scaler, decoder.frame->data, decoder.frame->linesize, 0, decoder.frame->height,
                      planes, pitches);
            ++converted;
        }
    };
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(format, packet) >= 0) {
        if (packet->stream_index == index) {
            avcodec_send_packet(decoder.codec, packet);
            convert();
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avcodec_send_packet(decoder.codec, nullptr);
    convert();
    return converted;
}

} // namespace qt::testing
