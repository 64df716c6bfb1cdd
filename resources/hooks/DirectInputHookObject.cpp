#include "resources/hooks/DirectInputHookObject.h"

namespace Vemo {

DirectInputHookObject::~DirectInputHookObject() = default;

} // namespace Vemo
