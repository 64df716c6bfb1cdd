// The log of a headless run (VEMO_HEADLESS_LOG, platform/win32/input/HeadlessRun.h): one line an event,
// written at once. Internal to the platform layer.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

namespace win32 {

class HeadlessRunLog {
public:
    static HeadlessRunLog& Instance();

    // Starts writing to the file (replacing what it held); false with the host's reason when it cannot.
    bool Open(const std::string& path, std::string& reason);
    // Stops writing; for tests.
    void Close();
    bool IsOpen();

    // "box CAPTION|TEXT -> ANSWER", a line break in either text (LF, CR LF or CR) written as \n.
    static std::string BoxLine(std::string_view caption, std::string_view text, const char* answer);
    void Box(std::string_view caption, std::string_view text, const char* answer);
    void Restore();
    void Snapshot(std::string_view file);
    void Exit(int code);

private:
    HeadlessRunLog() = default;
    void Write(const std::string& line);

    std::mutex m_lock;
    std::FILE* m_file = nullptr;
};

// Ends the program at once with exit code 2, for a run that cannot go on: the message on the standard error,
// and "exit 2" as the log's last line when there is a log.
[[noreturn]] void EndRun(const std::string& message);

} // namespace win32
