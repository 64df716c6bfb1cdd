#include "engines/font/OpenFontResource.h"

#include "engines/font/FontSearchCriterion.h"
#include "engines/font/FontSystem.h"
#include "resources/Resource.h"
#include "resources/SystemAccessors.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"

namespace Vemo {

bool RefuseIfOpen(const Resource& frontEnd) {
    if (frontEnd.GetHandle() != nullptr) {
        RaiseError(ResourceSystemErrAlreadyOpen);
        return true;
    }
    return false;
}

bool OpenFontResource(Resource& frontEnd, FontSearchCriterion& criterion) {
    if (RefuseIfOpen(frontEnd)) {
        return false;
    }
    FontSystem* system = GetFontSystem();
    if (system == nullptr) {
        RaiseError(ResourceSystemErrNoSystem);
        return false;
    }
    ResourceHandle* handle = system->Open(&criterion, &frontEnd);
    if (handle == nullptr) {
        RaiseError(ResourceSystemErrOpenFailed);
        return false;
    }
    frontEnd.SetHandle(handle);
    return true;
}

} // namespace Vemo
