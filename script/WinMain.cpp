#include "script/WinMain.h"

#include "platform/win32/kernel/CommandLine.h"
#include "platform/win32/kernel/Module.h"
#include "platform/win32/windows/Window.h"
#include "resources/SystemAccessors.h"
#include "resources/error/Error.h"
#include "script/Application.h"
#include "script/Win32Application.h"

#include <new>

namespace {

constexpr std::size_t kReserveSize = 4096;

// The allocation failure thrown by the run function's handler, told apart from every other exception (a
// std::bad_alloc thrown by other code among them) by its type.
class AllocationFailure : public std::bad_alloc {
public:
    const char* what() const noexcept override { return "bad allocation"; }
};

const AllocationFailure g_allocationFailure;

[[noreturn]] void OnAllocationFailure() {
    throw g_allocationFailure;
}

void ReportIfErrorSystemExists(Vemo::ErrorCode code) {
    if (Vemo::GetErrorSystem() != nullptr) {
        RaiseError(code);
    }
}

// Released before the failure is reported, so that the report itself can allocate.
class Reserve {
public:
    Reserve() : m_block(new (std::nothrow) char[kReserveSize]) {}
    Reserve(const Reserve&) = delete;
    Reserve& operator=(const Reserve&) = delete;
    ~Reserve() { Free(); }

    void Free() {
        delete[] m_block;
        m_block = nullptr;
    }

private:
    char* m_block;
};

// Runs one life-cycle step with the exceptions that leave it turned into exit codes: the code of the step's
// result, or 4 for the handler's allocation failure and 3 for anything else.
template <class Operation>
int Guarded(Reserve& reserve, Operation operation) {
    try {
        return operation();
    } catch (const AllocationFailure&) {
        reserve.Free();
        ReportIfErrorSystemExists(Vemo::Application::kErrorAllocationFailure);
        return kExitAllocationFailure;
    } catch (...) {
        reserve.Free();
        ReportIfErrorSystemExists(Vemo::Application::kErrorException);
        return kExitException;
    }
}

} // namespace

int RunApplication(const Vemo::BasicArray<Vemo::String>& arguments) {
    const std::new_handler previous = std::set_new_handler(OnAllocationFailure);
    Vemo::Application* application = Vemo::GetApplication();
    if (application == nullptr) {
        std::set_new_handler(previous);
        return kExitNoApplication;
    }
    Reserve reserve;
    int result = Guarded(reserve, [&] {
        return (application->Initialize(arguments) && application->Run()) ? kExitSuccess : kExitFailure;
    });
    reserve.Free();
    const int shutdown =
        Guarded(reserve, [&] { return application->Shutdown() ? kExitSuccess : kExitFailure; });
    if (shutdown != kExitSuccess) {
        result = shutdown;
    }
    std::set_new_handler(previous);
    return result;
}

int WinMain(win32::HINSTANCE instance, win32::HINSTANCE previousInstance, win32::LPSTR, int showCommand) {
    Vemo::Win32Application::SetProcessValues(instance, previousInstance, showCommand);
    Vemo::BasicArray<Vemo::String> arguments;
    arguments.PushBack(Vemo::String(win32::GetCommandLineA()));
    return RunApplication(arguments);
}

int HostMain(int argumentCount, char** arguments) {
    win32::seam::SetCommandLineArguments(argumentCount, arguments);
    // WinMain's parameter is the command line after the program and the blanks that follow it.
    win32::LPSTR commandLine = win32::GetCommandLineA();
    const bool quoted = *commandLine == '"';
    char* c = commandLine + (quoted ? 1 : 0);
    while (*c != '\0' && (quoted ? *c != '"' : *c != ' ' && *c != '\t')) {
        ++c;
    }
    if (quoted && *c == '"') {
        ++c;
    }
    while (*c == ' ' || *c == '\t') {
        ++c;
    }
    return WinMain(win32::GetModuleHandleA(nullptr), nullptr, c, win32::SW_SHOWDEFAULT);
}
