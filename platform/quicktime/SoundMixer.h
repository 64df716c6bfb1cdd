// Mixes the sound of every playing, active movie for the audio backend, at the movie's own time on the
// platform clock. Internal to the layer.
#pragma once

#include "platform/video/AudioBackend.h"

namespace qt::detail {

class SoundMixer final : public video::AudioSource {
public:
    // Takes the layer's lock.
    void Render(float* interleaved, std::size_t frames, int sampleRate) override;
};

} // namespace qt::detail
