// The 64-bit error code that every failure of the system is reported with, and the facility it is built from.
//
//   bits  0-15  number of the error within its facility (1 upwards; 255 is "not supported" in the framework)
//   bits 16-47  domain: the 32-bit module id of the facility
//   bits 48-55  kind of the facility
//   bits 56-63  severity: 1 in every error code the system defines, 0 for success
//
// A facility holds the module id in its low 32 bits and the kind above them; only the kind's low 8 bits reach
// a code. Codes are plain constants compared by their full 64-bit value.
#pragma once

#include <cstdint>

namespace Vemo {

using ErrorCode = std::uint64_t;
using ErrorFacility = std::uint64_t;

// Facility kinds. 3, 4 and 8 are not used.
inline constexpr std::uint8_t kErrorKindSystem = 1;
inline constexpr std::uint8_t kErrorKindEngine = 2;
inline constexpr std::uint8_t kErrorKindEngineHook = 5;
inline constexpr std::uint8_t kErrorKindStateGraph = 6;
inline constexpr std::uint8_t kErrorKindMessaging = 7;
inline constexpr std::uint8_t kErrorKindApplication = 9;

inline constexpr std::uint8_t kErrorSeverityError = 1;

constexpr ErrorFacility MakeErrorFacility(std::uint32_t kind, std::uint32_t moduleId) {
    return (static_cast<ErrorFacility>(kind) << 32) | moduleId;
}

constexpr ErrorCode MakeErrorCode(ErrorFacility facility, std::uint16_t number) {
    return (static_cast<ErrorCode>(kErrorSeverityError) << 56) | ((facility & 0xFFFFFFFFFFull) << 16) |
           number;
}

constexpr std::uint16_t ErrorCodeNumber(ErrorCode code) {
    return static_cast<std::uint16_t>(code & 0xFFFF);
}
constexpr ErrorFacility ErrorCodeFacility(ErrorCode code) {
    return (code >> 16) & 0xFFFFFFFFFFull;
}
constexpr std::uint8_t ErrorCodeKind(ErrorCode code) {
    return static_cast<std::uint8_t>((code >> 48) & 0xFF);
}
constexpr std::uint8_t ErrorCodeSeverity(ErrorCode code) {
    return static_cast<std::uint8_t>(code >> 56);
}

inline constexpr ErrorFacility FacilityNone = 0;
inline constexpr ErrorCode ErrorCodeFailure = static_cast<ErrorCode>(kErrorSeverityError) << 56;
inline constexpr ErrorCode ErrorCodeSuccess = 0;

} // namespace Vemo
