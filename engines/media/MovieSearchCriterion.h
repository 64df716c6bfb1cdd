// What a movie or movie-controller front-end asks the Movie System for. Every optional value travels as a
// pointer into the builder's stack frame (null: not given), so a criterion lives for one open call only.
#pragma once

#include "foundation/Rect.h"
#include "resources/ResourceSearchCriterion.h"

#include <cstdint>

namespace Vemo {

class File;
class MovieHandle;
class Path;
class Viewport;

class MovieSearchCriterion : public ResourceSearchCriterion {
public:
    static constexpr std::uint32_t kMovie = 1;
    static constexpr std::uint32_t kController = 2;

    // Of the movie family, quick search, any engine of the family.
    explicit MovieSearchCriterion(std::uint32_t kind);
    ~MovieSearchCriterion() override;

    std::uint32_t m_kind;

    // A movie: read from the File or the Path, or a new one.
    const File* m_file = nullptr;
    const Path* m_path = nullptr;
    const bool* m_create = nullptr;
    // The file stays open after the movie has been read.
    const bool* m_keepFileOpen = nullptr;
    // The movie plays from its file instead of being read into memory first.
    const bool* m_streamed = nullptr;

    // A controller: the movie whose box and preferences supply the values not given here.
    MovieHandle* m_movieHandle = nullptr;
    const Size* m_size = nullptr;
    // A depth code.
    const std::uint32_t* m_depth = nullptr;
    // A standard pixel format number.
    const std::uint32_t* m_pixelFormat = nullptr;
    // Passed unchanged to the graphic opens as their two trailing creation values: placement and colour tag.
    const std::uint32_t* m_graphicValue1 = nullptr;
    const std::uint32_t* m_graphicValue2 = nullptr;
    Viewport* m_viewport = nullptr;
};

} // namespace Vemo
