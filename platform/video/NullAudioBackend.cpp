#include "platform/video/NullAudioBackend.h"

#include "platform/win32/kernel/Time.h"

#include <algorithm>

namespace video {

namespace {
constexpr std::size_t kBlockFrames = 1024;
constexpr std::uint64_t kNanosecondsPerSecond = 1'000'000'000;
} // namespace

NullAudioBackend::NullAudioBackend()
    : m_lastNanoseconds(win32::seam::ClockNanoseconds()), m_block(kBlockFrames * 2) {}

void NullAudioBackend::SetSource(AudioSource* source) {
    std::lock_guard guard(m_lock);
    m_source = source;
}

void NullAudioBackend::Pump() {
    std::lock_guard guard(m_lock);
    const std::uint64_t now = win32::seam::ClockNanoseconds();
    // A clock put in place of another may read earlier; the sink goes on from its reading.
    const std::uint64_t elapsed = now > m_lastNanoseconds ? now - m_lastNanoseconds : 0;
    m_lastNanoseconds = now;
    const std::uint64_t rendered = std::min(elapsed, kLongestPumpNanoseconds);
    const std::uint64_t scaled = rendered * kSampleRate + m_carry;
    std::uint64_t frames = scaled / kNanosecondsPerSecond;
    m_carry = rendered == elapsed ? scaled % kNanosecondsPerSecond : 0;
    while (frames > 0) {
        const std::size_t block = static_cast<std::size_t>(std::min<std::uint64_t>(frames, kBlockFrames));
        std::fill(m_block.begin(), m_block.begin() + static_cast<std::ptrdiff_t>(block * 2), 0.0f);
        if (m_source != nullptr) {
            m_source->Render(m_block.data(), block, kSampleRate);
        }
        m_peak = std::max(m_peak, PeakOf(m_block.data(), block * 2));
        m_frames += block;
        frames -= block;
    }
}

float NullAudioBackend::Peak() const {
    std::lock_guard guard(m_lock);
    return m_peak;
}

void NullAudioBackend::ResetPeak() {
    std::lock_guard guard(m_lock);
    m_peak = 0;
}

} // namespace video
