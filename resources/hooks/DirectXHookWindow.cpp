#include "resources/hooks/DirectXHookWindow.h"

namespace Vemo {

DirectXHookWindow::~DirectXHookWindow() = default;

DirectXWindow* DirectXHookWindow::GetDirectXWindow() {
    return nullptr;
}

} // namespace Vemo
