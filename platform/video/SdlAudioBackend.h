// The audio backend on SDL2 audio: SDL's audio thread pulls from the source (AudioBackend.h). SDL's audio
// subsystem is started and stopped here, apart from its video.
#pragma once

#include "platform/video/AudioBackend.h"

#include <SDL.h>

#include <atomic>
#include <string>

namespace video {

class SdlAudioBackend final : public AudioBackend {
public:
    SdlAudioBackend();
    ~SdlAudioBackend() override;
    SdlAudioBackend(const SdlAudioBackend&) = delete;
    SdlAudioBackend& operator=(const SdlAudioBackend&) = delete;

    // Whether a device opened; without one the backend renders nothing.
    bool Opened() const { return m_device != 0; }
    const std::string& OpenError() const { return m_error; }
    const char* DriverName() const;

    const char* Name() const override { return "sdl"; }
    int SampleRate() const override { return m_sampleRate; }
    void SetSource(AudioSource* source) override;
    void Pump() override {}
    std::uint64_t FramesRendered() const override { return m_frames.load(); }
    float Peak() const override { return m_peak.load(); }
    void ResetPeak() override { m_peak = 0; }

private:
    static void Callback(void* self, Uint8* stream, int length);

    bool m_subsystem = false;
    SDL_AudioDeviceID m_device = 0;
    int m_sampleRate = 48000;
    std::string m_error;
    AudioSource* m_source = nullptr; // read by the callback, written with the device locked
    std::atomic<std::uint64_t> m_frames{0};
    std::atomic<float> m_peak{0};
};

} // namespace video
