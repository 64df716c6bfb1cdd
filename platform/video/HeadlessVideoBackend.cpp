#include "platform/video/HeadlessVideoBackend.h"

#include "platform/video/FrameStore.h"
#include "platform/video/HeadlessMessageBoxes.h"

namespace video {

std::optional<Frame> HeadlessVideoBackend::ReadShown(win32::HWND window) {
    return FrameStore::Instance().Shown(window);
}

int HeadlessVideoBackend::ShowMessageBox(const MessageBoxSpec& box, std::string&) {
    return HeadlessMessageBoxes::Instance().Answer(box);
}

} // namespace video
