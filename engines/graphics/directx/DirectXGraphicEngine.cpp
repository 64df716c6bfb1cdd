#include "engines/graphics/directx/DirectXGraphicEngine.h"

#include "engines/graphics/directx/DirectXErrorCodes.h"
#include "resources/CreateThrough.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"

#include <cstdio>

namespace Vemo {

DirectXGraphicEngine::DirectXGraphicEngine(std::uint32_t typeId, const String& name)
    : GraphicEngine(typeId, name) {}

DirectXGraphicEngine::~DirectXGraphicEngine() = default;

ddraw::IDirectDraw4* DirectXGraphicEngine::GetDirectDraw() {
    return nullptr;
}

DirectXGraphicEngine* DirectXGraphicEngine::Install(DirectXGraphicEngine* engine) {
    return CreateThrough(
        engine, [] { return new DirectXGraphicEngine(kDirectXGraphicTypeId, "DirectX Graphic Engine"); },
        [](GraphicEngine* made) { return GraphicEngine::Create(made); });
}

void DirectXGraphicEngine::ReportDirectDrawFailure(win32::HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof text, "%#08x", static_cast<unsigned>(result));
    ErrorCode code = DirectXGraphicEngineErrCall;
    switch (result) {
    case ddraw::DDERR_NODIRECTDRAWHW:
        code = DirectXGraphicEngineErrNoHardware;
        break;
    case ddraw::DDERR_NOEMULATION:
        code = DirectXGraphicEngineErrNoEmulation;
        break;
    case ddraw::DDERR_OUTOFMEMORY:
        code = ResourceEngineErrPlatformStatus;
        break;
    case ddraw::DDERR_OUTOFVIDEOMEMORY:
        code = GraphicEngineErrOutOfVideoMemory;
        break;
    default:
        break;
    }
    Error().Report(code, String(text));
}

} // namespace Vemo
