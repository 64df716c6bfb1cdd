// The program's entry road: WinMain hands the whole command line to RunApplication, which drives the current
// application object through Initialize, Run and Shutdown and turns the outcome into the process exit code.
#pragma once

#include "foundation/BasicArray.h"
#include "foundation/String.h"
#include "platform/win32/Types.h"

// Process exit codes of RunApplication.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitNoApplication = 1;
// Initialize, Run (the exit-success flag cleared) or Shutdown failed.
inline constexpr int kExitFailure = 2;
inline constexpr int kExitException = 3;
inline constexpr int kExitAllocationFailure = 4;

// While it runs, a failed allocation throws the run function's own allocation failure (a std::bad_alloc),
// which gives exit code 4 when it reaches here; any other exception gives 3. Both are reported when the
// error system exists. Shutdown runs after a failed Initialize and after an exception too, and its failure
// gives 2 whatever the code was; an exception out of Shutdown is handled as one out of Initialize or Run.
int RunApplication(const Vemo::BasicArray<Vemo::String>& arguments);

// Stores the handles and the show command for the application to take, and runs it with one argument: the
// whole command line as GetCommandLineA gives it, unsplit. The command-line parameter is not read.
int WinMain(win32::HINSTANCE instance, win32::HINSTANCE previousInstance, win32::LPSTR commandLine,
            int showCommand);

// The entry on a host that starts programs with split arguments: records them as the process's command line,
// then takes the WinMain road with the program's instance handle. A program's main is this one call.
int HostMain(int argumentCount, char** arguments);
