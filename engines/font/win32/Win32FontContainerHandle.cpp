#include "engines/font/win32/Win32FontContainerHandle.h"

#include "engines/font/win32/Win32FontContainerGraphic.h"

namespace Vemo {

Win32FontContainerHandle::Win32FontContainerHandle(ResourceEngine* engine, Win32FontContainerGraphic* graphic)
    : FontContainerHandle(engine, graphic) {}

Win32FontContainerHandle::~Win32FontContainerHandle() = default;

} // namespace Vemo
