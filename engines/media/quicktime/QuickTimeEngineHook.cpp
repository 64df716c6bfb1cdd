#include "engines/media/quicktime/QuickTimeEngineHook.h"

#include "engines/media/quicktime/QuickTimeErrorCodes.h"
#include "engines/media/quicktime/QuickTimeSettings.h"
#include "resources/error/ErrorCodes.h"
#include "resources/hooks/QuickTimeHookPointer.h"

#include <cstring>

namespace Vemo {

namespace {

constexpr std::int32_t kStartFlags = 6;
constexpr std::int32_t kMinimumVersion = 0x04000000;
// 4,194,304 units a second: 32 one-byte samples of 4096 units make 1/32 of a second of near-silence.
constexpr qt::TimeScale kOwnTimeScale = 0x400000;
constexpr std::int32_t kOwnSampleCount = 32;
constexpr qt::TimeValue kOwnSampleDuration = 4096;
constexpr char kOwnSampleValue = 0x7F;
// 64.0 samples a second, as 16.16 fixed point.
constexpr std::uint32_t kOwnSampleRate = 0x400000;
// The own movie is stretched to last this many times as long.
constexpr qt::TimeValue kOwnStretch = 1000;

bool Fail(ErrorCode code) {
    RaiseError(code);
    return false;
}

// A memory block of the size, made as 4 bytes and grown; null with its code reported.
qt::Handle NewBlock(qt::Size size) {
    qt::Handle block = qt::NewHandle(4);
    if (block == nullptr) {
        RaiseError(QuickTimeHookErrNewBlock);
        return nullptr;
    }
    qt::SetHandleSize(block, size);
    if (qt::GetMemoryError() != qt::noErr) {
        RaiseError(QuickTimeHookErrResizeBlock);
        qt::DisposeHandle(block);
        return nullptr;
    }
    return block;
}

qt::SoundDescription OwnSoundDescription() {
    qt::SoundDescription description{};
    description.descSize = sizeof(qt::SoundDescription);
    description.dataFormat = qt::MakeOSType("raw ");
    description.dataRefIndex = 1;
    description.numChannels = 1;
    description.sampleSize = 8;
    description.sampleRate = kOwnSampleRate;
    return description;
}

} // namespace

QuickTimeEngineHook::QuickTimeEngineHook(win32::HWND window, std::int32_t optionalArgument1,
                                         std::int32_t optionalArgument2, const String* ownMoviePath)
    : m_window(window), m_optionalArgument1(optionalArgument1), m_optionalArgument2(optionalArgument2),
      m_ownMoviePath(ownMoviePath) {}

QuickTimeEngineHook::~QuickTimeEngineHook() = default;

bool QuickTimeEngineHook::Install(win32::HWND window, std::int32_t optionalArgument1,
                                  std::int32_t optionalArgument2, const String* ownMoviePath) {
    if (QuickTimeHookPointer::Installed() != nullptr) {
        return Fail(EngineHookErrAlreadyInstalled);
    }
    auto* hook = new QuickTimeEngineHook(window, optionalArgument1, optionalArgument2, ownMoviePath);
    QuickTimeHookPointer::Set(hook);
    if (!hook->Startup()) {
        // What the start-up left started (QTML, movie services, the port, the own movie's file) goes first.
        hook->Shutdown();
        RaiseError(EngineHookErrStartupFailed);
        QuickTimeHookPointer::Set(nullptr);
        delete hook;
        return false;
    }
    return true;
}

bool QuickTimeEngineHook::Remove() {
    QuickTimeEngineHook* hook = QuickTimeHookPointer::Installed();
    if (hook == nullptr) {
        return Fail(EngineHookErrNotInstalled);
    }
    bool result = true;
    if (!hook->Shutdown()) {
        RaiseError(EngineHookErrShutdownFailed);
        result = false;
    }
    QuickTimeHookPointer::Set(nullptr);
    delete hook;
    return result;
}

QuickTimeEngineHook* QuickTimeEngineHook::Installed() {
    return QuickTimeHookPointer::Installed();
}

void QuickTimeEngineHook::Idle() {
    QuickTimeEngineHook* hook = QuickTimeHookPointer::Installed();
    if (hook != nullptr && hook->m_movieServicesStarted) {
        qt::TaskMovies(nullptr, 0);
    }
}

void QuickTimeEngineHook::PlayOwnMovie(bool play) {
    QuickTimeEngineHook* hook = QuickTimeHookPointer::Installed();
    if (hook == nullptr || !hook->HasOwnMovie()) {
        return;
    }
    const qt::Fixed rate = play ? qt::GetMoviePreferredRate(hook->m_ownMovie) : 0;
    ControllerAct(hook->m_ownController, qt::mcActionPlay, rate);
}

bool QuickTimeEngineHook::Startup() {
    if (m_qtmlStarted) {
        return Fail(QuickTimeHookErrAlreadyStarted);
    }
    if (qt::StartQTML(kStartFlags) != qt::noErr) {
        return Fail(QuickTimeHookErrStartQTML);
    }
    m_qtmlStarted = true;
    if (qt::StartMovieServices() != qt::noErr) {
        return Fail(QuickTimeHookErrMovieServices);
    }
    m_movieServicesStarted = true;
    std::int32_t version = 0;
    if (qt::QueryFeature(qt::MakeOSType("qtim"), &version) != qt::noErr) {
        return Fail(QuickTimeHookErrVersionQuery);
    }
    if (version < kMinimumVersion) {
        return Fail(QuickTimeHookErrVersion);
    }
    if (m_window == nullptr) {
        return Fail(QuickTimeHookErrNoWindow);
    }
    m_windowPort = qt::CreatePortAssociation(m_window, nullptr, qt::kQTMLNoIdleEvents);
    m_window = nullptr;
    if (m_windowPort == nullptr) {
        return Fail(QuickTimeHookErrPortAssociation);
    }
    if (m_optionalArgument1 != 0 && m_optionalArgument2 != 0) {
        if (qt::Selector17000E(m_optionalArgument1) != qt::noErr) {
            return Fail(QuickTimeHookErrOptionalFirst);
        }
        if (qt::Selector170003(m_optionalArgument2, 0) != qt::noErr) {
            return Fail(QuickTimeHookErrOptionalSecond);
        }
        m_optionalServiceInstalled = true;
    }
    m_optionalArgument1 = 0;
    m_optionalArgument2 = 0;
    if (m_ownMoviePath == nullptr) {
        return true;
    }
    if (!BuildOwnMovie()) {
        return Fail(QuickTimeHookErrOwnMovieNotBuilt);
    }
    m_ownMoviePath = nullptr;
    return true;
}

bool QuickTimeEngineHook::BuildOwnMovie() {
    m_ownMovieFileSpec = std::make_unique<qt::FSSpec>();
    const qt::OSErr converted = qt::NativePathToFileSpec(m_ownMoviePath->CStr(), m_ownMovieFileSpec.get(), 0);
    if (converted != qt::noErr && converted != qt::fnfErr) {
        return Fail(QuickTimeHookErrFileSpec);
    }
    if (qt::CreateMovieFile(m_ownMovieFileSpec.get(), kQuickTimeCreator, kQuickTimeSystemScript,
                            qt::createMovieFileDeleteCurFile, &m_ownMovieFile, &m_ownMovie) != qt::noErr) {
        return Fail(QuickTimeHookErrCreateFile);
    }
    m_ownMovieFileMade = true;
    if (BuildOwnTrack() && MakeOwnController()) {
        if (LoopOwnMovie()) {
            return true;
        }
        RaiseError(QuickTimeHookErrLoop);
    }
    qt::DisposeMovie(m_ownMovie);
    m_ownMovie = nullptr;
    return false;
}

bool QuickTimeEngineHook::BuildOwnTrack() {
    qt::Track track = qt::NewMovieTrack(m_ownMovie, 0, 0, 256);
    if (track == nullptr) {
        return Fail(QuickTimeHookErrNewTrack);
    }
    qt::Media media = qt::NewTrackMedia(track, qt::SoundMediaType, kOwnTimeScale, nullptr, 0);
    if (media == nullptr) {
        return Fail(QuickTimeHookErrNewMedia);
    }
    if (!AddOwnSoundSamples(track, media)) {
        return Fail(QuickTimeHookErrSamples);
    }
    return true;
}

bool QuickTimeEngineHook::AddOwnSoundSamples(qt::Track track, qt::Media media) {
    qt::Handle description = NewBlock(sizeof(qt::SoundDescription));
    if (description == nullptr) {
        return false;
    }
    const qt::SoundDescription fields = OwnSoundDescription();
    std::memcpy(*description, &fields, sizeof fields);
    qt::Handle data = NewBlock(kOwnSampleCount);
    if (data == nullptr) {
        qt::DisposeHandle(description);
        return false;
    }
    std::memset(*data, kOwnSampleValue, kOwnSampleCount);
    qt::LockHandle(data);

    bool added = false;
    if (qt::BeginMediaEdits(media) != qt::noErr) {
        RaiseError(QuickTimeHookErrBeginEdits);
    } else if (qt::AddMediaSample(media, data, 0, kOwnSampleCount, kOwnSampleDuration, description,
                                  kOwnSampleCount, 0, nullptr) != qt::noErr) {
        qt::EndMediaEdits(media);
        RaiseError(QuickTimeHookErrAddSample);
    } else if (qt::EndMediaEdits(media) != qt::noErr) {
        RaiseError(QuickTimeHookErrEndEdits);
    } else if (qt::InsertMediaIntoTrack(track, 0, 0, qt::GetMediaDuration(media), qt::kFixed1) != qt::noErr) {
        RaiseError(QuickTimeHookErrInsertMedia);
    } else {
        std::int16_t resourceId = 0;
        added = qt::AddMovieResource(m_ownMovie, m_ownMovieFile, &resourceId, nullptr) == qt::noErr;
        if (!added) {
            RaiseError(QuickTimeHookErrStoreMovie);
        }
    }
    qt::DisposeHandle(description);
    qt::UnlockHandle(data);
    qt::DisposeHandle(data);
    if (added) {
        qt::SetMovieActive(m_ownMovie, 1);
    }
    return added;
}

bool QuickTimeEngineHook::MakeOwnController() {
    const qt::Rect bounds{0, 0, 4, 4};
    m_ownController = qt::NewMovieController(m_ownMovie, &bounds, kHiddenControllerFlags);
    if (m_ownController == nullptr) {
        RaiseError(QuickTimeHookErrNewController);
        return Fail(QuickTimeHookErrControllerSetup);
    }
    ControllerAct(m_ownController, qt::mcActionSetLooping, 1);
    ControllerAct(m_ownController, qt::mcActionSetKeysEnabled, 0);
    ControllerAct(m_ownController, qt::mcActionSetFlags, kHiddenControllerSettings);
    ControllerAct(m_ownController, qt::mcActionActivate, 0);
    return true;
}

bool QuickTimeEngineHook::LoopOwnMovie() {
    const qt::TimeValue duration = qt::GetMovieDuration(m_ownMovie);
    if (qt::ScaleMovieSegment(m_ownMovie, 0, duration, duration * kOwnStretch) != qt::noErr) {
        return Fail(QuickTimeHookErrScaleSegment);
    }
    ControllerAct(m_ownController, qt::mcActionSetLooping, 1);
    ControllerAct(m_ownController, qt::mcActionPlay, qt::GetMoviePreferredRate(m_ownMovie));
    return true;
}

bool QuickTimeEngineHook::Shutdown() {
    bool result = true;
    if (m_optionalServiceInstalled) {
        if (qt::Selector170003(0, 0) != qt::noErr) {
            result = Fail(QuickTimeHookErrOptionalSecond);
        }
        if (qt::Selector17000E(0) != qt::noErr) {
            result = Fail(QuickTimeHookErrOptionalFirst);
        }
        m_optionalServiceInstalled = false;
    }
    if (m_windowPort != nullptr) {
        qt::DestroyPortAssociation(m_windowPort);
        m_windowPort = nullptr;
    }
    if (m_ownMovieFileSpec != nullptr && !DisposeOwnMovie()) {
        result = Fail(QuickTimeHookErrOwnMovieNotDisposed);
    }
    if (m_movieServicesStarted) {
        qt::StopMovieServices();
        m_movieServicesStarted = false;
    }
    if (m_qtmlStarted) {
        qt::StopQTML();
        m_qtmlStarted = false;
    }
    return result;
}

bool QuickTimeEngineHook::DisposeOwnMovie() {
    bool result = true;
    if (m_ownMovieFile != 0) {
        if (qt::CloseMovieFile(m_ownMovieFile) != qt::noErr) {
            result = Fail(QuickTimeHookErrCloseFile);
        }
        m_ownMovieFile = 0;
    }
    if (m_ownController != nullptr) {
        qt::DisposeMovieController(m_ownController);
        if (qt::GetMoviesError() != qt::noErr) {
            result = Fail(QuickTimeHookErrDisposeController);
        }
        m_ownController = nullptr;
    }
    if (m_ownMovie != nullptr) {
        qt::DisposeMovie(m_ownMovie);
        if (qt::GetMoviesError() != qt::noErr) {
            result = Fail(QuickTimeHookErrDisposeMovie);
        }
        m_ownMovie = nullptr;
    }
    if (m_ownMovieFileSpec != nullptr) {
        if (m_ownMovieFileMade && qt::DeleteMovieFile(m_ownMovieFileSpec.get()) != qt::noErr) {
            result = Fail(QuickTimeHookErrDeleteFile);
        }
        m_ownMovieFileMade = false;
        m_ownMovieFileSpec.reset();
    }
    return result;
}

} // namespace Vemo
