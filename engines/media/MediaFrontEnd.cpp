#include "engines/media/MediaFrontEnd.h"

#include "foundation/String.h"
#include "resources/Resource.h"
#include "resources/ResourceSearchCriterion.h"
#include "resources/ResourceSystem.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"

namespace Vemo {

ResourceHandle* OpenFrontEnd(Resource& frontEnd, ResourceSystem* system, ResourceSearchCriterion& criterion,
                             std::uint32_t engineId) {
    if (frontEnd.GetHandle() != nullptr) {
        RaiseError(ResourceSystemErrAlreadyOpen);
        return nullptr;
    }
    if (system == nullptr) {
        RaiseError(ResourceSystemErrNoSystem);
        return nullptr;
    }
    if (engineId != criterion.GetFamilyId()) {
        criterion.SetWantedEngineId(&engineId);
    }
    ResourceHandle* handle = system->Open(&criterion, &frontEnd);
    if (handle == nullptr) {
        RaiseError(ResourceSystemErrOpenFailed);
    }
    return handle;
}

void ReportNoHandle(const char* frontEndName) {
    const String text(frontEndName);
    RaiseError(ResourceSystemErrNoHandle, &text);
}

} // namespace Vemo
