// The open step that every font front-end shares: a front-end that already has a handle is refused
// (ResourceSystemErrAlreadyOpen), so is an application without a Font System (ResourceSystemErrNoSystem) and
// an open that gives no handle (ResourceSystemErrOpenFailed); otherwise the front-end takes the handle.
// Nothing carries a text.
#pragma once

namespace Vemo {

class FontSearchCriterion;
class Resource;

bool RefuseIfOpen(const Resource& frontEnd);
bool OpenFontResource(Resource& frontEnd, FontSearchCriterion& criterion);

} // namespace Vemo
