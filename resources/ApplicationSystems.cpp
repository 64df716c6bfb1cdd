#include "resources/ApplicationSystems.h"

namespace Vemo {

namespace {

// Constant-initialised, so it reads as null even from static initialisers that run before any constructor.
constinit ApplicationSystems* g_current = nullptr;

} // namespace

ApplicationSystems::~ApplicationSystems() {
    if (g_current == this) {
        g_current = nullptr;
    }
}

ApplicationSystems* ApplicationSystems::Current() {
    return g_current;
}

void ApplicationSystems::SetCurrent(ApplicationSystems* systems) {
    g_current = systems;
}

} // namespace Vemo
