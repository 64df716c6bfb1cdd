#include "runtime/product/QuorvenApp.h"
#include "script/WinMain.h"

#include <cstdio>
#include <cstring>

// The program's one application object, made before main runs; WinMain's run function finds it as the
// current application.
static QuorvenApp g_application;

int main(int argumentCount, char** arguments) {
    // Answered before the program starts: no single-instance guard, window or registry is touched.
    if (argumentCount >= 2 && std::strcmp(arguments[1], "--help") == 0) {
        std::puts(
            "usage: quorven - runs the title registered with scripts/register-title TITLE-FOLDER "
            "[--store FILE] (registry store: VEMO_REGISTRY, default $XDG_CONFIG_HOME/vemo/registry.txt)");
        return 0;
    }
    return HostMain(argumentCount, arguments);
}
