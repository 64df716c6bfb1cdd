#include "resources/error/ErrorCode.h"
#include "resources/error/ErrorCodes.h"
#include "resources/error/ErrorFacilities.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using namespace Vemo;

struct NamedCode {
    ErrorCode constant;
    std::uint64_t expected;
    const char* name;
};

// Every named code against its full value as the tables give it.
const NamedCode kNamedCodes[] = {
    {ResourceSystemErrInitializeFailed, 0x0101000000000001ull, "ResourceSystemErrInitializeFailed"},
    {ResourceSystemErrRemoveEngineFailed, 0x0101000000000002ull, "ResourceSystemErrRemoveEngineFailed"},
    {ResourceSystemErrEngineShutdownFailed, 0x0101000000000003ull, "ResourceSystemErrEngineShutdownFailed"},
    {ResourceSystemErrTerminateFailed, 0x0101000000000004ull, "ResourceSystemErrTerminateFailed"},
    {ResourceSystemErrWrongFamily, 0x0101000000000005ull, "ResourceSystemErrWrongFamily"},
    {ResourceSystemErrEngineHasSystem, 0x0101000000000006ull, "ResourceSystemErrEngineHasSystem"},
    {ResourceSystemErrDuplicateEngine, 0x0101000000000007ull, "ResourceSystemErrDuplicateEngine"},
    {ResourceSystemErrAddingRefused, 0x0101000000000008ull, "ResourceSystemErrAddingRefused"},
    {ResourceSystemErrAttachFailed, 0x0101000000000009ull, "ResourceSystemErrAttachFailed"},
    {ResourceSystemErrEngineRemovedFailed, 0x010100000000000Aull, "ResourceSystemErrEngineRemovedFailed"},
    {ResourceSystemErrEngineHasNoSystem, 0x010100000000000Bull, "ResourceSystemErrEngineHasNoSystem"},
    {ResourceSystemErrEngineNotFound, 0x010100000000000Cull, "ResourceSystemErrEngineNotFound"},
    {ResourceSystemErrStopFailed, 0x010100000000000Dull, "ResourceSystemErrStopFailed"},
    {ResourceSystemErrDetachFailed, 0x010100000000000Eull, "ResourceSystemErrDetachFailed"},
    {ResourceSystemErrNoEngine, 0x010100000000000Full, "ResourceSystemErrNoEngine"},
    {ResourceSystemErrPreOpenRefused, 0x0101000000000010ull, "ResourceSystemErrPreOpenRefused"},
    {ResourceSystemErrOpenFailed, 0x0101000000000011ull, "ResourceSystemErrOpenFailed"},
    {ResourceSystemErrAttachHandleFailed, 0x0101000000000012ull, "ResourceSystemErrAttachHandleFailed"},
    {ResourceSystemErrPreShareRefused, 0x0101000000000013ull, "ResourceSystemErrPreShareRefused"},
    {ResourceSystemErrShareFailed, 0x0101000000000014ull, "ResourceSystemErrShareFailed"},
    {ResourceSystemErrAttachResourceFailed, 0x0101000000000015ull, "ResourceSystemErrAttachResourceFailed"},
    {ResourceSystemErrDetachResourceFailed, 0x0101000000000016ull, "ResourceSystemErrDetachResourceFailed"},
    {ResourceSystemErrCloseFailed, 0x0101000000000017ull, "ResourceSystemErrCloseFailed"},
    {ResourceSystemErrPostCloseFailed, 0x0101000000000018ull, "ResourceSystemErrPostCloseFailed"},
    {ResourceSystemErrStartFailed, 0x0101000000000019ull, "ResourceSystemErrStartFailed"},
    {ResourceSystemErrEngineOpenFailed, 0x010100000000001Aull, "ResourceSystemErrEngineOpenFailed"},
    {ResourceSystemErrReserved27, 0x010100000000001Bull, "ResourceSystemErrReserved27"},
    {ResourceSystemErrEngineShareFailed, 0x010100000000001Cull, "ResourceSystemErrEngineShareFailed"},
    {ResourceSystemErrReserved29, 0x010100000000001Dull, "ResourceSystemErrReserved29"},
    {ResourceSystemErrEngineCloseFailed, 0x010100000000001Eull, "ResourceSystemErrEngineCloseFailed"},
    {ResourceSystemErrNoHandle, 0x010100000000001Full, "ResourceSystemErrNoHandle"},
    {ResourceSystemErrAlreadyOpen, 0x0101000000000020ull, "ResourceSystemErrAlreadyOpen"},
    {ResourceSystemErrNoSystem, 0x0101000000000021ull, "ResourceSystemErrNoSystem"},
    {ResourceSystemErrReserved34, 0x0101000000000022ull, "ResourceSystemErrReserved34"},
    {ResourceSystemErrNotSupported, 0x01010000000000FFull, "ResourceSystemErrNotSupported"},
    {ResourceEngineErrInitializeFailed, 0x0102000000000001ull, "ResourceEngineErrInitializeFailed"},
    {ResourceEngineErrStopFailed, 0x0102000000000002ull, "ResourceEngineErrStopFailed"},
    {ResourceEngineErrRemoveFailed, 0x0102000000000003ull, "ResourceEngineErrRemoveFailed"},
    {ResourceEngineErrTerminateFailed, 0x0102000000000004ull, "ResourceEngineErrTerminateFailed"},
    {ResourceEngineErrNoSystem, 0x0102000000000005ull, "ResourceEngineErrNoSystem"},
    {ResourceEngineErrAlreadyStarted, 0x0102000000000006ull, "ResourceEngineErrAlreadyStarted"},
    {ResourceEngineErrActivateFailed, 0x0102000000000007ull, "ResourceEngineErrActivateFailed"},
    {ResourceEngineErrNotStarted, 0x0102000000000008ull, "ResourceEngineErrNotStarted"},
    {ResourceEngineErrHandlesOpen, 0x0102000000000009ull, "ResourceEngineErrHandlesOpen"},
    {ResourceEngineErrDeactivateFailed, 0x010200000000000Aull, "ResourceEngineErrDeactivateFailed"},
    {ResourceEngineErrForeignSystem, 0x010200000000000Bull, "ResourceEngineErrForeignSystem"},
    {ResourceEngineErrPreOpenRefused, 0x010200000000000Cull, "ResourceEngineErrPreOpenRefused"},
    {ResourceEngineErrCreateHandleFailed, 0x010200000000000Dull, "ResourceEngineErrCreateHandleFailed"},
    {ResourceEngineErrAttachHandleFailed, 0x010200000000000Eull, "ResourceEngineErrAttachHandleFailed"},
    {ResourceEngineErrPreShareRefused, 0x010200000000000Full, "ResourceEngineErrPreShareRefused"},
    {ResourceEngineErrShareHandleFailed, 0x0102000000000010ull, "ResourceEngineErrShareHandleFailed"},
    {ResourceEngineErrPostShareFailed, 0x0102000000000011ull, "ResourceEngineErrPostShareFailed"},
    {ResourceEngineErrDetachHandleFailed, 0x0102000000000012ull, "ResourceEngineErrDetachHandleFailed"},
    {ResourceEngineErrDestroyHandleFailed, 0x0102000000000013ull, "ResourceEngineErrDestroyHandleFailed"},
    {ResourceEngineErrPostCloseFailed, 0x0102000000000014ull, "ResourceEngineErrPostCloseFailed"},
    {ResourceEngineErrPlatformStatus, 0x0102000000000015ull, "ResourceEngineErrPlatformStatus"},
    {ResourceEngineErrNotSupported, 0x01020000000000FFull, "ResourceEngineErrNotSupported"},
    {EngineHookErrAlreadyInstalled, 0x0105000000000001ull, "EngineHookErrAlreadyInstalled"},
    {EngineHookErrStartupFailed, 0x0105000000000002ull, "EngineHookErrStartupFailed"},
    {EngineHookErrNotInstalled, 0x0105000000000003ull, "EngineHookErrNotInstalled"},
    {EngineHookErrShutdownFailed, 0x0105000000000004ull, "EngineHookErrShutdownFailed"},
    {ErrorSystemErrNoIndex, 0x0101000100000001ull, "ErrorSystemErrNoIndex"},
    {ErrorSystemErrNoScope, 0x0101000100000002ull, "ErrorSystemErrNoScope"},
    {ErrorSystemErrNotFound, 0x0101000100000003ull, "ErrorSystemErrNotFound"},
    {ErrorSystemErrShareFailed, 0x0101000100000004ull, "ErrorSystemErrShareFailed"},
    {ErrorSystemErrIndexOutOfRange, 0x0101000100000005ull, "ErrorSystemErrIndexOutOfRange"},
    {ErrorEngineErrNoCode, 0x0102000100000001ull, "ErrorEngineErrNoCode"},
    {ErrorEngineErrCreateFailed, 0x0102000100000002ull, "ErrorEngineErrCreateFailed"},
    {ErrorEngineErrReserved3, 0x0102000100000003ull, "ErrorEngineErrReserved3"},
    {Win32EngineHookErrNoInstance, 0x0105000000010001ull, "Win32EngineHookErrNoInstance"},
    {Win32EngineHookErrClassRegistered, 0x0105000000010002ull, "Win32EngineHookErrClassRegistered"},
    {Win32EngineHookErrVersion, 0x0105000000010003ull, "Win32EngineHookErrVersion"},
    {Win32EngineHookErrRegisterClass, 0x0105000000010004ull, "Win32EngineHookErrRegisterClass"},
    {Win32EngineHookErrClassNotRegistered, 0x0105000000010005ull, "Win32EngineHookErrClassNotRegistered"},
    {Win32EngineHookErrUnregisterClass, 0x0105000000010006ull, "Win32EngineHookErrUnregisterClass"},
    {Win32EngineHookErrWindowKnown, 0x0105000000010007ull, "Win32EngineHookErrWindowKnown"},
    {Win32EngineHookErrCreateWindow, 0x0105000000010008ull, "Win32EngineHookErrCreateWindow"},
    {Win32EngineHookErrWindowUnknown, 0x0105000000010009ull, "Win32EngineHookErrWindowUnknown"},
    {Win32EngineHookErrDestroyWindow, 0x010500000001000Aull, "Win32EngineHookErrDestroyWindow"},
    {DirectXEngineHookErrNoInstance, 0x0105000000020001ull, "DirectXEngineHookErrNoInstance"},
    {DirectXEngineHookErrObjectKnown, 0x0105000000020002ull, "DirectXEngineHookErrObjectKnown"},
    {DirectXEngineHookErrDirectInput, 0x0105000000020003ull, "DirectXEngineHookErrDirectInput"},
    {DirectXEngineHookErrObjectUnknown, 0x0105000000020004ull, "DirectXEngineHookErrObjectUnknown"},
    {DirectXEngineHookErrObjectRemoveFailed, 0x0105000000020005ull, "DirectXEngineHookErrObjectRemoveFailed"},
    {DirectXEngineHookErrObjectAttached, 0x0105000000020006ull, "DirectXEngineHookErrObjectAttached"},
    {DirectXEngineHookErrObjectAddFailed, 0x0105000000020007ull, "DirectXEngineHookErrObjectAddFailed"},
    {DirectXEngineHookErrObjectNotAttached, 0x0105000000020008ull, "DirectXEngineHookErrObjectNotAttached"},
    {DirectXEngineHookErrQueryInterface, 0x0105000000020009ull, "DirectXEngineHookErrQueryInterface"},
    {DirectXEngineHookErrInterfaceUnknown, 0x010500000002000Aull, "DirectXEngineHookErrInterfaceUnknown"},
    {DirectXEngineHookErrTakeDisplayFailed, 0x010500000002000Bull, "DirectXEngineHookErrTakeDisplayFailed"},
    {DirectXEngineHookErrReleaseDisplayFailed, 0x010500000002000Cull,
     "DirectXEngineHookErrReleaseDisplayFailed"},
    {DirectXEngineHookErrAddWindowFailed, 0x010500000002000Dull, "DirectXEngineHookErrAddWindowFailed"},
    {DirectXEngineHookErrRemoveWindowFailed, 0x010500000002000Eull, "DirectXEngineHookErrRemoveWindowFailed"},
    {DirectXEngineHookErrDisplayTaken, 0x010500000002000Full, "DirectXEngineHookErrDisplayTaken"},
    {DirectXEngineHookErrNoDisplayWindow, 0x0105000000020010ull, "DirectXEngineHookErrNoDisplayWindow"},
    {DirectXEngineHookErrNotDisplayWindow, 0x0105000000020011ull, "DirectXEngineHookErrNotDisplayWindow"},
    {DirectXEngineHookErrWindowKnown, 0x0105000000020012ull, "DirectXEngineHookErrWindowKnown"},
    {DirectXEngineHookErrWindowUnknown, 0x0105000000020013ull, "DirectXEngineHookErrWindowUnknown"},
    {StorageSystemErrExists, 0x0101000300000001ull, "StorageSystemErrExists"},
    {StorageSystemErrNoParent, 0x0101000300000002ull, "StorageSystemErrNoParent"},
    {StorageSystemErrNoName, 0x0101000300000003ull, "StorageSystemErrNoName"},
    {StorageSystemErrBadKind, 0x0101000300000004ull, "StorageSystemErrBadKind"},
    {StorageSystemErrNoVolume, 0x0101000300000005ull, "StorageSystemErrNoVolume"},
    {StorageSystemErrReserved6, 0x0101000300000006ull, "StorageSystemErrReserved6"},
    {StorageSystemErrReserved7, 0x0101000300000007ull, "StorageSystemErrReserved7"},
    {StorageSystemErrVolumeOpenFailed, 0x0101000300000008ull, "StorageSystemErrVolumeOpenFailed"},
    {StorageSystemErrDirectoryOpenFailed, 0x0101000300000009ull, "StorageSystemErrDirectoryOpenFailed"},
    {StorageSystemErrFileOpenFailed, 0x010100030000000Aull, "StorageSystemErrFileOpenFailed"},
    {StorageEngineErrAccessDenied, 0x0102000300000001ull, "StorageEngineErrAccessDenied"},
    {StorageEngineErrNoDevice, 0x0102000300000002ull, "StorageEngineErrNoDevice"},
    {StorageEngineErrCreateDirectoryFailed, 0x0102000300000003ull, "StorageEngineErrCreateDirectoryFailed"},
    {StorageEngineErrNoDirectory, 0x0102000300000004ull, "StorageEngineErrNoDirectory"},
    {StorageEngineErrDirectoryExists, 0x0102000300000005ull, "StorageEngineErrDirectoryExists"},
    {StorageEngineErrCreateFileFailed, 0x0102000300000006ull, "StorageEngineErrCreateFileFailed"},
    {StorageEngineErrOpenFailed, 0x0102000300000007ull, "StorageEngineErrOpenFailed"},
    {StorageEngineErrNotFound, 0x0102000300000008ull, "StorageEngineErrNotFound"},
    {StorageEngineErrFileExists, 0x0102000300000009ull, "StorageEngineErrFileExists"},
    {StorageEngineErrReserved10, 0x010200030000000Aull, "StorageEngineErrReserved10"},
    {StorageEngineErrNotReadable, 0x010200030000000Bull, "StorageEngineErrNotReadable"},
    {StorageEngineErrNotWriteable, 0x010200030000000Cull, "StorageEngineErrNotWriteable"},
    {StorageEngineErrDeleteFailed, 0x010200030000000Dull, "StorageEngineErrDeleteFailed"},
    {StorageEngineErrRootAlreadySet, 0x010200030000000Eull, "StorageEngineErrRootAlreadySet"},
    {StorageEngineErrNoRoot, 0x010200030000000Full, "StorageEngineErrNoRoot"},
    {StorageEngineErrForeignRoot, 0x0102000300000010ull, "StorageEngineErrForeignRoot"},
    {StorageEngineErrLockFailed, 0x0102000300000011ull, "StorageEngineErrLockFailed"},
    {StorageEngineErrReserved18, 0x0102000300000012ull, "StorageEngineErrReserved18"},
    {StorageEngineErrInsertFailed, 0x0102000300000013ull, "StorageEngineErrInsertFailed"},
    {StorageEngineErrReserved20, 0x0102000300000014ull, "StorageEngineErrReserved20"},
    {StorageEngineErrVolumeNotListed, 0x0102000300000015ull, "StorageEngineErrVolumeNotListed"},
    {StorageEngineErrDirectoryNotListed, 0x0102000300000016ull, "StorageEngineErrDirectoryNotListed"},
    {StorageEngineErrFileNotListed, 0x0102000300000017ull, "StorageEngineErrFileNotListed"},
    {StorageEngineErrHandleNotListed, 0x0102000300000018ull, "StorageEngineErrHandleNotListed"},
    {StorageEngineErrNoParent, 0x0102000300000019ull, "StorageEngineErrNoParent"},
    {StorageEngineErrNoEntry, 0x010200030000001Aull, "StorageEngineErrNoEntry"},
    {StorageEngineErrNoRecord, 0x010200030000001Bull, "StorageEngineErrNoRecord"},
    {StorageEngineErrUnknownRecord, 0x010200030000001Cull, "StorageEngineErrUnknownRecord"},
    {StorageEngineErrNoMemory, 0x010200030000001Dull, "StorageEngineErrNoMemory"},
    {StorageEngineErrNoData, 0x010200030000001Eull, "StorageEngineErrNoData"},
    {StorageEngineErrReadFailed, 0x010200030000001Full, "StorageEngineErrReadFailed"},
    {StorageEngineErrWriteFailed, 0x0102000300000020ull, "StorageEngineErrWriteFailed"},
    {StorageEngineErrBadName, 0x0102000300000021ull, "StorageEngineErrBadName"},
    {StorageEngineErrNoFile, 0x0102000300000022ull, "StorageEngineErrNoFile"},
    {StorageEngineErrNoStorageSystem, 0x0102000300000023ull, "StorageEngineErrNoStorageSystem"},
    {Win32StorageErrDiskFreeSpace, 0x0102000300010001ull, "Win32StorageErrDiskFreeSpace"},
    {Win32StorageErrVolumeInformation, 0x0102000300010002ull, "Win32StorageErrVolumeInformation"},
    {Win32StorageErrSetVolumeLabel, 0x0102000300010003ull, "Win32StorageErrSetVolumeLabel"},
    {Win32StorageErrDeviceControl, 0x0102000300010004ull, "Win32StorageErrDeviceControl"},
    {Win32StorageErrSetEndOfFile, 0x0102000300010005ull, "Win32StorageErrSetEndOfFile"},
};

TEST(ErrorCodeTest, NamedCodesHaveTheirTableValues) {
    for (const NamedCode& code : kNamedCodes) {
        EXPECT_EQ(code.constant, code.expected) << code.name;
    }
}

// Facilities whose codes other modules build by number: each is checked against a code those modules use.
TEST(ErrorCodeTest, FacilitiesBuildTheCodesOfTheirModules) {
    struct Case {
        ErrorFacility facility;
        std::uint16_t number;
        std::uint64_t expected;
    };
    const Case cases[] = {
        {kGraphicSystemFacility, 50, 0x0101010000000032},
        {kGraphicEngineFacility, 1, 0x0102010000000001},
        {kDirectXGraphicEngineFacility, 10, 0x010201000001000A},
        {kImageSystemFacility, 1, 0x0101020000000001},
        {kMovieSystemFacility, 2, 0x0101020200000002},
        {kMovieEngineFacility, 7, 0x0102020200000007},
        {kQuickTimeMovieEngineFacility, 25, 0x0102020200010019},
        {kSoundSystemFacility, 1, 0x0101010100000001},
        {kSoundEngineFacility, 3, 0x0102010100000003},
        {kQuickTimeSoundEngineFacility, 16, 0x0102010100010010},
        {kFontSystemFacility, 24, 0x0101020300000018},
        {kQuibStorageEngineFacility, 13, 0x010200030002000D},
        {kMonolithStorageEngineFacility, 16, 0x0102000300030010},
        {kQuickTimeEngineHookFacility, 31, 0x010500000003001F},
        {kStateGraphFacility, 14, 0x010600000001000E},
        {kStateGraphCreationFacility, 4, 0x0106000000020004},
        {kMessengerFacility, 1000, 0x01070000000103E8},
        {kMessengerFactoryFacility, 11, 0x010700000002000B},
        {kScriptFacility, 8, 0x0107000000030008},
        {kMessengerStateGraphFacility, 13, 0x010700000006000D},
        {kMessengerRecursiveStateFacility, 12, 0x010700000007000C},
        {kMultimediaApplicationFacility, 99, 0x0107000000080063},
        {kMessengerViewportFacility, 1, 0x0107000000150001},
        {kControlFacility, 103, 0x01070000001B0067},
        {kApplicationFacility, 17, 0x0109000000010011},
        {kWin32ApplicationFacility, 1, 0x0109000000020001},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MakeErrorCode(c.facility, c.number), c.expected) << std::hex << c.expected;
    }
}

TEST(ErrorCodeTest, FieldsOfACode) {
    const ErrorCode code = MakeErrorCode(kResourceSystemFacility, 17);
    EXPECT_EQ(code, 0x0101000000000011u);
    EXPECT_EQ(ErrorCodeNumber(code), 17);
    EXPECT_EQ(ErrorCodeKind(code), 1);
    EXPECT_EQ(ErrorCodeSeverity(code), 1);
    EXPECT_EQ(ErrorCodeFacility(code), 0x0000000100000000u);

    const ErrorCode storage = Win32StorageErrSetEndOfFile;
    EXPECT_EQ(ErrorCodeFacility(storage), kWin32StorageEngineFacility);
    EXPECT_EQ(ErrorCodeKind(storage), 2);
}

TEST(ErrorCodeTest, OnlyTheLowByteOfTheKindReachesACode) {
    EXPECT_EQ(MakeErrorCode(MakeErrorFacility(0x105, 0x00030000), 1), 0x0105000300000001u);
}

TEST(ErrorCodeTest, SharedConstants) {
    EXPECT_EQ(FacilityNone, 0u);
    EXPECT_EQ(ErrorCodeFailure, 0x0100000000000000u);
    EXPECT_EQ(ErrorCodeSuccess, 0u);
}

} // namespace
