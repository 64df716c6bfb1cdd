#include "platform/tests/GdiTestSupport.h"
#include "platform/win32/gdi/GdiSurface.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace win32::tests {
namespace {

// A section of every depth, stored either way up: rows rounded to 4 bytes, zeroed, and a fill of the second
// pixel of the top row written in the depth's own format (indexed depths take the nearest entry of the fixed
// tables: pure red is entry 9 of the 16 standard colours and the cube's entry 190 of the system palette).
struct Depth {
    int bits;
    std::size_t rowBytes; // of a section 5 pixels wide
    std::vector<std::uint8_t> topRow;
};

using DepthAndOrder = std::tuple<Depth, bool>;

class GdiSectionTest : public GdiTest, public ::testing::WithParamInterface<DepthAndOrder> {};

TEST_P(GdiSectionTest, RowsAreRoundedZeroedAndFilledInTheirFormat) {
    auto [depth, topDown] = GetParam();
    DibDc section(5, 3, depth.bits, topDown);
    ASSERT_TRUE(section.Valid());
    ASSERT_EQ(section.RowBytes(), depth.rowBytes);
    EXPECT_EQ(std::vector<std::uint8_t>(section.Bits(), section.Bits() + depth.rowBytes * 3),
              std::vector<std::uint8_t>(depth.rowBytes * 3, 0));
    HBRUSH brush = CreateSolidBrush(depth.bits == 1 ? RGB(255, 255, 255) : RGB(255, 0, 0));
    RECT second{1, 0, 2, 1};
    ASSERT_NE(FillRect(section.Dc(), &second, brush), 0);
    DeleteObject(brush);
    EXPECT_EQ(std::vector<std::uint8_t>(section.Row(0), section.Row(0) + depth.rowBytes), depth.topRow);
    for (int y = 1; y < 3; ++y) {
        EXPECT_EQ(std::vector<std::uint8_t>(section.Row(y), section.Row(y) + depth.rowBytes),
                  std::vector<std::uint8_t>(depth.rowBytes, 0));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Depths, GdiSectionTest,
    ::testing::Combine(::testing::Values(Depth{1, 4, {0x40, 0, 0, 0}}, Depth{4, 4, {0x09, 0, 0, 0}},
                                         Depth{8, 8, {0, 190, 0, 0, 0, 0, 0, 0}},
                                         Depth{16, 12, {0, 0, 0x00, 0x7C, 0, 0, 0, 0, 0, 0, 0, 0}},
                                         Depth{24, 16, {0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
                                         Depth{32, 20, {0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0,
                                                        0, 0, 0, 0, 0, 0, 0,    0, 0, 0}}),
                       ::testing::Bool()),
    [](const ::testing::TestParamInfo<DepthAndOrder>& info) {
        return std::to_string(std::get<0>(info.param).bits) + "Bits" +
               (std::get<1>(info.param) ? "TopDown" : "BottomUp");
    });

class GdiBitmapTest : public GdiTest {};

TEST_F(GdiBitmapTest, HeadersASectionCannotBeMadeFromAreRefused) {
    struct Refused {
        const char* what;
        void (*spoil)(BITMAPV4HEADER&);
    };
    for (Refused refused : {
             Refused{"core header size", [](BITMAPV4HEADER& h) { h.bV4Size = 12; }},
             Refused{"two planes", [](BITMAPV4HEADER& h) { h.bV4Planes = 2; }},
             Refused{"2 bits", [](BITMAPV4HEADER& h) { h.bV4BitCount = 2; }},
             Refused{"bit fields", [](BITMAPV4HEADER& h) { h.bV4V4Compression = 3; }},
             Refused{"no width", [](BITMAPV4HEADER& h) { h.bV4Width = 0; }},
             Refused{"negative width", [](BITMAPV4HEADER& h) { h.bV4Width = -4; }},
             Refused{"no height", [](BITMAPV4HEADER& h) { h.bV4Height = 0; }},
             Refused{"more than 256 MiB", [](BITMAPV4HEADER& h) { h.bV4Width = h.bV4Height = 20000; }},
         }) {
        SectionHeader header(4, 4, 32);
        refused.spoil(header.header);
        void* bits = reinterpret_cast<void*>(1);
        EXPECT_EQ(CreateDIBSection(nullptr, header.Info(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr)
            << refused.what;
        EXPECT_EQ(bits, nullptr) << refused.what;
    }
    SectionHeader header(4, 4, 32);
    EXPECT_EQ(CreateDIBSection(nullptr, header.Info(), 1, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(
        CreateDIBSection(nullptr, header.Info(), DIB_RGB_COLORS, nullptr, reinterpret_cast<HANDLE>(8), 0),
        nullptr);
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
}

TEST_F(GdiBitmapTest, ABareInfoHeaderAndAShortColourTableAreTaken) {
    struct {
        BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), 2, -1, 1, 8, BI_RGB, 0, 0, 0, 2, 0};
        RGBQUAD colors[2]{{0, 0, 0, 0}, {0, 200, 0, 0}};
    } info;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                       &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, section);
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    RECT first{0, 0, 1, 1};
    FillRect(dc, &first, green);
    EXPECT_EQ(static_cast<std::uint8_t*>(bits)[0], 1);
    EXPECT_EQ(static_cast<std::uint8_t*>(bits)[1], 0);
    SelectObject(dc, previous);
    DeleteObject(green);
    DeleteDC(dc);
    DeleteObject(section);
}

TEST_F(GdiBitmapTest, TheStockBitmapGoesBackIntoADcWhileOthersHoldIt) {
    HDC other = CreateCompatibleDC(nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    SectionHeader header(1, 1, 32);
    HBITMAP section = CreateDIBSection(nullptr, header.Info(), DIB_RGB_COLORS, nullptr, nullptr, 0);
    HGDIOBJ stock = SelectObject(dc, section);
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(SelectObject(dc, stock), section);
    EXPECT_TRUE(DeleteObject(section));
    DeleteDC(dc);
    DeleteDC(other);
}

class GdiSurfaceDcTest : public GdiTest {};

TEST_F(GdiSurfaceDcTest, DrawingWritesTheTargetsMemoryInItsFormat) {
    std::vector<std::uint8_t> memory(2 * 8 * 4, 0);
    GdiBitmapTarget target{memory.data(), 8, 4, 4, 16, 0xF800, 0x07E0, 0x001F, nullptr, 0};
    HDC dc = CreateDCOverBitmap(target);
    ASSERT_NE(dc, nullptr);
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    RECT block{1, 1, 3, 2};
    ASSERT_NE(FillRect(dc, &block, green), 0);
    EXPECT_EQ(memory[8 + 2], 0xE0); // 0x07E0, little-endian
    EXPECT_EQ(memory[8 + 3], 0x07);
    EXPECT_EQ(memory[8 + 6], 0x00);
    EXPECT_EQ(memory[0], 0x00);
    // The bitmap behind it is the target's own.
    SectionHeader header(1, 1, 16);
    HBITMAP section = CreateDIBSection(nullptr, header.Info(), DIB_RGB_COLORS, nullptr, nullptr, 0);
    EXPECT_EQ(SelectObject(dc, section), nullptr);
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_EQ(ReleaseDC(nullptr, dc), 0);
    DestroyDCOverBitmap(dc);
    EXPECT_EQ(FillRect(dc, &block, green), 0);
    DeleteObject(section);
    DeleteObject(green);
}

TEST_F(GdiSurfaceDcTest, AnIndexedTargetKeepsItsOwnCopyOfThePalette) {
    std::vector<std::uint8_t> memory(4 * 2, 0);
    std::vector<RGBQUAD> palette(SystemPalette().begin(), SystemPalette().end());
    GdiBitmapTarget target{memory.data() + 4, -4, 4, 2, 8, 0, 0, 0, palette.data(), 256};
    HDC dc = CreateDCOverBitmap(target);
    ASSERT_NE(dc, nullptr);
    palette.assign(256, RGBQUAD{0, 0, 0, 0});
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 250));
    RECT top{0, 0, 1, 1};
    FillRect(dc, &top, blue);
    EXPECT_EQ(memory[4], 15); // the cube's (0, 0, 255), in the top row, stored last
    EXPECT_EQ(memory[0], 0);
    DeleteObject(blue);
    DestroyDCOverBitmap(dc);
}

TEST_F(GdiSurfaceDcTest, TargetsADcCannotDrawIntoAreRefused) {
    std::uint8_t pixel[4] = {};
    RGBQUAD entry{};
    for (GdiBitmapTarget target : {GdiBitmapTarget{nullptr, 4, 1, 1, 32, 0, 0, 0, nullptr, 0},
                                   GdiBitmapTarget{pixel, 4, 0, 1, 32, 0, 0, 0, nullptr, 0},
                                   GdiBitmapTarget{pixel, 4, 1, 1, 12, 0, 0, 0, nullptr, 0},
                                   GdiBitmapTarget{pixel, 4, 1, 1, 8, 0, 0, 0, nullptr, 0},
                                   GdiBitmapTarget{pixel, 4, 1, 1, 8, 0, 0, 0, &entry, 0}}) {
        EXPECT_EQ(CreateDCOverBitmap(target), nullptr);
    }
}

} // namespace
} // namespace win32::tests
