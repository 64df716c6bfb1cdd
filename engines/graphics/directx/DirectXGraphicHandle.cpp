#include "engines/graphics/directx/DirectXGraphicHandle.h"

namespace Vemo {

DirectXGraphicHandle::DirectXGraphicHandle(ResourceEngine* engine) : GraphicHandle(engine) {}

DirectXGraphicHandle::~DirectXGraphicHandle() = default;

ddraw::IDirectDrawSurface4* DirectXGraphicHandle::GetSurface() {
    return nullptr;
}

} // namespace Vemo
