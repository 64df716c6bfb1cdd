// Module ids of the resource families and the facility of every module that reports errors.
//
// A family's module id is also the type id of its systems and engines: the high 16 bits name the family, the
// low 16 bits the implementation (0 for the family's own system and base engine). Systems report under kind
// 1, engines under kind 2; the engine hooks, state graphs, the scripted runtime and the application have
// domains of their own.
#pragma once

#include "resources/error/ErrorCode.h"

#include <cstdint>

namespace Vemo {

inline constexpr std::uint32_t kResourceTypeId = 0x00000000;
inline constexpr std::uint32_t kErrorTypeId = 0x00010000;
inline constexpr std::uint32_t kStorageTypeId = 0x00030000;
inline constexpr std::uint32_t kWin32StorageTypeId = 0x00030001;
inline constexpr std::uint32_t kQuibStorageTypeId = 0x00030002;
inline constexpr std::uint32_t kMonolithStorageTypeId = 0x00030003;
inline constexpr std::uint32_t kTimerTypeId = 0x00040000;
inline constexpr std::uint32_t kWin32TimerTypeId = 0x00040001;
inline constexpr std::uint32_t kGraphicTypeId = 0x01000000;
inline constexpr std::uint32_t kDirectXGraphicTypeId = 0x01000001;
inline constexpr std::uint32_t kDirectX6GraphicTypeId = 0x01000002;
inline constexpr std::uint32_t kSoundTypeId = 0x01010000;
inline constexpr std::uint32_t kQuickTimeSoundTypeId = 0x01010001;
inline constexpr std::uint32_t kInputDeviceTypeId = 0x01020000;
inline constexpr std::uint32_t kDirectXInputDeviceTypeId = 0x01020001;
inline constexpr std::uint32_t kImageTypeId = 0x02000000;
inline constexpr std::uint32_t kStandardImageTypeId = 0x02000001;
inline constexpr std::uint32_t kMovieTypeId = 0x02020000;
inline constexpr std::uint32_t kQuickTimeMovieTypeId = 0x02020001;
inline constexpr std::uint32_t kFontTypeId = 0x02030000;
inline constexpr std::uint32_t kWin32FontTypeId = 0x02030001;

// Systems.
inline constexpr ErrorFacility kResourceSystemFacility = MakeErrorFacility(kErrorKindSystem, kResourceTypeId);
inline constexpr ErrorFacility kErrorSystemFacility = MakeErrorFacility(kErrorKindSystem, kErrorTypeId);
inline constexpr ErrorFacility kStorageSystemFacility = MakeErrorFacility(kErrorKindSystem, kStorageTypeId);
inline constexpr ErrorFacility kTimerSystemFacility = MakeErrorFacility(kErrorKindSystem, kTimerTypeId);
inline constexpr ErrorFacility kGraphicSystemFacility = MakeErrorFacility(kErrorKindSystem, kGraphicTypeId);
inline constexpr ErrorFacility kSoundSystemFacility = MakeErrorFacility(kErrorKindSystem, kSoundTypeId);
inline constexpr ErrorFacility kInputDeviceSystemFacility =
    MakeErrorFacility(kErrorKindSystem, kInputDeviceTypeId);
inline constexpr ErrorFacility kImageSystemFacility = MakeErrorFacility(kErrorKindSystem, kImageTypeId);
inline constexpr ErrorFacility kMovieSystemFacility = MakeErrorFacility(kErrorKindSystem, kMovieTypeId);
inline constexpr ErrorFacility kFontSystemFacility = MakeErrorFacility(kErrorKindSystem, kFontTypeId);

// Engines.
inline constexpr ErrorFacility kResourceEngineFacility = MakeErrorFacility(kErrorKindEngine, kResourceTypeId);
inline constexpr ErrorFacility kErrorEngineFacility = MakeErrorFacility(kErrorKindEngine, kErrorTypeId);
inline constexpr ErrorFacility kStorageEngineFacility = MakeErrorFacility(kErrorKindEngine, kStorageTypeId);
inline constexpr ErrorFacility kWin32StorageEngineFacility =
    MakeErrorFacility(kErrorKindEngine, kWin32StorageTypeId);
inline constexpr ErrorFacility kQuibStorageEngineFacility =
    MakeErrorFacility(kErrorKindEngine, kQuibStorageTypeId);
inline constexpr ErrorFacility kMonolithStorageEngineFacility =
    MakeErrorFacility(kErrorKindEngine, kMonolithStorageTypeId);
inline constexpr ErrorFacility kTimerEngineFacility = MakeErrorFacility(kErrorKindEngine, kTimerTypeId);
inline constexpr ErrorFacility kWin32TimerEngineFacility =
    MakeErrorFacility(kErrorKindEngine, kWin32TimerTypeId);
inline constexpr ErrorFacility kGraphicEngineFacility = MakeErrorFacility(kErrorKindEngine, kGraphicTypeId);
inline constexpr ErrorFacility kDirectXGraphicEngineFacility =
    MakeErrorFacility(kErrorKindEngine, kDirectXGraphicTypeId);
inline constexpr ErrorFacility kDirectX6GraphicEngineFacility =
    MakeErrorFacility(kErrorKindEngine, kDirectX6GraphicTypeId);
inline constexpr ErrorFacility kSoundEngineFacility = MakeErrorFacility(kErrorKindEngine, kSoundTypeId);
inline constexpr ErrorFacility kQuickTimeSoundEngineFacility =
    MakeErrorFacility(kErrorKindEngine, kQuickTimeSoundTypeId);
inline constexpr ErrorFacility kInputDeviceEngineFacility =
    MakeErrorFacility(kErrorKindEngine, kInputDeviceTypeId);
inline constexpr ErrorFacility kDirectXInputDeviceEngineFacility =
    MakeErrorFacility(kErrorKindEngine, kDirectXInputDeviceTypeId);
inline constexpr ErrorFacility kImageEngineFacility = MakeErrorFacility(kErrorKindEngine, kImageTypeId);
inline constexpr ErrorFacility kStandardImageEngineFacility =
    MakeErrorFacility(kErrorKindEngine, kStandardImageTypeId);
inline constexpr ErrorFacility kMovieEngineFacility = MakeErrorFacility(kErrorKindEngine, kMovieTypeId);
inline constexpr ErrorFacility kQuickTimeMovieEngineFacility =
    MakeErrorFacility(kErrorKindEngine, kQuickTimeMovieTypeId);
inline constexpr ErrorFacility kFontEngineFacility = MakeErrorFacility(kErrorKindEngine, kFontTypeId);
inline constexpr ErrorFacility kWin32FontEngineFacility =
    MakeErrorFacility(kErrorKindEngine, kWin32FontTypeId);

// Engine hooks: the domain is the hook's number.
inline constexpr ErrorFacility kResourceEngineHookFacility = MakeErrorFacility(kErrorKindEngineHook, 0);
inline constexpr ErrorFacility kWin32EngineHookFacility = MakeErrorFacility(kErrorKindEngineHook, 1);
inline constexpr ErrorFacility kDirectXEngineHookFacility = MakeErrorFacility(kErrorKindEngineHook, 2);
inline constexpr ErrorFacility kQuickTimeEngineHookFacility = MakeErrorFacility(kErrorKindEngineHook, 3);

// State graphs.
inline constexpr ErrorFacility kStateGraphFacility = MakeErrorFacility(kErrorKindStateGraph, 1);
inline constexpr ErrorFacility kStateGraphCreationFacility = MakeErrorFacility(kErrorKindStateGraph, 2);

// Modules of the scripted runtime that define codes of their own.
inline constexpr ErrorFacility kMessengerFacility = MakeErrorFacility(kErrorKindMessaging, 1);
inline constexpr ErrorFacility kMessengerFactoryFacility = MakeErrorFacility(kErrorKindMessaging, 2);
inline constexpr ErrorFacility kScriptFacility = MakeErrorFacility(kErrorKindMessaging, 3);
inline constexpr ErrorFacility kMessengerStateGraphFacility = MakeErrorFacility(kErrorKindMessaging, 6);
inline constexpr ErrorFacility kMessengerRecursiveStateFacility = MakeErrorFacility(kErrorKindMessaging, 7);
inline constexpr ErrorFacility kMultimediaApplicationFacility = MakeErrorFacility(kErrorKindMessaging, 8);
inline constexpr ErrorFacility kMessengerViewportFacility = MakeErrorFacility(kErrorKindMessaging, 21);
inline constexpr ErrorFacility kControlFacility = MakeErrorFacility(kErrorKindMessaging, 27);

// Application base classes.
inline constexpr ErrorFacility kApplicationFacility = MakeErrorFacility(kErrorKindApplication, 1);
inline constexpr ErrorFacility kWin32ApplicationFacility = MakeErrorFacility(kErrorKindApplication, 2);

} // namespace Vemo
