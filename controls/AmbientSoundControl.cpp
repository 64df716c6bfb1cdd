#include "controls/AmbientSoundControl.h"

#include "engines/media/Sound.h"
#include "platform/win32/kernel/Synchronization.h"
#include "platform/win32/kernel/Time.h"
#include "resources/error/Error.h"
#include "resources/storage/Path.h"
#include "runtime/application/MultimediaApplication.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace {

enum AmbientWord : unsigned {
    kWordPlay = 0,
    kWordPause = 1,
    kWordStop = 2,
    kWordClear = 3,
    kWordSound = 4,
    kWordFade = 5,
    kWordFadeTo = 6,
    kWordFadeOut = 7,
    kWordFadeAtEnd = 8,
    kWordVolume = 9,
};

constexpr unsigned kMissingWord = 0xFFFFFFFF;
constexpr char kChannelPrefix[] = "AmbientSound_";

const KeywordIds<unsigned>& AmbientWords() {
    static const KeywordIds<unsigned>* const words = new KeywordIds<unsigned>(
        {
            {"Play", kWordPlay},
            {"Pause", kWordPause},
            {"Stop", kWordStop},
            {"Clear", kWordClear},
            {"Sound", kWordSound},
            {"Fade", kWordFade},
            {"FadeTo", kWordFadeTo},
            {"FadeOut", kWordFadeOut},
            {"FadeAtEnd", kWordFadeAtEnd},
            {"Volume", kWordVolume},
        },
        kMissingWord);
    return *words;
}

const MessengerFactory::Registrar g_ambientRegistrar(AmbientSoundControl::ClassWord(),
                                                     &AmbientSoundControl::Create);

bool Fail() {
    RaiseError(Control::kErrorFailure);
    return false;
}

// Whether the 32-bit millisecond clock has passed the moment, across its wrap.
bool HasPassed(std::uint32_t now, std::uint32_t moment) {
    return static_cast<std::int32_t>(now - moment) > 0;
}

} // namespace

// --- The helpers -----------------------------------------------------------------------------------------

AmbientSoundControl::Hold::Hold(Vemo::Mutex& mutex) : m_mutex(mutex), m_held(mutex.Lock(true)) {}

AmbientSoundControl::Hold::~Hold() {
    if (m_held) {
        m_mutex.Unlock();
    }
}

AmbientSoundControl::Channel::Channel(const Vemo::String& name, AmbientSoundControl* owner)
    : SoundControl(name, owner, nullptr), m_owner(owner) {}

void AmbientSoundControl::Channel::NotifyFadeAtEnd() {
    if (m_owner->m_stepping) {
        m_owner->m_queued.push_back({GetSerialNumber(), true});
        return;
    }
    AnnounceFadeAtEnd();
}

void AmbientSoundControl::Channel::NotifyAtEnd() {
    if (m_owner->m_stepping) {
        m_owner->m_queued.push_back({GetSerialNumber(), false});
        return;
    }
    AnnounceAtEnd();
}

void AmbientSoundControl::Channel::OnEnabled() {
    const Hold hold(m_owner->m_lock);
    SoundControl::OnEnabled();
}

void AmbientSoundControl::Channel::OnDisabled() {
    const Hold hold(m_owner->m_lock);
    SoundControl::OnDisabled();
}

AmbientSoundControl::MyTask::MyTask(AmbientSoundControl* owner) : m_owner(owner) {}

AmbientSoundControl::MyTask::~MyTask() = default;

std::uint8_t AmbientSoundControl::MyTask::Run() {
    while (m_running.load()) {
        if (HasPassed(win32::timeGetTime(), m_owner->m_watchdogDeadline.load())) {
            m_owner->StepFromTask();
        }
        SleepUntilNextLook();
    }
    return 1;
}

void AmbientSoundControl::MyTask::SleepUntilNextLook() {
    // Another clock moves as its owner moves it, and is looked at every poll.
    if (!win32::seam::HostClockInstalled()) {
        win32::Sleep(kPollMs);
        return;
    }
    // The main thread keeps putting the watchdog off while it steps: the looks before the one that could
    // find it run out, at the deadline as it stands now, would find nothing to do. The deadline only moves
    // later, so the look woken for decides as the poll at that moment would.
    const auto ahead = static_cast<std::int32_t>(m_owner->m_watchdogDeadline.load() - win32::timeGetTime());
    const std::uint32_t polls = ahead > 0 ? static_cast<std::uint32_t>(ahead) / kPollMs + 1 : 1;
    std::unique_lock lock(m_wakeLock);
    m_wake.wait_for(lock, std::chrono::milliseconds(polls * kPollMs), [this] { return !m_running.load(); });
}

void AmbientSoundControl::MyTask::Stop() {
    {
        const std::lock_guard lock(m_wakeLock);
        m_running.store(false);
    }
    m_wake.notify_all();
}

// --- Life ------------------------------------------------------------------------------------------------

AmbientSoundControl::AmbientSoundControl(const Vemo::String& name, Messenger* owner, Script* script)
    : Control(name, owner, script), m_fadeTask(this) {}

AmbientSoundControl::~AmbientSoundControl() {
    {
        const Hold hold(m_lock);
        Clear();
        m_queued.clear();
    }
    // The task is told to stop and waited for: ending its thread by force would leave the mutex held.
    m_fadeTask.Stop();
    while (m_fadeTask.IsStarted()) {
        win32::Sleep(0);
    }
}

const Vemo::String& AmbientSoundControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("AmbientSoundControl");
    return *word;
}

Vemo::String AmbientSoundControl::GetClassName() const {
    return ClassWord();
}

Messenger* AmbientSoundControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<AmbientSoundControl>(name, owner, script);
}

bool AmbientSoundControl::Configure(Control* parent, Control* after) {
    if (!Control::Configure(parent, after)) {
        return false;
    }
    m_watchdogDeadline.store(win32::timeGetTime() + kWatchdogMs);
    if (!m_lock.Create() || !m_fadeTask.Start()) {
        return Fail();
    }
    const Vemo::BasicArray<Fragment>* sound = nullptr;
    if (GetScript() != nullptr && GetScript()->GetFragments(GetSectionName(), Vemo::String("Sound"), sound) &&
        sound != nullptr && !sound->Empty()) {
        if (!SetSound((*sound)[0])) {
            Clear();
            return false;
        }
    }
    return true;
}

void AmbientSoundControl::DestroySoundControls() {
    for (auto& [path, control] : m_soundsByPath) {
        delete control;
    }
    m_soundsByPath.Clear();
}

// --- Messages --------------------------------------------------------------------------------------------

bool AmbientSoundControl::HandleMessage(const Fragment& message, Messenger* sender) {
    const unsigned id = AmbientWords()[message.GetText()];
    FragmentStream arguments(message.GetChildren());
    switch (id) {
    case kWordPlay:
        return Play();
    case kWordPause:
        return Pause();
    case kWordStop:
        return Stop();
    case kWordClear:
        return Clear();
    case kWordSound: {
        const Fragment* name = nullptr;
        arguments >> name;
        return name != nullptr ? SetSound(*name) : Stop();
    }
    case kWordFade:
        return HandleVolumeMessage(*this, VolumeWord::Fade, arguments);
    case kWordFadeTo:
        return HandleVolumeMessage(*this, VolumeWord::FadeTo, arguments);
    case kWordFadeOut:
        return HandleVolumeMessage(*this, VolumeWord::FadeOut, arguments);
    case kWordFadeAtEnd:
        HandleFadeAtEnd(sender);
        return true;
    case kWordVolume:
        return HandleVolumeMessage(*this, VolumeWord::Volume, arguments);
    default:
        return Control::HandleMessage(message, sender);
    }
}

bool AmbientSoundControl::IsAmbientChannelName(const Vemo::String& name) {
    const std::uint32_t length = static_cast<std::uint32_t>(std::strlen(kChannelPrefix));
    return name.Length() >= length && name.Compare(0, length, kChannelPrefix, length) == 0;
}

void AmbientSoundControl::RemoveFromFadingOut(const Control* control) {
    for (auto it = m_fadingOut.begin(); it != m_fadingOut.end();) {
        it = (*it)->IsSameControl(control) ? m_fadingOut.Erase(it) : std::next(it);
    }
}

void AmbientSoundControl::HandleFadeAtEnd(Messenger* sender) {
    const Hold hold(m_lock);
    if (sender == nullptr) {
        return;
    }
    if (m_current != nullptr && m_current->GetSerialNumber() == sender->GetSerialNumber()) {
        if (m_current->GetVolume() == 0) {
            m_current = nullptr;
            m_currentPath = Vemo::String();
        }
    } else if (IsAmbientChannelName(sender->GetName())) {
        // A sound faded out: it stays in the map, looping silently, for its next turn.
        if (Control* control = Control::FromMessenger(sender)) {
            RemoveFromFadingOut(control);
        }
    }
}

// --- Operations ------------------------------------------------------------------------------------------

bool AmbientSoundControl::Play() {
    const Hold hold(m_lock);
    return m_current != nullptr && IsEffectivelyEnabled() && m_current->Play();
}

bool AmbientSoundControl::Pause() {
    const Hold hold(m_lock);
    return m_current != nullptr && IsEffectivelyEnabled() && m_current->Pause();
}

bool AmbientSoundControl::Stop() {
    const Hold hold(m_lock);
    if (m_current != nullptr && IsEffectivelyEnabled()) {
        m_current->Stop();
    }
    return true;
}

bool AmbientSoundControl::IsPlaying() {
    const Hold hold(m_lock);
    return m_current != nullptr && m_current->IsSoundPlaying();
}

bool AmbientSoundControl::SetVolume(std::uint32_t volume) {
    const Hold hold(m_lock);
    m_volume = std::min<std::uint32_t>(volume, 255);
    return m_current != nullptr && m_current->SetVolume(m_volume);
}

std::uint32_t AmbientSoundControl::GetVolume() {
    const Hold hold(m_lock);
    return m_current != nullptr ? m_current->GetVolume() : 0;
}

bool AmbientSoundControl::Fade(std::uint32_t from, std::uint32_t to, std::uint32_t durationMs) {
    const Hold hold(m_lock);
    return m_current != nullptr && m_current->Fade(from, to, durationMs);
}

bool AmbientSoundControl::FadeTo(std::uint32_t to, std::uint32_t durationMs) {
    const Hold hold(m_lock);
    return Fade(GetVolume(), to, durationMs);
}

bool AmbientSoundControl::FadeOut(std::uint32_t durationMs) {
    const Hold hold(m_lock);
    return m_current != nullptr && m_current->FadeOut(durationMs);
}

bool AmbientSoundControl::Clear() {
    const Hold hold(m_lock);
    Stop();
    DestroySoundControls();
    m_fadingOut.Clear();
    m_current = nullptr;
    // Without it the same file could never be set again: it would count as the current one.
    m_currentPath = Vemo::String();
    return true;
}

bool AmbientSoundControl::SetSound(const Fragment& name) {
    const Hold hold(m_lock);
    Vemo::Path path;
    if (!FindApplicationFile(path, name)) {
        return false;
    }
    Vemo::String fullPath;
    path.GetText(fullPath, true, false);
    if (fullPath.Compare(m_currentPath) == 0) {
        return true;
    }
    SoundControl* next = nullptr;
    const auto found = m_soundsByPath.Find(fullPath);
    if (found == m_soundsByPath.End()) {
        char number[16];
        std::snprintf(number, sizeof(number), "%lu", static_cast<unsigned long>(m_nameCounter));
        Vemo::String channelName(kChannelPrefix);
        channelName.Append(number);
        ++m_nameCounter;
        auto* channel = new Channel(channelName, this);
        if (!channel->ReadScript() || !channel->Configure(this, nullptr)) {
            delete channel;
            return Fail();
        }
        if (!channel->AddSound(name)) {
            delete channel;
            return false;
        }
        channel->SetVolume(0);
        channel->SetLoop(true);
        // Its "FadeAtEnd" reaches this control only as a subscriber.
        Subscribe(*channel);
        m_soundsByPath.Insert(fullPath, channel);
        next = channel;
    } else {
        next = found->second;
        RemoveFromFadingOut(next);
    }
    if (m_current != nullptr) {
        m_fadingOut.PushBack(m_current);
        m_current->Fade(m_current->GetVolume(), 0, m_crossFadeMs);
    }
    m_current = next;
    m_currentPath = fullPath;
    m_current->Fade(m_current->GetVolume(), 255, m_crossFadeMs);
    return true;
}

std::vector<Vemo::String> AmbientSoundControl::GetFadingOutNames() const {
    std::vector<Vemo::String> names;
    for (const SoundControl* control : m_fadingOut) {
        names.push_back(control->GetName());
    }
    return names;
}

// --- Stepping --------------------------------------------------------------------------------------------

void AmbientSoundControl::StepSounds() {
    // A step may announce a fade's end, which takes the control off the list: step a copy, skipping
    // controls that have left it meanwhile.
    const std::vector<SoundControl*> fading(m_fadingOut.begin(), m_fadingOut.end());
    for (SoundControl* control : fading) {
        if (std::find(m_fadingOut.begin(), m_fadingOut.end(), control) != m_fadingOut.end()) {
            control->Idle();
        }
    }
    if (m_current != nullptr) {
        m_current->Idle();
    }
}

void AmbientSoundControl::AnnounceQueued() {
    std::vector<Announcement> queued;
    queued.swap(m_queued);
    for (const Announcement& announcement : queued) {
        auto* channel = dynamic_cast<Channel*>(Control::FindLive(announcement.serialNumber));
        if (channel == nullptr) {
            continue;
        }
        if (announcement.fadeAtEnd) {
            channel->AnnounceFadeAtEnd();
        } else {
            channel->AnnounceAtEnd();
        }
    }
}

void AmbientSoundControl::Idle() {
    Control::Idle();
    {
        const Hold hold(m_lock);
        AnnounceQueued();
    }
    const Hold hold(m_lock);
    StepSounds();
    m_watchdogDeadline.store(win32::timeGetTime() + kWatchdogMs);
}

void AmbientSoundControl::StepFromTask() {
    const Hold hold(m_lock);
    m_stepping = true;
    StepSounds();
    m_stepping = false;
    m_watchdogDeadline.store(win32::timeGetTime() + kWatchdogMs);
    if (m_current != nullptr && m_current->GetSound() != nullptr) {
        m_current->GetSound()->Task();
    }
    for (SoundControl* control : m_fadingOut) {
        if (control->GetSound() != nullptr) {
            control->GetSound()->Task();
        }
    }
}
