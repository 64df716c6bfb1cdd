#include "platform/testing/QuickTimeTesting.h"

#include "platform/quicktime/Calls.h"
#include "platform/quicktime/NodeImages.h"

namespace qt::testing {

using detail::Layer;
using detail::LayerGuard;
using detail::StartupState;

void FailCall(const std::string& call, OSErr code, Times times) {
    StartupState& state = StartupState::Instance();
    LayerGuard guard(state.Lock());
    state.SetFailure(call, detail::InjectedFailure{code, times == Times::Always});
}

void ClearFailures() {
    StartupState& state = StartupState::Instance();
    LayerGuard guard(state.Lock());
    state.ClearFailures();
}

StartupCounts GetStartupCounts() {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    return {layer.qtmlStarts, layer.movieServicesStarts, layer.vrLibraryLoads};
}

OpenObjects GetOpenObjects() {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    OpenObjects open;
    open.movies = layer.movies.size();
    open.tracks = layer.tracks.size();
    open.media = layer.media.size();
    open.controllers = layer.controllers.size();
    for (GrafPortRecord* port : layer.ports) {
        (port->kind == GrafPortRecord::Kind::Window ? open.windowPorts : open.worlds) += 1;
    }
    open.handles = layer.handles.size();
    open.files = layer.files.size();
    return open;
}

void SetQuickTimeVersion(std::optional<std::string> version) {
    StartupState& state = StartupState::Instance();
    LayerGuard guard(state.Lock());
    state.versionOverride = std::move(version);
}

void UseAudioBackend(video::AudioBackendKind kind) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    layer.audioKind = kind;
}

AudioState GetAudio() {
    std::shared_ptr<video::AudioBackend> audio = Layer::Instance().Audio();
    if (audio == nullptr) {
        return {};
    }
    return {true, audio->Name(), audio->SampleRate(), audio->FramesRendered(), audio->Peak()};
}

void ResetAudioPeak() {
    if (std::shared_ptr<video::AudioBackend> audio = Layer::Instance().Audio()) {
        audio->ResetPeak();
    }
}

OSErr NewMovieFromBytes(const std::uint8_t* bytes, std::size_t size, Movie* movie) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (movie == nullptr) {
        return paramErr;
    }
    *movie = nullptr;
    if (layer.movieServicesStarts == 0) {
        return movieToolboxUninitialized;
    }
    layer.OpenAudio();
    return detail::ReadMovie(detail::MediaSource::FromBytes(std::vector<std::uint8_t>(bytes, bytes + size)),
                             *movie, "a movie in memory");
}

int DecodeVrNodes(Movie movie) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (!layer.IsMovie(movie) || movie->vrWorld == nullptr) {
        return -1;
    }
    int decoded = 0;
    for (const detail::VrNode& node : movie->vrWorld->nodes) {
        std::string problem;
        detail::VrPanoramaImages panorama;
        detail::VrObjectImages object;
        if (node.panorama ? detail::DecodePanoramaImages(movie->source, node, panorama, problem)
                          : detail::DecodeObjectImages(movie->source, node, object, problem)) {
            ++decoded;
        }
    }
    return decoded;
}

QuickTimeSession::QuickTimeSession(video::AudioBackendKind audio) {
    UseAudioBackend(audio);
    if (StartQTML(0) != noErr) {
        return;
    }
    if (StartMovieServices() != noErr) {
        StopQTML();
        return;
    }
    m_started = true;
}

QuickTimeSession::~QuickTimeSession() {
    if (m_started) {
        StopMovieServices();
        StopQTML();
    }
    UseAudioBackend(video::AudioBackendKind::Default);
}

} // namespace qt::testing
