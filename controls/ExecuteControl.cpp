#include "controls/ExecuteControl.h"

#include "platform/win32/Handle.h"
#include "platform/win32/desktop/Shell.h"
#include "platform/win32/windows/Window.h"
#include "resources/error/Error.h"
#include "runtime/application/MultimediaApplication.h"
#include "runtime/application/WindowFunctions.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"

namespace {

const MessengerFactory::Registrar g_executeRegistrar(ExecuteControl::ClassWord(), &ExecuteControl::Create);

enum Word : unsigned { kWordExecute, kWordExecuteAndWait, kWordOther };

const KeywordIds<unsigned>& MessageWords() {
    static const KeywordIds<unsigned>* const words = new KeywordIds<unsigned>(
        {{"Execute", kWordExecute}, {"ExecuteAndWait", kWordExecuteAndWait}}, kWordOther);
    return *words;
}

// The window behind the application's viewport, or null.
win32::HWND TitleWindow() {
    MultimediaApplication* application = MultimediaApplication::Instance();
    return application != nullptr ? GetViewportWindowHandle(application->GetViewport()) : nullptr;
}

} // namespace

ExecuteControl::ExecuteControl(const Vemo::String& name, Messenger* owner, Script* script)
    : Control(name, owner, script) {}

ExecuteControl::~ExecuteControl() = default;

Messenger* ExecuteControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<ExecuteControl>(name, owner, script);
}

const Vemo::String& ExecuteControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("ExecuteControl");
    return *word;
}

Vemo::String ExecuteControl::GetClassName() const {
    return ClassWord();
}

bool ExecuteControl::ReadScript() {
    if (!Control::ReadScript()) {
        RaiseError(kErrorFailure);
        return false;
    }
    return true;
}

bool ExecuteControl::HandleMessage(const Fragment& message, Messenger* sender) {
    const unsigned word = MessageWords()[message.GetText()];
    if (word == kWordOther) {
        return Control::HandleMessage(message, sender);
    }
    Vemo::String file;
    FragmentStream(message.GetChildren()) >> file;
    if (file.IsEmpty()) {
        return true;
    }
    return Execute(file, word == kWordExecuteAndWait);
}

bool ExecuteControl::Execute(const Vemo::String& file, bool) {
    // What starts comes up above the title's full-screen window.
    win32::SetForegroundWindow(win32::GetDesktopWindow());
    win32::SHELLEXECUTEINFOA info{};
    info.cbSize = win32::kShellExecuteInfoSize;
    info.fMask = win32::SEE_MASK_NOCLOSEPROCESS | win32::SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = file.CStr();
    info.nShow = win32::SW_SHOWNORMAL;
    if (win32::ShellExecuteExA(&info)) {
        // Nobody waits for the program: its handle goes at once, and the shell reaps it when it ends.
        if (info.hProcess != nullptr) {
            win32::CloseHandle(info.hProcess);
        }
        return true;
    }
    const win32::HWND window = TitleWindow();
    if (window != nullptr) {
        win32::ShowWindow(window, win32::SW_RESTORE);
        win32::SetForegroundWindow(window);
        win32::SetActiveWindow(window);
    }
    ReceiveTextFrom(Vemo::String("ExecuteFailed"), SubString());
    return true;
}
