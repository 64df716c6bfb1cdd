// The open sequence that the movie, movie-controller and sound front-ends share.
#pragma once

#include <cstdint>

namespace Vemo {

class Resource;
class ResourceHandle;
class ResourceSearchCriterion;
class ResourceSystem;
class String;

// Opens a handle for the front-end through its family's system: ResourceSystemErrAlreadyOpen when the
// front-end is open, ResourceSystemErrNoSystem without a system, ResourceSystemErrOpenFailed when the system
// opens nothing; null then. An engine id other than the family's restricts the open to that engine.
ResourceHandle* OpenFrontEnd(Resource& frontEnd, ResourceSystem* system, ResourceSearchCriterion& criterion,
                             std::uint32_t engineId);

// ResourceSystemErrNoHandle with the front-end's name as text.
void ReportNoHandle(const char* frontEndName);

} // namespace Vemo
