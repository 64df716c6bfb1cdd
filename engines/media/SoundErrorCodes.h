// Error codes of the sound family: the Sound System's and the sound engines'. None carries a text of its own.
#pragma once

#include "resources/error/ErrorCode.h"
#include "resources/error/ErrorFacilities.h"

namespace Vemo {

// A sound criterion names neither a File nor a Path and does not ask to create.
inline constexpr ErrorCode SoundSystemErrNoSource = MakeErrorCode(kSoundSystemFacility, 1);

inline constexpr ErrorCode SoundEngineErrOpenFailed = MakeErrorCode(kSoundEngineFacility, 1);
inline constexpr ErrorCode SoundEngineErrCreateFailed = MakeErrorCode(kSoundEngineFacility, 2);
inline constexpr ErrorCode SoundEngineErrDestroyFailed = MakeErrorCode(kSoundEngineFacility, 3);

} // namespace Vemo
