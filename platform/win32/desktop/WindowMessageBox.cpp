#include "platform/video/HeadlessMessageBoxes.h"
#include "platform/video/VideoBackend.h"
#include "platform/win32/LastError.h"
#include "platform/win32/desktop/DrawnMessageBox.h"
#include "platform/win32/headless/HeadlessRunLog.h"
#include "platform/win32/windows/Window.h"
#include "platform/win32/windows/WindowSystem.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace win32 {

namespace {

// A test's switch: the host's box fails, as on an X server without the core fonts, so that the box the
// program draws itself shows.
bool HostBoxFails() {
    const char* setting = std::getenv("VEMO_TEST_HOST_BOX");
    return setting != nullptr && std::strcmp(setting, "fail") == 0;
}

} // namespace

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
    std::string failure = "VEMO_TEST_HOST_BOX=fail";
    int answer = HostBoxFails() && backend->OwnsCurrentThread() ? 0 : backend->ShowMessageBox(box, failure);
    if (answer == 0) {
        answer = ShowDrawnMessageBox(box);
    }
    if (answer == 0) {
        std::fprintf(stderr, "The message box \"%s\" could not be shown (%s): %s\n", box.caption.c_str(),
                     failure.c_str(), box.text.c_str());
        return 0;
    }
    HeadlessRunLog::Instance().Box(box.caption, box.text, video::AnswerWord(answer));
    return answer;
}

} // namespace win32
