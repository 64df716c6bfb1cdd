// The audio backend without a device: consumes sound at the platform clock's pace (AudioBackend.h).
#pragma once

#include "platform/video/AudioBackend.h"

#include <atomic>
#include <mutex>
#include <vector>

namespace video {

class NullAudioBackend final : public AudioBackend {
public:
    static constexpr int kSampleRate = 48000;
    // At most this much of the clock's time is rendered by one Pump; a longer jump skips the rest.
    static constexpr std::uint64_t kLongestPumpNanoseconds = 2'000'000'000;

    NullAudioBackend();

    const char* Name() const override { return "none"; }
    int SampleRate() const override { return kSampleRate; }
    void SetSource(AudioSource* source) override;
    void Pump() override;
    std::uint64_t FramesRendered() const override { return m_frames.load(); }
    float Peak() const override;
    void ResetPeak() override;

private:
    mutable std::mutex m_lock;
    AudioSource* m_source = nullptr;
    std::uint64_t m_lastNanoseconds;
    // Fractions of a frame carried from one Pump to the next, in frames times nanoseconds per second.
    std::uint64_t m_carry = 0;
    std::atomic<std::uint64_t> m_frames{0};
    float m_peak = 0;
    std::vector<float> m_block;
};

} // namespace video
