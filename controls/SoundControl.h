// A scripted control (class word "SoundControl") that plays one sound: the files named by its "Sound" keys or
// by a "Sound" message, appended into one combined sound. It plays, pauses, stops, rewinds, loops, sets the
// volume and fades it over a time, and announces "AtEnd" when the sound has played to its end and
// "FadeAtEnd" when a fade has finished (sent to itself with no sender, so every subscriber hears them).
//
// It draws nothing: it is a control only to live and die with a state's controls and to get the per-frame
// Idle. Volumes are 0 to 255; fade times are milliseconds on a standard-precision timer.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/media/MediaTimeUnit.h"
#include "engines/timing/Timer.h"
#include "foundation/BasicArray.h"
#include "runtime/screen/Control.h"
#include "script/FragmentStream.h"

#include <cstdint>

namespace Vemo {
class Sound;
} // namespace Vemo

// The volume messages that the sound controls share, with their arguments and defaults: "Fade" (from, to,
// duration: the current volume twice and 1000 ms), "FadeTo" (to, duration), "FadeOut" (duration), "Volume"
// (volume: the current one). The target has SetVolume, GetVolume, Fade, FadeTo and FadeOut.
enum class VolumeWord { Fade, FadeTo, FadeOut, Volume };

template <class Target>
bool HandleVolumeMessage(Target& target, VolumeWord word, FragmentStream& arguments) {
    constexpr std::uint32_t kDefaultFadeMs = 1000;
    std::uint32_t from = target.GetVolume();
    std::uint32_t to = from;
    std::uint32_t duration = kDefaultFadeMs;
    switch (word) {
    case VolumeWord::Fade:
        arguments >> from >> to >> duration;
        return target.Fade(from, to, duration);
    case VolumeWord::FadeTo:
        arguments >> to >> duration;
        return target.FadeTo(to, duration);
    case VolumeWord::FadeOut:
        arguments >> duration;
        return target.FadeOut(duration);
    default:
        arguments >> to;
        return target.SetVolume(to);
    }
}

class SoundControl : public Control {
public:
    SoundControl(const Vemo::String& name, Messenger* owner, Script* script);
    // Stops and destroys every sound, last first.
    ~SoundControl() override;

    Vemo::String GetClassName() const override;
    // The control's keys, the fade timer, then every "Sound" key's files in order; the sound is left
    // inactive.
    bool ReadScript() override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;
    // The fade's volume step, then the end of a sound that does not loop.
    void Idle() override;
    // Resumes a sound that was playing when the control was disabled.
    void OnEnabled() override;
    // Silences a playing sound; it resumes when the control is enabled again.
    void OnDisabled() override;

    virtual bool SetTime(std::uint32_t time, Vemo::MediaTimeUnit unit);
    virtual std::uint32_t GetTime(Vemo::MediaTimeUnit unit);
    // Without a sound: "AtEnd" at once and true.
    virtual bool Play();
    virtual bool Pause();
    virtual bool Stop();
    virtual bool SetLoop(bool loop);
    virtual bool GetLoop();
    virtual bool ToBeginning();
    virtual bool ToEnd();
    virtual bool IsAtBeginning();
    virtual bool IsAtEnd();
    // Whether the sound itself plays now.
    virtual bool IsSoundPlaying();
    // Whether the control was told to play and has not seen the end yet.
    virtual bool IsPlaying();
    // Stores min(volume, 255) and sets the sound's volume.
    virtual bool SetVolume(std::uint32_t volume);
    virtual std::uint32_t GetVolume();
    virtual bool Fade(std::uint32_t from, std::uint32_t to, std::uint32_t durationMs);
    virtual bool FadeTo(std::uint32_t to, std::uint32_t durationMs);
    // A fade to silence that stops the sound at its end.
    virtual bool FadeOut(std::uint32_t durationMs);
    // Back to no sound; the stored volume stays.
    virtual bool Clear();
    // AddSound for every fragment of the stream until one fails.
    virtual bool LoadSounds(FragmentStream& names);
    // Opens the named file; the first becomes the sound, later ones are appended to its end.
    virtual bool AddSound(const Fragment& name);
    virtual Vemo::Sound* GetSound();
    virtual void NotifyFadeAtEnd();
    virtual void NotifyAtEnd();

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();
    // Null when the messenger is not a sound control.
    static SoundControl* FromMessenger(Messenger* messenger);

    bool IsPaused() const { return m_paused != 0; }
    // Whether a fade runs now.
    bool IsFading();

protected:
    // Makes the sound the control's own (not entered in the sound list) or, with null, drops it without
    // destroying it. For a subclass that keeps its sounds itself.
    void UseSound(Vemo::Sound* sound);
    // Stops and destroys every listed sound, last first, and resets the playback and fade state.
    void ReleaseSounds();
    // Makes the sound inactive when it is active.
    static void Deactivate(Vemo::Sound& sound);
    // A timer that never opened counts as stopped, without the no-handle report.
    static void StopTimer(Vemo::Timer& timer);
    static bool IsTimerRunning(Vemo::Timer& timer);

private:
    bool HandleGetDuration(const Fragment& message);

    Vemo::Sound* m_sound = nullptr;
    std::uint8_t m_playing = 0;
    std::uint8_t m_paused = 0;
    std::uint32_t m_volume = 255;
    std::uint8_t m_loop = 0;
    std::uint32_t m_fadeFrom = 0;
    std::uint32_t m_fadeTo = 0;
    std::uint32_t m_fadeDuration = 0;
    Vemo::Timer m_fadeTimer;
    std::uint8_t m_stopWhenFaded = 0;
    Vemo::BasicArray<Vemo::Sound*> m_sounds;
};
