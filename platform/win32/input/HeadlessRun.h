// Scripted headless runs of the program, and their log.
//
// VEMO_HEADLESS_INPUT=FILE runs the program headless (as VEMO_VIDEO=headless; VEMO_VIDEO=sdl with it is
// refused) through a list of steps, one a line. "#" starts a comment, to the end of its line; blank lines are
// skipped; a UTF-8 byte order mark at the start is skipped; words are separated by blanks, and the step's own
// words are taken without regard to case:
//
//     wait MS                 the program runs while its clock moves MS milliseconds (0 to 4294967295)
//     move X Y                the mouse moves to X Y, client coordinates of the main window (-32768 to 32767)
//     click X Y [left|right]  the mouse moves there and the button (left unless named) goes down and up
//     down X Y [left|right]   the mouse moves there and the button goes down
//     up X Y [left|right]     the mouse moves there and the button goes up
//     key NAME                the key goes down and up. NAME is a virtual-key name without its prefix: A-Z,
//                             0-9, F1-F24, Numpad0-Numpad9, Escape, Return (Enter), Space, Tab, Back
//                             (Backspace), Left, Up, Right, Down, Prior (PageUp), Next (PageDown), Home, End,
//                             Insert, Delete, Shift, Control, Menu (Alt), Pause, Capital, Clear, Snapshot,
//                             Apps, LWin, RWin, Multiply, Add, Subtract, Decimal, Divide, NumLock, Scroll,
//                             LShift, RShift, LControl, RControl, LMenu, RMenu
//     answer WORD             the answer of the next message box: OK, Cancel, Yes, No, Abort, Retry or
//                             Ignore (without one, a box answers Cancel where it has that button, else its
//                             default button, OK: the boxes have OK, or OK and Cancel)
//     snapshot FILE           writes what the main window shows now, its picture as last presented with the
//                             movie overlays and child windows over it (black where nothing was presented),
//                             as a 24-bit BMP. FILE is the rest of the line; a relative one is taken from the
//                             program's current folder
//     close                   the main window's close box
//
// The main window is the first visible top-level window without an owner that the main thread made. A step
// that needs it while there is none does nothing, and the standard error says so.
//
// Timing. While the run lasts, the clock of every time call (platform/win32/kernel/Time.h) reads 0 when the
// program starts and moves only while a wait runs: by the main thread's own Sleep and vertical-blank waits
// (in moves of at most 10 ms, the last one stopping where the wait ends), and by 1 ms at the end of an
// application step that did not move it. Sleep on other threads returns at once without moving it,
// WaitMessage on the main thread returns at once, and timers of threads other than the main thread never fire
// (ThreadTimersMayFire), so that nothing waits for time that cannot pass. Every run of the same steps gives
// the same frames and times.
//
// Steps and application steps. The steps run at two moments. When the program starts: the leading "answer"
// steps (so that start-up's boxes can be answered) and a first "wait", which starts then (start-up's sleeps
// count). At the end of each application step (EndRunLoopStep, platform/win32/windows/RunLoopPacing.h):
// while a wait runs, its clock moves as above, and the wait ends once the clock has moved its milliseconds;
// when no wait runs (any more), the steps that follow run in order, up to and including the next wait. Input
// is posted then: it takes effect at the next application step. When the steps are all done, the main window
// is closed as by "close" and the run goes on as in an endless wait; a program still running when its clock
// has moved 60 s more is ended, with a message and exit code 2.
//
// The steps file is a regular file or a pipe of at most 64 MiB. A step that does not read, an input file that
// cannot be read, is anything else (a folder, a device) or is larger, a log that cannot be written, or
// VEMO_VIDEO=sdl end the run before the program starts, with a message naming the file (and the
// line) and exit code 2. A snapshot that cannot be written is said on the standard error, naming the file and
// the line, and the run goes on.
//
// VEMO_HEADLESS_LOG=FILE, with or without steps, gets one line per event, in order, each written at once:
//
//     box CAPTION|TEXT -> ANSWER   a message box and its answer (OK, Cancel); a line break inside either
//                                  text (LF, CR LF or CR) is written as \n
//     restore                      a second instance asked this one to come forward: a window's default
//                                  processing took SC_RESTORE
//     snapshot FILE                a snapshot step wrote the file
//     exit CODE                    last: the process's exit code
//
// Without VEMO_HEADLESS_LOG, a headless run says each box on the standard error instead, as its line above
// after the word "headless", so that a failure the title reports in a box is never silent.
//
// A hosted engine that loads and draws on its own time (the web engine) holds the clock while it works
// (HoldScriptedClockWhile): while a wait runs and the engine is busy, neither sleeps nor the ends of
// application steps move the clock, so that the same steps give the same frames however long the engine
// takes. A hold that has lasted 10 s of real time is let go, said on the standard error, until the engine is
// no longer busy.
#pragma once

#include <functional>

namespace win32 {

// busy (empty: none) is asked on the main thread whenever the clock would move during a scripted run.
void HoldScriptedClockWhile(std::function<bool()> busy);

// False on a thread other than the main one while a scripted run lasts: such a thread's timers must not fire.
bool ThreadTimersMayFire();

} // namespace win32
