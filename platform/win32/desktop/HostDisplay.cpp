#include "platform/win32/desktop/HostDisplay.h"

#include "platform/video/VideoBackend.h"
#include "platform/win32/windows/WindowSystem.h"

#include <utility>

namespace win32 {

bool OpenHostDisplay(std::string& failure) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    if (system.BackendIfChosen() != nullptr) {
        return true;
    }
    video::VideoChoice choice = video::ChooseVideoBackend();
    if (!choice.failure.empty()) {
        failure = std::move(choice.failure);
        return false;
    }
    system.ReplaceBackend(std::move(choice.backend));
    return true;
}

} // namespace win32
