#include "platform/quicktime/MovieHeader.h"

#include <array>

namespace qt::detail {

namespace {

struct Atom {
    std::uint32_t type = 0;
    std::int64_t bodyStart = 0;
    std::int64_t end = 0;
};

constexpr std::uint32_t Code(const char (&text)[5]) {
    return (static_cast<std::uint32_t>(text[0]) << 24) | (static_cast<std::uint32_t>(text[1]) << 16) |
           (static_cast<std::uint32_t>(text[2]) << 8) | static_cast<std::uint32_t>(text[3]);
}

bool ReadBytes(ByteReader& reader, std::uint8_t* into, int count) {
    int filled = 0;
    while (filled < count) {
        int got = reader.Read(into + filled, count - filled);
        if (got <= 0) {
            return false;
        }
        filled += got;
    }
    return true;
}

std::uint64_t BigEndian(const std::uint8_t* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

// The atom at position, inside a parent ending at limit.
std::optional<Atom> ReadAtom(ByteReader& reader, std::int64_t position, std::int64_t limit) {
    std::array<std::uint8_t, 16> head{};
    if (limit - position < 8 || !reader.Seek(position) || !ReadBytes(reader, head.data(), 8)) {
        return std::nullopt;
    }
    std::uint64_t size = BigEndian(head.data(), 4);
    Atom atom{static_cast<std::uint32_t>(BigEndian(head.data() + 4, 4)), position + 8, 0};
    if (size == 1) {
        if (limit - position < 16 || !ReadBytes(reader, head.data() + 8, 8)) {
            return std::nullopt;
        }
        size = BigEndian(head.data() + 8, 8);
        atom.bodyStart = position + 16;
    } else if (size == 0) {
        size = static_cast<std::uint64_t>(limit - position);
    }
    if (size < static_cast<std::uint64_t>(atom.bodyStart - position) ||
        size > static_cast<std::uint64_t>(limit - position)) {
        return std::nullopt;
    }
    atom.end = position + static_cast<std::int64_t>(size);
    return atom;
}

std::optional<Atom> FindChild(ByteReader& reader, std::int64_t start, std::int64_t limit,
                              std::uint32_t type) {
    std::int64_t position = start;
    while (position < limit) {
        std::optional<Atom> atom = ReadAtom(reader, position, limit);
        if (!atom) {
            return std::nullopt;
        }
        if (atom->type == type) {
            return atom;
        }
        position = atom->end;
    }
    return std::nullopt;
}

} // namespace

std::optional<MovieHeader> ReadMovieHeader(ByteReader& reader) {
    const std::int64_t length = reader.Length();
    std::optional<Atom> movie = FindChild(reader, 0, length, Code("moov"));
    if (!movie) {
        return std::nullopt;
    }
    std::optional<Atom> header = FindChild(reader, movie->bodyStart, movie->end, Code("mvhd"));
    if (!header) {
        return std::nullopt;
    }
    std::array<std::uint8_t, 32> body{};
    const std::int64_t bodyLength = header->end - header->bodyStart;
    if (bodyLength < 20 || !reader.Seek(header->bodyStart) || !ReadBytes(reader, body.data(), 4)) {
        return std::nullopt;
    }
    MovieHeader result;
    if (body[0] == 1) {
        if (bodyLength < 32 || !ReadBytes(reader, body.data() + 4, 28)) {
            return std::nullopt;
        }
        result.timeScale = static_cast<std::uint32_t>(BigEndian(body.data() + 20, 4));
        result.duration = BigEndian(body.data() + 24, 8);
    } else {
        if (!ReadBytes(reader, body.data() + 4, 16)) {
            return std::nullopt;
        }
        result.timeScale = static_cast<std::uint32_t>(BigEndian(body.data() + 12, 4));
        result.duration = BigEndian(body.data() + 16, 4);
    }
    return result;
}

} // namespace qt::detail
