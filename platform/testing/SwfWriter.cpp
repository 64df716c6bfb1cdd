#include "platform/testing/SwfWriter.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace swf::testing {

namespace {

constexpr int kTwipsPerPixel = 20;
constexpr std::uint8_t kVersion = 6;

enum Tag : unsigned {
    kEnd = 0,
    kShowFrame = 1,
    kDefineShape = 2,
    kSetBackgroundColor = 9,
    kDoAction = 12,
    kPlaceObject2 = 26,
};

enum Action : std::uint8_t { kActionEnd = 0x00, kActionStop = 0x07, kActionGetUrl = 0x83 };

constexpr std::uint16_t kShapeId = 1;

// Fields of records packed most significant bit first, as the format's bit fields are; whole-byte fields
// start on a byte boundary.
class Bits {
public:
    void Unsigned(std::uint32_t value, int count) {
        for (int bit = count - 1; bit >= 0; --bit) {
            m_partial = static_cast<std::uint8_t>(m_partial << 1 | ((value >> bit) & 1));
            if (++m_used == 8) {
                Flush();
            }
        }
    }
    void Signed(std::int32_t value, int count) { Unsigned(static_cast<std::uint32_t>(value), count); }
    void Align() {
        if (m_used > 0) {
            m_partial = static_cast<std::uint8_t>(m_partial << (8 - m_used));
            Flush();
        }
    }
    void Byte(std::uint8_t value) {
        Align();
        m_bytes.push_back(value);
    }
    void Little(std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            Byte(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    }
    void Text(const std::string& text) {
        for (char c : text) {
            Byte(static_cast<std::uint8_t>(c));
        }
        Byte(0);
    }
    void Color(std::uint32_t rgb) {
        Byte(static_cast<std::uint8_t>(rgb >> 16));
        Byte(static_cast<std::uint8_t>(rgb >> 8));
        Byte(static_cast<std::uint8_t>(rgb));
    }
    std::vector<std::uint8_t> Take() {
        Align();
        return std::move(m_bytes);
    }

private:
    void Flush() {
        m_bytes.push_back(m_partial);
        m_partial = 0;
        m_used = 0;
    }

    std::vector<std::uint8_t> m_bytes;
    std::uint8_t m_partial = 0;
    int m_used = 0;
};

// Bits a signed field needs to hold every value given.
int SignedBits(std::initializer_list<std::int32_t> values) {
    int bits = 1;
    for (std::int32_t value : values) {
        while (value < -(std::int32_t{1} << (bits - 1)) || value >= (std::int32_t{1} << (bits - 1))) {
            ++bits;
        }
    }
    return bits;
}

// A rectangle in twips.
void Rect(Bits& out, std::int32_t left, std::int32_t right, std::int32_t top, std::int32_t bottom) {
    const int bits = SignedBits({left, right, top, bottom});
    out.Unsigned(static_cast<std::uint32_t>(bits), 5);
    for (std::int32_t value : {left, right, top, bottom}) {
        out.Signed(value, bits);
    }
    out.Align();
}

void PutTag(Bits& out, unsigned code, const std::vector<std::uint8_t>& body) {
    if (body.size() < 0x3F) {
        out.Little(code << 6 | static_cast<std::uint32_t>(body.size()), 2);
    } else {
        out.Little(code << 6 | 0x3F, 2);
        out.Little(static_cast<std::uint32_t>(body.size()), 4);
    }
    for (std::uint8_t byte : body) {
        out.Byte(byte);
    }
}

// A horizontal or vertical straight edge.
void Edge(Bits& out, bool vertical, std::int32_t delta) {
    const int bits = std::max(SignedBits({delta}), 2);
    out.Unsigned(1, 1); // an edge
    out.Unsigned(1, 1); // straight
    out.Unsigned(static_cast<std::uint32_t>(bits - 2), 4);
    out.Unsigned(0, 1); // not a general line
    out.Unsigned(vertical ? 1 : 0, 1);
    out.Signed(delta, bits);
}

// One solid fill, no line; the outline drawn clockwise on screen so that the fill lies on its right.
std::vector<std::uint8_t> RectangleShape(const FlashMovie& movie) {
    const std::int32_t left = movie.rectangleLeft * kTwipsPerPixel;
    const std::int32_t top = movie.rectangleTop * kTwipsPerPixel;
    const std::int32_t width = (movie.rectangleRight - movie.rectangleLeft) * kTwipsPerPixel;
    const std::int32_t height = (movie.rectangleBottom - movie.rectangleTop) * kTwipsPerPixel;
    Bits out;
    out.Little(kShapeId, 2);
    Rect(out, left, left + width, top, top + height);
    out.Byte(1); // fill styles
    out.Byte(0x00);
    out.Color(movie.rectangleColor);
    out.Byte(0); // line styles
    out.Unsigned(1, 4);
    out.Unsigned(0, 4);
    out.Unsigned(0, 1); // a style change: no new styles, no line style, fill style 1, no fill style 0, move
    out.Unsigned(0b00101, 5);
    const int moveBits = SignedBits({left, top});
    out.Unsigned(static_cast<std::uint32_t>(moveBits), 5);
    out.Signed(left, moveBits);
    out.Signed(top, moveBits);
    out.Unsigned(1, 1);
    Edge(out, false, width);
    Edge(out, true, height);
    Edge(out, false, -width);
    Edge(out, true, -height);
    out.Unsigned(0, 6); // the end of the shape
    return out.Take();
}

// The shape at depth 1, moved right by x pixels; a later placement moves the one already there.
std::vector<std::uint8_t> PlaceShape(bool first, int x) {
    Bits out;
    out.Byte(first ? 0x06 : 0x05); // a matrix, and the character or a move
    out.Little(1, 2);
    if (first) {
        out.Little(kShapeId, 2);
    }
    out.Unsigned(0, 2); // no scale, no rotation
    const std::int32_t translate = x * kTwipsPerPixel;
    const int bits = translate == 0 ? 0 : SignedBits({translate, 0});
    out.Unsigned(static_cast<std::uint32_t>(bits), 5);
    if (bits > 0) {
        out.Signed(translate, bits);
        out.Signed(0, bits);
    }
    return out.Take();
}

std::vector<std::uint8_t> Actions(const std::string& command, const std::string& arguments, bool stop) {
    Bits out;
    if (!command.empty()) {
        const std::string url = "FSCommand:" + command;
        out.Byte(kActionGetUrl);
        out.Little(static_cast<std::uint32_t>(url.size() + 1 + arguments.size() + 1), 2);
        out.Text(url);
        out.Text(arguments);
    }
    if (stop) {
        out.Byte(kActionStop);
    }
    out.Byte(kActionEnd);
    return out.Take();
}

std::vector<std::uint8_t> Tags(const FlashMovie& movie) {
    Bits out;
    PutTag(out, kSetBackgroundColor,
           {static_cast<std::uint8_t>(movie.background >> 16),
            static_cast<std::uint8_t>(movie.background >> 8), static_cast<std::uint8_t>(movie.background)});
    PutTag(out, kDefineShape, RectangleShape(movie));
    PutTag(out, kPlaceObject2, PlaceShape(true, 0));
    const bool oneFrame = movie.frames <= 1;
    if (!movie.command.empty() || (oneFrame && movie.stopAtEnd)) {
        PutTag(out, kDoAction, Actions(movie.command, movie.arguments, oneFrame && movie.stopAtEnd));
    }
    PutTag(out, kShowFrame, {});
    for (int frame = 2; frame <= movie.frames; ++frame) {
        if (movie.step != 0) {
            PutTag(out, kPlaceObject2, PlaceShape(false, (frame - 1) * movie.step));
        }
        if (frame == movie.frames && movie.stopAtEnd) {
            PutTag(out, kDoAction, Actions("", "", true));
        }
        PutTag(out, kShowFrame, {});
    }
    PutTag(out, kEnd, {});
    return out.Take();
}

} // namespace

std::vector<std::uint8_t> FlashMovieBytes(const FlashMovie& movie) {
    const std::vector<std::uint8_t> tags = Tags(movie);
    Bits header;
    Rect(header, 0, movie.width * kTwipsPerPixel, 0, movie.height * kTwipsPerPixel);
    header.Little(static_cast<std::uint32_t>(movie.framesPerSecond) << 8, 2);
    header.Little(static_cast<std::uint32_t>(std::max(movie.frames, 1)), 2);
    const std::vector<std::uint8_t> rest = header.Take();

    std::vector<std::uint8_t> bytes{'F', 'W', 'S', kVersion};
    const std::uint32_t length = static_cast<std::uint32_t>(8 + rest.size() + tags.size());
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
    }
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    bytes.insert(bytes.end(), tags.begin(), tags.end());
    return bytes;
}

void WriteFlashMovie(const std::string& hostPath, const FlashMovie& movie) {
    const std::vector<std::uint8_t> bytes = FlashMovieBytes(movie);
    std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write the Flash movie " + hostPath);
    }
}

} // namespace swf::testing
