#include "engines/font/win32/ConfigureTextDC.h"

#include "engines/font/FontErrorCodes.h"
#include "platform/win32/gdi/Gdi.h"

namespace Vemo {

namespace {

constexpr win32::COLORREF kWhite = 0xFFFFFF;
constexpr win32::COLORREF kBlack = 0;
constexpr int kCharacterExtraFailed = static_cast<int>(0x80000000u);

} // namespace

ErrorCode ConfigureTextDC(win32::HDC dc, TextDCUse use) {
    ErrorCode failed = 0;
    auto check = [&failed](bool ok, ErrorCode code) {
        if (!ok) {
            failed = code;
        }
    };
    const bool container = use == TextDCUse::Container;
    check(win32::SetMapMode(dc, win32::MM_TEXT) != 0, Win32FontEngineErrSetMapMode);
    if (container) {
        check(win32::SetBkColor(dc, kWhite) != win32::CLR_INVALID, Win32FontEngineErrSetBkColor);
    }
    check(win32::SetBkMode(dc, win32::TRANSPARENT) != 0, Win32FontEngineErrSetBkMode);
    check(win32::SetTextAlign(dc, win32::TA_LEFT | win32::TA_TOP | win32::TA_NOUPDATECP) != win32::GDI_ERROR,
          Win32FontEngineErrSetTextAlign);
    if (container) {
        check(win32::SetTextColor(dc, kBlack) != win32::CLR_INVALID, Win32FontEngineErrSetTextColor);
    }
    check(win32::SetTextCharacterExtra(dc, 0) != kCharacterExtraFailed,
          Win32FontEngineErrSetTextCharacterExtra);
    check(win32::SetTextJustification(dc, 0, 0) != 0, Win32FontEngineErrSetTextJustification);
    return failed;
}

} // namespace Vemo
