#include "resources/ResourceEngineHook.h"

namespace Vemo {

namespace {

constinit ResourceEngineHook* g_installedHook = nullptr;

} // namespace

ResourceEngineHook::~ResourceEngineHook() = default;

bool ResourceEngineHook::Startup() {
    return true;
}

bool ResourceEngineHook::Shutdown() {
    return true;
}

bool ResourceEngineHook::Install() {
    return InstallHook(g_installedHook, [] { return new ResourceEngineHook(); });
}

bool ResourceEngineHook::Uninstall() {
    return UninstallHook(g_installedHook);
}

ResourceEngineHook* ResourceEngineHook::Installed() {
    return g_installedHook;
}

} // namespace Vemo
