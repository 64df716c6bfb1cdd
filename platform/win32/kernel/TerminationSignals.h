// SIGTERM, SIGHUP and SIGINT (a kill, the terminal closed or a logout, Ctrl+C) as a player's program takes
// them: the first asks the program to close as its user would, so that the normal shut-down saves the
// settings and removes what the run made; a second ends the program at once, by the signal's own default
// action (exit status 128 + the signal to a shell).
//
// The handler does nothing but mark the request and write a byte to a pipe. The thread that caught them reads
// it in its message loop (platform/win32/windows/Message.cpp), which asks the thread's main window to close
// as its close box does; a request that finds no main window waits for one.
#pragma once

namespace win32 {

// Catches the three signals for the calling thread's message loop. A signal the process was started with
// ignored stays ignored: a run under nohup keeps running when its terminal closes. Once in a process; false
// (and nothing caught) when the pipe cannot be made.
bool CatchTerminationSignals();

// Whether the calling thread is the one whose message loop takes the requests.
bool TakesTerminationSignals();

// The pipe's end that becomes readable when a request comes, for that thread to sleep on; -1 when none is
// caught.
int TerminationSignalDescriptor();

// True once, when the first signal has come: its request is taken and the pipe emptied.
bool TakeTerminationRequest();

} // namespace win32
