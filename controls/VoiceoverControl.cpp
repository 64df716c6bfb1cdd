#include "controls/VoiceoverControl.h"

#include "engines/media/Sound.h"
#include "engines/timing/TimerSystem.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorFacilities.h"
#include "resources/storage/Path.h"
#include "runtime/application/MultimediaApplication.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"

#include <cstring>
#include <vector>

namespace {

enum VoiceoverWord : unsigned {
    kWordFlush = 0,
    kWordReset = 1,
    kWordVO = 2,
    kWordVOEnter = 3,
    kWordVOExit = 4,
    kWordVOEnd = 5,
    kWordLock = 6,
    kWordUnlock = 7,
};

constexpr unsigned kMissingWord = 0xFFFFFFFF;

const KeywordIds<unsigned>& VoiceoverWords() {
    static const KeywordIds<unsigned>* const words = new KeywordIds<unsigned>(
        {
            {"Flush", kWordFlush},
            {"Reset", kWordReset},
            {"VO", kWordVO},
            {"VOEnter", kWordVOEnter},
            {"VOExit", kWordVOExit},
            {"VOEnd", kWordVOEnd},
            {"Lock", kWordLock},
            {"Unlock", kWordUnlock},
        },
        kMissingWord);
    return *words;
}

const MessengerFactory::Registrar g_voiceoverRegistrar(VoiceoverControl::ClassWord(),
                                                       &VoiceoverControl::Create);

bool Fail() {
    RaiseError(Control::kErrorFailure);
    return false;
}

// The clip that plays now, shared by every voice-over control: its full path, the request that started it,
// and the serial number of the control that plays it (0 when none).
struct CurrentClip {
    Vemo::String path;
    Fragment request;
    std::uint32_t owner = 0;
};

CurrentClip& Current() {
    static CurrentClip* const current = new CurrentClip;
    return *current;
}

} // namespace

VoiceoverControl::VoiceoverControl(const Vemo::String& name, Messenger* owner, Script* script)
    : SoundControl(name, owner, script) {}

VoiceoverControl::~VoiceoverControl() {
    // The clip that plays is borrowed from the cache: let go of it before the cache goes.
    Stop();
    ForgetCurrent();
    UseSound(nullptr);
    for (auto& [path, clip] : m_clips) {
        delete clip;
    }
    m_clips.Clear();
    StopTimer(m_delayTimer);
}

const Vemo::String& VoiceoverControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("VoiceoverControl");
    return *word;
}

Vemo::String VoiceoverControl::GetClassName() const {
    return ClassWord();
}

const Vemo::String& VoiceoverControl::CurrentPath() {
    return Current().path;
}

Messenger* VoiceoverControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<VoiceoverControl>(name, owner, script);
}

bool VoiceoverControl::ReadScript() {
    // The delay timer first: the sound control's "Sound" keys already play clips, which stop it.
    if (!m_delayTimer.Open(Vemo::TimerSystem::Standard, Vemo::kTimerTypeId)) {
        return Fail();
    }
    return SoundControl::ReadScript();
}

// --- Messages --------------------------------------------------------------------------------------------

bool VoiceoverControl::HandleMessage(const Fragment& message, Messenger* sender) {
    const unsigned id = VoiceoverWords()[message.GetText()];
    FragmentStream arguments(message.GetChildren());
    const Fragment* clip = nullptr;
    switch (id) {
    case kWordFlush:
        Flush();
        return true;
    case kWordReset:
        Reset();
        return true;
    case kWordVO: {
        arguments >> clip;
        if (clip == nullptr) {
            Stop();
            return true;
        }
        Reset();
        const bool played = PlayClip(*clip);
        if (played && !IsSoundPlaying()) {
            Play();
        }
        return played;
    }
    case kWordVOEnter:
        arguments >> clip;
        return HandleEnter(clip);
    case kWordVOExit:
        if (m_lockCount == 0) {
            m_pending = Fragment();
            StopTimer(m_delayTimer);
        }
        return true;
    case kWordVOEnd:
        if (m_lockCount == 0 && IsSoundPlaying() && !IsFading()) {
            StopTimer(m_delayTimer);
            m_pending = Fragment();
            FadeOut(kFadeOutMs);
        }
        return true;
    case kWordLock:
        if (m_lockCount == 0) {
            m_pending = Fragment();
            StopTimer(m_delayTimer);
        }
        ++m_lockCount;
        return true;
    case kWordUnlock:
        if (m_lockCount > 0) {
            --m_lockCount;
        }
        return true;
    default:
        return SoundControl::HandleMessage(message, sender);
    }
}

bool VoiceoverControl::SameRequest(const Fragment& a, const Fragment& b) {
    const SubString& left = a.GetText();
    const SubString& right = b.GetText();
    return left.Length() == right.Length() && std::memcmp(left.Data(), right.Data(), left.Length()) == 0 &&
           FragmentsEqualNoCase(a.GetChildren(), b.GetChildren());
}

bool VoiceoverControl::HandleEnter(const Fragment* clip) {
    if (m_lockCount != 0) {
        return true;
    }
    if (clip == nullptr) {
        StopTimer(m_delayTimer);
        return true;
    }
    if (SameRequest(*clip, m_pending)) {
        return true;
    }
    if (m_pending.GetText().IsEmpty() && SameRequest(*clip, Current().request)) {
        return true;
    }
    m_pending = *clip;
    m_delayTimer.Stop();
    m_delayTimer.Start();
    return true;
}

// --- Clips -----------------------------------------------------------------------------------------------

bool VoiceoverControl::AddSound(const Fragment& name) {
    return PlayClip(name);
}

bool VoiceoverControl::PlayClip(const Fragment& clip) {
    if (clip.GetText().IsEmpty()) {
        Stop();
        return true;
    }
    Vemo::Path path;
    if (!FindApplicationFile(path, clip)) {
        return false;
    }
    Vemo::String fullPath;
    path.GetText(fullPath, true, false);
    if (!Current().path.IsEmpty() && Vemo::CompareNoCase(fullPath.CStr(), Current().path.CStr()) == 0) {
        return true;
    }
    // The request may be the pending fragment, which Clear empties.
    const Fragment request = clip;
    Clear();
    SetVolume(255);
    Vemo::Sound* sound = nullptr;
    const auto cached = m_clips.Find(fullPath);
    if (cached != m_clips.End()) {
        sound = cached->second;
    } else {
        sound = new Vemo::Sound;
        if (!sound->Open(path, false, true)) {
            ReportUnreadableFile(path);
            delete sound;
            return Fail();
        }
        m_clips.Insert(fullPath, sound);
    }
    Current().path = fullPath;
    Current().request = request;
    Current().owner = GetSerialNumber();
    UseSound(sound);
    SetLoop(GetLoop());
    return Play();
}

void VoiceoverControl::Flush() {
    Vemo::Sound* playing = GetSound();
    for (auto it = m_clips.begin(); it != m_clips.end();) {
        if (it->second == playing) {
            ++it;
            continue;
        }
        delete it->second;
        it = m_clips.Erase(it);
    }
}

void VoiceoverControl::Reset() {
    StopTimer(m_delayTimer);
    Current().path = Vemo::String();
    Current().request = Fragment();
    Current().owner = 0;
    m_pending = Fragment();
}

void VoiceoverControl::ForgetCurrent() {
    if (Current().owner == GetSerialNumber()) {
        Current().path = Vemo::String();
        Current().request = Fragment();
        Current().owner = 0;
    }
}

bool VoiceoverControl::Stop() {
    const bool stopped = SoundControl::Stop();
    if (!IsSoundPlaying() && !IsPlaying()) {
        ForgetCurrent();
    }
    return stopped;
}

bool VoiceoverControl::Clear() {
    StopTimer(m_delayTimer);
    SoundControl::Clear();
    ForgetCurrent();
    return true;
}

void VoiceoverControl::PlayPending() {
    if (m_pending.GetText().IsEmpty()) {
        return;
    }
    const Fragment clip = m_pending;
    m_pending = Fragment();
    PlayClip(clip);
}

void VoiceoverControl::NotifyFadeAtEnd() {
    const std::uint32_t serialNumber = GetSerialNumber();
    SoundControl::NotifyFadeAtEnd();
    if (FindLive(serialNumber) == this) {
        PlayPending();
    }
}

void VoiceoverControl::NotifyAtEnd() {
    const std::uint32_t serialNumber = GetSerialNumber();
    if (!IsSoundPlaying()) {
        ForgetCurrent();
    }
    SoundControl::NotifyAtEnd();
    if (FindLive(serialNumber) == this) {
        PlayPending();
    }
}

void VoiceoverControl::Idle() {
    const std::uint32_t serialNumber = GetSerialNumber();
    SoundControl::Idle();
    if (FindLive(serialNumber) != this || !IsTimerRunning(m_delayTimer) ||
        m_delayTimer.Elapsed() <= kDelayMs) {
        return;
    }
    m_delayTimer.Stop();
    if (IsSoundPlaying()) {
        // The request plays when the clip that plays now has faded out.
        FadeOut(kFadeOutMs);
        return;
    }
    PlayPending();
}
