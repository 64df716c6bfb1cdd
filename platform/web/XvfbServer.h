// An X server of the program's own, for a hosted web view when the program shows no window on a display of
// the player's (headless runs: tests, scripted runs). Started on first need, it lives until the program ends.
#pragma once

#include <string>

namespace web {

class XvfbServer {
public:
    // The display name (":N") of the program's server, started by the first call: Xvfb picks a free display
    // number and reports it (-displayfd). Empty, with one line saying why in whyNot, when Xvfb is not
    // installed or does not start within a few seconds; a later call tries again.
    static std::string Display(std::string& whyNot);

    // Whether an Xvfb program is on the PATH.
    static bool Installed();

private:
    // Ends the server and waits for it; at the program's exit.
    static void Stop();
};

} // namespace web
