#include "resources/DirectInputHookObject.h"

namespace Vemo {

DirectInputHookObject::~DirectInputHookObject() = default;

} // namespace Vemo
