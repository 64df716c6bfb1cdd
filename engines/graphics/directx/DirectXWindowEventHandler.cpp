#include "engines/graphics/directx/DirectXWindowEventHandler.h"

namespace Vemo {

DirectXWindowEventHandler::~DirectXWindowEventHandler() = default;

} // namespace Vemo
