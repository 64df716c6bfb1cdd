#include "platform/video/VideoBackend.h"

#include "platform/video/HeadlessVideoBackend.h"
#include "platform/video/SdlVideoBackend.h"
#include "platform/win32/headless/HeadlessRunner.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace video {

VideoBackend::~VideoBackend() = default;

DesktopMode VideoBackend::Desktop() const {
    DesktopMode mode;
    mode.size = DesktopSize();
    mode.bitsPerPixel = m_desktopBitsPerPixel;
    if (m_desktopBitsPerPixel == 16) {
        mode.redMask = 0xF800;
        mode.greenMask = 0x07E0;
        mode.blueMask = 0x001F;
    } else if (m_desktopBitsPerPixel == 32) {
        mode.redMask = 0xFF0000;
        mode.greenMask = 0x00FF00;
        mode.blueMask = 0x0000FF;
    }
    return mode;
}

bool VideoBackend::SetDesktopBitsPerPixel(int bitsPerPixel) {
    if (bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 32) {
        return false;
    }
    m_desktopBitsPerPixel = bitsPerPixel;
    return true;
}

bool VideoBackend::AcceptsDepth(int bitsPerPixel) const {
    return m_refusedDepths.count(bitsPerPixel) == 0;
}

void VideoBackend::RefuseDepth(int bitsPerPixel, bool refuse) {
    if (refuse) {
        m_refusedDepths.insert(bitsPerPixel);
    } else {
        m_refusedDepths.erase(bitsPerPixel);
    }
}

namespace {

bool DisplayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0') {
            return true;
        }
    }
    return false;
}

} // namespace

bool HeadlessVideoAsked() {
    const char* setting = std::getenv("VEMO_VIDEO");
    const bool askedForSdl = setting != nullptr && std::strcmp(setting, "sdl") == 0;
    // A scripted run is headless whatever else is asked (VEMO_VIDEO=sdl with it never starts).
    const bool askedForHeadless = (setting != nullptr && std::strcmp(setting, "headless") == 0) ||
                                  win32::HeadlessRunner::Current() != nullptr;
    return askedForHeadless || (!askedForSdl && !DisplayAvailable());
}

std::unique_ptr<VideoBackend> MakeVideoBackend() {
    if (HeadlessVideoAsked()) {
        return std::make_unique<HeadlessVideoBackend>();
    }
    const char* setting = std::getenv("VEMO_VIDEO");
    const bool askedForSdl = setting != nullptr && std::strcmp(setting, "sdl") == 0;
    auto sdl = std::make_unique<SdlVideoBackend>();
    if (sdl->Started()) {
        return sdl;
    }
    if (askedForSdl) {
        std::fprintf(stderr, "VEMO_VIDEO=sdl: SDL video did not start (%s); no window can be opened\n",
                     sdl->StartError());
        return sdl;
    }
    return std::make_unique<HeadlessVideoBackend>();
}

} // namespace video
