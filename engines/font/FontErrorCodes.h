// Error codes of the font family: the Font System's, the Font Engine's (shared by every font engine) and the
// Win32 font engine's. None carries a text.
#pragma once

#include "resources/error/ErrorCode.h"
#include "resources/error/ErrorFacilities.h"

namespace Vemo {

// A container criterion without a font lacks one of the four values a container is made from.
inline constexpr ErrorCode FontSystemErrContainerNoSize = MakeErrorCode(kFontSystemFacility, 1);
inline constexpr ErrorCode FontSystemErrContainerNoPixelFormat = MakeErrorCode(kFontSystemFacility, 2);
inline constexpr ErrorCode FontSystemErrContainerNoGraphicFlags = MakeErrorCode(kFontSystemFacility, 3);
inline constexpr ErrorCode FontSystemErrContainerNoColorTag = MakeErrorCode(kFontSystemFacility, 4);
// A description criterion gives neither source value.
inline constexpr ErrorCode FontSystemErrNoSourceValue = MakeErrorCode(kFontSystemFacility, 5);
// An attribute criterion lacks one of the eight attributes.
inline constexpr ErrorCode FontSystemErrNoName = MakeErrorCode(kFontSystemFacility, 6);
inline constexpr ErrorCode FontSystemErrNoSize = MakeErrorCode(kFontSystemFacility, 7);
inline constexpr ErrorCode FontSystemErrNoWidth = MakeErrorCode(kFontSystemFacility, 8);
inline constexpr ErrorCode FontSystemErrNoCellHeightFlag = MakeErrorCode(kFontSystemFacility, 9);
inline constexpr ErrorCode FontSystemErrNoPixelUnitsFlag = MakeErrorCode(kFontSystemFacility, 10);
inline constexpr ErrorCode FontSystemErrNoStyle = MakeErrorCode(kFontSystemFacility, 11);
inline constexpr ErrorCode FontSystemErrNoForeground = MakeErrorCode(kFontSystemFacility, 12);
inline constexpr ErrorCode FontSystemErrNoBackground = MakeErrorCode(kFontSystemFacility, 13);
inline constexpr ErrorCode FontSystemErrNoFontNamed = MakeErrorCode(kFontSystemFacility, 14);
// A container was given a font of another engine kind.
inline constexpr ErrorCode FontSystemErrForeignFont = MakeErrorCode(kFontSystemFacility, 15);
inline constexpr ErrorCode FontSystemErrGraphicRefusedFont = MakeErrorCode(kFontSystemFacility, 16);
inline constexpr ErrorCode FontSystemErrImageDecodeFailed = MakeErrorCode(kFontSystemFacility, 17);
// A Font front-end without a font handle.
inline constexpr ErrorCode FontSystemErrNoFontHandle = MakeErrorCode(kFontSystemFacility, 18);
inline constexpr ErrorCode FontSystemErrFontInContainer = MakeErrorCode(kFontSystemFacility, 19);
inline constexpr ErrorCode FontSystemErrContainerRefusedFont = MakeErrorCode(kFontSystemFacility, 20);
inline constexpr ErrorCode FontSystemErrFontRefusedContainer = MakeErrorCode(kFontSystemFacility, 21);
inline constexpr ErrorCode FontSystemErrNotLinkedBack = MakeErrorCode(kFontSystemFacility, 22);
inline constexpr ErrorCode FontSystemErrFontDetachFailed = MakeErrorCode(kFontSystemFacility, 23);
inline constexpr ErrorCode FontSystemErrContainerDetachFailed = MakeErrorCode(kFontSystemFacility, 24);

inline constexpr ErrorCode FontEngineErrMakeContainer = MakeErrorCode(kFontEngineFacility, 1);
// Opening a font from a directory or a path.
inline constexpr ErrorCode FontEngineErrOpenFromPath = MakeErrorCode(kFontEngineFacility, 2);
inline constexpr ErrorCode FontEngineErrOpenFromDescription = MakeErrorCode(kFontEngineFacility, 3);
inline constexpr ErrorCode FontEngineErrOpenByAttributes = MakeErrorCode(kFontEngineFacility, 4);
inline constexpr ErrorCode FontEngineErrCloseFont = MakeErrorCode(kFontEngineFacility, 5);
inline constexpr ErrorCode FontEngineErrCloseContainer = MakeErrorCode(kFontEngineFacility, 6);
inline constexpr ErrorCode FontEngineErrOpenContainerGraphic = MakeErrorCode(kFontEngineFacility, 7);
// A container's text operation while no font is attached.
inline constexpr ErrorCode FontEngineErrNoFont = MakeErrorCode(kFontEngineFacility, 8);

// The Win32 font engine: mostly a GDI call that failed.
inline constexpr ErrorCode Win32FontEngineErrCreateDC = MakeErrorCode(kWin32FontEngineFacility, 1);
inline constexpr ErrorCode Win32FontEngineErrSetMapMode = MakeErrorCode(kWin32FontEngineFacility, 2);
inline constexpr ErrorCode Win32FontEngineErrSetBkColor = MakeErrorCode(kWin32FontEngineFacility, 3);
inline constexpr ErrorCode Win32FontEngineErrSetBkMode = MakeErrorCode(kWin32FontEngineFacility, 4);
inline constexpr ErrorCode Win32FontEngineErrSetTextAlign = MakeErrorCode(kWin32FontEngineFacility, 5);
inline constexpr ErrorCode Win32FontEngineErrSetTextColor = MakeErrorCode(kWin32FontEngineFacility, 6);
inline constexpr ErrorCode Win32FontEngineErrSetTextCharacterExtra =
    MakeErrorCode(kWin32FontEngineFacility, 7);
inline constexpr ErrorCode Win32FontEngineErrSetTextJustification =
    MakeErrorCode(kWin32FontEngineFacility, 8);
inline constexpr ErrorCode Win32FontEngineErrCreateFont = MakeErrorCode(kWin32FontEngineFacility, 9);
inline constexpr ErrorCode Win32FontEngineErrSelectObject = MakeErrorCode(kWin32FontEngineFacility, 10);
inline constexpr ErrorCode Win32FontEngineErrGetTextMetrics = MakeErrorCode(kWin32FontEngineFacility, 11);
inline constexpr ErrorCode Win32FontEngineErrGetGlyphOutline = MakeErrorCode(kWin32FontEngineFacility, 12);
inline constexpr ErrorCode Win32FontEngineErrGetCharABCWidths = MakeErrorCode(kWin32FontEngineFacility, 13);
inline constexpr ErrorCode Win32FontEngineErrGetKerningPairs = MakeErrorCode(kWin32FontEngineFacility, 14);
inline constexpr ErrorCode Win32FontEngineErrOpenContainer = MakeErrorCode(kWin32FontEngineFacility, 15);
inline constexpr ErrorCode Win32FontEngineErrDeleteObject = MakeErrorCode(kWin32FontEngineFacility, 16);
inline constexpr ErrorCode Win32FontEngineErrDeleteDC = MakeErrorCode(kWin32FontEngineFacility, 17);
inline constexpr ErrorCode Win32FontEngineErrPaletteReference = MakeErrorCode(kWin32FontEngineFacility, 18);
inline constexpr ErrorCode Win32FontEngineErrColorTag = MakeErrorCode(kWin32FontEngineFacility, 19);
inline constexpr ErrorCode Win32FontEngineErrPixelFormat = MakeErrorCode(kWin32FontEngineFacility, 20);
inline constexpr ErrorCode Win32FontEngineErrCreateDIBSection = MakeErrorCode(kWin32FontEngineFacility, 21);
inline constexpr ErrorCode Win32FontEngineErrForeignFont = MakeErrorCode(kWin32FontEngineFacility, 22);
inline constexpr ErrorCode Win32FontEngineErrFontDoesNotFit = MakeErrorCode(kWin32FontEngineFacility, 23);
inline constexpr ErrorCode Win32FontEngineErrCreateSolidBrush = MakeErrorCode(kWin32FontEngineFacility, 24);
inline constexpr ErrorCode Win32FontEngineErrFillRect = MakeErrorCode(kWin32FontEngineFacility, 25);

} // namespace Vemo
