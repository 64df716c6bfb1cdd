#include "platform/win32/input/KeyTable.h"
#include "platform/win32/WindowMessages.h"

#include <gtest/gtest.h>

#include <string>

namespace win32::tests {
namespace {

struct KeyCase {
    const char* name;
    WPARAM virtualKey;
    BYTE code;
};

// One key of every class the table maps, with the DirectInput code DirectInput gives it.
const KeyCase kKeys[] = {
    {"Escape", VK_ESCAPE, 0x01},
    {"Space", VK_SPACE, 0x39},
    {"A", 'A', 0x1E},
    {"Z", 'Z', 0x2C},
    {"Digit1", '1', 0x02},
    {"Digit0", '0', 0x0B},
    {"F1", VK_F1, 0x3B},
    {"F11", VK_F1 + 10, 0x57},
    {"F12", VK_F12, 0x58},
    {"Return", VK_RETURN, 0x1C},
    {"Back", VK_BACK, 0x0E},
    {"Tab", VK_TAB, 0x0F},
    {"Shift", VK_SHIFT, 0x2A},
    {"LeftShift", VK_LSHIFT, 0x2A},
    {"RightShift", VK_RSHIFT, 0x36},
    {"Control", VK_CONTROL, 0x1D},
    {"RightControl", VK_RCONTROL, 0x9D},
    {"Alt", VK_MENU, 0x38},
    {"RightAlt", VK_RMENU, 0xB8},
    {"Up", VK_UP, 0xC8},
    {"Left", VK_LEFT, 0xCB},
    {"Right", VK_RIGHT, 0xCD},
    {"Down", VK_DOWN, 0xD0},
    {"Home", VK_HOME, 0xC7},
    {"End", VK_END, 0xCF},
    {"PageUp", VK_PRIOR, 0xC9},
    {"PageDown", VK_NEXT, 0xD1},
    {"Insert", VK_INSERT, 0xD2},
    {"Delete", VK_DELETE, 0xD3},
    {"Numpad0", VK_NUMPAD0, 0x52},
    {"Numpad7", VK_NUMPAD7, 0x47},
    {"Multiply", VK_MULTIPLY, 0x37},
    {"Subtract", VK_SUBTRACT, 0x4A},
    {"Add", VK_ADD, 0x4E},
    {"Decimal", VK_DECIMAL, 0x53},
    {"Divide", VK_DIVIDE, 0xB5},
    {"LeftWindows", VK_LWIN, 0xDB},
    {"RightWindows", VK_RWIN, 0xDC},
    {"Applications", VK_APPS, 0xDD},
    {"NumLock", VK_NUMLOCK, 0x45},
    {"Pause", VK_PAUSE, 0xC5},
    {"ScrollLock", VK_SCROLL, 0x46},
    {"Kana", VK_KANA, 0x70},
    {"Kanji", VK_KANJI, 0x94},
    {"Convert", VK_CONVERT, 0x79},
    {"NoConvert", VK_NONCONVERT, 0x7B},
    {"LeftButton", VK_LBUTTON, 0},
    {"Clear", VK_CLEAR, 0},
    {"F24", VK_F24, 0},
    {"Above255", 0x100, 0},
    {"FarAbove255", 0x10001B, 0},
};

class KeyTableTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyTableTest, GivesTheDirectInputCodeOfTheKey) {
    EXPECT_EQ(ScanCodeOfVirtualKey(GetParam().virtualKey), GetParam().code);
    if (GetParam().virtualKey < 256) {
        EXPECT_EQ(VirtualKeyScanCodes()[GetParam().virtualKey], GetParam().code);
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyTableTest, ::testing::ValuesIn(kKeys),
                         [](const ::testing::TestParamInfo<KeyCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace win32::tests
