// The host object of one "AtlAxWin" window (platform/com/Atl.h). Internal to the platform layer.
#pragma once

#include "platform/com/Atl.h"
#include "platform/com/ComObject.h"
#include "platform/com/OleObject.h"

namespace com {

class AxHostWindow final : public ComObject<IAxWinHostWindow> {
public:
    // With one reference, which the window keeps until WM_NCDESTROY.
    static AxHostWindow* Create(HWND window);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    HRESULT CreateControl(LPCOLESTR text, HWND window, IStream* stream) override;
    HRESULT QueryControl(REFIID iid, void** object) override;

    // The window's client area changed size.
    void Resized(int width, int height);
    // The window is being destroyed: the control is closed and let go, and nothing more is created.
    void WindowDestroyed();

    static std::size_t LiveCount();

private:
    explicit AxHostWindow(HWND window);
    ~AxHostWindow() override;

    HRESULT Show(IUnknown* control);
    void ReleaseControl();
    RECT ClientRect() const { return RECT{0, 0, m_width, m_height}; }

    HWND m_window;
    int m_width = 0;
    int m_height = 0;
    IUnknown* m_control = nullptr;
    IOleObject* m_oleObject = nullptr; // the control's, while it is shown
};

} // namespace com
