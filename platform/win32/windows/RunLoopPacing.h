// How each pass of the application's run loop ends, in any run: Vemo::Application::Run calls EndRunLoopStep
// on the main thread after every step.
//
// A scripted headless run (platform/win32/input/HeadlessRun.h) moves its clock and runs its next steps there,
// and never sleeps. Any other run on the host clock paces itself: a step in which the thread waited for no
// blank of the display (nothing was shown, or nothing paced the showing) sleeps until the next blank, or
// until the title's next frame-timer tick when that comes first (RunLoopStepDueWithin), or until a message, a
// host event or a termination signal comes. The sleep blocks on those sources themselves
// (platform/win32/windows/MessageQueue.h), so a still screen wakes only for its blanks and timers. A test's
// own clock is left alone: its time passes only as the test moves it.
#pragma once

#include "platform/win32/Types.h"

#include <vector>

namespace win32 {

// An engine with a main loop of its own that runs on the main thread beside the title (the hosted web
// engine). Drain runs at the end of every application step, before anything else there, and must not block.
// Around the sleep of a run on the host clock: PrepareWait adds the descriptors the guest waits on and
// answers how long the sleep may last at most for it in milliseconds (negative: no limit, 0: it has work
// now); FinishWait follows every PrepareWait, with what the sleep saw on those descriptors.
class RunLoopGuest {
public:
    // A descriptor waited on: events and revents as poll(2) has them.
    struct Descriptor {
        int descriptor = -1;
        short events = 0;
        short revents = 0;
    };

    virtual ~RunLoopGuest() = default;
    virtual void Drain() = 0;
    virtual int PrepareWait(std::vector<Descriptor>& descriptors) = 0;
    virtual void FinishWait(const std::vector<Descriptor>& descriptors) = 0;
};

// On the main thread: the guest (null: none) takes part in the run loop of the calling thread from now on.
void SetRunLoopGuest(RunLoopGuest* guest);

void EndRunLoopStep();

// The application's next step is due within the milliseconds (a frame timer of its ticks then): the sleep at
// the end of the step under way ends by then at the latest. The earliest of a step's calls counts.
void RunLoopStepDueWithin(DWORD milliseconds);

} // namespace win32
