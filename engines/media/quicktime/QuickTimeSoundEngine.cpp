#include "engines/media/quicktime/QuickTimeSoundEngine.h"

#include "engines/media/quicktime/QuickTimeEngineHook.h"
#include "engines/media/quicktime/QuickTimeErrorCodes.h"
#include "engines/media/quicktime/QuickTimeSettings.h"
#include "engines/media/quicktime/QuickTimeSoundHandle.h"
#include "resources/CreateThrough.h"
#include "resources/error/Error.h"

#include <memory>

namespace Vemo {

namespace {

constexpr std::int32_t kPlayHints = 256;

} // namespace

QuickTimeSoundEngine::QuickTimeSoundEngine() : SoundEngine(kQuickTimeSoundTypeId, "QuickTime Sound Engine") {}

QuickTimeSoundEngine::~QuickTimeSoundEngine() = default;

QuickTimeSoundEngine* QuickTimeSoundEngine::Create(QuickTimeSoundEngine* engine) {
    if (QuickTimeEngineHook::Installed() == nullptr) {
        RaiseError(QuickTimeSoundErrNoHook);
        return nullptr;
    }
    return CreateThrough(
        engine, [] { return new QuickTimeSoundEngine; },
        [](QuickTimeSoundEngine* made) { return SoundEngine::Create(made); });
}

bool QuickTimeSoundEngine::AddController(QuickTimeMedia& media) {
    const qt::Rect bounds{0, 0, 4, 4};
    media.controller = qt::NewMovieController(media.movie, &bounds, kHiddenControllerFlags);
    if (media.controller == nullptr) {
        RaiseError(QuickTimeSoundErrNewController);
        media.Discard();
        return false;
    }
    ControllerAct(media.controller, qt::mcActionSetKeysEnabled, 0);
    ControllerAct(media.controller, qt::mcActionSetFlags, kHiddenControllerSettings);
    ControllerAct(media.controller, qt::mcActionActivate, 0);
    return true;
}

SoundHandle* QuickTimeSoundEngine::OpenSound(const Path& path, bool keepFileOpen, bool streamed) {
    const QuickTimeMediaCodes& codes = QuickTimeSoundHandle::kCodes;
    auto handle = std::make_unique<QuickTimeSoundHandle>(this);
    QuickTimeMedia& media = handle->m_media;
    qt::FSSpec spec{};
    if (!media.MakeFileSpec(path, spec, codes) || !media.OpenFile(spec, codes)) {
        return nullptr;
    }
    qt::SetMoviePlayHints(media.movie, kPlayHints, kPlayHints);
    if (!media.Load(streamed, codes)) {
        media.Discard();
        return nullptr;
    }
    if (!AddController(media)) {
        return nullptr;
    }
    media.CloseFileUnlessKept(keepFileOpen);
    handle->m_path = path;
    media.SetActive(true);
    return handle.release();
}

SoundHandle* QuickTimeSoundEngine::CreateSound() {
    auto handle = std::make_unique<QuickTimeSoundHandle>(this);
    QuickTimeMedia& media = handle->m_media;
    if (!media.CreateEmpty(QuickTimeSoundHandle::kCodes)) {
        return nullptr;
    }
    qt::SetMoviePlayHints(media.movie, kPlayHints, kPlayHints);
    if (!AddController(media)) {
        return nullptr;
    }
    media.SetActive(true);
    return handle.release();
}

SoundHandle* QuickTimeSoundEngine::CreateSound(const Path& path) {
    auto handle = std::make_unique<QuickTimeSoundHandle>(this);
    QuickTimeMedia& media = handle->m_media;
    if (!media.CreateFile(path, QuickTimeSoundHandle::kCodes)) {
        return nullptr;
    }
    qt::SetMoviePlayHints(media.movie, kPlayHints, kPlayHints);
    if (!AddController(media)) {
        return nullptr;
    }
    handle->m_path = path;
    media.SetActive(true);
    return handle.release();
}

bool QuickTimeSoundEngine::DestroySoundHandle(SoundHandle* handle) {
    QuickTimeSoundHandle* sound = QuickTimeSoundHandle::FromSoundHandle(handle);
    if (sound == nullptr) {
        return SoundEngine::DestroySoundHandle(handle);
    }
    if (sound->IsPlaying()) {
        sound->StopAndRewind(true);
    }
    if (sound->IsLooping()) {
        sound->SetLooping(false, 0, 0, 0);
    }
    const bool released = sound->m_media.Release(QuickTimeSoundHandle::kCodes);
    delete sound;
    return released;
}

} // namespace Vemo
