#include "platform/video/SdlAudioBackend.h"

#include <algorithm>
#include <cstring>

namespace video {

SdlAudioBackend::SdlAudioBackend() {
    // The program's own signal handling stays as it was, whichever SDL subsystem starts first.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        m_error = SDL_GetError();
        return;
    }
    m_subsystem = true;
    SDL_AudioSpec wanted{};
    wanted.freq = m_sampleRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = &SdlAudioBackend::Callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (m_device == 0) {
        m_error = SDL_GetError();
        return;
    }
    m_sampleRate = obtained.freq;
    SDL_PauseAudioDevice(m_device, 0);
}

SdlAudioBackend::~SdlAudioBackend() {
    if (m_device != 0) {
        SDL_CloseAudioDevice(m_device);
    }
    if (m_subsystem) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

const char* SdlAudioBackend::DriverName() const {
    const char* name = SDL_GetCurrentAudioDriver();
    return name != nullptr ? name : "";
}

void SdlAudioBackend::SetSource(AudioSource* source) {
    if (m_device == 0) {
        m_source = source;
        return;
    }
    SDL_LockAudioDevice(m_device);
    m_source = source;
    SDL_UnlockAudioDevice(m_device);
}

void SdlAudioBackend::Callback(void* self, Uint8* stream, int length) {
    auto* backend = static_cast<SdlAudioBackend*>(self);
    auto* samples = reinterpret_cast<float*>(stream);
    const std::size_t count = static_cast<std::size_t>(length) / sizeof(float);
    std::fill(samples, samples + count, 0.0f);
    if (backend->m_source != nullptr) {
        backend->m_source->Render(samples, count / 2, backend->m_sampleRate);
    }
    backend->m_frames += count / 2;
    backend->m_peak = std::max(backend->m_peak.load(), PeakOf(samples, count));
}

} // namespace video
