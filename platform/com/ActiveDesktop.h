// The shell's Active Desktop object, through which a wallpaper is set where the shell offers it. Linux has no
// such shell: CLSID_ActiveDesktop is registered only by tests, so the wallpaper falls back to
// SystemParametersInfoA.
#pragma once

#include "platform/com/Com.h"

namespace com {

struct WALLPAPEROPT {
    DWORD dwSize;
    DWORD dwStyle;
};

constexpr DWORD WPSTYLE_CENTER = 0;
constexpr DWORD WPSTYLE_TILE = 1;
constexpr DWORD WPSTYLE_STRETCH = 2;
constexpr DWORD AD_APPLY_ALL = 0x7;

class IActiveDesktop : public IUnknown {
public:
    virtual HRESULT ApplyChanges(DWORD flags) = 0;
    // The wallpaper's path into a buffer of size characters.
    virtual HRESULT GetWallpaper(WCHAR* wallpaper, UINT size, DWORD reserved) = 0;
    virtual HRESULT SetWallpaper(const WCHAR* wallpaper, DWORD reserved) = 0;
    virtual HRESULT SetWallpaperOptions(const WALLPAPEROPT* options, DWORD reserved) = 0;
};

extern const CLSID CLSID_ActiveDesktop;
extern const IID IID_IActiveDesktop;

} // namespace com
