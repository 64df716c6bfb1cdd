#include "platform/quicktime/VrWorldReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>

namespace qt::detail {

namespace {

// Bounds that no VR movie comes near; beyond them a file is taken as damaged rather than read.
constexpr std::int64_t kMaxMovieAtom = std::int64_t{64} << 20;
constexpr std::uint32_t kMaxSamples = 1U << 18;
constexpr std::uint32_t kMaxNodes = 4096;
constexpr std::uint32_t kMaxNodeSample = 1U << 20;
constexpr std::int64_t kMaxPicturePixels = std::int64_t{16} << 20;
constexpr int kMaxDepth = 16;

constexpr std::uint32_t Code(const char (&text)[5]) {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) << 24) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 8) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text[3]));
}

std::string Name(std::uint32_t code) {
    std::string name = "'";
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<char>((code >> shift) & 0xFF);
        name += c >= 0x20 && c < 0x7F ? c : '?';
    }
    return name + "'";
}

// What went wrong, thrown from deep in the reading and caught once at its top.
struct Damage {
    std::string what;
};

[[noreturn]] void Fail(std::string what) {
    throw Damage{std::move(what)};
}

// Bytes in memory with big-endian reads that stay inside them.
class Span {
public:
    Span() = default;
    Span(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::size_t Size() const { return m_size; }
    bool Has(std::size_t at, std::size_t count) const { return at <= m_size && count <= m_size - at; }
    std::uint64_t Read(std::size_t at, int count, const std::string& what) const {
        if (!Has(at, static_cast<std::size_t>(count))) {
            Fail(what + " is cut short");
        }
        std::uint64_t value = 0;
        for (int i = 0; i < count; ++i) {
            value = (value << 8) | m_data[at + static_cast<std::size_t>(i)];
        }
        return value;
    }
    std::uint16_t U16(std::size_t at, const std::string& what) const {
        return static_cast<std::uint16_t>(Read(at, 2, what));
    }
    std::uint32_t U32(std::size_t at, const std::string& what) const {
        return static_cast<std::uint32_t>(Read(at, 4, what));
    }
    float F32(std::size_t at, const std::string& what) const {
        const std::uint32_t bits = U32(at, what);
        float value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value)) {
            Fail(what + " holds an angle that is not a number");
        }
        return value;
    }
    Span Sub(std::size_t at, std::size_t count) const {
        return Has(at, count) ? Span(m_data + at, count) : Span();
    }
    const std::uint8_t* Data() const { return m_data; }

private:
    const std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
};

// ---- The file's atoms ----

struct FileAtom {
    std::uint32_t type = 0;
    Span body;
};

// The atoms that follow each other in the bytes; a size that leaves them is damage.
std::vector<FileAtom> FileAtoms(Span bytes, const std::string& where) {
    std::vector<FileAtom> atoms;
    std::size_t at = 0;
    while (at + 8 <= bytes.Size()) {
        std::uint64_t size = bytes.U32(at, where);
        const std::uint32_t type = bytes.U32(at + 4, where);
        std::size_t header = 8;
        if (size == 1) {
            size = bytes.Read(at + 8, 8, where);
            header = 16;
        } else if (size == 0) {
            size = bytes.Size() - at;
        }
        if (size < header || size > bytes.Size() - at) {
            Fail("the atom " + Name(type) + " in " + where + " has a size outside its parent");
        }
        atoms.push_back(FileAtom{type, bytes.Sub(at + header, static_cast<std::size_t>(size) - header)});
        at += static_cast<std::size_t>(size);
    }
    return atoms;
}

const FileAtom* Find(const std::vector<FileAtom>& atoms, std::uint32_t type) {
    for (const FileAtom& atom : atoms) {
        if (atom.type == type) {
            return &atom;
        }
    }
    return nullptr;
}

// ---- QT atom containers ----

struct QtAtom {
    std::uint32_t type = 0;
    std::uint32_t id = 0;
    Span data;
    std::vector<QtAtom> children;
};

QtAtom ParseQtAtom(Span bytes, std::size_t at, std::size_t limit, int depth, const std::string& where,
                   std::size_t& end) {
    if (depth > kMaxDepth) {
        Fail(where + " nests its atoms too deeply");
    }
    if (limit - at < 20) {
        Fail(where + " ends inside an atom's header");
    }
    QtAtom atom;
    const std::uint32_t size = bytes.U32(at, where);
    atom.type = bytes.U32(at + 4, where);
    atom.id = bytes.U32(at + 8, where);
    const std::uint16_t children = bytes.U16(at + 14, where);
    if (size < 20 || size > limit - at) {
        Fail("the atom " + Name(atom.type) + " in " + where + " has a size outside its parent");
    }
    end = at + size;
    if (children == 0) {
        atom.data = bytes.Sub(at + 20, size - 20);
        return atom;
    }
    std::size_t child = at + 20;
    for (std::uint16_t i = 0; i < children; ++i) {
        std::size_t childEnd = 0;
        if (child >= end) {
            Fail("the atom " + Name(atom.type) + " in " + where + " holds fewer children than it counts");
        }
        atom.children.push_back(ParseQtAtom(bytes, child, end, depth + 1, where, childEnd));
        child = childEnd;
    }
    return atom;
}

// A QT atom container, with or without its 12-byte header: its root's children.
std::vector<QtAtom> ParseContainer(Span bytes, const std::string& where) {
    std::size_t at = 0;
    if (bytes.Size() >= 32 && bytes.U32(16, where) == Code("sean") && bytes.U32(4, where) != Code("sean")) {
        at = 12;
    }
    std::size_t end = 0;
    QtAtom root = ParseQtAtom(bytes, at, bytes.Size(), 0, where, end);
    if (root.type != Code("sean")) {
        Fail(where + " is no atom container");
    }
    return root.children;
}

const QtAtom* Child(const std::vector<QtAtom>& atoms, std::uint32_t type, std::uint32_t id = 0) {
    for (const QtAtom& atom : atoms) {
        if (atom.type == type && (id == 0 || atom.id == id)) {
            return &atom;
        }
    }
    return nullptr;
}

Span Leaf(const std::vector<QtAtom>& atoms, std::uint32_t type, std::size_t minimum,
          const std::string& where) {
    const QtAtom* atom = Child(atoms, type);
    if (atom == nullptr) {
        Fail(where + " has no " + Name(type) + " atom");
    }
    if (!atom->children.empty() || atom->data.Size() < minimum) {
        Fail("the " + Name(type) + " atom of " + where + " is cut short");
    }
    return atom->data;
}

std::string StringOf(const std::vector<QtAtom>& atoms, std::uint32_t id) {
    const QtAtom* atom = id == 0 ? nullptr : Child(atoms, Code("vrsn"), id);
    if (atom == nullptr || atom->data.Size() < 4) {
        return {};
    }
    const std::size_t length = std::min<std::size_t>(atom->data.U16(2, "a name"), atom->data.Size() - 4);
    return std::string(reinterpret_cast<const char*>(atom->data.Data() + 4), length);
}

// ---- Tracks ----

struct Sample {
    std::int64_t offset = 0;
    std::uint32_t size = 0;
    std::int64_t time = 0;
    std::int64_t duration = 0;
};

struct TrackInfo {
    std::uint32_t id = 0;
    std::uint32_t handler = 0;
    std::uint32_t timeScale = 0;
    int width = 0;
    int height = 0;
    Span description; // the first sample description, whole
    std::map<std::uint32_t, std::vector<std::uint32_t>> references;
    std::vector<Sample> samples;
};

std::vector<std::int64_t> Durations(Span stts, const std::string& where) {
    const std::uint32_t entries = stts.U32(4, where);
    if (!stts.Has(8, std::size_t{entries} * 8)) {
        Fail("the sample times of " + where + " are cut short");
    }
    std::vector<std::int64_t> durations;
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::uint32_t count = stts.U32(8 + 8 * std::size_t{i}, where);
        const std::uint32_t duration = stts.U32(12 + 8 * std::size_t{i}, where);
        if (count > kMaxSamples - durations.size()) {
            Fail(where + " counts too many samples");
        }
        durations.insert(durations.end(), count, duration);
    }
    return durations;
}

std::vector<std::int64_t> ChunkOffsets(const std::vector<FileAtom>& table, const std::string& where) {
    const FileAtom* stco = Find(table, Code("stco"));
    const FileAtom* co64 = Find(table, Code("co64"));
    if (stco == nullptr && co64 == nullptr) {
        Fail(where + " has no chunk offsets");
    }
    const Span body = stco != nullptr ? stco->body : co64->body;
    const int width = stco != nullptr ? 4 : 8;
    const std::uint32_t count = body.U32(4, where);
    if (count > kMaxSamples || !body.Has(8, std::size_t{count} * width)) {
        Fail("the chunk offsets of " + where + " are cut short");
    }
    std::vector<std::int64_t> offsets;
    for (std::uint32_t i = 0; i < count; ++i) {
        offsets.push_back(static_cast<std::int64_t>(body.Read(8 + std::size_t{i} * width, width, where) &
                                                    0x7FFFFFFFFFFFFFFFULL));
    }
    return offsets;
}

// Where each sample lies in the file: the chunks' offsets, the samples a chunk holds and their sizes.
void PlaceSamples(const std::vector<FileAtom>& table, std::vector<Sample>& samples,
                  const std::string& where) {
    const FileAtom* stsz = Find(table, Code("stsz"));
    const FileAtom* stsc = Find(table, Code("stsc"));
    if (stsz == nullptr || stsc == nullptr) {
        Fail(where + " has no sample sizes or chunks");
    }
    const std::uint32_t fixed = stsz->body.U32(4, where);
    const std::uint32_t sizes = stsz->body.U32(8, where);
    if (sizes != samples.size() || (fixed == 0 && !stsz->body.Has(12, std::size_t{sizes} * 4))) {
        Fail("the sample sizes of " + where + " disagree with its sample times");
    }
    const std::vector<std::int64_t> chunks = ChunkOffsets(table, where);
    const std::uint32_t runs = stsc->body.U32(4, where);
    if (!stsc->body.Has(8, std::size_t{runs} * 12)) {
        Fail("the chunk table of " + where + " is cut short");
    }
    std::size_t sample = 0;
    for (std::uint32_t run = 0; run < runs && sample < samples.size(); ++run) {
        const std::uint32_t first = stsc->body.U32(8 + 12 * std::size_t{run}, where);
        const std::uint32_t perChunk = stsc->body.U32(12 + 12 * std::size_t{run}, where);
        const std::uint32_t next = run + 1 < runs ? stsc->body.U32(20 + 12 * std::size_t{run}, where)
                                                  : static_cast<std::uint32_t>(chunks.size() + 1);
        if (first == 0 || next < first || next > chunks.size() + 1 || perChunk == 0) {
            Fail("the chunk table of " + where + " is damaged");
        }
        for (std::uint32_t chunk = first; chunk < next && sample < samples.size(); ++chunk) {
            std::int64_t offset = chunks[chunk - 1];
            for (std::uint32_t i = 0; i < perChunk && sample < samples.size(); ++i, ++sample) {
                samples[sample].size = fixed != 0 ? fixed : stsz->body.U32(12 + 4 * sample, where);
                samples[sample].offset = offset;
                offset += samples[sample].size;
            }
        }
    }
    if (sample != samples.size()) {
        Fail("the chunks of " + where + " hold fewer samples than it counts");
    }
}

std::optional<TrackInfo> ReadTrack(Span trak, bool placeSamples) {
    TrackInfo track;
    const std::vector<FileAtom> parts = FileAtoms(trak, "a track");
    const FileAtom* tkhd = Find(parts, Code("tkhd"));
    const FileAtom* mdia = Find(parts, Code("mdia"));
    if (tkhd == nullptr || mdia == nullptr) {
        return std::nullopt;
    }
    const bool wide = tkhd->body.Has(0, 1) && tkhd->body.Data()[0] == 1;
    track.id = tkhd->body.U32(wide ? 20 : 12, "a track header");
    const std::size_t size = wide ? 88 : 76;
    track.width = static_cast<int>(tkhd->body.U32(size, "a track header") >> 16);
    track.height = static_cast<int>(tkhd->body.U32(size + 4, "a track header") >> 16);
    const std::vector<FileAtom> media = FileAtoms(mdia->body, "a track's media");
    const FileAtom* hdlr = Find(media, Code("hdlr"));
    const FileAtom* mdhd = Find(media, Code("mdhd"));
    const FileAtom* minf = Find(media, Code("minf"));
    if (hdlr == nullptr || mdhd == nullptr || minf == nullptr) {
        return std::nullopt;
    }
    track.handler = hdlr->body.U32(8, "a media handler");
    const bool wideMedia = mdhd->body.Has(0, 1) && mdhd->body.Data()[0] == 1;
    track.timeScale = mdhd->body.U32(wideMedia ? 20 : 12, "a media header");
    const std::string where = "the " + Name(track.handler) + " track";
    if (const FileAtom* tref = Find(parts, Code("tref"))) {
        for (const FileAtom& reference : FileAtoms(tref->body, where + "'s references")) {
            std::vector<std::uint32_t>& ids = track.references[reference.type];
            for (std::size_t at = 0; at + 4 <= reference.body.Size(); at += 4) {
                ids.push_back(reference.body.U32(at, where));
            }
        }
    }
    const std::vector<FileAtom> information = FileAtoms(minf->body, where);
    const FileAtom* stbl = Find(information, Code("stbl"));
    if (stbl == nullptr) {
        Fail(where + " has no sample table");
    }
    const std::vector<FileAtom> table = FileAtoms(stbl->body, where + "'s sample table");
    const FileAtom* stsd = Find(table, Code("stsd"));
    const FileAtom* stts = Find(table, Code("stts"));
    if (stsd == nullptr || stts == nullptr) {
        Fail(where + " has no sample descriptions or times");
    }
    if (stsd->body.U32(4, where) > 0) {
        const std::uint32_t entry = stsd->body.U32(8, where);
        if (entry < 16 || !stsd->body.Has(8, entry)) {
            Fail("the sample description of " + where + " has a size outside its parent");
        }
        track.description = stsd->body.Sub(8, entry);
    }
    std::int64_t time = 0;
    for (std::int64_t duration : Durations(stts->body, where)) {
        track.samples.push_back(Sample{0, 0, time, duration});
        time += duration;
    }
    if (placeSamples) {
        PlaceSamples(table, track.samples, where);
    }
    return track;
}

bool IsNodeTrack(std::uint32_t handler) {
    return handler == Code("qtvr") || handler == Code("pano") || handler == Code("obje");
}

// ---- The world ----

class WorldReader {
public:
    WorldReader(ByteReader& reader, std::uint32_t movieScale, std::vector<TrackInfo> tracks)
        : m_reader(reader), m_movieScale(movieScale), m_tracks(std::move(tracks)) {}

    VrWorld Read();

private:
    const TrackInfo* Track(std::uint32_t handler) const;
    const TrackInfo* TrackById(std::uint32_t id) const;
    std::vector<std::uint8_t> SampleBytes(const Sample& sample, const std::string& where);
    std::int64_t MovieTime(const TrackInfo& track, std::int64_t time) const;
    const Sample* SampleAt(const TrackInfo& track, std::int64_t movieTime) const;
    VrTrackSpan SpanOf(const TrackInfo& owner, std::uint32_t referenceType, std::uint32_t index,
                       const VrNode& node, const std::string& where) const;
    void ReadHeader(VrWorld& world, const TrackInfo& vr);
    VrNode ReadNode(const TrackInfo& vr, const Sample& sample, int index);
    void ReadHotSpots(const std::vector<QtAtom>& atoms, VrNode& node, const std::string& where);
    void ReadPanorama(VrNode& node, const std::string& where);
    void ReadObject(VrNode& node, const std::string& where);

    ByteReader& m_reader;
    std::uint32_t m_movieScale;
    std::vector<TrackInfo> m_tracks;
};

const TrackInfo* WorldReader::Track(std::uint32_t handler) const {
    for (const TrackInfo& track : m_tracks) {
        if (track.handler == handler) {
            return &track;
        }
    }
    return nullptr;
}

const TrackInfo* WorldReader::TrackById(std::uint32_t id) const {
    for (const TrackInfo& track : m_tracks) {
        if (track.id == id) {
            return &track;
        }
    }
    return nullptr;
}

std::vector<std::uint8_t> WorldReader::SampleBytes(const Sample& sample, const std::string& where) {
    if (sample.size > kMaxNodeSample || sample.offset > m_reader.Length() ||
        sample.size > m_reader.Length() - sample.offset) {
        Fail(where + " lies outside the file");
    }
    std::vector<std::uint8_t> bytes(sample.size);
    std::size_t filled = 0;
    if (!m_reader.Seek(sample.offset)) {
        Fail(where + " cannot be read");
    }
    while (filled < bytes.size()) {
        const int got = m_reader.Read(bytes.data() + filled, static_cast<int>(bytes.size() - filled));
        if (got <= 0) {
            Fail(where + " cannot be read");
        }
        filled += static_cast<std::size_t>(got);
    }
    return bytes;
}

std::int64_t WorldReader::MovieTime(const TrackInfo& track, std::int64_t time) const {
    if (track.timeScale == 0) {
        Fail("the " + Name(track.handler) + " track has a time scale of 0");
    }
    return static_cast<std::int64_t>(static_cast<__int128>(time) * m_movieScale / track.timeScale);
}

const Sample* WorldReader::SampleAt(const TrackInfo& track, std::int64_t movieTime) const {
    for (const Sample& sample : track.samples) {
        const std::int64_t start = MovieTime(track, sample.time);
        if (start <= movieTime &&
            movieTime < MovieTime(track, sample.time + std::max<std::int64_t>(sample.duration, 1))) {
            return &sample;
        }
    }
    return nullptr;
}

// The samples of the picture track that the owner's reference names which fall within the node's time.
VrTrackSpan WorldReader::SpanOf(const TrackInfo& owner, std::uint32_t referenceType, std::uint32_t index,
                                const VrNode& node, const std::string& where) const {
    auto reference = owner.references.find(referenceType);
    if (reference == owner.references.end() || index == 0 || index > reference->second.size()) {
        Fail(where + " names a " + Name(referenceType) + " track that the file does not have");
    }
    const TrackInfo* pictures = TrackById(reference->second[index - 1]);
    if (pictures == nullptr || pictures->handler != Code("vide")) {
        Fail(where + " names a " + Name(referenceType) + " track that is no picture track");
    }
    VrTrackSpan span;
    span.trackId = pictures->id;
    span.firstSample = -1;
    for (std::size_t i = 0; i < pictures->samples.size(); ++i) {
        const std::int64_t start = MovieTime(*pictures, pictures->samples[i].time);
        if (start >= node.start && start < node.start + node.duration) {
            if (span.firstSample < 0) {
                span.firstSample = static_cast<int>(i);
            }
            ++span.samples;
        }
    }
    if (span.samples == 0) {
        Fail(where + " has no pictures in its " + Name(referenceType) + " track");
    }
    return span;
}

void WorldReader::ReadHeader(VrWorld& world, const TrackInfo& vr) {
    // The sample description: size, type, six reserved bytes and the data reference index, then the world.
    const std::vector<QtAtom> atoms =
        ParseContainer(vr.description.Sub(16, vr.description.Size() - 16), "the VR world");
    const Span header = Leaf(atoms, Code("vrsc"), 12, "the VR world");
    world.name = StringOf(atoms, header.U32(4, "the VR world header"));
    world.defaultNode = header.U32(8, "the VR world header");
}

void WorldReader::ReadHotSpots(const std::vector<QtAtom>& atoms, VrNode& node, const std::string& where) {
    const QtAtom* parent = Child(atoms, Code("hspa"));
    if (parent == nullptr) {
        return;
    }
    for (const QtAtom& spot : parent->children) {
        if (spot.type != Code("hots")) {
            continue;
        }
        const std::string place = "hot spot " + std::to_string(spot.id) + " of " + where;
        VrHotSpot hotSpot;
        hotSpot.id = spot.id;
        const Span info = Leaf(spot.children, Code("hsin"), 40, place);
        hotSpot.typeCode = info.U32(4, place);
        hotSpot.name = StringOf(spot.children, info.U32(8, place));
        hotSpot.bestPan = info.F32(28, place);
        hotSpot.bestTilt = info.F32(32, place);
        hotSpot.bestFov = info.F32(36, place);
        if (hotSpot.typeCode == Code("link")) {
            hotSpot.type = VrHotSpotType::Link;
            const Span link = Leaf(spot.children, Code("link"), 48, place);
            hotSpot.toNode = link.U32(4, place);
            const std::uint32_t valid = link.U32(32, place);
            hotSpot.toPanValid = (valid & 1) != 0;
            hotSpot.toTiltValid = (valid & 2) != 0;
            hotSpot.toFovValid = (valid & 4) != 0;
            hotSpot.toPan = hotSpot.toPanValid ? link.F32(36, place) : 0;
            hotSpot.toTilt = hotSpot.toTiltValid ? link.F32(40, place) : 0;
            hotSpot.toFov = hotSpot.toFovValid ? link.F32(44, place) : 0;
            if (hotSpot.toFovValid && (hotSpot.toFov <= 0 || hotSpot.toFov >= 180)) {
                Fail(place + " enters its node with a field of view outside 0 to 180 degrees");
            }
        } else if (hotSpot.typeCode == Code("navg")) {
            hotSpot.type = VrHotSpotType::Navigation;
        }
        node.hotSpots.push_back(std::move(hotSpot));
    }
}

VrNode WorldReader::ReadNode(const TrackInfo& vr, const Sample& sample, int index) {
    const std::string where = "node " + std::to_string(index + 1);
    const std::vector<std::uint8_t> bytes = SampleBytes(sample, where);
    const std::vector<QtAtom> atoms = ParseContainer(Span(bytes.data(), bytes.size()), where);
    const Span header = Leaf(atoms, Code("ndhd"), 16, where);
    VrNode node;
    const std::uint32_t type = header.U32(4, where);
    node.id = header.U32(8, where);
    node.name = StringOf(atoms, header.U32(12, where));
    node.start = MovieTime(vr, sample.time);
    node.duration = std::max<std::int64_t>(MovieTime(vr, sample.time + sample.duration) - node.start, 1);
    ReadHotSpots(atoms, node, where);
    if (type == Code("pano")) {
        node.type = VrNodeType::Panorama;
        ReadPanorama(node, where);
    } else if (type == Code("obje")) {
        node.type = VrNodeType::Object;
        ReadObject(node, where);
    } else {
        Fail(where + " is of the unknown kind " + Name(type));
    }
    return node;
}

float RequireRange(float low, float high, float lowest, float highest, const std::string& what) {
    if (!(low < high) || low < lowest || high > highest) {
        Fail(what + " has no usable range");
    }
    return high - low;
}

void WorldReader::ReadPanorama(VrNode& node, const std::string& where) {
    const TrackInfo* track = Track(Code("pano"));
    const Sample* sample = track != nullptr ? SampleAt(*track, node.start) : nullptr;
    if (sample == nullptr) {
        Fail(where + " has no panorama sample");
    }
    const std::vector<std::uint8_t> bytes = SampleBytes(*sample, "the panorama sample of " + where);
    const std::vector<QtAtom> atoms = ParseContainer(Span(bytes.data(), bytes.size()), where + "'s panorama");
    const std::string place = "the panorama of " + where;
    const Span data = Leaf(atoms, Code("pdat"), 76, place);
    VrPanorama pano;
    pano.minPan = data.F32(12, place);
    pano.maxPan = data.F32(16, place);
    pano.minTilt = data.F32(20, place);
    pano.maxTilt = data.F32(24, place);
    pano.minFov = data.F32(28, place);
    pano.maxFov = data.F32(32, place);
    pano.defaultPan = data.F32(36, place);
    pano.defaultTilt = data.F32(40, place);
    pano.defaultFov = data.F32(44, place);
    pano.imageWidth = static_cast<int>(std::min<std::uint32_t>(data.U32(48, place), 1U << 20));
    pano.imageHeight = static_cast<int>(std::min<std::uint32_t>(data.U32(52, place), 1U << 20));
    pano.tilesAcross = data.U16(56, place);
    pano.tilesDown = data.U16(58, place);
    pano.hotSpotWidth = static_cast<int>(std::min<std::uint32_t>(data.U32(60, place), 1U << 20));
    pano.hotSpotHeight = static_cast<int>(std::min<std::uint32_t>(data.U32(64, place), 1U << 20));
    pano.hotSpotTilesAcross = data.U16(68, place);
    pano.hotSpotTilesDown = data.U16(70, place);
    const std::uint32_t flags = data.U32(72, place);
    const std::uint32_t kind = data.Has(76, 4) ? data.U32(76, place) : 0;
    pano.alwaysWrap = (flags & 2) != 0;
    if (kind == Code("cube")) {
        pano.kind = VrPanoramaKind::Cube;
        if (pano.imageWidth != pano.imageHeight || pano.hotSpotWidth != pano.hotSpotHeight) {
            Fail(place + " has faces that are not square");
        }
        if (Child(atoms, Code("cufa")) != nullptr) {
            Fail(place + " has faces other than a cube's six");
        }
    } else if (kind == Code("hcyl") || kind == Code("vcyl") || kind == 0) {
        pano.rotatedTiles = kind == Code("vcyl") || (kind == 0 && (flags & 1) == 0);
    } else {
        Fail(place + " is of the unknown kind " + Name(kind));
    }
    RequireRange(pano.minPan, pano.maxPan, -360, 720, place + "'s pan");
    if (pano.maxPan - pano.minPan > 360.01F) {
        Fail(place + " spans more than 360 degrees of pan");
    }
    const float tiltLimit = pano.kind == VrPanoramaKind::Cube ? 90 : 89.9F;
    const float tiltRange =
        RequireRange(pano.minTilt, pano.maxTilt, -tiltLimit, tiltLimit, place + "'s tilt");
    if (pano.maxFov <= 0) {
        pano.maxFov = std::min(tiltRange, 179.0F);
    }
    if (pano.minFov <= 0) {
        pano.minFov = std::min(pano.maxFov, 5.0F);
    }
    RequireRange(pano.minFov - 0.001F, pano.maxFov, -1, 180, place + "'s field of view");
    pano.defaultPan = std::clamp(pano.defaultPan, pano.minPan, pano.maxPan);
    pano.defaultTilt = std::clamp(pano.defaultTilt, pano.minTilt, pano.maxTilt);
    pano.defaultFov =
        pano.defaultFov <= 0 ? pano.maxFov : std::clamp(pano.defaultFov, pano.minFov, pano.maxFov);
    const auto checkDicing = [&](int width, int height, int across, int down, const std::string& what) {
        if (width <= 0 || height <= 0 || across <= 0 || down <= 0 || width % across != 0 ||
            height % down != 0 || std::int64_t{width} * height > kMaxPicturePixels) {
            Fail(place + "'s " + what + " is not diced into whole tiles");
        }
    };
    checkDicing(pano.imageWidth, pano.imageHeight, pano.tilesAcross, pano.tilesDown, "picture");
    const int faces = pano.kind == VrPanoramaKind::Cube ? 6 : 1;
    const std::string imagePlace = place + "'s picture";
    pano.image = SpanOf(*track, Code("imgt"), data.U32(4, place), node, imagePlace);
    if (pano.image.samples != faces * pano.tilesAcross * pano.tilesDown) {
        Fail(imagePlace + " has " + std::to_string(pano.image.samples) + " tiles where its dicing makes " +
             std::to_string(faces * pano.tilesAcross * pano.tilesDown));
    }
    if (const std::uint32_t spots = data.U32(8, place); spots != 0) {
        checkDicing(pano.hotSpotWidth, pano.hotSpotHeight, pano.hotSpotTilesAcross, pano.hotSpotTilesDown,
                    "hot-spot picture");
        const std::string spotPlace = place + "'s hot-spot picture";
        pano.hotSpots = SpanOf(*track, Code("hott"), spots, node, spotPlace);
        if (pano.hotSpots.samples != faces * pano.hotSpotTilesAcross * pano.hotSpotTilesDown) {
            Fail(spotPlace + " has " + std::to_string(pano.hotSpots.samples) +
                 " tiles where its dicing makes " +
                 std::to_string(faces * pano.hotSpotTilesAcross * pano.hotSpotTilesDown));
        }
    }
    node.panorama = pano;
}

void WorldReader::ReadObject(VrNode& node, const std::string& where) {
    const TrackInfo* track = Track(Code("obje"));
    const Sample* sample = track != nullptr ? SampleAt(*track, node.start) : nullptr;
    if (sample == nullptr) {
        Fail(where + " has no object sample");
    }
    const std::vector<std::uint8_t> bytes = SampleBytes(*sample, "the object sample of " + where);
    const std::vector<QtAtom> atoms = ParseContainer(Span(bytes.data(), bytes.size()), where + "'s object");
    const std::string place = "the object of " + where;
    const Span data = Leaf(atoms, Code("obji"), 88, place);
    VrObject object;
    const std::uint32_t columns = data.U32(16, place);
    const std::uint32_t rows = data.U32(20, place);
    if (columns == 0 || rows == 0 || columns > 4096 || rows > 4096 || columns * rows > 65536) {
        Fail(place + " has a grid of " + std::to_string(columns) + " by " + std::to_string(rows) + " views");
    }
    object.columns = static_cast<int>(columns);
    object.rows = static_cast<int>(rows);
    object.viewDuration = data.U32(12, place);
    object.minPan = data.F32(28, place);
    object.maxPan = data.F32(32, place);
    object.defaultPan = data.F32(36, place);
    object.minTilt = data.F32(40, place);
    object.maxTilt = data.F32(44, place);
    object.defaultTilt = data.F32(48, place);
    object.minFov = data.F32(52, place);
    object.fov = data.F32(56, place);
    object.defaultFov = data.F32(60, place);
    object.animationSettings = data.U32(80, place);
    object.controlSettings = data.U32(84, place);
    object.wrapPan = (object.controlSettings & 1) != 0;
    object.wrapTilt = (object.controlSettings & 2) != 0;
    object.canZoom = (object.controlSettings & 4) != 0;
    object.reverseHorizontal = (object.controlSettings & 8) != 0;
    object.reverseVertical = (object.controlSettings & 16) != 0;
    object.swapAxes = (object.controlSettings & 32) != 0;
    if (object.maxPan < object.minPan || object.maxTilt < object.minTilt) {
        Fail(place + " has no usable range of views");
    }
    object.defaultPan = std::clamp(object.defaultPan, object.minPan, object.maxPan);
    object.defaultTilt = std::clamp(object.defaultTilt, object.minTilt, object.maxTilt);
    const std::string imagePlace = place + "'s views";
    object.image = SpanOf(*track, Code("imgt"), 1, node, imagePlace);
    const int views = object.columns * object.rows;
    if (object.image.samples < views) {
        Fail(imagePlace + " has " + std::to_string(object.image.samples) + " pictures for " +
             std::to_string(views) + " views");
    }
    object.framesPerView = object.image.samples / views;
    node.object = object;
}

VrWorld WorldReader::Read() {
    const TrackInfo* vr = Track(Code("qtvr"));
    VrWorld world;
    world.vrTrackId = vr->id;
    world.width = vr->width;
    world.height = vr->height;
    ReadHeader(world, *vr);
    if (vr->samples.empty() || vr->samples.size() > kMaxNodes) {
        Fail("the VR track holds " + std::to_string(vr->samples.size()) + " nodes");
    }
    for (std::size_t i = 0; i < vr->samples.size(); ++i) {
        VrNode node = ReadNode(*vr, vr->samples[i], static_cast<int>(i));
        if (world.Node(node.id) != nullptr) {
            Fail("node " + std::to_string(i + 1) + " repeats the node id " + std::to_string(node.id));
        }
        world.nodes.push_back(std::move(node));
    }
    for (const VrNode& node : world.nodes) {
        for (const VrHotSpot& spot : node.hotSpots) {
            if (spot.type == VrHotSpotType::Link && world.Node(spot.toNode) == nullptr) {
                Fail("hot spot " + std::to_string(spot.id) + " of node " + std::to_string(node.id) +
                     " links to the missing node " + std::to_string(spot.toNode));
            }
        }
    }
    if (world.Node(world.defaultNode) == nullptr) {
        world.defaultNode = world.nodes.front().id;
    }
    return world;
}

// The file's first top-level "moov", read into memory; empty when there is none (or it is too large).
std::vector<std::uint8_t> ReadMovieAtom(ByteReader& reader) {
    std::int64_t at = 0;
    const std::int64_t length = reader.Length();
    while (at + 8 <= length) {
        std::uint8_t head[16] = {};
        if (!reader.Seek(at) || reader.Read(head, 8) != 8) {
            return {};
        }
        std::uint64_t size = Span(head, 8).U32(0, "");
        const std::uint32_t type = Span(head, 8).U32(4, "");
        std::int64_t header = 8;
        if (size == 1) {
            if (reader.Read(head + 8, 8) != 8) {
                return {};
            }
            size = Span(head, 16).Read(8, 8, "");
            header = 16;
        } else if (size == 0) {
            size = static_cast<std::uint64_t>(length - at);
        }
        if (size < static_cast<std::uint64_t>(header) || size > static_cast<std::uint64_t>(length - at)) {
            return {};
        }
        if (type == Code("moov")) {
            if (static_cast<std::int64_t>(size) - header > kMaxMovieAtom) {
                return {};
            }
            std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size) -
                                            static_cast<std::size_t>(header));
            std::size_t filled = 0;
            while (filled < bytes.size()) {
                const int got =
                    reader.Read(bytes.data() + filled,
                                static_cast<int>(std::min<std::size_t>(bytes.size() - filled, 1 << 20)));
                if (got <= 0) {
                    return {};
                }
                filled += static_cast<std::size_t>(got);
            }
            return bytes;
        }
        at += static_cast<std::int64_t>(size);
    }
    return {};
}

} // namespace

const VrHotSpot* VrNode::HotSpot(std::uint32_t hotSpotId) const {
    for (const VrHotSpot& spot : hotSpots) {
        if (spot.id == hotSpotId) {
            return &spot;
        }
    }
    return nullptr;
}

const VrNode* VrWorld::Node(std::uint32_t nodeId) const {
    for (const VrNode& node : nodes) {
        if (node.id == nodeId) {
            return &node;
        }
    }
    return nullptr;
}

VrReadResult ReadVrWorld(ByteReader& reader) {
    VrReadResult result;
    const std::vector<std::uint8_t> movie = ReadMovieAtom(reader);
    std::vector<TrackInfo> tracks;
    std::uint32_t movieScale = 0;
    bool vr = false;
    try {
        const std::vector<FileAtom> atoms = FileAtoms(Span(movie.data(), movie.size()), "the movie");
        for (const FileAtom& atom : atoms) {
            if (atom.type == Code("mvhd")) {
                const bool wide = atom.body.Has(0, 1) && atom.body.Data()[0] == 1;
                movieScale = atom.body.U32(wide ? 20 : 12, "the movie header");
            }
        }
        // A track that cannot even say what it is belongs to the movie's ordinary reading, not to VR.
        for (const FileAtom& atom : atoms) {
            if (atom.type != Code("trak")) {
                continue;
            }
            try {
                std::optional<TrackInfo> track = ReadTrack(atom.body, false);
                if (track && IsNodeTrack(track->handler)) {
                    vr = vr || track->handler == Code("qtvr");
                    track = ReadTrack(atom.body, true);
                }
                if (track) {
                    tracks.push_back(std::move(*track));
                }
            } catch (const Damage& damage) {
                if (result.problem.empty()) {
                    result.problem = damage.what;
                }
            }
        }
    } catch (const Damage&) {
        return {};
    }
    if (!vr) {
        return {};
    }
    if (!result.problem.empty()) {
        return result;
    }
    if (movieScale == 0) {
        result.problem = "the movie header gives a time scale of 0";
        return result;
    }
    try {
        result.world = WorldReader(reader, movieScale, std::move(tracks)).Read();
    } catch (const Damage& damage) {
        result.problem = damage.what;
    }
    return result;
}

} // namespace qt::detail
