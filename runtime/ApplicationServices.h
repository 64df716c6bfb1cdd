// What the parts of a title ask of the application that runs it: its picture and font caches, the search
// for the files that scripts name, and the switch of its input.
//
// Pictures, fonts and the viewport lie below the application, which makes and owns them, so they cannot see
// its class. The multimedia application is one of these and makes itself current while it exists; the parts
// reach it here.
#pragma once

#include "resources/error/ErrorCode.h"
#include "resources/error/ErrorFacilities.h"

#include <cstdint>

class BitmapCache;
class FontCache;
class Fragment;

namespace Vemo {
class Path;
} // namespace Vemo

// Code n of the multimedia application's own facility.
constexpr Vemo::ErrorCode MultimediaApplicationErrorCode(std::uint16_t number) {
    return Vemo::MakeErrorCode(Vemo::kMultimediaApplicationFacility, number);
}

class ApplicationServices {
public:
    // A picture, sound or movie that was found but cannot be read or decoded. Text: its full path, as the
    // machine spells it.
    static constexpr Vemo::ErrorCode kErrorFileUnreadable = MultimediaApplicationErrorCode(10);

    ApplicationServices(const ApplicationServices&) = delete;
    ApplicationServices& operator=(const ApplicationServices&) = delete;

    // Null while no application runs.
    static ApplicationServices* Current();

    virtual BitmapCache* GetBitmapCache() const = 0;
    virtual FontCache* GetFontCache() const = 0;
    // The file the name finds along the search order; report says a name that finds none.
    virtual bool FindFile(const Fragment& name, Vemo::Path& out, bool report) = 0;
    // Enables or disables the viewport's controls; while disabled the state graph stands still.
    virtual bool EnableInput(bool enable) = 0;

protected:
    ApplicationServices() = default;
    ~ApplicationServices() = default;
    static void SetCurrent(ApplicationServices* services);
};

// Names a file that the search order found and that then would not open as a picture, sound or movie, so that
// a damaged file is said as plainly as a missing one.
void ReportUnreadableFile(const Vemo::Path& path);
