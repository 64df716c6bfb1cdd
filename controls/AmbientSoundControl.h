// A scripted control (class word "AmbientSoundControl") for the title's background sound. Told to play
// another file, it cross-fades: the current sound fades to silence and the new one up to full volume over one
// second. Each file gets a sound control of its own, named "AmbientSound_" and a running number, made on
// first use and kept (looping, silent when not current) for reuse.
//
// A fade task keeps the fades and the sound engine going when the main thread has not stepped the control
// for more than 67 ms (while a screen loads, say); it looks every 33 ms, and on the host's clock it sleeps
// through the looks that cannot find the watchdog run out. The control's mutex guards the
// sounds and their lists. Whatever the task's steps would announce ("FadeAtEnd", "AtEnd") is queued and
// announced by the next Idle on the main thread, because the messenger layer belongs to that thread.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "controls/SoundControl.h"
#include "foundation/BasicList.h"
#include "foundation/BasicMap.h"
#include "foundation/Mutex.h"
#include "foundation/Task.h"
#include "runtime/screen/Control.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

class AmbientSoundControl : public Control {
public:
    static constexpr std::uint32_t kCrossFadeMs = 1000;
    static constexpr std::uint32_t kWatchdogMs = 67;
    static constexpr std::uint32_t kPollMs = 33;

    AmbientSoundControl(const Vemo::String& name, Messenger* owner, Script* script);
    // Stops and destroys the sounds, then waits for the fade task to end.
    ~AmbientSoundControl() override;

    Vemo::String GetClassName() const override;
    // Also creates the mutex, starts the fade task and takes the "Sound" key's first file.
    bool Configure(Control* parent, Control* after) override;
    // Announces what the fade task queued, steps the fading sounds and the current one, and puts the
    // task's watchdog off by 67 ms.
    void Idle() override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;

    virtual bool Play();
    virtual bool Pause();
    virtual bool Stop();
    virtual bool IsPlaying();
    virtual bool SetVolume(std::uint32_t volume);
    virtual std::uint32_t GetVolume();
    virtual bool Fade(std::uint32_t from, std::uint32_t to, std::uint32_t durationMs);
    virtual bool FadeTo(std::uint32_t to, std::uint32_t durationMs);
    virtual bool FadeOut(std::uint32_t durationMs);
    virtual bool Clear();
    // Cross-fades to the named file; the new sound plays once "Play" reaches this control.
    virtual bool SetSound(const Fragment& name);

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

    SoundControl* GetCurrent() const { return m_current; }
    const Vemo::String& GetCurrentPath() const { return m_currentPath; }
    // The names of the sound controls fading out, in list order.
    std::vector<Vemo::String> GetFadingOutNames() const;
    std::size_t GetSoundControlCount() const { return m_soundsByPath.Size(); }
    bool IsTaskRunning() const { return m_fadeTask.IsStarted(); }

private:
    // A sound control of this ambient control. While the fade task steps it, what it would announce is
    // queued on its owner instead; the framework's enable and disable reach it under the owner's mutex.
    class Channel : public SoundControl {
    public:
        Channel(const Vemo::String& name, AmbientSoundControl* owner);
        void NotifyFadeAtEnd() override;
        void NotifyAtEnd() override;
        void OnEnabled() override;
        void OnDisabled() override;
        // The base announcements, for the owner's queue.
        void AnnounceFadeAtEnd() { SoundControl::NotifyFadeAtEnd(); }
        void AnnounceAtEnd() { SoundControl::NotifyAtEnd(); }

    private:
        AmbientSoundControl* m_owner;
    };

    class MyTask : public Vemo::Task {
    public:
        explicit MyTask(AmbientSoundControl* owner);
        ~MyTask() override;
        std::uint8_t Run() override;
        // Tells the task to end and wakes it.
        void Stop();

        std::atomic<bool> m_running{true};

    private:
        // Until the next look that can find the watchdog run out, or until told to stop.
        void SleepUntilNextLook();

        AmbientSoundControl* m_owner;
        std::mutex m_wakeLock;
        std::condition_variable m_wake;
    };

    // Holds the mutex for a scope; the mutex is recursive for its holder.
    class Hold {
    public:
        explicit Hold(Vemo::Mutex& mutex);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        Vemo::Mutex& m_mutex;
        bool m_held;
    };

    struct Announcement {
        std::uint32_t serialNumber;
        bool fadeAtEnd;
    };

    // The Idle step of every fading sound control and of the current one, under the mutex.
    void StepSounds();
    // What the fade task does once the watchdog has run out.
    void StepFromTask();
    void AnnounceQueued();
    void HandleFadeAtEnd(Messenger* sender);
    void DestroySoundControls();
    void RemoveFromFadingOut(const Control* control);
    static bool IsAmbientChannelName(const Vemo::String& name);

    SoundControl* m_current = nullptr;
    Vemo::String m_currentPath;
    Vemo::BasicList<SoundControl*> m_fadingOut;
    Vemo::BasicMap<Vemo::String, SoundControl*, Vemo::Less<Vemo::String>> m_soundsByPath;
    std::uint32_t m_nameCounter = 0;
    std::uint32_t m_volume = 255;
    std::uint32_t m_crossFadeMs = kCrossFadeMs;
    std::atomic<std::uint32_t> m_watchdogDeadline{0};
    MyTask m_fadeTask;
    Vemo::Mutex m_lock;
    // Written only under the mutex: whether the fade task is stepping the sounds now, and what they said.
    bool m_stepping = false;
    std::vector<Announcement> m_queued;
};
