#include "platform/video/HeadlessMessageBoxes.h"
#include "platform/video/VideoBackend.h"
#include "platform/win32/LastError.h"
#include "platform/win32/headless/HeadlessRunLog.h"
#include "platform/win32/windows/Window.h"
#include "platform/win32/windows/WindowSystem.h"

namespace win32 {

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    const UINT buttons = type & MB_TYPEMASK;
    if (buttons != MB_OK && buttons != MB_OKCANCEL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    video::MessageBoxSpec box;
    box.text = text != nullptr ? text : "";
    box.caption = caption != nullptr ? caption : "Error";
    box.buttons = buttons;
    box.type = type;
    video::VideoBackend* backend = nullptr;
    {
        WindowSystem& system = WindowSystem::Instance();
        std::lock_guard guard(system.Lock());
        box.owner = system.Find(owner, false) != nullptr ? system.TopLevelOf(owner) : nullptr;
        backend = &system.Backend();
    }
    const int answer = backend->ShowMessageBox(box);
    if (answer != 0) {
        HeadlessRunLog::Instance().Box(box.caption, box.text, video::AnswerWord(answer));
    }
    return answer;
}

} // namespace win32
