// Sound output beside the video backend: a backend pulls mixed sound from one source. Internal to the
// platform layer.
//
// VEMO_AUDIO chooses it once per opening: "sdl" (SDL2 audio), "none" (the null sink), or by default the null
// sink when the video goes headless (HeadlessVideoAsked) and otherwise sdl when an SDL audio device opens,
// else none. When sdl was asked for by name and no device opens, that is said on the standard error and the
// null sink is used. A scripted headless run always has the null sink, so that its sounds keep its clock: sdl
// asked for by name there is said on the standard error.
//
// The null sink has no device: it consumes sound at the pace of the platform clock
// (platform/win32/kernel/Time.h, a test's fake clock included) as its readings measure it, rendering at each
// Pump the time the clock has moved since the last one. It never sleeps on its own, so sounds still end, loop
// and report their position with nothing to hear.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace video {

class AudioSource {
public:
    virtual ~AudioSource();
    // Fills frames stereo frames (left, right; floats in -1..1) at the backend's sample rate. Called on the
    // backend's own thread (SDL) or in Pump (the null sink).
    virtual void Render(float* interleaved, std::size_t frames, int sampleRate) = 0;
};

class AudioBackend {
public:
    virtual ~AudioBackend();

    virtual const char* Name() const = 0;
    virtual int SampleRate() const = 0;
    // Starts pulling from the source (null: silence). When it returns the previous source is called no more.
    // Call it without any lock the source takes in Render.
    virtual void SetSource(AudioSource* source) = 0;
    // The null sink renders the clock's time since the last Pump; SDL pulls on its own and does nothing here.
    virtual void Pump() = 0;

    // What was rendered so far, for tests: frames, and the largest sample magnitude since the last reset.
    virtual std::uint64_t FramesRendered() const = 0;
    virtual float Peak() const = 0;
    virtual void ResetPeak() = 0;
};

enum class AudioBackendKind { Default, Sdl, None };

// The loudest sample of a rendered block, which the backends keep for tests.
inline float PeakOf(const float* samples, std::size_t count) {
    float peak = 0;
    for (std::size_t i = 0; i < count; ++i) {
        peak = std::max(peak, std::fabs(samples[i]));
    }
    return peak;
}

// The backend VEMO_AUDIO asks for, unless kind names one.
std::unique_ptr<AudioBackend> MakeAudioBackend(AudioBackendKind kind = AudioBackendKind::Default);

} // namespace video
