// Error codes of the movie family: the Movie System's and the movie engines'. None carries a text of its own.
#pragma once

#include "resources/error/ErrorCode.h"
#include "resources/error/ErrorFacilities.h"

namespace Vemo {

// Defined for the family, reported by nothing.
inline constexpr ErrorCode MovieSystemErrReserved1 = MakeErrorCode(kMovieSystemFacility, 1);
// A controller criterion names neither a viewport, nor a movie handle, nor a size.
inline constexpr ErrorCode MovieSystemErrNoControllerTarget = MakeErrorCode(kMovieSystemFacility, 2);
// A movie criterion lacks one of its three flags.
inline constexpr ErrorCode MovieSystemErrMissingFlags = MakeErrorCode(kMovieSystemFacility, 3);
// A movie criterion names neither a File nor a Path and does not ask to create.
inline constexpr ErrorCode MovieSystemErrNoSource = MakeErrorCode(kMovieSystemFacility, 4);
// A movie handle offered to a controller handle comes from another engine.
inline constexpr ErrorCode MovieSystemErrForeignMovieHandle = MakeErrorCode(kMovieSystemFacility, 5);
inline constexpr ErrorCode MovieSystemErrGraphicRefusedMovie = MakeErrorCode(kMovieSystemFacility, 6);
// No movie, or a movie without a handle, to open a controller for or to bind.
inline constexpr ErrorCode MovieSystemErrNoMovie = MakeErrorCode(kMovieSystemFacility, 7);
// The movie is bound to another controller.
inline constexpr ErrorCode MovieSystemErrMovieBound = MakeErrorCode(kMovieSystemFacility, 8);
inline constexpr ErrorCode MovieSystemErrControllerRefusedMovie = MakeErrorCode(kMovieSystemFacility, 9);
inline constexpr ErrorCode MovieSystemErrMovieRefusedController = MakeErrorCode(kMovieSystemFacility, 10);
// Unbinding a movie that does not name this controller.
inline constexpr ErrorCode MovieSystemErrNotBoundHere = MakeErrorCode(kMovieSystemFacility, 11);
inline constexpr ErrorCode MovieSystemErrDetachControllerFailed = MakeErrorCode(kMovieSystemFacility, 12);
inline constexpr ErrorCode MovieSystemErrDetachMovieFailed = MakeErrorCode(kMovieSystemFacility, 13);
inline constexpr ErrorCode MovieSystemErrPrerollFailed = MakeErrorCode(kMovieSystemFacility, 14);
inline constexpr ErrorCode MovieSystemErrSetBoxFailed = MakeErrorCode(kMovieSystemFacility, 15);
// A controller operation finds no bound movie, or a bound movie without a handle.
inline constexpr ErrorCode MovieSystemErrNoBoundMovie = MakeErrorCode(kMovieSystemFacility, 16);

inline constexpr ErrorCode MovieEngineErrNoController = MakeErrorCode(kMovieEngineFacility, 1);
inline constexpr ErrorCode MovieEngineErrOpenFailed = MakeErrorCode(kMovieEngineFacility, 2);
inline constexpr ErrorCode MovieEngineErrCreateFailed = MakeErrorCode(kMovieEngineFacility, 3);
inline constexpr ErrorCode MovieEngineErrDestroyMovieFailed = MakeErrorCode(kMovieEngineFacility, 4);
inline constexpr ErrorCode MovieEngineErrDestroyControllerFailed = MakeErrorCode(kMovieEngineFacility, 5);
// A controller's graphic could not be opened by size.
inline constexpr ErrorCode MovieEngineErrGraphicBySize = MakeErrorCode(kMovieEngineFacility, 6);
inline constexpr ErrorCode MovieEngineErrGraphicOnViewport = MakeErrorCode(kMovieEngineFacility, 7);

} // namespace Vemo
