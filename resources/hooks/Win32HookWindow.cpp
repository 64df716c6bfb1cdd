#include "resources/hooks/Win32HookWindow.h"

namespace Vemo {

Win32HookWindow::~Win32HookWindow() = default;

} // namespace Vemo
