// Test-only scripted headless runs: a run of the steps inside the test (the calling thread is the main
// thread), as VEMO_HEADLESS_INPUT makes one for the program, and a log of the run's events in a file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace win32 {
class HeadlessRunner;
}

namespace win32::testing {

class ScriptedRun {
public:
    // Throws std::invalid_argument with the message naming the line when the steps do not read. The leading
    // answers and a first wait take effect at once, as at the program's start.
    explicit ScriptedRun(const std::string& steps);
    ~ScriptedRun();
    ScriptedRun(const ScriptedRun&) = delete;
    ScriptedRun& operator=(const ScriptedRun&) = delete;

    // Every step has run (and the main window was asked to close).
    bool StepsDone() const;

private:
    std::unique_ptr<HeadlessRunner> m_runner;
};

// Writes the run's log (VEMO_HEADLESS_LOG) to a file for the object's life.
class HeadlessLog {
public:
    explicit HeadlessLog(const std::string& path);
    ~HeadlessLog();
    HeadlessLog(const HeadlessLog&) = delete;
    HeadlessLog& operator=(const HeadlessLog&) = delete;

    // The lines written so far.
    std::string Text() const;

private:
    std::string m_path;
};

} // namespace win32::testing
