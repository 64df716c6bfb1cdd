#include "platform/win32/windows/Keyboard.h"

#include "platform/win32/WindowMessages.h"

#include <iterator>

namespace win32 {

namespace {

struct KeyRow {
    int usage;
    BYTE virtualKey;
    BYTE scanCode;
    bool extended;
};

// USB HID usages (keyboard page) with the virtual key and set-1 make code Windows reports for them. Rows that
// share a virtual key list the usual key first. DirectInput numbers the Kanji key 0x94, as extended 0x14.
constexpr KeyRow kKeys[] = {
    {4, 'A', 0x1E, false},           {5, 'B', 0x30, false},
    {6, 'C', 0x2E, false},           {7, 'D', 0x20, false},
    {8, 'E', 0x12, false},           {9, 'F', 0x21, false},
    {10, 'G', 0x22, false},          {11, 'H', 0x23, false},
    {12, 'I', 0x17, false},          {13, 'J', 0x24, false},
    {14, 'K', 0x25, false},          {15, 'L', 0x26, false},
    {16, 'M', 0x32, false},          {17, 'N', 0x31, false},
    {18, 'O', 0x18, false},          {19, 'P', 0x19, false},
    {20, 'Q', 0x10, false},          {21, 'R', 0x13, false},
    {22, 'S', 0x1F, false},          {23, 'T', 0x14, false},
    {24, 'U', 0x16, false},          {25, 'V', 0x2F, false},
    {26, 'W', 0x11, false},          {27, 'X', 0x2D, false},
    {28, 'Y', 0x15, false},          {29, 'Z', 0x2C, false},
    {30, '1', 0x02, false},          {31, '2', 0x03, false},
    {32, '3', 0x04, false},          {33, '4', 0x05, false},
    {34, '5', 0x06, false},          {35, '6', 0x07, false},
    {36, '7', 0x08, false},          {37, '8', 0x09, false},
    {38, '9', 0x0A, false},          {39, '0', 0x0B, false},
    {40, VK_RETURN, 0x1C, false},    {41, VK_ESCAPE, 0x01, false},
    {42, VK_BACK, 0x0E, false},      {43, VK_TAB, 0x0F, false},
    {44, VK_SPACE, 0x39, false},     {45, VK_OEM_MINUS, 0x0C, false},
    {46, VK_OEM_PLUS, 0x0D, false},  {47, VK_OEM_4, 0x1A, false},
    {48, VK_OEM_6, 0x1B, false},     {49, VK_OEM_5, 0x2B, false},
    {50, VK_OEM_5, 0x2B, false},     {51, VK_OEM_1, 0x27, false},
    {52, VK_OEM_7, 0x28, false},     {53, VK_OEM_3, 0x29, false},
    {54, VK_OEM_COMMA, 0x33, false}, {55, VK_OEM_PERIOD, 0x34, false},
    {56, VK_OEM_2, 0x35, false},     {57, VK_CAPITAL, 0x3A, false},
    {58, VK_F1, 0x3B, false},        {59, VK_F1 + 1, 0x3C, false},
    {60, VK_F1 + 2, 0x3D, false},    {61, VK_F1 + 3, 0x3E, false},
    {62, VK_F1 + 4, 0x3F, false},    {63, VK_F1 + 5, 0x40, false},
    {64, VK_F1 + 6, 0x41, false},    {65, VK_F1 + 7, 0x42, false},
    {66, VK_F1 + 8, 0x43, false},    {67, VK_F10, 0x44, false},
    {68, VK_F1 + 10, 0x57, false},   {69, VK_F12, 0x58, false},
    {70, VK_SNAPSHOT, 0x37, true},   {71, VK_SCROLL, 0x46, false},
    {72, VK_PAUSE, 0x45, false},     {73, VK_INSERT, 0x52, true},
    {74, VK_HOME, 0x47, true},       {75, VK_PRIOR, 0x49, true},
    {76, VK_DELETE, 0x53, true},     {77, VK_END, 0x4F, true},
    {78, VK_NEXT, 0x51, true},       {79, VK_RIGHT, 0x4D, true},
    {80, VK_LEFT, 0x4B, true},       {81, VK_DOWN, 0x50, true},
    {82, VK_UP, 0x48, true},         {83, VK_NUMLOCK, 0x45, true},
    {84, VK_DIVIDE, 0x35, true},     {85, VK_MULTIPLY, 0x37, false},
    {86, VK_SUBTRACT, 0x4A, false},  {87, VK_ADD, 0x4E, false},
    {88, VK_RETURN, 0x1C, true},     {89, VK_NUMPAD1, 0x4F, false},
    {90, VK_NUMPAD2, 0x50, false},   {91, VK_NUMPAD3, 0x51, false},
    {92, VK_NUMPAD4, 0x4B, false},   {93, VK_NUMPAD5, 0x4C, false},
    {94, VK_NUMPAD6, 0x4D, false},   {95, VK_NUMPAD7, 0x47, false},
    {96, VK_NUMPAD8, 0x48, false},   {97, VK_NUMPAD9, 0x49, false},
    {98, VK_NUMPAD0, 0x52, false},   {99, VK_DECIMAL, 0x53, false},
    {100, VK_OEM_102, 0x56, false},  {101, VK_APPS, 0x5D, true},
    {136, VK_KANA, 0x70, false},     {139, VK_NONCONVERT, 0x7B, false},
    {138, VK_CONVERT, 0x79, false},  {145, VK_KANJI, 0x14, true},
    {224, VK_CONTROL, 0x1D, false},  {225, VK_SHIFT, 0x2A, false},
    {226, VK_MENU, 0x38, false},     {227, VK_LWIN, 0x5B, true},
    {228, VK_CONTROL, 0x1D, true},   {229, VK_SHIFT, 0x36, false},
    {230, VK_MENU, 0x38, true},      {231, VK_RWIN, 0x5C, true},
};

struct Shifted {
    BYTE virtualKey;
    char plain;
    char shifted;
};

constexpr Shifted kPunctuation[] = {
    {VK_OEM_1, ';', ':'},      {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},
    {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},    {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},
    {VK_OEM_5, '\\', '|'},     {VK_OEM_6, ']', '}'},    {VK_OEM_7, '\'', '"'},    {VK_OEM_102, '\\', '|'},
};

constexpr char kShiftedDigits[] = ")!@#$%^&*(";

bool IsDown(const std::array<BYTE, 256>& state, BYTE key) {
    return (state[key] & 0x80) != 0;
}

} // namespace

KeyDescription DescribeUsage(int usage) {
    for (const KeyRow& row : kKeys) {
        if (row.usage == usage) {
            return {row.virtualKey, row.scanCode, row.extended};
        }
    }
    return {};
}

KeyDescription DescribeVirtualKey(BYTE virtualKey) {
    switch (virtualKey) {
    case VK_LSHIFT:
        return {VK_SHIFT, 0x2A, false};
    case VK_RSHIFT:
        return {VK_SHIFT, 0x36, false};
    case VK_LCONTROL:
        return {VK_CONTROL, 0x1D, false};
    case VK_RCONTROL:
        return {VK_CONTROL, 0x1D, true};
    case VK_LMENU:
        return {VK_MENU, 0x38, false};
    case VK_RMENU:
        return {VK_MENU, 0x38, true};
    default:
        break;
    }
    for (const KeyRow& row : kKeys) {
        if (row.virtualKey == virtualKey) {
            return {row.virtualKey, row.scanCode, row.extended};
        }
    }
    return {virtualKey, 0, false};
}

char CharacterFor(BYTE virtualKey, const std::array<BYTE, 256>& keyState) {
    bool shift = IsDown(keyState, VK_SHIFT);
    bool control = IsDown(keyState, VK_CONTROL);
    bool caps = (keyState[VK_CAPITAL] & 0x01) != 0;

    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        if (control) {
            return static_cast<char>(virtualKey - 'A' + 1);
        }
        return static_cast<char>(shift != caps ? virtualKey : virtualKey - 'A' + 'a');
    }
    if (control) {
        // Control with anything but a letter types nothing, save the keys that carry control codes anyway.
        switch (virtualKey) {
        case VK_BACK:
            return 0x7F;
        case VK_RETURN:
            return '\n';
        case VK_ESCAPE:
            return 0x1B;
        case VK_OEM_4:
            return 0x1B;
        case VK_OEM_5:
            return 0x1C;
        case VK_OEM_6:
            return 0x1D;
        default:
            return 0;
        }
    }
    if (virtualKey >= '0' && virtualKey <= '9') {
        return shift ? kShiftedDigits[virtualKey - '0'] : static_cast<char>(virtualKey);
    }
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9) {
        return static_cast<char>('0' + virtualKey - VK_NUMPAD0);
    }
    for (const Shifted& key : kPunctuation) {
        if (key.virtualKey == virtualKey) {
            return shift ? key.shifted : key.plain;
        }
    }
    switch (virtualKey) {
    case VK_SPACE:
        return ' ';
    case VK_RETURN:
        return '\r';
    case VK_BACK:
        return '\b';
    case VK_TAB:
        return '\t';
    case VK_ESCAPE:
        return 0x1B;
    case VK_MULTIPLY:
        return '*';
    case VK_ADD:
        return '+';
    case VK_SUBTRACT:
        return '-';
    case VK_DECIMAL:
        return '.';
    case VK_DIVIDE:
        return '/';
    default:
        return 0;
    }
}

void NoteKeyInState(std::array<BYTE, 256>& keyState, BYTE virtualKey, BYTE scanCode, bool extended,
                    bool down) {
    auto set = [&](BYTE key) {
        if (down) {
            // The toggle bit flips on each press, as caps lock and num lock show it.
            if (!IsDown(keyState, key)) {
                keyState[key] ^= 0x01;
            }
            keyState[key] |= 0x80;
        } else {
            keyState[key] &= 0x7F;
        }
    };
    // A shared modifier key is down while either of its two keys is.
    auto pair = [&](BYTE shared, BYTE side, BYTE left, BYTE right) {
        set(side);
        keyState[shared] =
            static_cast<BYTE>((keyState[shared] & 0x01) | ((keyState[left] | keyState[right]) & 0x80));
    };
    switch (virtualKey) {
    case VK_SHIFT:
        pair(VK_SHIFT, scanCode == 0x36 ? VK_RSHIFT : VK_LSHIFT, VK_LSHIFT, VK_RSHIFT);
        break;
    case VK_CONTROL:
        pair(VK_CONTROL, extended ? VK_RCONTROL : VK_LCONTROL, VK_LCONTROL, VK_RCONTROL);
        break;
    case VK_MENU:
        pair(VK_MENU, extended ? VK_RMENU : VK_LMENU, VK_LMENU, VK_RMENU);
        break;
    default:
        set(virtualKey);
        break;
    }
}

} // namespace win32
