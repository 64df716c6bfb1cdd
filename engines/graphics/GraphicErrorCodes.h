// Error codes of the graphic family: the Graphic System's and the graphic engines'. None carries a text of
// its own; the raising site may give one.
#pragma once

#include "resources/error/ErrorCode.h"
#include "resources/error/ErrorFacilities.h"

namespace Vemo {

// An open was given a criterion that is not a graphic search criterion.
inline constexpr ErrorCode GraphicSystemErrNotGraphicCriterion = MakeErrorCode(kGraphicSystemFacility, 1);
// The criterion asks for neither a graphic nor a viewport.
inline constexpr ErrorCode GraphicSystemErrUnknownKind = MakeErrorCode(kGraphicSystemFacility, 2);
// The engine made a handle of another class than asked for; the text names the wanted class.
inline constexpr ErrorCode GraphicSystemErrWrongHandleClass = MakeErrorCode(kGraphicSystemFacility, 3);
inline constexpr ErrorCode GraphicSystemErrNoWidth = MakeErrorCode(kGraphicSystemFacility, 50);
inline constexpr ErrorCode GraphicSystemErrNoHeight = MakeErrorCode(kGraphicSystemFacility, 51);
// A surface without pixel format asks for a depth code outside 1 to 4.
inline constexpr ErrorCode GraphicSystemErrBadDepth = MakeErrorCode(kGraphicSystemFacility, 52);
inline constexpr ErrorCode GraphicSystemErrNoColorTag = MakeErrorCode(kGraphicSystemFacility, 53);
inline constexpr ErrorCode GraphicSystemErrNoPlacement = MakeErrorCode(kGraphicSystemFacility, 54);
inline constexpr ErrorCode GraphicSystemErrBadPixelFormat = MakeErrorCode(kGraphicSystemFacility, 55);
// The given pitch holds fewer pixels than the width.
inline constexpr ErrorCode GraphicSystemErrPitchTooShort = MakeErrorCode(kGraphicSystemFacility, 56);
inline constexpr ErrorCode GraphicSystemErrForeignModel = MakeErrorCode(kGraphicSystemFacility, 57);
inline constexpr ErrorCode GraphicSystemErrNoSurface = MakeErrorCode(kGraphicSystemFacility, 58);
// Pixel memory or pitch asked for while the surface holds none.
inline constexpr ErrorCode GraphicSystemErrNoPixelMemory = MakeErrorCode(kGraphicSystemFacility, 61);
// A buffer index beyond the viewport's buffer count.
inline constexpr ErrorCode GraphicSystemErrBufferIndex = MakeErrorCode(kGraphicSystemFacility, 107);

} // namespace Vemo
