#include "platform/quicktime/Layer.h"

#include "platform/quicktime/SoundMixer.h"
#include "platform/win32/kernel/Time.h"

extern "C" {
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

namespace qt::detail {

namespace {
constexpr std::size_t kLargestAllocation = 256u << 20;
thread_local OSErr t_moviesError = noErr;
thread_local OSErr t_memoryError = noErr;
} // namespace

Layer& Layer::Instance() {
    static Layer layer;
    return layer;
}

Layer::Layer()
    : qtmlStarts(StartupState::Instance().qtmlStarts),
      movieServicesStarts(StartupState::Instance().movieServicesStarts), m_startup(StartupState::Instance()),
      m_mixer(std::make_unique<SoundMixer>()) {
    // The device that the first movie opened closes with the last StopQTML.
    m_startup.SetShutdown([this] { CloseAudio(); });
    // The layer says what went wrong through its results; FFmpeg's own messages would only be noise.
    av_log_set_level(AV_LOG_QUIET);
    // A damaged header may ask FFmpeg for tables of any size; no movie of a title needs a block this large,
    // so such a file fails to open instead of taking the machine's memory.
    av_max_alloc(kLargestAllocation);
}

Layer::~Layer() {
    m_startup.SetShutdown(nullptr);
}

void Layer::OpenAudio() {
    if (qtmlStarts == 0 || Audio() != nullptr) {
        return;
    }
    std::shared_ptr<video::AudioBackend> backend = video::MakeAudioBackend(audioKind);
    backend->SetSource(m_mixer.get());
    std::lock_guard guard(m_audioLock);
    m_audio = std::move(backend);
}

void Layer::CloseAudio() {
    std::shared_ptr<video::AudioBackend> backend;
    {
        std::lock_guard guard(m_audioLock);
        backend = std::move(m_audio);
    }
    if (backend != nullptr) {
        backend->SetSource(nullptr);
    }
}

void Layer::PumpAudio() {
    std::shared_ptr<video::AudioBackend> backend = Audio();
    if (backend != nullptr) {
        backend->Pump();
    }
}

std::shared_ptr<video::AudioBackend> Layer::Audio() {
    std::lock_guard guard(m_audioLock);
    return m_audio;
}

void SetMoviesError(OSErr error) {
    t_moviesError = error;
}

OSErr MoviesError() {
    return t_moviesError;
}

void SetMemoryError(OSErr error) {
    t_memoryError = error;
}

OSErr MemoryError() {
    return t_memoryError;
}

std::uint64_t ClockNanoseconds() {
    return win32::seam::ClockNanoseconds();
}

} // namespace qt::detail
