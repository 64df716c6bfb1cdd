#include "platform/video/HeadlessVideoBackend.h"

#include "platform/video/FrameStore.h"

namespace video {

std::optional<Frame> HeadlessVideoBackend::ReadShown(win32::HWND window) {
    return FrameStore::Instance().Shown(window);
}

} // namespace video
