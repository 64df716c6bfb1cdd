// The graphic handle level of the DirectX graphic engines: a surface that can hand out its DirectDraw
// surface.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/GraphicHandle.h"
#include "platform/directx/DirectDraw.h"

namespace Vemo {

class DirectXGraphicHandle : public GraphicHandle {
public:
    explicit DirectXGraphicHandle(ResourceEngine* engine);
    ~DirectXGraphicHandle() override;

    // The handle's DirectDraw surface; null at this level.
    virtual ddraw::IDirectDrawSurface4* GetSurface();
};

} // namespace Vemo
