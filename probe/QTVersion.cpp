#include "probe/QTVersion.h"

#include "platform/quicktime/QuickTime.h"

namespace {

constexpr std::int16_t kStartFlags = 3;

// The major version is the feature value's top byte. The value is compared unsigned, so that a major version
// of 0x80 or more still counts as one from 6 up.
std::int32_t MajorVersion(std::uint32_t version) {
    if (version >= 0x06000000u) {
        return 6;
    }
    if (version >= 0x05000000u) {
        return 5;
    }
    if (version >= 0x04000000u) {
        return 4;
    }
    return 0;
}

} // namespace

extern "C" std::int32_t QTVersion() {
    if (qt::StartQTML(kStartFlags) != qt::noErr) {
        return 0;
    }
    if (qt::StartMovieServices() != qt::noErr) {
        qt::StopQTML();
        return 0;
    }
    std::int32_t version = 0;
    const qt::OSErr queried = qt::QueryFeature(qt::MakeOSType("qtim"), &version);
    qt::StopMovieServices();
    qt::StopQTML();
    return queried == qt::noErr ? MajorVersion(static_cast<std::uint32_t>(version)) : 0;
}
