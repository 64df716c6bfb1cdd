#include "platform/web/ShockwaveFlash.h"
#include "platform/web/WebBrowserObject.h"
#include "platform/web/WebView.h"
#include "platform/win32/desktop/HostDisplay.h"
#include "platform/win32/kernel/TerminationSignals.h"
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
        if (!web::EngineBuiltIn()) {
            std::puts(
                "quorven: built without the web engine (VEMO_WEB=OFF): the web browser and Flash controls "
                "are off and announce FlashNotInstalled");
        }
        return 0;
    }
    // The program runs the title the registry names and nothing else: a word given to it, often a title's
    // folder, would otherwise be passed over in silence.
    if (argumentCount >= 2) {
        if (arguments[1][0] == '-') {
            std::fprintf(stderr,
                         "quorven: unknown option %s on the command line; quorven --help shows the usage\n",
                         arguments[1]);
        } else {
            std::fprintf(
                stderr,
                "quorven: unknown word %s on the command line; quorven takes no title there, it runs "
                "the one registered with quorven-register-title TITLE-FOLDER (scripts/register-title "
                "in the source tree)\n",
                arguments[1]);
        }
        return 2;
    }
    // Before the title's window or files are touched: a player who would see no window (an SSH session, a
    // stale DISPLAY) is told so at once rather than left waiting for one.
    std::string failure;
    if (!win32::OpenHostDisplay(failure)) {
        std::fprintf(stderr, "quorven: %s\n", failure.c_str());
        return kExitFailure;
    }
    // Ctrl+C, a closed terminal or a kill closes the title as its close box does, so that it saves and cleans
    // up; a second one ends it at once.
    if (!win32::CatchTerminationSignals()) {
        std::fprintf(stderr,
                     "quorven: cannot catch SIGTERM, SIGHUP and SIGINT; each ends the program at once, "
                     "without saving\n");
    }
    // The title's web browser and Flash player controls are the hosted web engine's (Flash through Ruffle).
    web::WebBrowserObject::Register();
    web::ShockwaveFlash::Register();
    return HostMain(argumentCount, arguments);
}
