#include "platform/video/AudioBackend.h"

#include "platform/video/NullAudioBackend.h"
#include "platform/video/SdlAudioBackend.h"
#include "platform/video/VideoBackend.h"
#include "platform/win32/headless/HeadlessRunner.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace video {

AudioSource::~AudioSource() = default;
AudioBackend::~AudioBackend() = default;

namespace {

AudioBackendKind KindFromEnvironment() {
    const char* setting = std::getenv("VEMO_AUDIO");
    if (setting == nullptr || setting[0] == '\0') {
        return AudioBackendKind::Default;
    }
    if (std::strcmp(setting, "sdl") == 0) {
        return AudioBackendKind::Sdl;
    }
    if (std::strcmp(setting, "none") == 0) {
        return AudioBackendKind::None;
    }
    std::fprintf(stderr, "VEMO_AUDIO=%s: not a known audio backend (use sdl or none); trying sdl\n", setting);
    return AudioBackendKind::Default;
}

} // namespace

std::unique_ptr<AudioBackend> MakeAudioBackend(AudioBackendKind kind) {
    if (kind == AudioBackendKind::Default) {
        kind = KindFromEnvironment();
        if (kind == AudioBackendKind::Sdl && win32::HeadlessRunner::Current() != nullptr) {
            // A scripted run gives the same times on every run: its sounds go at the pace of its clock.
            std::fprintf(stderr,
                         "VEMO_AUDIO=sdl: a scripted headless run plays no sound; its sounds keep the "
                         "run's clock\n");
            kind = AudioBackendKind::None;
        }
        if (kind == AudioBackendKind::Default && HeadlessVideoAsked()) {
            kind = AudioBackendKind::None;
        }
    }
    if (kind == AudioBackendKind::None) {
        return std::make_unique<NullAudioBackend>();
    }
    auto sdl = std::make_unique<SdlAudioBackend>();
    if (sdl->Opened()) {
        return sdl;
    }
    if (kind == AudioBackendKind::Sdl) {
        std::fprintf(stderr, "VEMO_AUDIO=sdl: no SDL audio device opened (%s); sound is consumed silently\n",
                     sdl->OpenError().c_str());
    }
    return std::make_unique<NullAudioBackend>();
}

} // namespace video
