#include "resources/storage/Process.h"

#include "platform/win32/Handle.h"
#include "platform/win32/kernel/Process.h"

#include <string>

namespace Vemo {

Process::Process() = default;

Process::~Process() {
    if (m_process != nullptr) {
        win32::CloseHandle(m_process);
        m_processId = 0;
    }
}

bool Process::Start(const Path& program) {
    String text;
    program.GetText(text, true, true);

    win32::STARTUPINFOA startup{};
    startup.cb = win32::kStartupInfoSize;
    win32::GetStartupInfoA(&startup);

    // The program is named apart from the command line, so that a path with spaces cannot be taken for a
    // shorter program followed by arguments; the command line carries it quoted as the child's first
    // argument.
    std::string commandLine = "\"";
    commandLine.append(text.CStr()).append("\"");

    win32::PROCESS_INFORMATION started{};
    if (!win32::CreateProcessA(text.CStr(), commandLine.data(), nullptr, nullptr, win32::FALSE,
                               win32::NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &started)) {
        return false;
    }
    win32::CloseHandle(started.hThread);
    if (m_process != nullptr) {
        win32::CloseHandle(m_process);
    }
    m_process = started.hProcess;
    m_processId = started.dwProcessId;
    m_path.Assign(program);
    return true;
}

std::uint32_t Process::ProcessId() {
    return m_processId;
}

bool Process::GetPath(Path& out) {
    out.Assign(m_path);
    return true;
}

} // namespace Vemo
