// The backend without a display: windows exist only in the window system, input comes from platform/testing,
// and the pictures presented for windows stay in the frame store for platform/testing to read.
#pragma once

#include "platform/video/VideoBackend.h"

namespace video {

class HeadlessVideoBackend : public VideoBackend {
public:
    // The desktop a maximised or default-sized window is measured against.
    static constexpr win32::SIZE kDesktopSize{1920, 1080};

    const char* Name() const override { return "headless"; }
    bool OwnsCurrentThread() const override { return false; }
    bool CreateNative(win32::HWND, const NativeWindowSpec&) override { return true; }
    void DestroyNative(win32::HWND) override {}
    void ShowNative(win32::HWND, NativeShow) override {}
    void SetNativeTitle(win32::HWND, const char*) override {}
    void RaiseNative(win32::HWND) override {}
    void PumpEvents() override {}
    bool NeedsPolling() const override { return false; }
    win32::SIZE DesktopSize() const override { return m_desktop; }
    void MoveNative(win32::HWND, const win32::RECT&) override {}
    void RestyleNative(win32::HWND, const NativeWindowSpec&) override {}
    void CaptureNative(win32::HWND) override {}
    std::optional<Frame> ReadShown(win32::HWND window) override;
    // Answers as platform/video/HeadlessMessageBoxes.h says.
    int ShowMessageBox(const MessageBoxSpec& box, std::string& failure) override;
    void ShowPointer(bool) override {}

    void SetDesktopSize(win32::SIZE size) { m_desktop = size; }

private:
    win32::SIZE m_desktop = kDesktopSize;
};

} // namespace video
