// Error codes of the QuickTime engine hook and the QuickTime movie and sound engines: one for every QuickTime
// step that can fail. None carries a text.
#pragma once

#include "resources/error/ErrorCode.h"
#include "resources/error/ErrorFacilities.h"

namespace Vemo {

// The engine hook.
inline constexpr ErrorCode QuickTimeHookErrAlreadyStarted = MakeErrorCode(kQuickTimeEngineHookFacility, 1);
inline constexpr ErrorCode QuickTimeHookErrStartQTML = MakeErrorCode(kQuickTimeEngineHookFacility, 2);
inline constexpr ErrorCode QuickTimeHookErrMovieServices = MakeErrorCode(kQuickTimeEngineHookFacility, 3);
inline constexpr ErrorCode QuickTimeHookErrVersionQuery = MakeErrorCode(kQuickTimeEngineHookFacility, 4);
// QuickTime older than 4.0.
inline constexpr ErrorCode QuickTimeHookErrVersion = MakeErrorCode(kQuickTimeEngineHookFacility, 5);
inline constexpr ErrorCode QuickTimeHookErrNoWindow = MakeErrorCode(kQuickTimeEngineHookFacility, 6);
inline constexpr ErrorCode QuickTimeHookErrPortAssociation = MakeErrorCode(kQuickTimeEngineHookFacility, 7);
inline constexpr ErrorCode QuickTimeHookErrOptionalFirst = MakeErrorCode(kQuickTimeEngineHookFacility, 8);
inline constexpr ErrorCode QuickTimeHookErrOptionalSecond = MakeErrorCode(kQuickTimeEngineHookFacility, 9);
inline constexpr ErrorCode QuickTimeHookErrOwnMovieNotBuilt = MakeErrorCode(kQuickTimeEngineHookFacility, 10);
inline constexpr ErrorCode QuickTimeHookErrOwnMovieNotDisposed =
    MakeErrorCode(kQuickTimeEngineHookFacility, 11);
inline constexpr ErrorCode QuickTimeHookErrFileSpec = MakeErrorCode(kQuickTimeEngineHookFacility, 12);
inline constexpr ErrorCode QuickTimeHookErrCreateFile = MakeErrorCode(kQuickTimeEngineHookFacility, 13);
inline constexpr ErrorCode QuickTimeHookErrNewTrack = MakeErrorCode(kQuickTimeEngineHookFacility, 14);
inline constexpr ErrorCode QuickTimeHookErrNewMedia = MakeErrorCode(kQuickTimeEngineHookFacility, 15);
inline constexpr ErrorCode QuickTimeHookErrSamples = MakeErrorCode(kQuickTimeEngineHookFacility, 16);
inline constexpr ErrorCode QuickTimeHookErrControllerSetup = MakeErrorCode(kQuickTimeEngineHookFacility, 17);
inline constexpr ErrorCode QuickTimeHookErrLoop = MakeErrorCode(kQuickTimeEngineHookFacility, 18);
inline constexpr ErrorCode QuickTimeHookErrNewBlock = MakeErrorCode(kQuickTimeEngineHookFacility, 19);
inline constexpr ErrorCode QuickTimeHookErrResizeBlock = MakeErrorCode(kQuickTimeEngineHookFacility, 20);
inline constexpr ErrorCode QuickTimeHookErrBeginEdits = MakeErrorCode(kQuickTimeEngineHookFacility, 21);
inline constexpr ErrorCode QuickTimeHookErrAddSample = MakeErrorCode(kQuickTimeEngineHookFacility, 22);
inline constexpr ErrorCode QuickTimeHookErrEndEdits = MakeErrorCode(kQuickTimeEngineHookFacility, 23);
inline constexpr ErrorCode QuickTimeHookErrInsertMedia = MakeErrorCode(kQuickTimeEngineHookFacility, 24);
inline constexpr ErrorCode QuickTimeHookErrStoreMovie = MakeErrorCode(kQuickTimeEngineHookFacility, 25);
inline constexpr ErrorCode QuickTimeHookErrNewController = MakeErrorCode(kQuickTimeEngineHookFacility, 26);
inline constexpr ErrorCode QuickTimeHookErrScaleSegment = MakeErrorCode(kQuickTimeEngineHookFacility, 27);
inline constexpr ErrorCode QuickTimeHookErrCloseFile = MakeErrorCode(kQuickTimeEngineHookFacility, 28);
inline constexpr ErrorCode QuickTimeHookErrDisposeController =
    MakeErrorCode(kQuickTimeEngineHookFacility, 29);
inline constexpr ErrorCode QuickTimeHookErrDisposeMovie = MakeErrorCode(kQuickTimeEngineHookFacility, 30);
inline constexpr ErrorCode QuickTimeHookErrDeleteFile = MakeErrorCode(kQuickTimeEngineHookFacility, 31);

// The movie engine.
inline constexpr ErrorCode QuickTimeMovieErrNoHook = MakeErrorCode(kQuickTimeMovieEngineFacility, 1);
// The path has no text, or cannot be made a file spec.
inline constexpr ErrorCode QuickTimeMovieErrPath = MakeErrorCode(kQuickTimeMovieEngineFacility, 2);
inline constexpr ErrorCode QuickTimeMovieErrOpenFile = MakeErrorCode(kQuickTimeMovieEngineFacility, 3);
inline constexpr ErrorCode QuickTimeMovieErrReadMovie = MakeErrorCode(kQuickTimeMovieEngineFacility, 4);
// Not loaded into memory, or not released from it.
inline constexpr ErrorCode QuickTimeMovieErrMemory = MakeErrorCode(kQuickTimeMovieEngineFacility, 5);
inline constexpr ErrorCode QuickTimeMovieErrCreateFile = MakeErrorCode(kQuickTimeMovieEngineFacility, 6);
inline constexpr ErrorCode QuickTimeMovieErrNewMovie = MakeErrorCode(kQuickTimeMovieEngineFacility, 7);
inline constexpr ErrorCode QuickTimeMovieErrCloseFile = MakeErrorCode(kQuickTimeMovieEngineFacility, 8);
inline constexpr ErrorCode QuickTimeMovieErrDisposeMovie = MakeErrorCode(kQuickTimeMovieEngineFacility, 9);
inline constexpr ErrorCode QuickTimeMovieErrPaletteGiven = MakeErrorCode(kQuickTimeMovieEngineFacility, 10);
// An offscreen's flag other than 0 or 1.
inline constexpr ErrorCode QuickTimeMovieErrOffscreenFlag = MakeErrorCode(kQuickTimeMovieEngineFacility, 11);
inline constexpr ErrorCode QuickTimeMovieErrFormatIndex = MakeErrorCode(kQuickTimeMovieEngineFacility, 12);
inline constexpr ErrorCode QuickTimeMovieErrScreenContext = MakeErrorCode(kQuickTimeMovieEngineFacility, 13);
inline constexpr ErrorCode QuickTimeMovieErrBitmap = MakeErrorCode(kQuickTimeMovieEngineFacility, 14);
inline constexpr ErrorCode QuickTimeMovieErrPixelFormat = MakeErrorCode(kQuickTimeMovieEngineFacility, 15);
inline constexpr ErrorCode QuickTimeMovieErrWorld = MakeErrorCode(kQuickTimeMovieEngineFacility, 16);
// A movie handle of another engine offered to a QuickTime controller graphic.
inline constexpr ErrorCode QuickTimeMovieErrForeignHandle = MakeErrorCode(kQuickTimeMovieEngineFacility, 17);
// A movie with an empty box cannot loop.
inline constexpr ErrorCode QuickTimeMovieErrNoSize = MakeErrorCode(kQuickTimeMovieEngineFacility, 18);
inline constexpr ErrorCode QuickTimeMovieErrNewController = MakeErrorCode(kQuickTimeMovieEngineFacility, 19);
inline constexpr ErrorCode QuickTimeMovieErrDisposeController =
    MakeErrorCode(kQuickTimeMovieEngineFacility, 20);
inline constexpr ErrorCode QuickTimeMovieErrInsertForeign = MakeErrorCode(kQuickTimeMovieEngineFacility, 21);
inline constexpr ErrorCode QuickTimeMovieErrInsertPlaying = MakeErrorCode(kQuickTimeMovieEngineFacility, 22);
inline constexpr ErrorCode QuickTimeMovieErrInsertNoTrack = MakeErrorCode(kQuickTimeMovieEngineFacility, 23);
inline constexpr ErrorCode QuickTimeMovieErrInsertAddTrack = MakeErrorCode(kQuickTimeMovieEngineFacility, 24);
inline constexpr ErrorCode QuickTimeMovieErrInsertSegment = MakeErrorCode(kQuickTimeMovieEngineFacility, 25);

// The sound engine.
inline constexpr ErrorCode QuickTimeSoundErrNoHook = MakeErrorCode(kQuickTimeSoundEngineFacility, 1);
inline constexpr ErrorCode QuickTimeSoundErrPath = MakeErrorCode(kQuickTimeSoundEngineFacility, 2);
inline constexpr ErrorCode QuickTimeSoundErrOpenFile = MakeErrorCode(kQuickTimeSoundEngineFacility, 3);
inline constexpr ErrorCode QuickTimeSoundErrReadMovie = MakeErrorCode(kQuickTimeSoundEngineFacility, 4);
inline constexpr ErrorCode QuickTimeSoundErrMemory = MakeErrorCode(kQuickTimeSoundEngineFacility, 5);
inline constexpr ErrorCode QuickTimeSoundErrNewController = MakeErrorCode(kQuickTimeSoundEngineFacility, 6);
inline constexpr ErrorCode QuickTimeSoundErrCreateFile = MakeErrorCode(kQuickTimeSoundEngineFacility, 7);
inline constexpr ErrorCode QuickTimeSoundErrNewMovie = MakeErrorCode(kQuickTimeSoundEngineFacility, 8);
inline constexpr ErrorCode QuickTimeSoundErrCloseFile = MakeErrorCode(kQuickTimeSoundEngineFacility, 9);
inline constexpr ErrorCode QuickTimeSoundErrDisposeController =
    MakeErrorCode(kQuickTimeSoundEngineFacility, 10);
inline constexpr ErrorCode QuickTimeSoundErrDisposeMovie = MakeErrorCode(kQuickTimeSoundEngineFacility, 11);
inline constexpr ErrorCode QuickTimeSoundErrInsertForeign = MakeErrorCode(kQuickTimeSoundEngineFacility, 12);
inline constexpr ErrorCode QuickTimeSoundErrInsertPlaying = MakeErrorCode(kQuickTimeSoundEngineFacility, 13);
inline constexpr ErrorCode QuickTimeSoundErrInsertNoTrack = MakeErrorCode(kQuickTimeSoundEngineFacility, 14);
inline constexpr ErrorCode QuickTimeSoundErrInsertAddTrack = MakeErrorCode(kQuickTimeSoundEngineFacility, 15);
inline constexpr ErrorCode QuickTimeSoundErrInsertSegment = MakeErrorCode(kQuickTimeSoundEngineFacility, 16);

} // namespace Vemo
