// What the GDI tests share: DIB sections in memory DCs, fonts by name, and pixel reads.
#pragma once

#include "platform/testing/GdiTesting.h"
#include "platform/win32/gdi/Gdi.h"
#include "platform/win32/gdi/SystemPalette.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace win32::tests {

inline std::string FixtureFont(const char* name) {
    return testing::FixtureFontPath(name);
}

// A BITMAPV4HEADER followed by its colour table, as the engines pass it.
struct SectionHeader {
    BITMAPV4HEADER header{};
    RGBQUAD colors[256]{};

    SectionHeader(int width, int height, int bitsPerPixel, std::span<const RGBQUAD> palette = {}) {
        header.bV4Size = sizeof(BITMAPV4HEADER);
        header.bV4Width = width;
        header.bV4Height = height;
        header.bV4Planes = 1;
        header.bV4BitCount = static_cast<WORD>(bitsPerPixel);
        header.bV4V4Compression = BI_RGB;
        if (palette.empty()) {
            palette = FixedPalette(static_cast<unsigned>(bitsPerPixel));
        }
        std::copy(palette.begin(), palette.end(), colors);
        header.bV4ClrUsed = bitsPerPixel <= 8 ? static_cast<DWORD>(palette.size()) : 0;
    }

    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(this); }
};

// A DIB section selected into a memory DC for the object's life; rows top-down unless asked otherwise.
class DibDc {
public:
    DibDc(int width, int height, int bitsPerPixel, bool topDown = true, std::span<const RGBQUAD> palette = {})
        : m_width(width), m_height(height), m_bitsPerPixel(bitsPerPixel), m_topDown(topDown) {
        SectionHeader header(width, topDown ? -height : height, bitsPerPixel, palette);
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(nullptr, header.Info(), DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<std::uint8_t*>(bits);
        m_dc = CreateCompatibleDC(nullptr);
        m_previous = SelectObject(m_dc, m_bitmap);
    }
    ~DibDc() {
        SelectObject(m_dc, m_previous);
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
    }
    DibDc(const DibDc&) = delete;
    DibDc& operator=(const DibDc&) = delete;

    bool Valid() const { return m_bitmap != nullptr && m_dc != nullptr && m_previous != nullptr; }
    HDC Dc() const { return m_dc; }
    HBITMAP Bitmap() const { return m_bitmap; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    std::size_t RowBytes() const {
        return (static_cast<std::size_t>(m_width) * m_bitsPerPixel + 31) / 32 * 4;
    }
    // The bytes of a row counted from the top of the picture.
    std::uint8_t* Row(int y) const {
        return m_bits + RowBytes() * static_cast<std::size_t>(m_topDown ? y : m_height - 1 - y);
    }
    std::uint8_t* Bits() const { return m_bits; }

    // 32-bit sections only.
    COLORREF Pixel(int x, int y) const {
        const std::uint8_t* pixel = Row(y) + 4 * x;
        return RGB(pixel[2], pixel[1], pixel[0]);
    }
    // 8-bit sections only.
    std::uint8_t Index(int x, int y) const { return Row(y)[x]; }

    void Fill(COLORREF color) {
        HBRUSH brush = CreateSolidBrush(color);
        RECT all{0, 0, m_width, m_height};
        FillRect(m_dc, &all, brush);
        DeleteObject(brush);
    }

    // The smallest rectangle holding every pixel that is not the colour (32-bit sections); empty when none
    // is.
    RECT InkBounds(COLORREF background) const {
        RECT bounds{m_width, m_height, 0, 0};
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                if (Pixel(x, y) != background) {
                    bounds = RECT{std::min<LONG>(bounds.left, x), std::min<LONG>(bounds.top, y),
                                  std::max<LONG>(bounds.right, x + 1), std::max<LONG>(bounds.bottom, y + 1)};
                }
            }
        }
        return bounds.left >= bounds.right ? RECT{0, 0, 0, 0} : bounds;
    }

private:
    int m_width;
    int m_height;
    int m_bitsPerPixel;
    bool m_topDown;
    HBITMAP m_bitmap = nullptr;
    std::uint8_t* m_bits = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_previous = nullptr;
};

inline HFONT MakeFont(const char* face, int height, BYTE quality = ANTIALIASED_QUALITY,
                      int weight = FW_NORMAL, bool italic = false, bool underline = false, int width = 0) {
    return CreateFontA(height, width, 0, 0, weight, italic, underline, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, quality, 0, face);
}

// A font selected into a DC for the object's life.
class SelectedFont {
public:
    SelectedFont(HDC dc, HFONT font) : m_dc(dc), m_font(font), m_previous(SelectObject(dc, font)) {}
    ~SelectedFont() {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_font);
    }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

    bool Valid() const { return m_font != nullptr && m_previous != nullptr; }
    HFONT Font() const { return m_font; }
    TEXTMETRICA Metrics() const {
        TEXTMETRICA metrics{};
        EXPECT_TRUE(GetTextMetricsA(m_dc, &metrics));
        return metrics;
    }
    ABC Widths(BYTE code) const {
        ABC abc{};
        EXPECT_TRUE(GetCharABCWidthsA(m_dc, code, code, &abc));
        return abc;
    }
    int Advance(BYTE code) const {
        ABC abc = Widths(code);
        return abc.abcA + static_cast<int>(abc.abcB) + abc.abcC;
    }

private:
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_previous;
};

// Leaves no failure behind and checks that the test left no object or DC alive.
class GdiTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_objects = testing::LiveGdiObjects();
        m_dcs = testing::LiveDeviceContexts();
    }
    void TearDown() override {
        testing::ClearGdiFailures();
        EXPECT_EQ(testing::LiveGdiObjects(), m_objects);
        EXPECT_EQ(testing::LiveDeviceContexts(), m_dcs);
    }

private:
    std::size_t m_objects = 0;
    std::size_t m_dcs = 0;
};

} // namespace win32::tests
