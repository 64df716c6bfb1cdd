#include "platform/win32/headless/HeadlessRunLog.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace win32 {

namespace {

// A Windows text breaks its lines with CR LF; a CR left in the log would break its one line an event.
std::string OneLine(std::string_view text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        if (c == '\n' || c == '\r') {
            line += "\\n";
        } else {
            line += c;
        }
    }
    return line;
}

} // namespace

HeadlessRunLog& HeadlessRunLog::Instance() {
    // Never destroyed: the exit line is written while the process ends.
    static HeadlessRunLog* log = new HeadlessRunLog;
    return *log;
}

bool HeadlessRunLog::Open(const std::string& path, std::string& reason) {
    std::lock_guard guard(m_lock);
    std::FILE* file = std::fopen(path.c_str(), "we");
    if (file == nullptr) {
        reason = std::strerror(errno);
        return false;
    }
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
    m_file = file;
    return true;
}

void HeadlessRunLog::Close() {
    std::lock_guard guard(m_lock);
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

bool HeadlessRunLog::IsOpen() {
    std::lock_guard guard(m_lock);
    return m_file != nullptr;
}

void HeadlessRunLog::Write(const std::string& line) {
    std::lock_guard guard(m_lock);
    if (m_file != nullptr) {
        std::fputs((line + "\n").c_str(), m_file);
        std::fflush(m_file);
    }
}

std::string HeadlessRunLog::BoxLine(std::string_view caption, std::string_view text, const char* answer) {
    return "box " + OneLine(caption) + "|" + OneLine(text) + " -> " + answer;
}

void HeadlessRunLog::Box(std::string_view caption, std::string_view text, const char* answer) {
    Write(BoxLine(caption, text, answer));
}

void HeadlessRunLog::Restore() {
    Write("restore");
}

void HeadlessRunLog::Snapshot(std::string_view file) {
    Write("snapshot " + std::string(file));
}

void HeadlessRunLog::Exit(int code) {
    Write("exit " + std::to_string(code));
}

void EndRun(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    HeadlessRunLog::Instance().Exit(2);
    std::_Exit(2);
}

} // namespace win32
