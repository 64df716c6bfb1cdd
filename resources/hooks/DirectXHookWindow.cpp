#include "resources/hooks/DirectXHookWindow.h"

namespace Vemo {

DirectXHookWindow::~DirectXHookWindow() = default;

} // namespace Vemo
