#include "resources/DirectXHookWindow.h"

namespace Vemo {

DirectXHookWindow::~DirectXHookWindow() = default;

} // namespace Vemo
