// Window message numbers and the constants that travel with them (virtual keys, mouse key flags, system
// commands, show commands, activation states). The values are those that the runtime's dispatch tables and
// the scripts' key names expect.
#pragma once

#include "platform/win32/Types.h"

namespace win32 {

// Messages.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_ACTIVATEAPP = 0x001C;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_GETMINMAXINFO = 0x0024;
constexpr UINT WM_POWER = 0x0048;
constexpr UINT WM_DISPLAYCHANGE = 0x007E;
constexpr UINT WM_NCCREATE = 0x0081;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCHAR = 0x0106;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_CTLCOLOREDIT = 0x0133;
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
// High word of wParam: the wheel's turn in WHEEL_DELTA units a notch, forward positive; lParam: the cursor in
// screen coordinates.
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_ENTERMENULOOP = 0x0211;
constexpr UINT WM_EXITMENULOOP = 0x0212;
// Sent to the window that loses the mouse capture; lParam is the window that takes it (null when none does).
constexpr UINT WM_CAPTURECHANGED = 0x0215;
constexpr UINT WM_POWERBROADCAST = 0x0218;
constexpr UINT WM_ENTERSIZEMOVE = 0x0231;
constexpr UINT WM_EXITSIZEMOVE = 0x0232;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

constexpr UINT WM_KEYFIRST = WM_KEYDOWN;
constexpr UINT WM_KEYLAST = 0x0109;
constexpr UINT WM_MOUSEFIRST = WM_MOUSEMOVE;
constexpr UINT WM_MOUSELAST = 0x020E;

// Answer to WM_POWERBROADCAST that refuses a suspend request.
constexpr LRESULT BROADCAST_QUERY_DENY = 0x424D5144;

constexpr SHORT WHEEL_DELTA = 120;

// WM_ACTIVATE states (low word of wParam).
constexpr WORD WA_INACTIVE = 0;
constexpr WORD WA_ACTIVE = 1;
constexpr WORD WA_CLICKACTIVE = 2;

// WM_SIZE sizing types.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;

// WM_SYSCOMMAND commands; the low four bits of wParam are the system's own and are masked off by receivers.
constexpr WPARAM SC_SIZE = 0xF000;
constexpr WPARAM SC_MOVE = 0xF010;
constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_MAXIMIZE = 0xF030;
constexpr WPARAM SC_CLOSE = 0xF060;
// The keyboard asks for the window menu (Alt pressed and released alone).
constexpr WPARAM SC_KEYMENU = 0xF100;
constexpr WPARAM SC_RESTORE = 0xF120;
constexpr WPARAM SC_SCREENSAVE = 0xF140;
constexpr WPARAM SC_MONITORPOWER = 0xF170;

// WM_COMMAND identifiers of the standard dialog buttons.
constexpr WORD IDOK = 1;
constexpr WORD IDCANCEL = 2;

// Mouse key flags in wParam of the mouse messages.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

// Virtual keys.
constexpr BYTE VK_LBUTTON = 0x01;
constexpr BYTE VK_RBUTTON = 0x02;
constexpr BYTE VK_CANCEL = 0x03;
constexpr BYTE VK_MBUTTON = 0x04;
constexpr BYTE VK_BACK = 0x08;
constexpr BYTE VK_TAB = 0x09;
constexpr BYTE VK_CLEAR = 0x0C;
constexpr BYTE VK_RETURN = 0x0D;
constexpr BYTE VK_SHIFT = 0x10;
constexpr BYTE VK_CONTROL = 0x11;
constexpr BYTE VK_MENU = 0x12;
constexpr BYTE VK_PAUSE = 0x13;
constexpr BYTE VK_CAPITAL = 0x14;
// The Japanese keyboard's input mode keys.
constexpr BYTE VK_KANA = 0x15;
constexpr BYTE VK_KANJI = 0x19;
constexpr BYTE VK_ESCAPE = 0x1B;
constexpr BYTE VK_CONVERT = 0x1C;
constexpr BYTE VK_NONCONVERT = 0x1D;
constexpr BYTE VK_SPACE = 0x20;
constexpr BYTE VK_PRIOR = 0x21;
constexpr BYTE VK_NEXT = 0x22;
constexpr BYTE VK_END = 0x23;
constexpr BYTE VK_HOME = 0x24;
constexpr BYTE VK_LEFT = 0x25;
constexpr BYTE VK_UP = 0x26;
constexpr BYTE VK_RIGHT = 0x27;
constexpr BYTE VK_DOWN = 0x28;
constexpr BYTE VK_SNAPSHOT = 0x2C;
constexpr BYTE VK_INSERT = 0x2D;
constexpr BYTE VK_DELETE = 0x2E;
// '0'-'9' and 'A'-'Z' are their own virtual keys.
constexpr BYTE VK_LWIN = 0x5B;
constexpr BYTE VK_RWIN = 0x5C;
constexpr BYTE VK_APPS = 0x5D;
constexpr BYTE VK_NUMPAD0 = 0x60;
constexpr BYTE VK_NUMPAD1 = 0x61;
constexpr BYTE VK_NUMPAD2 = 0x62;
constexpr BYTE VK_NUMPAD3 = 0x63;
constexpr BYTE VK_NUMPAD4 = 0x64;
constexpr BYTE VK_NUMPAD5 = 0x65;
constexpr BYTE VK_NUMPAD6 = 0x66;
constexpr BYTE VK_NUMPAD7 = 0x67;
constexpr BYTE VK_NUMPAD8 = 0x68;
constexpr BYTE VK_NUMPAD9 = 0x69;
constexpr BYTE VK_MULTIPLY = 0x6A;
constexpr BYTE VK_ADD = 0x6B;
constexpr BYTE VK_SUBTRACT = 0x6D;
constexpr BYTE VK_DECIMAL = 0x6E;
constexpr BYTE VK_DIVIDE = 0x6F;
constexpr BYTE VK_F1 = 0x70;
constexpr BYTE VK_F10 = 0x79;
constexpr BYTE VK_F12 = 0x7B;
constexpr BYTE VK_F24 = 0x87;
constexpr BYTE VK_NUMLOCK = 0x90;
constexpr BYTE VK_SCROLL = 0x91;
constexpr BYTE VK_LSHIFT = 0xA0;
constexpr BYTE VK_RSHIFT = 0xA1;
constexpr BYTE VK_LCONTROL = 0xA2;
constexpr BYTE VK_RCONTROL = 0xA3;
constexpr BYTE VK_LMENU = 0xA4;
constexpr BYTE VK_RMENU = 0xA5;
constexpr BYTE VK_OEM_1 = 0xBA;      // ;:
constexpr BYTE VK_OEM_PLUS = 0xBB;   // =+
constexpr BYTE VK_OEM_COMMA = 0xBC;  // ,<
constexpr BYTE VK_OEM_MINUS = 0xBD;  // -_
constexpr BYTE VK_OEM_PERIOD = 0xBE; // .>
constexpr BYTE VK_OEM_2 = 0xBF;      // /?
constexpr BYTE VK_OEM_3 = 0xC0;      // `~
constexpr BYTE VK_OEM_4 = 0xDB;      // [{
constexpr BYTE VK_OEM_5 = 0xDC;      // \|
constexpr BYTE VK_OEM_6 = 0xDD;      // ]}
constexpr BYTE VK_OEM_7 = 0xDE;      // '"
constexpr BYTE VK_OEM_102 = 0xE2;    // the extra key beside left shift

// Key data (lParam) of the key messages: repeat count in bits 0-15, scan code in 16-23, extended key in 24,
// Alt held in 29, key previously down in 30, key being released in 31.
constexpr LPARAM KF_EXTENDED_BIT = LPARAM(1) << 24;
constexpr LPARAM KF_ALTDOWN_BIT = LPARAM(1) << 29;
constexpr LPARAM KF_REPEAT_BIT = LPARAM(1) << 30;
constexpr LPARAM KF_UP_BIT = LPARAM(1) << 31;

} // namespace win32
