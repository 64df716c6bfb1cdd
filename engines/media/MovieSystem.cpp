#include "engines/media/MovieSystem.h"

#include "engines/media/MovieErrorCodes.h"
#include "engines/media/MovieHandle.h"
#include "engines/media/MovieSearchCriterion.h"
#include "resources/CreateThrough.h"
#include "resources/error/Error.h"

namespace Vemo {

namespace {

// The error that keeps the criterion from reaching an engine, or ErrorCodeSuccess.
ErrorCode CheckCriterion(const MovieSearchCriterion& criterion) {
    if (criterion.m_kind == MovieSearchCriterion::kController) {
        const bool target = criterion.m_viewport != nullptr || criterion.m_movieHandle != nullptr ||
                            criterion.m_size != nullptr;
        return target ? ErrorCodeSuccess : MovieSystemErrNoControllerTarget;
    }
    if (criterion.m_create == nullptr || criterion.m_keepFileOpen == nullptr ||
        criterion.m_streamed == nullptr) {
        return MovieSystemErrMissingFlags;
    }
    if (criterion.m_file == nullptr && criterion.m_path == nullptr && !*criterion.m_create) {
        return MovieSystemErrNoSource;
    }
    return ErrorCodeSuccess;
}

} // namespace

MovieSystem::MovieSystem() : ResourceSystem(kMovieTypeId, "Movie System") {}

MovieSystem::~MovieSystem() = default;

MovieSystem* MovieSystem::Create(MovieSystem* system) {
    return CreateThrough(
        system, [] { return new MovieSystem; },
        [](MovieSystem* made) { return ResourceSystem::Create(made); });
}

ResourceHandle* MovieSystem::Open(ResourceSearchCriterion* criterion, Resource* resource) {
    if (auto* movieCriterion = dynamic_cast<MovieSearchCriterion*>(criterion)) {
        if (const ErrorCode code = CheckCriterion(*movieCriterion); code != ErrorCodeSuccess) {
            RaiseError(code);
            return nullptr;
        }
    }
    return ResourceSystem::Open(criterion, resource);
}

bool MovieSystem::AttachHandle(ResourceSearchCriterion* criterion, ResourceEngine* engine, Resource* resource,
                               ResourceHandle* handle) {
    if (!ResourceSystem::AttachHandle(criterion, engine, resource, handle)) {
        return false;
    }
    m_movieHandles.Add(handle);
    return true;
}

bool MovieSystem::DetachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource) {
    if (!ResourceSystem::DetachResource(handle, engine, resource)) {
        return false;
    }
    m_movieHandles.RemoveIfUnreferenced(handle);
    return true;
}

} // namespace Vemo
