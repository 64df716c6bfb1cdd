// The level that every DirectX graphic engine derives from: it hands out its DirectDraw interface, and holds
// the one rule by which a failed DirectDraw call becomes a reported error.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/GraphicEngine.h"
#include "platform/directx/DirectDraw.h"

#include <cstdint>

namespace Vemo {

class DirectXGraphicEngine : public GraphicEngine {
public:
    DirectXGraphicEngine(std::uint32_t typeId, const String& name);
    ~DirectXGraphicEngine() override;

    // The engine's IDirectDraw4 while it is active; null at this level.
    virtual ddraw::IDirectDraw4* GetDirectDraw();

    // Runs the graphic engine's factory on the given engine, or on a new "DirectX Graphic Engine"; an engine
    // made here is deleted when that fails, a given one never.
    static DirectXGraphicEngine* Install(DirectXGraphicEngine* engine = nullptr);

    // Reports the failed call's result, written "%#08x" ("0x887601c2"): DDERR_NODIRECTDRAWHW and
    // DDERR_NOEMULATION under numbers of their own, E_OUTOFMEMORY as the engine base's platform status,
    // DDERR_OUTOFVIDEOMEMORY as the graphic engine's, anything else as DirectXGraphicEngineErrCall.
    static void ReportDirectDrawFailure(win32::HRESULT result);
};

} // namespace Vemo
