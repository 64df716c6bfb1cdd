// The movie header of a QuickTime file ("moov" holding "mvhd"): FFmpeg replaces a time scale of 0 with 1
// without a word, so the layer reads the header itself to refuse such a movie. Internal to the layer.
#pragma once

#include "platform/quicktime/MediaSource.h"

#include <cstdint>
#include <optional>

namespace qt::detail {

struct MovieHeader {
    std::uint32_t timeScale = 0;
    std::uint64_t duration = 0;
};

// The header of the file's first top-level "moov" atom; nothing when the file has no readable one (not a
// QuickTime file, or a broken atom tree).
std::optional<MovieHeader> ReadMovieHeader(ByteReader& reader);

} // namespace qt::detail
