#include "platform/quicktime/QuickTime.h"
#include "platform/quicktime/startup/StartupState.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace qt {

namespace {

constexpr std::int32_t kDefaultVersion = 0x06000000;

// "MAJOR[.MINOR[.BUGFIX]]" as the feature query gives it; nothing for a text that is no version.
std::optional<std::int32_t> ParseVersion(const std::string& text) {
    int parts[3] = {0, 0, 0};
    int count = 0;
    std::size_t at = 0;
    for (;;) {
        std::size_t end = at;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
            ++end;
        }
        if (end == at || end - at > 3) {
            return std::nullopt;
        }
        parts[count++] = std::stoi(text.substr(at, end - at));
        if (end == text.size()) {
            break;
        }
        if (text[end] != '.' || count == 3) {
            return std::nullopt;
        }
        at = end + 1;
    }
    if (parts[0] > 255 || parts[1] > 15 || parts[2] > 15) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(parts[0]) << 24) | (parts[1] << 20) |
                                     (parts[2] << 16));
}

// The version setting in force: the test's, else VEMO_QUICKTIME's; nothing for "none".
std::optional<std::int32_t> ConfiguredVersion(detail::StartupState& state) {
    std::string setting;
    if (state.versionOverride) {
        setting = *state.versionOverride;
    } else if (const char* value = std::getenv("VEMO_QUICKTIME"); value != nullptr && value[0] != '\0') {
        setting = value;
    } else {
        return kDefaultVersion;
    }
    if (setting == "none") {
        return std::nullopt;
    }
    if (std::optional<std::int32_t> version = ParseVersion(setting)) {
        return version;
    }
    std::fprintf(stderr, "VEMO_QUICKTIME=%s: not a version (MAJOR[.MINOR[.BUGFIX]]) or none; using 6.0\n",
                 setting.c_str());
    return kDefaultVersion;
}

std::int32_t g_version = kDefaultVersion;

} // namespace

OSErr StartQTML(std::int32_t) {
    detail::StartupState& state = detail::StartupState::Instance();
    std::lock_guard startup(state.StartupLock());
    std::lock_guard guard(state.Lock());
    if (std::optional<OSErr> failure = state.TakeFailure("StartQTML")) {
        return *failure;
    }
    std::optional<std::int32_t> version = ConfiguredVersion(state);
    if (!version) {
        return qtmlLibraryNotFound;
    }
    g_version = *version;
    ++state.qtmlStarts;
    return noErr;
}

void StopQTML() {
    detail::StartupState& state = detail::StartupState::Instance();
    std::lock_guard startup(state.StartupLock());
    bool last = false;
    {
        std::lock_guard guard(state.Lock());
        if (state.qtmlStarts == 0) {
            return;
        }
        last = --state.qtmlStarts == 0;
    }
    if (last) {
        state.Shutdown();
    }
}

OSErr StartMovieServices() {
    detail::StartupState& state = detail::StartupState::Instance();
    std::lock_guard guard(state.Lock());
    if (std::optional<OSErr> failure = state.TakeFailure("StartMovieServices")) {
        return *failure;
    }
    if (state.qtmlStarts == 0) {
        return movieToolboxUninitialized;
    }
    ++state.movieServicesStarts;
    return noErr;
}

void StopMovieServices() {
    detail::StartupState& state = detail::StartupState::Instance();
    std::lock_guard guard(state.Lock());
    if (state.movieServicesStarts > 0) {
        --state.movieServicesStarts;
    }
}

OSErr QueryFeature(OSType selector, std::int32_t* response) {
    detail::StartupState& state = detail::StartupState::Instance();
    std::lock_guard guard(state.Lock());
    if (std::optional<OSErr> failure = state.TakeFailure("QueryFeature")) {
        return *failure;
    }
    if (response == nullptr) {
        return paramErr;
    }
    if (selector != MakeOSType("qtim")) {
        return gestaltUndefSelectorErr;
    }
    *response = g_version;
    return noErr;
}

OSErr Selector17000E(std::int32_t) {
    detail::StartupState& state = detail::StartupState::Instance();
    std::lock_guard guard(state.Lock());
    return state.TakeFailure("Selector17000E").value_or(noErr);
}

OSErr Selector170003(std::int32_t, std::int32_t) {
    detail::StartupState& state = detail::StartupState::Instance();
    std::lock_guard guard(state.Lock());
    return state.TakeFailure("Selector170003").value_or(noErr);
}

} // namespace qt
