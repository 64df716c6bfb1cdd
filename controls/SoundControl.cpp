#include "controls/SoundControl.h"

#include "engines/media/Sound.h"
#include "engines/timing/TimerSystem.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorFacilities.h"
#include "resources/storage/Path.h"
#include "runtime/application/MultimediaApplication.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"
#include "script/ScriptKeyFragmentStreamEnumerator.h"

#include <algorithm>
#include <cstdio>

namespace {

enum SoundWord : unsigned {
    kWordPlay = 0,
    kWordPause = 1,
    kWordStop = 2,
    kWordLoop = 3,
    kWordToBeginning = 4,
    kWordToEnd = 5,
    kWordClear = 6,
    kWordSound = 7,
    kWordFade = 8,
    kWordFadeTo = 9,
    kWordFadeOut = 10,
    kWordVolume = 11,
    kWordGetDuration = 12,
};

constexpr unsigned kMissingWord = 0xFFFFFFFF;
constexpr std::uint32_t kMaxVolume = 255;

const KeywordIds<unsigned>& SoundWords() {
    static const KeywordIds<unsigned>* const words = new KeywordIds<unsigned>(
        {
            {"Play", kWordPlay},
            {"Pause", kWordPause},
            {"Stop", kWordStop},
            {"Loop", kWordLoop},
            {"ToBeginning", kWordToBeginning},
            {"ToEnd", kWordToEnd},
            {"Clear", kWordClear},
            {"Sound", kWordSound},
            {"Fade", kWordFade},
            {"FadeTo", kWordFadeTo},
            {"FadeOut", kWordFadeOut},
            {"Volume", kWordVolume},
            {"GetDuration", kWordGetDuration},
        },
        kMissingWord);
    return *words;
}

const MessengerFactory::Registrar g_soundControlRegistrar(SoundControl::ClassWord(), &SoundControl::Create);

bool Fail() {
    RaiseError(Control::kErrorFailure);
    return false;
}

std::uint32_t Clamped(std::uint32_t volume) {
    return std::min(volume, kMaxVolume);
}

} // namespace

SoundControl::SoundControl(const Vemo::String& name, Messenger* owner, Script* script)
    : Control(name, owner, script) {}

SoundControl::~SoundControl() {
    Stop();
    ReleaseSounds();
}

const Vemo::String& SoundControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("SoundControl");
    return *word;
}

Vemo::String SoundControl::GetClassName() const {
    return ClassWord();
}

SoundControl* SoundControl::FromMessenger(Messenger* messenger) {
    return dynamic_cast<SoundControl*>(messenger);
}

Messenger* SoundControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<SoundControl>(name, owner, script);
}

bool SoundControl::ReadScript() {
    if (!Control::ReadScript()) {
        return Fail();
    }
    if (!m_fadeTimer.Open(Vemo::TimerSystem::Standard, Vemo::kTimerTypeId)) {
        return Fail();
    }
    if (GetScript() != nullptr) {
        ScriptKeyFragmentStreamEnumerator values;
        if (!GetScript()->EnumerateKey(GetSectionName(), Vemo::String("Sound"), values)) {
            return Fail();
        }
        for (FragmentStream& names : values.GetStreams()) {
            if (!LoadSounds(names)) {
                return Fail();
            }
        }
    }
    if (m_sound != nullptr) {
        Deactivate(*m_sound);
    }
    return true;
}

// --- Messages --------------------------------------------------------------------------------------------

bool SoundControl::HandleMessage(const Fragment& message, Messenger* sender) {
    const unsigned id = SoundWords()[message.GetText()];
    FragmentStream arguments(message.GetChildren());
    switch (id) {
    case kWordPlay:
        return Play();
    case kWordPause:
        return Pause();
    case kWordStop:
        return Stop();
    case kWordLoop: {
        bool loop = true;
        if (!arguments.AtEnd()) {
            loop = GetLoop();
            arguments.ReadBoolOrToggle(loop);
        }
        return SetLoop(loop);
    }
    case kWordToBeginning:
        return ToBeginning();
    case kWordToEnd:
        return ToEnd();
    case kWordClear:
        return Clear();
    case kWordSound:
        return LoadSounds(arguments);
    case kWordFade:
        return HandleVolumeMessage(*this, VolumeWord::Fade, arguments);
    case kWordFadeTo:
        return HandleVolumeMessage(*this, VolumeWord::FadeTo, arguments);
    case kWordFadeOut:
        return HandleVolumeMessage(*this, VolumeWord::FadeOut, arguments);
    case kWordVolume:
        return HandleVolumeMessage(*this, VolumeWord::Volume, arguments);
    case kWordGetDuration:
        return HandleGetDuration(message);
    default:
        return Control::HandleMessage(message, sender);
    }
}

bool SoundControl::HandleGetDuration(const Fragment& message) {
    if (message.GetChildren().Empty()) {
        return true;
    }
    const Fragment& variable = message.GetChildren()[0];
    if (variable.GetText().IsEmpty()) {
        return false;
    }
    Vemo::String name;
    variable.GetText().GetString(name);
    Vemo::String section;
    FragmentStream(variable.GetChildren()) >> section;
    char value[16] = "0";
    if (m_sound != nullptr) {
        std::snprintf(value, sizeof(value), "%lu",
                      static_cast<unsigned long>(m_sound->GetDuration(Vemo::MediaTimeUnit::Milliseconds)));
    }
    return SetVar(section, name, Vemo::String(value));
}

// --- Playback --------------------------------------------------------------------------------------------

void SoundControl::StopTimer(Vemo::Timer& timer) {
    if (timer.GetTimerHandle() != nullptr) {
        timer.Stop();
    }
}

bool SoundControl::IsTimerRunning(Vemo::Timer& timer) {
    return timer.GetTimerHandle() != nullptr && timer.IsRunning();
}

void SoundControl::Deactivate(Vemo::Sound& sound) {
    if (sound.IsActive()) {
        sound.SetActive(false);
    }
}

bool SoundControl::SetTime(std::uint32_t time, Vemo::MediaTimeUnit unit) {
    return m_sound != nullptr && m_sound->SetTime(time, unit);
}

std::uint32_t SoundControl::GetTime(Vemo::MediaTimeUnit unit) {
    return m_sound != nullptr ? m_sound->GetTime(unit) : 0;
}

bool SoundControl::Play() {
    if (m_sound == nullptr) {
        // A script that waits for the end of a missing sound goes on at once.
        NotifyAtEnd();
        return true;
    }
    if (!IsEffectivelyEnabled()) {
        return false;
    }
    if (m_sound->IsPlaying()) {
        return true;
    }
    m_paused = 0;
    m_playing = 1;
    m_sound->SetVolume(static_cast<std::uint8_t>(m_volume));
    if (!m_sound->IsActive()) {
        m_sound->SetActive(true);
    }
    m_sound->Start();
    m_sound->Task();
    return true;
}

bool SoundControl::Pause() {
    if (m_sound == nullptr || !IsEffectivelyEnabled()) {
        return false;
    }
    if (m_paused != 0) {
        return true;
    }
    m_paused = 1;
    m_playing = 0;
    m_sound->Stop();
    m_sound->Task();
    const bool atEnd = m_loop == 0 && m_sound->IsAtEnd();
    Deactivate(*m_sound);
    if (atEnd) {
        StopTimer(m_fadeTimer);
        NotifyAtEnd();
    }
    return true;
}

bool SoundControl::Stop() {
    if (m_sound == nullptr || !IsEffectivelyEnabled()) {
        return true;
    }
    if (!m_sound->IsPlaying()) {
        // A paused sound is stopped too: back at the beginning, so that the next Play starts it afresh. Its
        // end, if it had reached one, was announced by the pause.
        if (m_paused != 0) {
            m_paused = 0;
            m_sound->Rewind();
            m_sound->Task();
            Deactivate(*m_sound);
        }
        return true;
    }
    m_paused = 0;
    m_playing = 0;
    m_sound->StopAndRewind(true);
    m_sound->Task();
    const bool atEnd = m_loop == 0 && m_sound->IsAtEnd();
    m_sound->Rewind();
    m_sound->Task();
    Deactivate(*m_sound);
    if (atEnd) {
        StopTimer(m_fadeTimer);
        NotifyAtEnd();
    }
    return true;
}

bool SoundControl::SetLoop(bool loop) {
    m_loop = loop ? 1 : 0;
    return m_sound == nullptr || m_sound->SetLooping(loop, 0, 0, 1);
}

bool SoundControl::GetLoop() {
    return m_loop != 0;
}

bool SoundControl::ToBeginning() {
    return m_sound != nullptr && m_sound->Rewind();
}

bool SoundControl::ToEnd() {
    return m_sound != nullptr && m_sound->GoToEnd();
}

bool SoundControl::IsAtBeginning() {
    return m_sound != nullptr && m_sound->IsAtStart();
}

bool SoundControl::IsAtEnd() {
    return m_sound != nullptr && m_sound->IsAtEnd();
}

bool SoundControl::IsSoundPlaying() {
    return m_sound != nullptr && m_sound->IsPlaying();
}

bool SoundControl::IsPlaying() {
    return m_playing != 0;
}

bool SoundControl::SetVolume(std::uint32_t volume) {
    m_volume = Clamped(volume);
    return m_sound != nullptr && m_sound->SetVolume(static_cast<std::uint8_t>(m_volume));
}

std::uint32_t SoundControl::GetVolume() {
    return m_volume;
}

// --- Fades -----------------------------------------------------------------------------------------------

bool SoundControl::IsFading() {
    return IsTimerRunning(m_fadeTimer);
}

bool SoundControl::Fade(std::uint32_t from, std::uint32_t to, std::uint32_t durationMs) {
    if (m_sound == nullptr) {
        return false;
    }
    if (durationMs == 0) {
        SetVolume(to);
        StopTimer(m_fadeTimer);
        NotifyFadeAtEnd();
        return true;
    }
    m_fadeFrom = Clamped(from);
    SetVolume(m_fadeFrom);
    m_fadeTo = Clamped(to);
    m_fadeDuration = durationMs;
    m_stopWhenFaded = 0;
    m_fadeTimer.Stop();
    m_fadeTimer.Start();
    return true;
}

bool SoundControl::FadeTo(std::uint32_t to, std::uint32_t durationMs) {
    return Fade(GetVolume(), to, durationMs);
}

bool SoundControl::FadeOut(std::uint32_t durationMs) {
    if (!IsSoundPlaying()) {
        NotifyFadeAtEnd();
        return true;
    }
    if (m_volume == 0) {
        NotifyFadeAtEnd();
        Stop();
        return true;
    }
    if (!Fade(GetVolume(), 0, durationMs)) {
        return false;
    }
    m_stopWhenFaded = IsTimerRunning(m_fadeTimer) ? 1 : 0;
    return true;
}

// --- The frame step --------------------------------------------------------------------------------------

void SoundControl::Idle() {
    Control::Idle();
    if (m_sound == nullptr || !IsEffectivelyEnabled()) {
        return;
    }
    const std::uint32_t serialNumber = GetSerialNumber();
    if (IsTimerRunning(m_fadeTimer)) {
        const std::uint32_t elapsed = m_fadeTimer.Elapsed();
        if (elapsed < m_fadeDuration) {
            const double span = static_cast<double>(static_cast<std::int32_t>(m_fadeTo - m_fadeFrom));
            const double volume = span * elapsed / m_fadeDuration + 0.5 + m_fadeFrom;
            SetVolume(static_cast<std::uint32_t>(volume));
        } else {
            SetVolume(m_fadeTo);
            StopTimer(m_fadeTimer);
            if (m_stopWhenFaded != 0) {
                Stop();
            }
            NotifyFadeAtEnd();
            // A subscriber may have destroyed the control or changed its sound.
            if (FindLive(serialNumber) != this || m_sound == nullptr) {
                return;
            }
        }
    }
    if (m_loop == 0 && m_playing != 0 && !m_sound->IsPlaying()) {
        Deactivate(*m_sound);
        m_sound->Rewind();
        m_sound->Task();
        StopTimer(m_fadeTimer);
        NotifyAtEnd();
        if (FindLive(serialNumber) != this) {
            return;
        }
    }
    m_playing = IsSoundPlaying() ? 1 : 0;
}

void SoundControl::OnEnabled() {
    if (m_sound != nullptr && m_playing != 0) {
        m_sound->SetActive(true);
        m_sound->Start();
    }
}

void SoundControl::OnDisabled() {
    if (m_sound != nullptr && m_sound->IsPlaying()) {
        m_sound->Stop();
        m_sound->SetActive(false);
    }
}

// --- Loading ---------------------------------------------------------------------------------------------

void SoundControl::UseSound(Vemo::Sound* sound) {
    m_sound = sound;
}

void SoundControl::ReleaseSounds() {
    m_paused = 0;
    m_playing = 0;
    m_sound = nullptr;
    for (std::size_t i = m_sounds.Size(); i > 0; --i) {
        delete m_sounds[i - 1];
    }
    m_sounds.Clear();
    StopTimer(m_fadeTimer);
    m_loop = 0;
    m_fadeFrom = 0;
    m_fadeTo = 0;
    m_fadeDuration = 0;
    m_stopWhenFaded = 0;
}

bool SoundControl::Clear() {
    Stop();
    ReleaseSounds();
    return true;
}

bool SoundControl::LoadSounds(FragmentStream& names) {
    for (;;) {
        const Fragment* name = nullptr;
        names >> name;
        if (name == nullptr) {
            return true;
        }
        if (!AddSound(*name)) {
            return Fail();
        }
    }
}

bool SoundControl::AddSound(const Fragment& name) {
    Vemo::Path path;
    if (!FindApplicationFile(path, name)) {
        return false;
    }
    auto* sound = new Vemo::Sound;
    if (!sound->Open(path, false, false)) {
        ReportUnreadableFile(path);
        delete sound;
        return Fail();
    }
    if (!m_sounds.Empty()) {
        if (!m_sounds[0]->AppendSound(*sound)) {
            delete sound;
            return Fail();
        }
        m_sounds.PushBack(sound);
        return true;
    }
    m_sound = sound;
    if (!sound->SetLooping(m_loop != 0, 0, 0, 1) || !sound->SetVolume(static_cast<std::uint8_t>(m_volume))) {
        m_sound = nullptr;
        delete sound;
        return false;
    }
    Deactivate(*sound);
    m_sounds.PushBack(sound);
    return true;
}

Vemo::Sound* SoundControl::GetSound() {
    return m_sound;
}

void SoundControl::NotifyFadeAtEnd() {
    ReceiveTextFrom(Vemo::String("FadeAtEnd"), SubString());
}

void SoundControl::NotifyAtEnd() {
    ReceiveTextFrom(Vemo::String("AtEnd"), SubString());
}
