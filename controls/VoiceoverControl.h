// A scripted control (class word "VoiceoverControl") for spoken clips, typically while the pointer rests on a
// button. "VOEnter" asks for a clip that starts once the request has stood for 750 ms; a newer request
// replaces an older one, "VOExit" withdraws one that has not started, "VOEnd" fades the playing clip out in
// 150 ms, and "Lock"/"Unlock" suspend all three. "VO" plays a clip at once. A clip asked for while another
// plays starts when the other has faded out.
//
// Opened clips are kept by full path for reuse; the control owns them there, and the clip that plays is
// only borrowed as the control's sound. Every voice-over control shares one notion of the clip that plays
// now (its path and the request that started it), emptied when that clip stops.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "controls/SoundControl.h"
#include "engines/timing/Timer.h"
#include "foundation/BasicMap.h"
#include "script/Fragment.h"

#include <cstdint>

class VoiceoverControl : public SoundControl {
public:
    static constexpr std::uint32_t kDelayMs = 750;
    static constexpr std::uint32_t kFadeOutMs = 150;

    VoiceoverControl(const Vemo::String& name, Messenger* owner, Script* script);
    // Stops and drops the playing clip, then destroys every cached clip.
    ~VoiceoverControl() override;

    Vemo::String GetClassName() const override;
    bool ReadScript() override;
    // The sound's step, then the request whose delay has run out.
    void Idle() override;
    // Also stops the delay and forgets the clip that plays as the shared current one.
    bool Clear() override;
    // Plays the named clip (see PlayClip).
    bool AddSound(const Fragment& name) override;
    // Announce as the sound control does, then play the clip that waited for the end.
    void NotifyFadeAtEnd() override;
    void NotifyAtEnd() override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;
    // Also forgets the clip as the shared current one once it has stopped.
    bool Stop() override;

    // Destroys every cached clip but the one that is the control's sound.
    virtual void Flush();
    // Forgets the waiting request and the shared current clip.
    virtual void Reset();

    // Loads (or takes from the cache) and plays the clip; an empty name stops.
    bool PlayClip(const Fragment& clip);

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

    const Fragment& GetPending() const { return m_pending; }
    std::uint32_t GetLockCount() const { return m_lockCount; }
    std::size_t GetClipCount() const { return m_clips.Size(); }
    // The shared current clip's full path, empty when none plays.
    static const Vemo::String& CurrentPath();

private:
    bool HandleEnter(const Fragment* clip);
    void PlayPending();
    // Empties the shared current clip when this control's clip set it.
    void ForgetCurrent();
    static bool SameRequest(const Fragment& a, const Fragment& b);

    std::uint32_t m_lockCount = 0;
    Fragment m_pending;
    Vemo::Timer m_delayTimer;
    Vemo::BasicMap<Vemo::String, Vemo::Sound*, Vemo::Less<Vemo::String>> m_clips;
};
