// The GDI wrappers that take Strings.
#include "engines/font/win32/Win32GdiWrappers.h"
#include "platform/testing/GdiTesting.h"

#include <gtest/gtest.h>

#include <vector>

namespace VemoTest {
namespace {

using Vemo::String;

TEST(Win32GdiWrappersTest, CreateDCPassesNullStringsAsNull) {
    const std::size_t live = win32::testing::LiveDeviceContexts();
    const String display("display");
    const win32::HDC dc = Vemo::Win32CreateDC(&display, nullptr, nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(win32::GetDeviceCaps(dc, win32::LOGPIXELSY), 96);
    EXPECT_TRUE(win32::DeleteDC(dc));
    EXPECT_EQ(Vemo::Win32CreateDC(nullptr, &display, nullptr, nullptr), nullptr);
    const String printer("WINSPOOL");
    EXPECT_EQ(Vemo::Win32CreateDC(&printer, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(win32::testing::LiveDeviceContexts(), live);
}

// A String without text is an empty face name, which still gives a font.
TEST(Win32GdiWrappersTest, TheFontCallsAnswerAsGdiDoes) {
    const win32::HDC dc = win32::CreateCompatibleDC(nullptr);
    const win32::HFONT font =
        Vemo::Win32CreateFont(-16, 0, 0, 0, win32::FW_NORMAL, 0, 0, 0, win32::DEFAULT_CHARSET, 0, 0,
                              win32::NONANTIALIASED_QUALITY, 0, String());
    ASSERT_NE(font, nullptr);
    const win32::HGDIOBJ previous = win32::SelectObject(dc, font);
    win32::TEXTMETRICA metrics{};
    EXPECT_TRUE(Vemo::Win32GetTextMetrics(dc, &metrics));
    EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, 16);
    win32::ABC widths{};
    EXPECT_TRUE(Vemo::Win32GetCharABCWidths(dc, 'A', 'A', &widths));
    win32::GLYPHMETRICS glyph{};
    const win32::MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    EXPECT_EQ(Vemo::Win32GetGlyphOutline(dc, 'A', win32::GGO_METRICS, &glyph, 0, nullptr, &identity), 0u);
    EXPECT_EQ(widths.abcB, glyph.gmBlackBoxX);
    EXPECT_EQ(Vemo::Win32GetGlyphOutline(dc, 'A', win32::GGO_METRICS, &glyph, 0, nullptr, nullptr),
              win32::GDI_ERROR);
    const win32::DWORD pairs = Vemo::Win32GetKerningPairs(dc, 0, nullptr);
    std::vector<win32::KERNINGPAIR> kerning(pairs + 1);
    EXPECT_EQ(Vemo::Win32GetKerningPairs(dc, pairs + 1, kerning.data()), pairs);
    win32::SelectObject(dc, previous);
    win32::DeleteObject(font);
    win32::DeleteDC(dc);
}

} // namespace
} // namespace VemoTest
