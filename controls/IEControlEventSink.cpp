#include "controls/IEControlEventSink.h"

#include "controls/IEControl.h"
#include "platform/com/WebBrowser.h"

IEControlEventSink::IEControlEventSink(IEControl& owner)
    : HostedEventSink(1, com::DIID_DWebBrowserEvents2, SinkMap(owner)) {}

std::vector<com::IDispEventImpl::SinkEntry> IEControlEventSink::SinkMap(IEControl& owner) {
    const Handler nothing = [](std::span<const com::VARIANT>) { return win32::S_OK; };
    const Handler download = [&owner](std::span<const com::VARIANT>) {
        owner.OnDownloadEvent();
        return win32::S_OK;
    };
    const Handler quit = [&owner](std::span<const com::VARIANT>) {
        owner.OnBrowserQuit();
        return win32::S_OK;
    };
    // StatusTextChange, ProgressChange, CommandStateChange, DownloadBegin, DownloadComplete, TitleChange,
    // PropertyChange, BeforeNavigate2, NewWindow2, NavigateComplete2, DocumentComplete, OnQuit, OnVisible,
    // OnToolBar, OnMenuBar, OnStatusBar, OnFullScreen, OnTheaterMode, WindowSetResizable, WindowSetLeft,
    // WindowSetTop, WindowSetWidth, WindowSetHeight, WindowClosing, ClientToHostWindow, SetSecureLockIcon,
    // FileDownload.
    const com::DISPID order[] = {102, 108, 105, 106, 104, 113, 112, 250, 251, 252, 259, 253, 254, 255,
                                 256, 257, 258, 260, 262, 264, 265, 266, 267, 263, 268, 269, 270};
    std::vector<SinkEntry> entries;
    for (const com::DISPID dispid : order) {
        const Handler& handler = dispid == 106 || dispid == 104 ? download : dispid == 253 ? quit : nothing;
        entries.push_back(SinkEntry{dispid, {}, handler});
    }
    return entries;
}
