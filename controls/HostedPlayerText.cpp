#include "controls/HostedPlayerText.h"

#include "platform/win32/Handle.h"
#include "platform/win32/files/File.h"
#include "platform/win32/kernel/StringConversion.h"
#include "resources/error/Error.h"
#include "resources/storage/Path.h"
#include "runtime/application/MultimediaApplication.h"
#include "runtime/screen/Control.h"

#include <vector>

namespace HostedPlayerText {

com::BSTR ToBstr(const Vemo::String& text) {
    const int length = static_cast<int>(text.Length());
    if (length == 0) {
        return com::SysAllocStringLen(nullptr, 0);
    }
    std::vector<com::OLECHAR> wide(static_cast<std::size_t>(length));
    const int written = win32::MultiByteToWideChar(0, 0, text.CStr(), length, wide.data(), length);
    return com::SysAllocStringLen(wide.data(), static_cast<com::UINT>(written > 0 ? written : 0));
}

Vemo::String Narrow(com::BSTR text) {
    Vemo::String narrow;
    if (text == nullptr) {
        return narrow;
    }
    const com::UINT length = com::SysStringLen(text);
    for (com::UINT index = 0; index < length; ++index) {
        narrow.Append(1, static_cast<char>(text[index] & 0xFF));
    }
    return narrow;
}

com::BSTR BstrArgument(const com::VARIANT& argument) {
    return (argument.vt & com::VT_BYREF) != 0 ? *argument.pbstrVal : argument.bstrVal;
}

unsigned IntegerArgument(const com::VARIANT& argument) {
    return static_cast<unsigned>((argument.vt & com::VT_BYREF) != 0 ? *argument.plVal : argument.lVal);
}

bool FindFullPath(const Fragment& name, Vemo::String& fullPath) {
    MultimediaApplication* application = MultimediaApplication::Instance();
    if (application == nullptr) {
        RaiseError(Control::kErrorFailure);
        return false;
    }
    Vemo::Path found;
    if (!application->FindFile(name, found, true)) {
        return false;
    }
    found.GetText(fullPath, true, true);
    return true;
}

bool ResolveMovie(const Fragment& name, Vemo::String& path) {
    path = Vemo::String();
    if (name.GetText().Length() == 0) {
        return true;
    }
    if (!FindFullPath(name, path)) {
        RaiseError(Control::kErrorFailure);
        return false;
    }
    return true;
}

bool ReadText(const Vemo::String& path, std::uint32_t limit, Vemo::String& text) {
    text = Vemo::String();
    win32::HANDLE file = win32::CreateFileA(path.CStr(), win32::GENERIC_READ, win32::FILE_SHARE_READ, nullptr,
                                            win32::OPEN_EXISTING, 0, nullptr);
    if (file == win32::INVALID_HANDLE_VALUE) {
        return false;
    }
    // A CR read last is held back until the next byte shows whether it begins a CR LF.
    bool pendingReturn = false;
    char buffer[1024];
    win32::DWORD read = 0;
    while (text.Length() < limit && win32::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) &&
           read > 0) {
        for (win32::DWORD index = 0; index < read && text.Length() < limit; ++index) {
            if (pendingReturn) {
                pendingReturn = false;
                if (buffer[index] == '\n') {
                    text.Append(1, '\n');
                    continue;
                }
                text.Append(1, '\r');
                if (text.Length() == limit) {
                    break;
                }
            }
            if (buffer[index] == '\r') {
                pendingReturn = true;
            } else {
                text.Append(1, buffer[index]);
            }
        }
    }
    if (pendingReturn && text.Length() < limit) {
        text.Append(1, '\r');
    }
    win32::CloseHandle(file);
    return true;
}

bool AnnounceWord(Control& control, const Vemo::String& word) {
    Vemo::BasicArray<Fragment> message;
    message.PushBack(Fragment(SubString(word), false));
    const std::uint32_t serialNumber = control.GetSerialNumber();
    const Messenger::MessengerList subscribers = control.GetSubscribers();
    const bool handled = control.HandleFragment(message, &control);
    if (Control::FindLive(serialNumber) != &control) {
        return handled;
    }
    return control.DeliverToList(message, subscribers) && handled;
}

void AnnounceReadyState(Control& control, unsigned state) {
    const Vemo::String word = ReadyStateWord(state);
    if (!word.IsEmpty()) {
        AnnounceWord(control, word);
    }
}

void Redraw(win32::HWND window) {
    if (window != nullptr) {
        win32::InvalidateRect(window, nullptr, win32::FALSE);
        win32::UpdateWindow(window);
    }
}

Vemo::String ReadyStateWord(unsigned state) {
    static const char* const kWords[] = {
        "ExternalEvent.ReadyStateUnInitialized", "ExternalEvent.ReadyStateLoading.",
        "ExternalEvent.ReadyStateLoaded",        "ExternalEvent.ReadyInactive",
        "ExternalEvent.ReadyComplete",
    };
    return state < 5 ? Vemo::String(kWords[state]) : Vemo::String();
}

} // namespace HostedPlayerText
