#include "platform/quicktime/NodeImages.h"

#include "platform/quicktime/Demuxer.h"
#include "platform/quicktime/VideoDecoder.h"

#include <algorithm>
#include <memory>

namespace qt::detail {

namespace {

// The decoded frames of one span of a picture track, in order.
class SpanFrames {
public:
    SpanFrames(const std::shared_ptr<MediaSource>& source, const VrTrackSpan& span, const std::string& what)
        : m_span(span), m_what(what) {
        m_media.source = source;
        m_media.type = VideoMediaType;
        Demuxer demuxer;
        if (source == nullptr || !demuxer.Open(*source)) {
            m_problem = what + ": the file cannot be read";
            return;
        }
        for (unsigned i = 0; i < demuxer.Format()->nb_streams; ++i) {
            AVStream* stream = demuxer.Stream(static_cast<int>(i));
            if (static_cast<std::uint32_t>(stream->id) == span.trackId &&
                stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
                m_media.stream = static_cast<int>(i);
                m_media.unitNumerator = stream->time_base.num;
                m_media.unitDenominator = std::max(stream->time_base.den, 1);
                m_media.width = stream->codecpar->width;
                m_media.height = stream->codecpar->height;
                const int count = avformat_index_get_entries_count(stream);
                for (int k = 0; k < count; ++k) {
                    const AVIndexEntry* entry = avformat_index_get_entry(stream, k);
                    if (entry != nullptr && (entry->flags & AVINDEX_DISCARD_FRAME) == 0) {
                        m_starts.push_back(entry->timestamp);
                    }
                }
            }
        }
        std::sort(m_starts.begin(), m_starts.end());
        if (m_media.stream < 0 || m_media.unitNumerator <= 0) {
            m_problem = what + ": its picture track cannot be decoded";
        } else if (static_cast<std::size_t>(span.firstSample) + span.samples > m_starts.size()) {
            m_problem = what + ": the picture track holds fewer pictures than the node names";
        } else {
            m_decoder = std::make_unique<VideoDecoder>(m_media);
        }
    }

    const std::string& Problem() const { return m_problem; }

    // Picture k of the span; null (with Problem set) when it cannot be decoded.
    const AVFrame* Frame(int k) {
        OSErr error = noErr;
        const std::int64_t start = m_starts[static_cast<std::size_t>(m_span.firstSample + k)];
        const AVFrame* frame = m_decoder->FrameAt(start, error);
        if (frame == nullptr || error != noErr || m_decoder->CurrentStart() != start) {
            m_problem = m_what + ": picture " + std::to_string(k + 1) + " cannot be decoded";
            return nullptr;
        }
        return frame;
    }

    FrameWriter& Writer() { return m_decoder->Writer(); }

private:
    VrTrackSpan m_span;
    std::string m_what;
    MediaRecord m_media;
    std::vector<std::int64_t> m_starts;
    std::unique_ptr<VideoDecoder> m_decoder;
    std::string m_problem;
};

bool FrameIs(const AVFrame& frame, int width, int height) {
    return frame.width == width && frame.height == height;
}

void PutColors(SpanFrames& frames, const AVFrame& frame, std::vector<std::uint32_t>& into) {
    into.assign(static_cast<std::size_t>(frame.width) * frame.height, 0);
    const Rect place{0, 0, static_cast<std::int16_t>(frame.height), static_cast<std::int16_t>(frame.width)};
    frames.Writer().PutFrame(TargetOfPicture(into.data(), frame.width, frame.height), frame, place);
    for (std::uint32_t& pixel : into) {
        pixel &= 0xFFFFFF;
    }
}

// A hot-spot tile: the palette index of an 8-bit track, the low byte (blue) of any other.
void PutIds(SpanFrames& frames, const AVFrame& frame, std::vector<std::uint32_t>& into) {
    const auto format = static_cast<AVPixelFormat>(frame.format);
    if (format == AV_PIX_FMT_PAL8 || format == AV_PIX_FMT_GRAY8) {
        into.assign(static_cast<std::size_t>(frame.width) * frame.height, 0);
        for (int y = 0; y < frame.height; ++y) {
            const std::uint8_t* row = frame.data[0] + static_cast<std::ptrdiff_t>(y) * frame.linesize[0];
            std::copy(row, row + frame.width, into.begin() + static_cast<std::ptrdiff_t>(y) * frame.width);
        }
        return;
    }
    PutColors(frames, frame, into);
}

// The stored picture of a panorama (or one cube face) put together from its tiles, row by row.
struct Stored {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

bool Assemble(SpanFrames& frames, int first, int width, int height, int across, int down, bool ids,
              Stored& stored, std::string& problem, const std::string& what) {
    const int tileWidth = width / across;
    const int tileHeight = height / down;
    stored.width = width;
    stored.height = height;
    std::vector<std::uint32_t> tile;
    for (int t = 0; t < across * down; ++t) {
        const AVFrame* frame = frames.Frame(first + t);
        if (frame == nullptr) {
            problem = frames.Problem();
            return false;
        }
        if (!FrameIs(*frame, tileWidth, tileHeight)) {
            problem = what + ": tile " + std::to_string(first + t + 1) + " is " +
                      std::to_string(frame->width) + " by " + std::to_string(frame->height) +
                      " pixels where the node's dicing makes " + std::to_string(tileWidth) + " by " +
                      std::to_string(tileHeight);
            return false;
        }
        if (stored.pixels.empty()) {
            stored.pixels.assign(static_cast<std::size_t>(width) * height, 0);
        }
        (ids ? PutIds : PutColors)(frames, *frame, tile);
        const int left = (t % across) * tileWidth;
        const int top = (t / across) * tileHeight;
        for (int y = 0; y < tileHeight; ++y) {
            std::copy_n(tile.begin() + static_cast<std::ptrdiff_t>(y) * tileWidth, tileWidth,
                        stored.pixels.begin() + static_cast<std::ptrdiff_t>(top + y) * width + left);
        }
    }
    return true;
}

// The promised layout of a cylinder: the stored picture transposed (rotated tiles) or mirrored (upright).
template <typename Pixel>
void Unturn(const Stored& stored, bool rotated, int& width, int& height, std::vector<Pixel>& out) {
    width = rotated ? stored.height : stored.width;
    height = rotated ? stored.width : stored.height;
    out.resize(static_cast<std::size_t>(width) * height);
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            const std::size_t from =
                rotated ? static_cast<std::size_t>(c) * stored.width + r
                        : static_cast<std::size_t>(r) * stored.width + (stored.width - 1 - c);
            out[static_cast<std::size_t>(r) * width + c] = static_cast<Pixel>(stored.pixels[from]);
        }
    }
}

template <typename Pixel>
void Keep(const Stored& stored, int& width, int& height, std::vector<Pixel>& out) {
    width = stored.width;
    height = stored.height;
    out.assign(stored.pixels.begin(), stored.pixels.end());
}

bool DecodeLayer(const std::shared_ptr<MediaSource>& source, const VrPanorama& pano, bool ids,
                 VrPanoramaImages& images, std::string& problem, const std::string& what) {
    const VrTrackSpan& span = ids ? pano.hotSpots : pano.image;
    SpanFrames frames(source, span, what);
    if (!frames.Problem().empty()) {
        problem = frames.Problem();
        return false;
    }
    const int width = ids ? pano.hotSpotWidth : pano.imageWidth;
    const int height = ids ? pano.hotSpotHeight : pano.imageHeight;
    const int across = ids ? pano.hotSpotTilesAcross : pano.tilesAcross;
    const int down = ids ? pano.hotSpotTilesDown : pano.tilesDown;
    const int faces = pano.kind == VrPanoramaKind::Cube ? 6 : 1;
    for (int face = 0; face < faces; ++face) {
        Stored stored;
        if (!Assemble(frames, face * across * down, width, height, across, down, ids, stored, problem,
                      what)) {
            return false;
        }
        if (pano.kind == VrPanoramaKind::Cylinder && ids) {
            Unturn(stored, pano.rotatedTiles, images.hotSpots.width, images.hotSpots.height,
                   images.hotSpots.ids);
        } else if (pano.kind == VrPanoramaKind::Cylinder) {
            Unturn(stored, pano.rotatedTiles, images.panorama.width, images.panorama.height,
                   images.panorama.pixels);
        } else if (ids) {
            VrIdPicture& picture = images.hotSpotFaces.emplace_back();
            Keep(stored, picture.width, picture.height, picture.ids);
        } else {
            VrPicture& picture = images.faces.emplace_back();
            Keep(stored, picture.width, picture.height, picture.pixels);
        }
    }
    return true;
}

} // namespace

const VrPicture* VrObjectImages::View(int column, int row, int frame) const {
    if (column < 0 || column >= columns || row < 0 || row >= rows || frame < 0 || frame >= framesPerView) {
        return nullptr;
    }
    const std::size_t index = (static_cast<std::size_t>(row) * columns + column) * framesPerView + frame;
    return index < frames.size() ? &frames[index] : nullptr;
}

bool DecodePanoramaImages(const std::shared_ptr<MediaSource>& source, const VrNode& node,
                          VrPanoramaImages& images, std::string& problem) {
    images = VrPanoramaImages{};
    if (!node.panorama) {
        problem = "node " + std::to_string(node.id) + " is no panorama";
        return false;
    }
    const std::string what = "the picture of node " + std::to_string(node.id);
    if (!DecodeLayer(source, *node.panorama, false, images, problem, what)) {
        return false;
    }
    return node.panorama->hotSpots.trackId == 0 ||
           DecodeLayer(source, *node.panorama, true, images, problem,
                       "the hot-spot picture of node " + std::to_string(node.id));
}

bool DecodeObjectImages(const std::shared_ptr<MediaSource>& source, const VrNode& node,
                        VrObjectImages& images, std::string& problem) {
    images = VrObjectImages{};
    if (!node.object) {
        problem = "node " + std::to_string(node.id) + " is no object";
        return false;
    }
    const VrObject& object = *node.object;
    SpanFrames frames(source, object.image, "the views of node " + std::to_string(node.id));
    if (!frames.Problem().empty()) {
        problem = frames.Problem();
        return false;
    }
    images.columns = object.columns;
    images.rows = object.rows;
    images.framesPerView = object.framesPerView;
    const int count = object.columns * object.rows * object.framesPerView;
    for (int k = 0; k < count; ++k) {
        const AVFrame* frame = frames.Frame(k);
        if (frame == nullptr) {
            problem = frames.Problem();
            images = VrObjectImages{};
            return false;
        }
        VrPicture& picture = images.frames.emplace_back();
        picture.width = frame->width;
        picture.height = frame->height;
        PutColors(frames, *frame, picture.pixels);
    }
    return true;
}

} // namespace qt::detail
