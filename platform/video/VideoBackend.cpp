#include "platform/video/VideoBackend.h"

#include "platform/video/HeadlessVideoBackend.h"
#include "platform/video/SdlVideoBackend.h"
#include "platform/win32/headless/HeadlessRunner.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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

const char* Setting(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0' ? value : nullptr;
}

// The displays the environment names, as "DISPLAY=:0"; empty when it names none.
std::string NamedDisplays() {
    std::string named;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
        if (const char* value = Setting(name)) {
            named += (named.empty() ? "" : ", ") + std::string(name) + "=" + value;
        }
    }
    return named;
}

} // namespace

bool HeadlessVideoAsked() {
    const char* setting = Setting("VEMO_VIDEO");
    // A scripted run is headless whatever else is asked (VEMO_VIDEO=sdl with it never starts).
    return (setting != nullptr && std::strcmp(setting, "headless") == 0) ||
           win32::HeadlessRunner::Current() != nullptr;
}

VideoChoice ChooseVideoBackend() {
    VideoChoice choice;
    if (HeadlessVideoAsked()) {
        choice.backend = std::make_unique<HeadlessVideoBackend>();
        return choice;
    }
    auto sdl = std::make_unique<SdlVideoBackend>();
    if (!sdl->Started()) {
        const std::string named = NamedDisplays();
        choice.failure =
            named.empty()
                ? std::string("no display to show a window on: neither DISPLAY nor WAYLAND_DISPLAY is set")
                : "the display cannot be opened (" + named + "): SDL says \"" + sdl->StartError() + "\"";
        choice.failure += "; VEMO_VIDEO=headless runs without a window";
    }
    choice.backend = std::move(sdl);
    return choice;
}

std::unique_ptr<VideoBackend> MakeVideoBackend() {
    VideoChoice choice = ChooseVideoBackend();
    if (!choice.failure.empty()) {
        std::fprintf(stderr, "%s\n", choice.failure.c_str());
    }
    return std::move(choice.backend);
}

} // namespace video
