#include "platform/testing/VrMovieWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

namespace qt::testing {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::uint32_t kTimeScale = 600;
// Movie time a node lasts in the VR track; its tiles share it.
constexpr std::uint32_t kNodeDuration = 600;
constexpr std::uint32_t kViewDuration = 60;

std::uint32_t Code(const char* text) {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) << 24) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 8) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text[3]));
}

class Bytes {
public:
    void U8(std::uint32_t value) { m_bytes.push_back(static_cast<std::uint8_t>(value)); }
    void U16(std::uint32_t value) {
        U8(value >> 8);
        U8(value);
    }
    void U32(std::uint32_t value) {
        U16(value >> 16);
        U16(value);
    }
    void Type(const char* text) { U32(Code(text)); }
    void Float(float value) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        U32(bits);
    }
    void Zeros(std::size_t count) { m_bytes.insert(m_bytes.end(), count, 0); }
    void Append(const std::vector<std::uint8_t>& more) {
        m_bytes.insert(m_bytes.end(), more.begin(), more.end());
    }
    // A file atom: its size is filled in by End.
    std::size_t Begin(const char* type) {
        const std::size_t at = m_bytes.size();
        U32(0);
        Type(type);
        return at;
    }
    void End(std::size_t at) {
        const auto size = static_cast<std::uint32_t>(m_bytes.size() - at);
        for (int i = 0; i < 4; ++i) {
            m_bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(size >> (24 - 8 * i));
        }
    }
    std::vector<std::uint8_t>& Data() { return m_bytes; }
    std::size_t Size() const { return m_bytes.size(); }

private:
    std::vector<std::uint8_t> m_bytes;
};

// A QT atom: a leaf with data, or a parent of children.
struct QtAtom {
    std::string type;
    std::uint32_t id = 1;
    std::vector<std::uint8_t> data;
    std::vector<QtAtom> children;
};

void PutQtAtom(Bytes& out, const QtAtom& atom) {
    const std::size_t at = out.Begin(atom.type.c_str());
    out.U32(atom.id);
    out.U16(0);
    out.U16(static_cast<std::uint32_t>(atom.children.size()));
    out.U32(0);
    out.Append(atom.data);
    for (const QtAtom& child : atom.children) {
        PutQtAtom(out, child);
    }
    out.End(at);
}

// A QT atom container: its 12-byte header (reserved bytes and the lock count), then the root atom.
std::vector<std::uint8_t> Container(std::vector<QtAtom> children) {
    Bytes out;
    out.Zeros(12);
    PutQtAtom(out, QtAtom{"sean", 1, {}, std::move(children)});
    return std::move(out.Data());
}

QtAtom StringAtom(std::uint32_t id, const std::string& text) {
    Bytes data;
    data.U16(1);
    data.U16(static_cast<std::uint32_t>(text.size()));
    data.Append(std::vector<std::uint8_t>(text.begin(), text.end()));
    return QtAtom{"vrsn", id, std::move(data.Data()), {}};
}

// ---- Pictures and tiles ----

struct Tile {
    int width = 0;
    int height = 0;
    // x-R-G-B, or one id a pixel in the low byte.
    std::vector<std::uint32_t> pixels;
};

struct Encoded {
    std::vector<std::vector<std::uint8_t>> samples;
    int width = 0;
    int height = 0;
    int depth = 24;
};

void Check(int result, const std::string& what) {
    if (result < 0) {
        char text[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(result, text, sizeof(text));
        throw std::runtime_error("VrMovieWriter: " + what + ": " + text);
    }
}

// QuickTime Animation frames, each a key frame: 24-bit colour, or 8-bit for hot-spot ids.
Encoded EncodeTiles(const std::vector<Tile>& tiles, bool ids) {
    Encoded encoded;
    if (tiles.empty()) {
        return encoded;
    }
    const AVCodec* codec = avcodec_find_encoder_by_name("qtrle");
    if (codec == nullptr) {
        throw std::runtime_error("VrMovieWriter: no QuickTime Animation encoder");
    }
    std::unique_ptr<AVCodecContext, void (*)(AVCodecContext*)> context(
        avcodec_alloc_context3(codec), [](AVCodecContext* c) { avcodec_free_context(&c); });
    encoded.width = tiles.front().width;
    encoded.height = tiles.front().height;
    context->width = encoded.width;
    context->height = encoded.height;
    context->pix_fmt = ids ? AV_PIX_FMT_GRAY8 : AV_PIX_FMT_RGB24;
    context->time_base = AVRational{1, 25};
    context->gop_size = 1;
    Check(avcodec_open2(context.get(), codec, nullptr), "open the tile encoder");
    encoded.depth = context->bits_per_coded_sample;
    std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame(av_frame_alloc(),
                                                       [](AVFrame* f) { av_frame_free(&f); });
    std::unique_ptr<AVPacket, void (*)(AVPacket*)> packet(av_packet_alloc(),
                                                          [](AVPacket* p) { av_packet_free(&p); });
    frame->format = context->pix_fmt;
    frame->width = encoded.width;
    frame->height = encoded.height;
    Check(av_frame_get_buffer(frame.get(), 0), "tile frame");
    std::int64_t pts = 0;
    auto drain = [&] {
        while (avcodec_receive_packet(context.get(), packet.get()) == 0) {
            encoded.samples.emplace_back(packet->data, packet->data + packet->size);
            av_packet_unref(packet.get());
        }
    };
    for (const Tile& tile : tiles) {
        Check(av_frame_make_writable(frame.get()), "writable tile");
        for (int y = 0; y < tile.height; ++y) {
            std::uint8_t* row = frame->data[0] + static_cast<std::ptrdiff_t>(y) * frame->linesize[0];
            for (int x = 0; x < tile.width; ++x) {
                const std::uint32_t pixel = tile.pixels[static_cast<std::size_t>(y) * tile.width + x];
                if (ids) {
                    // QuickTime's 8-bit grey pictures store 255 - grey as the pixel's index: the hot spot's
                    // id must be the index.
                    row[x] = static_cast<std::uint8_t>(255 - (pixel & 0xFF));
                } else {
                    row[3 * x] = static_cast<std::uint8_t>(pixel >> 16);
                    row[3 * x + 1] = static_cast<std::uint8_t>(pixel >> 8);
                    row[3 * x + 2] = static_cast<std::uint8_t>(pixel);
                }
            }
        }
        frame->pts = pts++;
        Check(avcodec_send_frame(context.get(), frame.get()), "encode a tile");
        drain();
    }
    Check(avcodec_send_frame(context.get(), nullptr), "flush the tile encoder");
    drain();
    if (encoded.samples.size() != tiles.size()) {
        throw std::runtime_error("VrMovieWriter: the encoder gave a different number of tiles");
    }
    return encoded;
}

double ColumnPan(const VrPanoramaSpec& node, int column) {
    return node.minPan + (column + 0.5) * (node.maxPan - node.minPan) / node.width;
}

double RowTilt(const VrPanoramaSpec& node, int row) {
    const double top = std::tan(node.maxTilt * kPi / 180);
    const double bottom = std::tan(node.minTilt * kPi / 180);
    return std::atan(top - (row + 0.5) * (top - bottom) / node.height) * 180 / kPi;
}

std::uint32_t HotSpotAt(const VrPanoramaSpec& node, double pan, double tilt) {
    for (const VrLinkSpec& link : node.links) {
        if (pan >= link.fromPan && pan < link.toPanEdge && tilt >= link.bottomTilt && tilt <= link.topTilt) {
            return link.id;
        }
    }
    return 0;
}

std::vector<Tile> CubeTiles(const VrPanoramaSpec& node, bool ids);

// The panorama's picture as the node images promise it (column 0 at the minimum pan, pan growing with the
// column, row 0 at the top), cut into tiles as the file stores them.
std::vector<Tile> PanoramaTiles(const VrPanoramaSpec& node, bool ids) {
    if (node.cube) {
        return CubeTiles(node, ids);
    }
    auto value = [&](int column, int row) {
        const double pan = ColumnPan(node, column);
        const double tilt = RowTilt(node, row);
        if (ids) {
            return HotSpotAt(node, pan, tilt);
        }
        return node.paint ? node.paint(pan, tilt) : PanoramaColor(pan, tilt, node.id);
    };
    const int span = node.width / node.tiles;
    std::vector<Tile> tiles;
    for (int k = 0; k < node.tiles; ++k) {
        Tile tile;
        tile.width = node.rotated ? node.height : span;
        tile.height = node.rotated ? span : node.height;
        tile.pixels.resize(static_cast<std::size_t>(tile.width) * tile.height);
        for (int y = 0; y < tile.height; ++y) {
            for (int x = 0; x < tile.width; ++x) {
                // Rotated: the stored picture is the promised one transposed. Upright: mirrored left to
                // right.
                const int column = node.rotated ? k * span + y : node.width - 1 - (k * span + x);
                const int row = node.rotated ? x : y;
                tile.pixels[static_cast<std::size_t>(y) * tile.width + x] = value(column, row);
            }
        }
        tiles.push_back(std::move(tile));
    }
    return tiles;
}

// The view direction through the middle of pixel (column, row) of a cube face, as pan and tilt: each face
// as a viewer inside sees it (x right, y up, z ahead at pan 0; pan grows to the left).
std::pair<double, double> CubeAngles(int face, int column, int row, int size) {
    const double u = (column + 0.5) / size * 2 - 1;
    const double v = 1 - (row + 0.5) / size * 2;
    const double directions[6][3] = {{u, v, 1}, {1, v, -u}, {-u, v, -1}, {-1, v, u}, {u, 1, -v}, {u, -1, v}};
    const double* d = directions[face];
    const double pan = std::atan2(-d[0], d[2]) * 180 / kPi;
    const double tilt = std::atan2(d[1], std::hypot(d[0], d[2])) * 180 / kPi;
    return {pan < 0 ? pan + 360 : pan, tilt};
}

std::vector<Tile> CubeTiles(const VrPanoramaSpec& node, bool ids) {
    std::vector<Tile> tiles;
    for (int face = 0; face < 6; ++face) {
        Tile tile{node.faceSize, node.faceSize, {}};
        for (int row = 0; row < node.faceSize; ++row) {
            for (int column = 0; column < node.faceSize; ++column) {
                const auto [pan, tilt] = CubeAngles(face, column, row, node.faceSize);
                tile.pixels.push_back(ids          ? HotSpotAt(node, pan, tilt)
                                      : node.paint ? node.paint(pan, tilt)
                                                   : PanoramaColor(pan, tilt, node.id));
            }
        }
        tiles.push_back(std::move(tile));
    }
    return tiles;
}

std::vector<Tile> ObjectTiles(const VrObjectSpec& object) {
    std::vector<Tile> tiles;
    for (int row = 0; row < object.rows; ++row) {
        for (int column = 0; column < object.columns; ++column) {
            Tile tile{object.width, object.height, {}};
            tile.pixels.assign(static_cast<std::size_t>(object.width) * object.height,
                               ObjectViewColor(column, row));
            tiles.push_back(std::move(tile));
        }
    }
    return tiles;
}

// ---- Atom records ----

std::vector<std::uint8_t> WorldContainer(const VrMovieSpec& spec,
                                         const std::vector<std::pair<std::uint32_t, bool>>& nodes) {
    Bytes header;
    header.U16(2);
    header.U16(0);
    header.U32(1); // the scene's name atom
    header.U32(spec.defaultNode);
    header.U32(0);
    header.Zeros(8);
    QtAtom parent{"vrnp", 1, {}, {}};
    for (const auto& [id, panorama] : nodes) {
        Bytes location;
        location.U16(2);
        location.U16(0);
        location.Type(panorama ? "pano" : "obje");
        location.U32(0); // the node is in this file
        location.U32(0);
        location.Zeros(8);
        parent.children.push_back(
            QtAtom{"vrni", id, {}, {QtAtom{"nloc", 1, std::move(location.Data()), {}}}});
    }
    return Container(
        {QtAtom{"vrsc", 1, std::move(header.Data()), {}}, StringAtom(1, spec.sceneName), parent});
}

std::vector<std::uint8_t> LinkRecord(const VrLinkSpec& link) {
    Bytes out;
    out.U16(2);
    out.U16(0);
    out.U32(link.toNode);
    out.U32(0);
    out.Zeros(12 + 8);
    out.U32(link.withView ? 7 : 0);
    out.Float(link.toPan);
    out.Float(link.toTilt);
    out.Float(link.toFov);
    out.Zeros(8);
    out.Float(0);
    out.Zeros(12);
    return std::move(out.Data());
}

std::vector<std::uint8_t> HotSpotInfoRecord(const VrLinkSpec& link) {
    Bytes out;
    out.U16(2);
    out.U16(0);
    out.Type("link");
    out.U32(1); // the name atom
    out.U32(0);
    out.Zeros(12);
    out.Float((link.fromPan + link.toPanEdge) / 2);
    out.Float((link.bottomTilt + link.topTilt) / 2);
    out.Float(link.toFov);
    out.Zeros(8 + 8);
    out.Zeros(12);
    return std::move(out.Data());
}

std::vector<std::uint8_t> NodeContainer(std::uint32_t id, const std::string& name, bool panorama,
                                        const std::vector<VrLinkSpec>& links) {
    Bytes header;
    header.U16(2);
    header.U16(0);
    header.Type(panorama ? "pano" : "obje");
    header.U32(id);
    header.U32(1); // the name atom
    header.U32(0);
    header.Zeros(8);
    std::vector<QtAtom> children{QtAtom{"ndhd", 1, std::move(header.Data()), {}}, StringAtom(1, name)};
    if (!links.empty()) {
        QtAtom parent{"hspa", 1, {}, {}};
        for (const VrLinkSpec& link : links) {
            parent.children.push_back(
                QtAtom{"hots",
                       link.id,
                       {},
                       {QtAtom{"hsin", 1, HotSpotInfoRecord(link), {}},
                        QtAtom{"link", 1, LinkRecord(link), {}}, StringAtom(1, link.name)}});
        }
        children.push_back(parent);
    }
    return Container(std::move(children));
}

std::vector<std::uint8_t> PanoramaContainer(const VrPanoramaSpec& node, bool withHotSpots) {
    Bytes out;
    out.U16(2);
    out.U16(0);
    out.U32(1); // the first image track reference
    out.U32(withHotSpots ? 1 : 0);
    for (float value : {node.minPan, node.maxPan, node.minTilt, node.maxTilt, node.minFov, node.maxFov,
                        node.defaultPan, node.defaultTilt, node.defaultFov}) {
        out.Float(value);
    }
    const auto size = static_cast<std::uint32_t>(node.faceSize);
    const std::uint32_t across = node.cube ? size : node.rotated ? node.height : node.width;
    const std::uint32_t down = node.cube ? size : node.rotated ? node.width : node.height;
    const std::uint32_t tilesAcross = node.cube || node.rotated ? 1 : node.tiles;
    const std::uint32_t tilesDown = node.cube ? 1 : node.rotated ? node.tiles : 1;
    for (int pass = 0; pass < 2; ++pass) {
        out.U32(pass == 1 && !withHotSpots ? 0 : across);
        out.U32(pass == 1 && !withHotSpots ? 0 : down);
        out.U16(pass == 1 && !withHotSpots ? 0 : tilesAcross);
        out.U16(pass == 1 && !withHotSpots ? 0 : tilesDown);
    }
    out.U32(0);
    out.Type(node.cube ? "cube" : node.rotated ? "vcyl" : "hcyl");
    out.U32(0);
    return Container({QtAtom{"pdat", 1, std::move(out.Data()), {}}});
}

std::vector<std::uint8_t> ObjectContainer(const VrObjectSpec& object) {
    Bytes out;
    out.U16(2);
    out.U16(0);
    out.U16(1); // the standard object controller
    out.U16(1); // one view state
    out.U16(1);
    out.U16(1);
    out.U32(kViewDuration);
    out.U32(static_cast<std::uint32_t>(object.columns));
    out.U32(static_cast<std::uint32_t>(object.rows));
    out.Float(180);
    out.Float(object.minPan);
    out.Float(object.maxPan);
    out.Float(object.minPan);
    out.Float(object.minTilt);
    out.Float(object.maxTilt);
    out.Float(object.maxTilt);
    out.Float(5);
    out.Float(60);
    out.Float(60);
    out.Float(0);
    out.Float(0);
    out.Float(1);
    out.Float(1);
    out.U32(0);
    out.U32((object.wrapPan ? 1U : 0U) | (object.wrapTilt ? 2U : 0U) | 4U);
    return Container({QtAtom{"obji", 1, std::move(out.Data()), {}}});
}

// ---- The movie file ----

struct TrackData {
    std::uint32_t id = 0;
    std::string handler;
    bool enabled = false;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> description; // the sample description entry, whole
    std::vector<std::vector<std::uint8_t>> samples;
    std::vector<std::uint32_t> durations;
    std::vector<std::pair<std::string, std::vector<std::uint32_t>>> references;
    std::vector<std::uint32_t> offsets;

    std::uint32_t Duration() const {
        std::uint32_t total = 0;
        for (std::uint32_t duration : durations) {
            total += duration;
        }
        return total;
    }
};

std::vector<std::uint8_t> VideoDescription(const Encoded& encoded) {
    Bytes out;
    const std::size_t at = out.Begin("rle ");
    out.Zeros(6);
    out.U16(1);
    out.U16(0);
    out.U16(0);
    out.Type("appl");
    out.U32(0);
    out.U32(512);
    out.U16(static_cast<std::uint32_t>(encoded.width));
    out.U16(static_cast<std::uint32_t>(encoded.height));
    out.U32(72 << 16);
    out.U32(72 << 16);
    out.U32(0);
    out.U16(1);
    const std::string name = "Animation";
    out.U8(static_cast<std::uint32_t>(name.size()));
    out.Append(std::vector<std::uint8_t>(name.begin(), name.end()));
    out.Zeros(31 - name.size());
    out.U16(static_cast<std::uint32_t>(encoded.depth));
    out.U16(0xFFFF);
    out.End(at);
    return std::move(out.Data());
}

std::vector<std::uint8_t> PlainDescription(const char* type, const std::vector<std::uint8_t>& data) {
    Bytes out;
    const std::size_t at = out.Begin(type);
    out.Zeros(6);
    out.U16(1);
    out.Append(data);
    out.End(at);
    return std::move(out.Data());
}

TrackData PictureTrack(std::uint32_t id, const Encoded& encoded, std::uint32_t tileDuration) {
    TrackData track;
    track.id = id;
    track.handler = "vide";
    track.width = encoded.width;
    track.height = encoded.height;
    track.description = VideoDescription(encoded);
    track.samples = encoded.samples;
    track.durations.assign(encoded.samples.size(), tileDuration);
    return track;
}

void PutMatrix(Bytes& out) {
    const std::uint32_t values[9] = {0x10000, 0, 0, 0, 0x10000, 0, 0, 0, 0x40000000};
    for (std::uint32_t value : values) {
        out.U32(value);
    }
}

void PutSampleTable(Bytes& out, const TrackData& track) {
    const std::size_t table = out.Begin("stbl");
    std::size_t at = out.Begin("stsd");
    out.U32(0);
    out.U32(1);
    out.Append(track.description);
    out.End(at);
    at = out.Begin("stts");
    out.U32(0);
    out.U32(static_cast<std::uint32_t>(track.durations.size()));
    for (std::uint32_t duration : track.durations) {
        out.U32(1);
        out.U32(duration);
    }
    out.End(at);
    at = out.Begin("stsc");
    out.U32(0);
    out.U32(1);
    out.U32(1);
    out.U32(1);
    out.U32(1);
    out.End(at);
    at = out.Begin("stsz");
    out.U32(0);
    out.U32(0);
    out.U32(static_cast<std::uint32_t>(track.samples.size()));
    for (const auto& sample : track.samples) {
        out.U32(static_cast<std::uint32_t>(sample.size()));
    }
    out.End(at);
    at = out.Begin("stco");
    out.U32(0);
    out.U32(static_cast<std::uint32_t>(track.offsets.size()));
    for (std::uint32_t offset : track.offsets) {
        out.U32(offset);
    }
    out.End(at);
    out.End(table);
}

void PutTrack(Bytes& out, const TrackData& track) {
    const std::size_t trak = out.Begin("trak");
    std::size_t at = out.Begin("tkhd");
    out.U32(track.enabled ? 0x0F : 0x0E);
    out.U32(0);
    out.U32(0);
    out.U32(track.id);
    out.U32(0);
    out.U32(track.Duration());
    out.Zeros(8);
    out.U16(0);
    out.U16(0);
    out.U16(0);
    out.U16(0);
    PutMatrix(out);
    out.U32(static_cast<std::uint32_t>(track.width) << 16);
    out.U32(static_cast<std::uint32_t>(track.height) << 16);
    out.End(at);
    if (!track.references.empty()) {
        const std::size_t tref = out.Begin("tref");
        for (const auto& [type, ids] : track.references) {
            at = out.Begin(type.c_str());
            for (std::uint32_t id : ids) {
                out.U32(id);
            }
            out.End(at);
        }
        out.End(tref);
    }
    const std::size_t mdia = out.Begin("mdia");
    at = out.Begin("mdhd");
    out.U32(0);
    out.U32(0);
    out.U32(0);
    out.U32(kTimeScale);
    out.U32(track.Duration());
    out.U16(0);
    out.U16(0);
    out.End(at);
    at = out.Begin("hdlr");
    out.U32(0);
    out.Type("mhlr");
    out.Type(track.handler.c_str());
    out.Zeros(12);
    out.U8(0);
    out.End(at);
    const std::size_t minf = out.Begin("minf");
    if (track.handler == "vide") {
        at = out.Begin("vmhd");
        out.U32(1);
        out.Zeros(8);
        out.End(at);
    } else {
        const std::size_t gmhd = out.Begin("gmhd");
        at = out.Begin("gmin");
        out.U32(0);
        out.U16(0x40);
        out.U16(0x8000);
        out.U16(0x8000);
        out.U16(0x8000);
        out.Zeros(4);
        out.End(at);
        out.End(gmhd);
    }
    const std::size_t dinf = out.Begin("dinf");
    at = out.Begin("dref");
    out.U32(0);
    out.U32(1);
    const std::size_t alias = out.Begin("alis");
    out.U32(1);
    out.End(alias);
    out.End(at);
    out.End(dinf);
    PutSampleTable(out, track);
    out.End(minf);
    out.End(mdia);
    out.End(trak);
}

std::vector<std::uint8_t> MovieFile(std::vector<TrackData>& tracks, int width, int height) {
    Bytes out;
    std::size_t at = out.Begin("ftyp");
    out.Type("qt  ");
    out.U32(0x200);
    out.Type("qt  ");
    out.End(at);
    const std::size_t mdat = out.Begin("mdat");
    for (TrackData& track : tracks) {
        for (const auto& sample : track.samples) {
            track.offsets.push_back(static_cast<std::uint32_t>(out.Size()));
            out.Append(sample);
        }
    }
    out.End(mdat);
    std::uint32_t duration = 0;
    for (const TrackData& track : tracks) {
        duration = std::max(duration, track.Duration());
    }
    const std::size_t moov = out.Begin("moov");
    at = out.Begin("mvhd");
    out.U32(0);
    out.U32(0);
    out.U32(0);
    out.U32(kTimeScale);
    out.U32(duration);
    out.U32(0x10000);
    out.U16(0x100);
    out.Zeros(10);
    PutMatrix(out);
    out.Zeros(24);
    out.U32(static_cast<std::uint32_t>(tracks.size() + 1));
    out.End(at);
    for (TrackData& track : tracks) {
        if (track.handler == "qtvr") {
            track.width = width;
            track.height = height;
        }
        PutTrack(out, track);
    }
    out.End(moov);
    return std::move(out.Data());
}

std::vector<TrackData> PanoramaTracks(const VrMovieSpec& spec) {
    std::vector<std::pair<std::uint32_t, bool>> nodes;
    TrackData vr{1, "qtvr", true, 0, 0, {}, {}, {}, {}, {}};
    TrackData panorama{2, "pano", false, 0, 0, {}, {}, {}, {}, {}};
    std::vector<Tile> tiles;
    std::vector<Tile> spots;
    bool anyLinks = false;
    for (const VrPanoramaSpec& node : spec.panoramas) {
        anyLinks = anyLinks || !node.links.empty();
    }
    for (VrPanoramaSpec node : spec.panoramas) {
        if (node.cube) {
            node.tiles = 6;
        } else if (node.tiles <= 0 || node.width % node.tiles != 0 || kNodeDuration % node.tiles != 0) {
            throw std::runtime_error("VrMovieWriter: the panorama's width must divide into its tiles");
        }
        nodes.emplace_back(node.id, true);
        vr.samples.push_back(NodeContainer(node.id, node.name, true, node.links));
        vr.durations.push_back(kNodeDuration);
        panorama.samples.push_back(PanoramaContainer(node, anyLinks));
        panorama.durations.push_back(kNodeDuration);
        for (Tile& tile : PanoramaTiles(node, false)) {
            tiles.push_back(std::move(tile));
        }
        if (anyLinks) {
            for (Tile& tile : PanoramaTiles(node, true)) {
                spots.push_back(std::move(tile));
            }
        }
    }
    vr.description = PlainDescription("qtvr", WorldContainer(spec, nodes));
    panorama.description = PlainDescription("pano", {});
    const VrPanoramaSpec& first = spec.panoramas.front();
    const std::uint32_t tileDuration =
        kNodeDuration / static_cast<std::uint32_t>(first.cube ? 6 : first.tiles);
    std::vector<TrackData> tracks{vr, panorama, PictureTrack(3, EncodeTiles(tiles, false), tileDuration)};
    tracks[1].references.push_back({"imgt", {3}});
    if (anyLinks) {
        tracks.push_back(PictureTrack(4, EncodeTiles(spots, true), tileDuration));
        tracks[1].references.push_back({"hott", {4}});
    }
    return tracks;
}

std::vector<TrackData> ObjectTracks(const VrMovieSpec& spec) {
    const VrObjectSpec& object = spec.objects.front();
    const auto views = static_cast<std::uint32_t>(object.columns * object.rows);
    TrackData vr{1, "qtvr", true, 0, 0, {}, {}, {}, {}, {}};
    vr.description = PlainDescription("qtvr", WorldContainer(spec, {{object.id, false}}));
    vr.samples.push_back(NodeContainer(object.id, object.name, false, {}));
    vr.durations.push_back(views * kViewDuration);
    TrackData track{2, "obje", false, 0, 0, {}, {}, {}, {}, {}};
    track.description = PlainDescription("obje", {});
    track.samples.push_back(ObjectContainer(object));
    track.durations.push_back(views * kViewDuration);
    track.references.push_back({"imgt", {3}});
    return {vr, track, PictureTrack(3, EncodeTiles(ObjectTiles(object), false), kViewDuration)};
}

void WriteBytes(const std::string& hostPath, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("VrMovieWriter: cannot write " + hostPath);
    }
}

} // namespace

std::uint32_t NodeBlue(std::uint32_t node) {
    return node == 1 ? 0x40 : node == 2 ? 0xC0 : 0x80;
}

std::uint32_t PanoramaColor(double pan, double tilt, std::uint32_t node) {
    double wrapped = std::fmod(pan, 360.0);
    if (wrapped < 0) {
        wrapped += 360;
    }
    const auto red = static_cast<std::uint32_t>(std::min(255.0, std::floor(wrapped * 256 / 360)));
    const auto green = static_cast<std::uint32_t>(std::clamp(std::lround(tilt) + 128, 0L, 255L));
    return (red << 16) | (green << 8) | NodeBlue(node);
}

PanoramaCode DecodePanoramaColor(std::uint32_t xrgb) {
    PanoramaCode code;
    code.pan = (((xrgb >> 16) & 0xFF) + 0.5) * 360 / 256;
    code.tilt = static_cast<double>((xrgb >> 8) & 0xFF) - 128;
    code.blue = static_cast<std::uint8_t>(xrgb);
    return code;
}

std::uint32_t ObjectViewColor(int column, int row) {
    const auto red = static_cast<std::uint32_t>(column * 50 + 30);
    const auto green = static_cast<std::uint32_t>(row * 100 + 50);
    return (red << 16) | (green << 8) | 0x99;
}

VrMovieSpec OnePanorama() {
    VrMovieSpec spec;
    spec.panoramas.push_back(VrPanoramaSpec{});
    return spec;
}

VrMovieSpec TwoLinkedPanoramas() {
    VrMovieSpec spec;
    VrPanoramaSpec hall;
    hall.links.push_back(VrLinkSpec{});
    VrPanoramaSpec garden;
    garden.id = 2;
    garden.name = "garden";
    VrLinkSpec back;
    back.id = 2;
    back.name = "back";
    back.fromPan = 260;
    back.toPanEdge = 280;
    back.toNode = 1;
    back.withView = false;
    garden.links.push_back(back);
    spec.panoramas = {hall, garden};
    return spec;
}

VrMovieSpec ObjectMovie() {
    VrMovieSpec spec;
    spec.objects.push_back(VrObjectSpec{});
    return spec;
}

void WriteVrMovie(const std::string& hostPath, const VrMovieSpec& spec) {
    if (spec.panoramas.empty() == spec.objects.empty() || spec.objects.size() > 1) {
        throw std::runtime_error("VrMovieWriter: a movie is panoramas or one object");
    }
    std::vector<TrackData> tracks = spec.panoramas.empty() ? ObjectTracks(spec) : PanoramaTracks(spec);
    const int width = spec.panoramas.empty() ? spec.objects.front().width : 160;
    const int height = spec.panoramas.empty() ? spec.objects.front().height : 120;
    WriteBytes(hostPath, MovieFile(tracks, width, height));
}

void DamageVrAtom(const std::string& hostPath, const std::string& type, AtomDamage damage) {
    std::fstream stream(hostPath, std::ios::in | std::ios::out | std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    auto sizeAt = [&](std::size_t at) {
        std::uint32_t size = 0;
        for (int i = 0; i < 4; ++i) {
            size = (size << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
        }
        return size;
    };
    auto putU32 = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (24 - 8 * i));
        }
    };
    // A QT atom: a size of at least its 20-byte header before the type, and within the file.
    std::size_t found = std::string::npos;
    for (std::size_t at = bytes.find(type, 4); at != std::string::npos; at = bytes.find(type, at + 1)) {
        const std::uint32_t size = sizeAt(at - 4);
        if (size >= 20 && at - 4 + size <= bytes.size()) {
            found = at - 4;
            break;
        }
    }
    if (found == std::string::npos || type.size() != 4) {
        throw std::runtime_error("VrMovieWriter: no " + type + " atom in " + hostPath);
    }
    const std::uint32_t size = sizeAt(found);
    switch (damage) {
    case AtomDamage::SizeBeyondParent:
        putU32(found, 0x7FFFFFF0);
        break;
    case AtomDamage::SizeBelowHeader:
        putU32(found, 12);
        break;
    case AtomDamage::ChildCountTooHigh:
        bytes[found + 14] = static_cast<char>(0x7F);
        bytes[found + 15] = static_cast<char>(0xFF);
        break;
    case AtomDamage::LeafCut:
        putU32(found, std::min<std::uint32_t>(size, 28));
        break;
    case AtomDamage::ZeroFields:
    case AtomDamage::HugeFields:
        for (std::size_t i = found + 20; i < found + size; ++i) {
            bytes[i] = damage == AtomDamage::ZeroFields ? '\0' : static_cast<char>(0xFF);
        }
        break;
    }
    stream.clear();
    stream.seekp(0);
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace qt::testing
