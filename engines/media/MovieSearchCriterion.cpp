#include "engines/media/MovieSearchCriterion.h"

#include "resources/error/ErrorFacilities.h"

namespace Vemo {

MovieSearchCriterion::MovieSearchCriterion(std::uint32_t kind)
    : ResourceSearchCriterion(kMovieTypeId, kSearchQuick), m_kind(kind) {}

MovieSearchCriterion::~MovieSearchCriterion() = default;

} // namespace Vemo
