#include "platform/win32/desktop/HostDisplay.h"
#include "runtime/product/QuorvenApp.h"
#include "script/WinMain.h"

#include <cstdio>
#include <cstring>
#include <string>

// The program's one application object, made before main runs; WinMain's run function finds it as the
// current application.
static QuorvenApp g_application;

namespace {

constexpr const char* kUsage =
    "usage: quorven - runs the title registered with scripts/register-title TITLE-FOLDER "
    "[--store FILE] (installed: quorven-register-title; registry store: VEMO_REGISTRY, default "
    "$XDG_CONFIG_HOME/vemo/registry.txt)";

} // namespace

int main(int argumentCount, char** arguments) {
    // Answered before the program starts: no single-instance guard, window or registry is touched.
    if (argumentCount >= 2 && std::strcmp(arguments[1], "--help") == 0) {
        std::puts(kUsage);
        return 0;
    }
    // Other words go to the title whole, as its command line; an option is meant for this program, which
    // has no other.
    for (int i = 1; i < argumentCount; ++i) {
        if (arguments[i][0] == '-') {
            std::fprintf(stderr,
                         "quorven: unknown option %s on the command line; quorven --help shows the usage\n",
                         arguments[i]);
            return 2;
        }
    }
    // Before the title's window or files are touched: a player who would see no window (an SSH session, a
    // stale DISPLAY) is told so at once rather than left waiting for one.
    std::string failure;
    if (!win32::OpenHostDisplay(failure)) {
        std::fprintf(stderr, "quorven: %s\n", failure.c_str());
        return kExitFailure;
    }
    return HostMain(argumentCount, arguments);
}
