// Error codes that the DirectX graphic engines raise beside those of the graphic family
// (engines/graphics/GraphicErrorCodes.h): the Graphic System's numbers for viewports and their buffers, the
// DirectX graphic engine's own numbers, and the QuickTime hook's number for a window's port.
#pragma once

#include "resources/error/ErrorCode.h"
#include "resources/error/ErrorFacilities.h"

namespace Vemo {

// A viewport buffer that is to be given a surface has one already.
inline constexpr ErrorCode GraphicSystemErrBufferHasSurface = MakeErrorCode(kGraphicSystemFacility, 59);
// Flip or CopyToFront got a graphic handle that is no viewport buffer.
inline constexpr ErrorCode GraphicSystemErrNotViewportBuffer = MakeErrorCode(kGraphicSystemFacility, 60);
// The wanted full-screen mode is not among the display modes.
inline constexpr ErrorCode GraphicSystemErrModeNotAvailable = MakeErrorCode(kGraphicSystemFacility, 103);
// The viewport has no DirectDraw interface, or is not available for presenting.
inline constexpr ErrorCode GraphicSystemErrViewportUnavailable = MakeErrorCode(kGraphicSystemFacility, 104);
// A buffer was asked of a viewport that is no DirectX 6 viewport.
inline constexpr ErrorCode GraphicSystemErrNotDirectX6Viewport = MakeErrorCode(kGraphicSystemFacility, 106);
inline constexpr ErrorCode GraphicSystemErrCannotFlip = MakeErrorCode(kGraphicSystemFacility, 108);
// The text is the index of the locked buffer.
inline constexpr ErrorCode GraphicSystemErrBufferLocked = MakeErrorCode(kGraphicSystemFacility, 109);
// The buffer already has its graphic handle; the text is its index.
inline constexpr ErrorCode GraphicSystemErrBufferTaken = MakeErrorCode(kGraphicSystemFacility, 110);
// A buffer of the viewport has no graphic handle; the text is its index.
inline constexpr ErrorCode GraphicSystemErrNoBuffer = MakeErrorCode(kGraphicSystemFacility, 111);
// The graphic handle of a buffer could not be made; the text is "index:count".
inline constexpr ErrorCode GraphicSystemErrBufferOpenFailed = MakeErrorCode(kGraphicSystemFacility, 112);

// DirectDraw answered DDERR_OUTOFVIDEOMEMORY.
inline constexpr ErrorCode GraphicEngineErrOutOfVideoMemory = MakeErrorCode(kGraphicEngineFacility, 1);

// A DirectDraw call failed with a result that has no number of its own; the text is the result.
inline constexpr ErrorCode DirectXGraphicEngineErrCall = MakeErrorCode(kDirectXGraphicEngineFacility, 1);
inline constexpr ErrorCode DirectXGraphicEngineErrNoWindow = MakeErrorCode(kDirectXGraphicEngineFacility, 2);
inline constexpr ErrorCode DirectXGraphicEngineErrNoNativeWindow =
    MakeErrorCode(kDirectXGraphicEngineFacility, 3);
// DDERR_NODIRECTDRAWHW.
inline constexpr ErrorCode DirectXGraphicEngineErrNoHardware =
    MakeErrorCode(kDirectXGraphicEngineFacility, 5);
// DDERR_NOEMULATION.
inline constexpr ErrorCode DirectXGraphicEngineErrNoEmulation =
    MakeErrorCode(kDirectXGraphicEngineFacility, 6);
inline constexpr ErrorCode DirectXGraphicEngineErrCreate = MakeErrorCode(kDirectXGraphicEngineFacility, 7);
// The text names the interface: "IDirectDraw4".
inline constexpr ErrorCode DirectXGraphicEngineErrInterface = MakeErrorCode(kDirectXGraphicEngineFacility, 8);
// An operation that needs the viewport's IDirectDraw4 found none.
inline constexpr ErrorCode DirectXGraphicEngineErrNoDirectDraw =
    MakeErrorCode(kDirectXGraphicEngineFacility, 9);
inline constexpr ErrorCode DirectXGraphicEngineErrCooperativeLevel =
    MakeErrorCode(kDirectXGraphicEngineFacility, 10);
inline constexpr ErrorCode DirectXGraphicEngineErrSetDisplayMode =
    MakeErrorCode(kDirectXGraphicEngineFacility, 11);
inline constexpr ErrorCode DirectXGraphicEngineErrRestoreDisplayMode =
    MakeErrorCode(kDirectXGraphicEngineFacility, 12);

// A viewport's new window could not be given its QuickTime port.
inline constexpr ErrorCode QuickTimeEngineHookErrPortAssociation =
    MakeErrorCode(kQuickTimeEngineHookFacility, 7);

} // namespace Vemo
