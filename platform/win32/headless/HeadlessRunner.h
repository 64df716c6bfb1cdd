// The scripted headless run in force (platform/win32/input/HeadlessRun.h): its steps, its clock and what it
// does at the program's start and at the end of each application step. Internal to the platform layer.
//
// The windows' waits ask it whether they are scripted, so it is declared below them; what it does drives the
// windows and the host's events, so it is defined above them, in input/HeadlessRun.cpp.
#pragma once

#include "platform/win32/Types.h"
#include "platform/win32/headless/HeadlessRunClock.h"
#include "platform/win32/headless/HeadlessRunScript.h"

#include <string>
#include <vector>

namespace win32 {

class HeadlessRunner {
public:
    // How much more the clock may move, after the steps are done and the main window was closed, before a
    // program that is still running is ended.
    static constexpr std::uint64_t kEndingMilliseconds = 60000;

    // The run in force, or null.
    static HeadlessRunner* Current();

    // Installs the run's clock and makes the run the one in force; the calling thread is the main thread.
    // origin names the steps' file in messages.
    HeadlessRunner(std::vector<HeadlessStep> steps, std::string origin);
    ~HeadlessRunner();
    HeadlessRunner(const HeadlessRunner&) = delete;
    HeadlessRunner& operator=(const HeadlessRunner&) = delete;

    // The steps that run when the program starts.
    void Begin();
    void EndOfStep();

    bool IsMainThread() const { return m_clock.IsMainThread(); }
    bool StepsDone() const { return m_done; }
    // The main window: the first visible top-level window without an owner that the main thread made.
    HWND MainWindow() const;

private:
    void RunSteps(bool atStart);
    void Perform(const HeadlessStep& step);
    void Snapshot(const HeadlessStep& step, HWND window);
    void Say(int line, const std::string& what) const;

    HeadlessRunClock m_clock;
    std::vector<HeadlessStep> m_steps;
    std::size_t m_next = 0;
    std::string m_origin;
    bool m_done = false;
    std::uint64_t m_doneAt = 0;
};

// Starts what the environment asks for (VEMO_HEADLESS_LOG, VEMO_HEADLESS_INPUT) before the program starts;
// ends the process with a message and exit code 2 when it cannot.
void StartHeadlessRunFromEnvironment();

} // namespace win32
