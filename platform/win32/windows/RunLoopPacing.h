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

namespace win32 {

void EndRunLoopStep();

// The application's next step is due within the milliseconds (a frame timer of its ticks then): the sleep at
// the end of the step under way ends by then at the latest. The earliest of a step's calls counts.
void RunLoopStepDueWithin(DWORD milliseconds);

} // namespace win32
