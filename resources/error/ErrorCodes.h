// The named error codes of the resource framework, the error system, the engine hooks and storage.
//
// Every constant is a compile-time value, so a code can be used from any static initialiser. A module whose
// codes are known by number only builds them from its facility where it raises them, as in
// MakeErrorCode(kQuibStorageEngineFacility, 13).
#pragma once

#include "resources/error/ErrorCode.h"
#include "resources/error/ErrorFacilities.h"

namespace Vemo {

// Resource System: the framework's system side, and the codes that every front-end and handle family shares
// (17, 20, 31, 32, 33 and 255).
inline constexpr ErrorCode ResourceSystemErrInitializeFailed = MakeErrorCode(kResourceSystemFacility, 1);
inline constexpr ErrorCode ResourceSystemErrRemoveEngineFailed = MakeErrorCode(kResourceSystemFacility, 2);
inline constexpr ErrorCode ResourceSystemErrEngineShutdownFailed = MakeErrorCode(kResourceSystemFacility, 3);
inline constexpr ErrorCode ResourceSystemErrTerminateFailed = MakeErrorCode(kResourceSystemFacility, 4);
inline constexpr ErrorCode ResourceSystemErrWrongFamily = MakeErrorCode(kResourceSystemFacility, 5);
inline constexpr ErrorCode ResourceSystemErrEngineHasSystem = MakeErrorCode(kResourceSystemFacility, 6);
inline constexpr ErrorCode ResourceSystemErrDuplicateEngine = MakeErrorCode(kResourceSystemFacility, 7);
inline constexpr ErrorCode ResourceSystemErrAddingRefused = MakeErrorCode(kResourceSystemFacility, 8);
inline constexpr ErrorCode ResourceSystemErrAttachFailed = MakeErrorCode(kResourceSystemFacility, 9);
inline constexpr ErrorCode ResourceSystemErrEngineRemovedFailed = MakeErrorCode(kResourceSystemFacility, 10);
inline constexpr ErrorCode ResourceSystemErrEngineHasNoSystem = MakeErrorCode(kResourceSystemFacility, 11);
inline constexpr ErrorCode ResourceSystemErrEngineNotFound = MakeErrorCode(kResourceSystemFacility, 12);
inline constexpr ErrorCode ResourceSystemErrStopFailed = MakeErrorCode(kResourceSystemFacility, 13);
inline constexpr ErrorCode ResourceSystemErrDetachFailed = MakeErrorCode(kResourceSystemFacility, 14);
inline constexpr ErrorCode ResourceSystemErrNoEngine = MakeErrorCode(kResourceSystemFacility, 15);
inline constexpr ErrorCode ResourceSystemErrPreOpenRefused = MakeErrorCode(kResourceSystemFacility, 16);
inline constexpr ErrorCode ResourceSystemErrOpenFailed = MakeErrorCode(kResourceSystemFacility, 17);
inline constexpr ErrorCode ResourceSystemErrAttachHandleFailed = MakeErrorCode(kResourceSystemFacility, 18);
inline constexpr ErrorCode ResourceSystemErrPreShareRefused = MakeErrorCode(kResourceSystemFacility, 19);
inline constexpr ErrorCode ResourceSystemErrShareFailed = MakeErrorCode(kResourceSystemFacility, 20);
inline constexpr ErrorCode ResourceSystemErrAttachResourceFailed = MakeErrorCode(kResourceSystemFacility, 21);
inline constexpr ErrorCode ResourceSystemErrDetachResourceFailed = MakeErrorCode(kResourceSystemFacility, 22);
inline constexpr ErrorCode ResourceSystemErrCloseFailed = MakeErrorCode(kResourceSystemFacility, 23);
inline constexpr ErrorCode ResourceSystemErrPostCloseFailed = MakeErrorCode(kResourceSystemFacility, 24);
inline constexpr ErrorCode ResourceSystemErrStartFailed = MakeErrorCode(kResourceSystemFacility, 25);
inline constexpr ErrorCode ResourceSystemErrEngineOpenFailed = MakeErrorCode(kResourceSystemFacility, 26);
inline constexpr ErrorCode ResourceSystemErrReserved27 = MakeErrorCode(kResourceSystemFacility, 27);
inline constexpr ErrorCode ResourceSystemErrEngineShareFailed = MakeErrorCode(kResourceSystemFacility, 28);
inline constexpr ErrorCode ResourceSystemErrReserved29 = MakeErrorCode(kResourceSystemFacility, 29);
inline constexpr ErrorCode ResourceSystemErrEngineCloseFailed = MakeErrorCode(kResourceSystemFacility, 30);
inline constexpr ErrorCode ResourceSystemErrNoHandle = MakeErrorCode(kResourceSystemFacility, 31);
inline constexpr ErrorCode ResourceSystemErrAlreadyOpen = MakeErrorCode(kResourceSystemFacility, 32);
inline constexpr ErrorCode ResourceSystemErrNoSystem = MakeErrorCode(kResourceSystemFacility, 33);
inline constexpr ErrorCode ResourceSystemErrReserved34 = MakeErrorCode(kResourceSystemFacility, 34);
inline constexpr ErrorCode ResourceSystemErrNotSupported = MakeErrorCode(kResourceSystemFacility, 255);

// Resource Engine: the framework's engine side.
inline constexpr ErrorCode ResourceEngineErrInitializeFailed = MakeErrorCode(kResourceEngineFacility, 1);
inline constexpr ErrorCode ResourceEngineErrStopFailed = MakeErrorCode(kResourceEngineFacility, 2);
inline constexpr ErrorCode ResourceEngineErrRemoveFailed = MakeErrorCode(kResourceEngineFacility, 3);
inline constexpr ErrorCode ResourceEngineErrTerminateFailed = MakeErrorCode(kResourceEngineFacility, 4);
inline constexpr ErrorCode ResourceEngineErrNoSystem = MakeErrorCode(kResourceEngineFacility, 5);
inline constexpr ErrorCode ResourceEngineErrAlreadyStarted = MakeErrorCode(kResourceEngineFacility, 6);
inline constexpr ErrorCode ResourceEngineErrActivateFailed = MakeErrorCode(kResourceEngineFacility, 7);
inline constexpr ErrorCode ResourceEngineErrNotStarted = MakeErrorCode(kResourceEngineFacility, 8);
inline constexpr ErrorCode ResourceEngineErrHandlesOpen = MakeErrorCode(kResourceEngineFacility, 9);
inline constexpr ErrorCode ResourceEngineErrDeactivateFailed = MakeErrorCode(kResourceEngineFacility, 10);
inline constexpr ErrorCode ResourceEngineErrForeignSystem = MakeErrorCode(kResourceEngineFacility, 11);
inline constexpr ErrorCode ResourceEngineErrPreOpenRefused = MakeErrorCode(kResourceEngineFacility, 12);
inline constexpr ErrorCode ResourceEngineErrCreateHandleFailed = MakeErrorCode(kResourceEngineFacility, 13);
inline constexpr ErrorCode ResourceEngineErrAttachHandleFailed = MakeErrorCode(kResourceEngineFacility, 14);
inline constexpr ErrorCode ResourceEngineErrPreShareRefused = MakeErrorCode(kResourceEngineFacility, 15);
inline constexpr ErrorCode ResourceEngineErrShareHandleFailed = MakeErrorCode(kResourceEngineFacility, 16);
inline constexpr ErrorCode ResourceEngineErrPostShareFailed = MakeErrorCode(kResourceEngineFacility, 17);
inline constexpr ErrorCode ResourceEngineErrDetachHandleFailed = MakeErrorCode(kResourceEngineFacility, 18);
inline constexpr ErrorCode ResourceEngineErrDestroyHandleFailed = MakeErrorCode(kResourceEngineFacility, 19);
inline constexpr ErrorCode ResourceEngineErrPostCloseFailed = MakeErrorCode(kResourceEngineFacility, 20);
inline constexpr ErrorCode ResourceEngineErrPlatformStatus = MakeErrorCode(kResourceEngineFacility, 21);
inline constexpr ErrorCode ResourceEngineErrNotSupported = MakeErrorCode(kResourceEngineFacility, 255);

// Engine hook base: raised by every engine hook class alike.
inline constexpr ErrorCode EngineHookErrAlreadyInstalled = MakeErrorCode(kResourceEngineHookFacility, 1);
inline constexpr ErrorCode EngineHookErrStartupFailed = MakeErrorCode(kResourceEngineHookFacility, 2);
inline constexpr ErrorCode EngineHookErrNotInstalled = MakeErrorCode(kResourceEngineHookFacility, 3);
inline constexpr ErrorCode EngineHookErrShutdownFailed = MakeErrorCode(kResourceEngineHookFacility, 4);

// Error System.
inline constexpr ErrorCode ErrorSystemErrNoIndex = MakeErrorCode(kErrorSystemFacility, 1);
inline constexpr ErrorCode ErrorSystemErrNoScope = MakeErrorCode(kErrorSystemFacility, 2);
inline constexpr ErrorCode ErrorSystemErrNotFound = MakeErrorCode(kErrorSystemFacility, 3);
inline constexpr ErrorCode ErrorSystemErrShareFailed = MakeErrorCode(kErrorSystemFacility, 4);
inline constexpr ErrorCode ErrorSystemErrIndexOutOfRange = MakeErrorCode(kErrorSystemFacility, 5);

// Error Engine.
inline constexpr ErrorCode ErrorEngineErrNoCode = MakeErrorCode(kErrorEngineFacility, 1);
inline constexpr ErrorCode ErrorEngineErrCreateFailed = MakeErrorCode(kErrorEngineFacility, 2);
inline constexpr ErrorCode ErrorEngineErrReserved3 = MakeErrorCode(kErrorEngineFacility, 3);

// Win32 engine hook.
inline constexpr ErrorCode Win32EngineHookErrNoInstance = MakeErrorCode(kWin32EngineHookFacility, 1);
inline constexpr ErrorCode Win32EngineHookErrClassRegistered = MakeErrorCode(kWin32EngineHookFacility, 2);
inline constexpr ErrorCode Win32EngineHookErrVersion = MakeErrorCode(kWin32EngineHookFacility, 3);
inline constexpr ErrorCode Win32EngineHookErrRegisterClass = MakeErrorCode(kWin32EngineHookFacility, 4);
inline constexpr ErrorCode Win32EngineHookErrClassNotRegistered = MakeErrorCode(kWin32EngineHookFacility, 5);
inline constexpr ErrorCode Win32EngineHookErrUnregisterClass = MakeErrorCode(kWin32EngineHookFacility, 6);
inline constexpr ErrorCode Win32EngineHookErrWindowKnown = MakeErrorCode(kWin32EngineHookFacility, 7);
inline constexpr ErrorCode Win32EngineHookErrCreateWindow = MakeErrorCode(kWin32EngineHookFacility, 8);
inline constexpr ErrorCode Win32EngineHookErrWindowUnknown = MakeErrorCode(kWin32EngineHookFacility, 9);
inline constexpr ErrorCode Win32EngineHookErrDestroyWindow = MakeErrorCode(kWin32EngineHookFacility, 10);

// DirectX engine hook.
inline constexpr ErrorCode DirectXEngineHookErrNoInstance = MakeErrorCode(kDirectXEngineHookFacility, 1);
inline constexpr ErrorCode DirectXEngineHookErrObjectKnown = MakeErrorCode(kDirectXEngineHookFacility, 2);
inline constexpr ErrorCode DirectXEngineHookErrDirectInput = MakeErrorCode(kDirectXEngineHookFacility, 3);
inline constexpr ErrorCode DirectXEngineHookErrObjectUnknown = MakeErrorCode(kDirectXEngineHookFacility, 4);
inline constexpr ErrorCode DirectXEngineHookErrObjectRemoveFailed =
    MakeErrorCode(kDirectXEngineHookFacility, 5);
inline constexpr ErrorCode DirectXEngineHookErrObjectAttached = MakeErrorCode(kDirectXEngineHookFacility, 6);
inline constexpr ErrorCode DirectXEngineHookErrObjectAddFailed = MakeErrorCode(kDirectXEngineHookFacility, 7);
inline constexpr ErrorCode DirectXEngineHookErrObjectNotAttached =
    MakeErrorCode(kDirectXEngineHookFacility, 8);
inline constexpr ErrorCode DirectXEngineHookErrQueryInterface = MakeErrorCode(kDirectXEngineHookFacility, 9);
inline constexpr ErrorCode DirectXEngineHookErrInterfaceUnknown =
    MakeErrorCode(kDirectXEngineHookFacility, 10);
inline constexpr ErrorCode DirectXEngineHookErrTakeDisplayFailed =
    MakeErrorCode(kDirectXEngineHookFacility, 11);
inline constexpr ErrorCode DirectXEngineHookErrReleaseDisplayFailed =
    MakeErrorCode(kDirectXEngineHookFacility, 12);
inline constexpr ErrorCode DirectXEngineHookErrAddWindowFailed =
    MakeErrorCode(kDirectXEngineHookFacility, 13);
inline constexpr ErrorCode DirectXEngineHookErrRemoveWindowFailed =
    MakeErrorCode(kDirectXEngineHookFacility, 14);
inline constexpr ErrorCode DirectXEngineHookErrDisplayTaken = MakeErrorCode(kDirectXEngineHookFacility, 15);
inline constexpr ErrorCode DirectXEngineHookErrNoDisplayWindow =
    MakeErrorCode(kDirectXEngineHookFacility, 16);
inline constexpr ErrorCode DirectXEngineHookErrNotDisplayWindow =
    MakeErrorCode(kDirectXEngineHookFacility, 17);
inline constexpr ErrorCode DirectXEngineHookErrWindowKnown = MakeErrorCode(kDirectXEngineHookFacility, 18);
inline constexpr ErrorCode DirectXEngineHookErrWindowUnknown = MakeErrorCode(kDirectXEngineHookFacility, 19);

// Storage System.
inline constexpr ErrorCode StorageSystemErrExists = MakeErrorCode(kStorageSystemFacility, 1);
inline constexpr ErrorCode StorageSystemErrNoParent = MakeErrorCode(kStorageSystemFacility, 2);
inline constexpr ErrorCode StorageSystemErrNoName = MakeErrorCode(kStorageSystemFacility, 3);
inline constexpr ErrorCode StorageSystemErrBadKind = MakeErrorCode(kStorageSystemFacility, 4);
inline constexpr ErrorCode StorageSystemErrNoVolume = MakeErrorCode(kStorageSystemFacility, 5);
inline constexpr ErrorCode StorageSystemErrReserved6 = MakeErrorCode(kStorageSystemFacility, 6);
inline constexpr ErrorCode StorageSystemErrReserved7 = MakeErrorCode(kStorageSystemFacility, 7);
inline constexpr ErrorCode StorageSystemErrVolumeOpenFailed = MakeErrorCode(kStorageSystemFacility, 8);
inline constexpr ErrorCode StorageSystemErrDirectoryOpenFailed = MakeErrorCode(kStorageSystemFacility, 9);
inline constexpr ErrorCode StorageSystemErrFileOpenFailed = MakeErrorCode(kStorageSystemFacility, 10);

// Storage engine base; the Win32, Quib and Monolith engines report these too.
inline constexpr ErrorCode StorageEngineErrAccessDenied = MakeErrorCode(kStorageEngineFacility, 1);
inline constexpr ErrorCode StorageEngineErrNoDevice = MakeErrorCode(kStorageEngineFacility, 2);
inline constexpr ErrorCode StorageEngineErrCreateDirectoryFailed = MakeErrorCode(kStorageEngineFacility, 3);
inline constexpr ErrorCode StorageEngineErrNoDirectory = MakeErrorCode(kStorageEngineFacility, 4);
inline constexpr ErrorCode StorageEngineErrDirectoryExists = MakeErrorCode(kStorageEngineFacility, 5);
inline constexpr ErrorCode StorageEngineErrCreateFileFailed = MakeErrorCode(kStorageEngineFacility, 6);
inline constexpr ErrorCode StorageEngineErrOpenFailed = MakeErrorCode(kStorageEngineFacility, 7);
inline constexpr ErrorCode StorageEngineErrNotFound = MakeErrorCode(kStorageEngineFacility, 8);
inline constexpr ErrorCode StorageEngineErrFileExists = MakeErrorCode(kStorageEngineFacility, 9);
inline constexpr ErrorCode StorageEngineErrReserved10 = MakeErrorCode(kStorageEngineFacility, 10);
inline constexpr ErrorCode StorageEngineErrNotReadable = MakeErrorCode(kStorageEngineFacility, 11);
inline constexpr ErrorCode StorageEngineErrNotWriteable = MakeErrorCode(kStorageEngineFacility, 12);
inline constexpr ErrorCode StorageEngineErrDeleteFailed = MakeErrorCode(kStorageEngineFacility, 13);
inline constexpr ErrorCode StorageEngineErrRootAlreadySet = MakeErrorCode(kStorageEngineFacility, 14);
inline constexpr ErrorCode StorageEngineErrNoRoot = MakeErrorCode(kStorageEngineFacility, 15);
inline constexpr ErrorCode StorageEngineErrForeignRoot = MakeErrorCode(kStorageEngineFacility, 16);
inline constexpr ErrorCode StorageEngineErrLockFailed = MakeErrorCode(kStorageEngineFacility, 17);
inline constexpr ErrorCode StorageEngineErrReserved18 = MakeErrorCode(kStorageEngineFacility, 18);
inline constexpr ErrorCode StorageEngineErrInsertFailed = MakeErrorCode(kStorageEngineFacility, 19);
inline constexpr ErrorCode StorageEngineErrReserved20 = MakeErrorCode(kStorageEngineFacility, 20);
inline constexpr ErrorCode StorageEngineErrVolumeNotListed = MakeErrorCode(kStorageEngineFacility, 21);
inline constexpr ErrorCode StorageEngineErrDirectoryNotListed = MakeErrorCode(kStorageEngineFacility, 22);
inline constexpr ErrorCode StorageEngineErrFileNotListed = MakeErrorCode(kStorageEngineFacility, 23);
inline constexpr ErrorCode StorageEngineErrHandleNotListed = MakeErrorCode(kStorageEngineFacility, 24);
inline constexpr ErrorCode StorageEngineErrNoParent = MakeErrorCode(kStorageEngineFacility, 25);
inline constexpr ErrorCode StorageEngineErrNoEntry = MakeErrorCode(kStorageEngineFacility, 26);
inline constexpr ErrorCode StorageEngineErrNoRecord = MakeErrorCode(kStorageEngineFacility, 27);
inline constexpr ErrorCode StorageEngineErrUnknownRecord = MakeErrorCode(kStorageEngineFacility, 28);
inline constexpr ErrorCode StorageEngineErrNoMemory = MakeErrorCode(kStorageEngineFacility, 29);
inline constexpr ErrorCode StorageEngineErrNoData = MakeErrorCode(kStorageEngineFacility, 30);
inline constexpr ErrorCode StorageEngineErrReadFailed = MakeErrorCode(kStorageEngineFacility, 31);
inline constexpr ErrorCode StorageEngineErrWriteFailed = MakeErrorCode(kStorageEngineFacility, 32);
inline constexpr ErrorCode StorageEngineErrBadName = MakeErrorCode(kStorageEngineFacility, 33);
inline constexpr ErrorCode StorageEngineErrNoFile = MakeErrorCode(kStorageEngineFacility, 34);
inline constexpr ErrorCode StorageEngineErrNoStorageSystem = MakeErrorCode(kStorageEngineFacility, 35);

// Win32 storage engine.
inline constexpr ErrorCode Win32StorageErrDiskFreeSpace = MakeErrorCode(kWin32StorageEngineFacility, 1);
inline constexpr ErrorCode Win32StorageErrVolumeInformation = MakeErrorCode(kWin32StorageEngineFacility, 2);
inline constexpr ErrorCode Win32StorageErrSetVolumeLabel = MakeErrorCode(kWin32StorageEngineFacility, 3);
inline constexpr ErrorCode Win32StorageErrDeviceControl = MakeErrorCode(kWin32StorageEngineFacility, 4);
inline constexpr ErrorCode Win32StorageErrSetEndOfFile = MakeErrorCode(kWin32StorageEngineFacility, 5);

} // namespace Vemo
