// The Win32 font engine's containers: DIB sections of every pixel format, the glyphs GDI draws into them, and
// lines blitted from them, compared with what GDI draws itself.
#include "engines/font/tests/FontTestFixture.h"
#include "engines/font/win32/Win32FontContainerGraphic.h"
#include "platform/win32/gdi/Gdi.h"
#include "platform/win32/gdi/SystemPalette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace VemoTest {
namespace {

using Vemo::Color;
using Vemo::ErrorCode;
using Vemo::Font;
using Vemo::FontContainer;
using Vemo::Graphic;
using Vemo::PixelValue;
using Vemo::Point;
using Vemo::Rect;
using Vemo::Size;
using Vemo::String;
using Vemo::TextStyle;

constexpr std::uint32_t kBlue = 0x0000FF;

std::uint32_t RgbOf(const win32::RGBQUAD& entry) {
    return std::uint32_t{entry.rgbRed} << 16 | std::uint32_t{entry.rgbGreen} << 8 | entry.rgbBlue;
}

// The entry of the fixed table of that depth nearest to the colour.
std::uint32_t NearestEntry(std::uint32_t bitsPerPixel, const Vemo::TaggedColor& color) {
    const auto table = win32::FixedPalette(bitsPerPixel);
    return RgbOf(
        table[win32::NearestPaletteIndex(table, color.rgb.Red(), color.rgb.Green(), color.rgb.Blue())]);
}

Vemo::Win32FontContainerGraphic& GraphicOf(const FontContainer& container) {
    return dynamic_cast<Vemo::Win32FontContainerGraphic&>(*container.GetContainerHandle()->GetGraphic());
}

class Win32ContainerTest : public FontFamilyFixture {
protected:
    // A font and a container of the size it asks for in the pixel format, the font attached.
    void OpenAttached(Font& font, FontContainer& container, const FontRequest& request,
                      std::uint32_t pixelFormat) {
        ASSERT_TRUE(OpenFont(font, request));
        const Size size = font.GetContainerSize(0, 0);
        ASSERT_TRUE(container.Create(size.width, size.height, pixelFormat, 3, 1));
        ASSERT_TRUE(container.AttachFont(&font));
    }
};

struct RefusedCase {
    const char* name;
    std::uint32_t pixelFormat;
    std::uint8_t paletteUsage;
    std::uint32_t colorTag;
    ErrorCode code;
};

const RefusedCase kRefused[] = {
    {"APaletteReference", 5, 1, 1, Vemo::Win32FontEngineErrPaletteReference},
    {"ColorTag2", 5, 0, 2, Vemo::Win32FontEngineErrColorTag},
    {"PixelFormat2", 2, 0, 1, Vemo::Win32FontEngineErrPixelFormat},
    {"PixelFormat8", 8, 0, 1, Vemo::Win32FontEngineErrPixelFormat},
};

class Win32ContainerRefusalTest : public Win32ContainerTest,
                                  public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(Win32ContainerRefusalTest, OpensNothing) {
    const RefusedCase& refused = GetParam();
    Vemo::Win32FontContainerGraphic graphic;
    EXPECT_FALSE(graphic.OpenForFont(64, 32, refused.pixelFormat, 3,
                                     Vemo::PaletteReference(refused.paletteUsage), refused.colorTag));
    EXPECT_FALSE(graphic.IsOpen());
    EXPECT_EQ(Taken(), Reports{refused.code});
}

INSTANTIATE_TEST_SUITE_P(Arguments, Win32ContainerRefusalTest, ::testing::ValuesIn(kRefused),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Win32ContainerTest, AContainerThatDoesNotOpenIsReportedThroughTheFamily) {
    FontContainer container;
    EXPECT_FALSE(container.Create(64, 32, 2, 3, 1));
    EXPECT_TRUE(
        ReportedInOrder(Taken(), {Vemo::Win32FontEngineErrPixelFormat, Vemo::Win32FontEngineErrOpenContainer,
                                  Vemo::FontEngineErrMakeContainer, Vemo::ResourceSystemErrOpenFailed}));
}

struct FormatCase {
    const char* name;
    std::uint32_t pixelFormat;
    Vemo::StandardPixelFormat format;
    std::uint32_t bitsPerPixel;
};

const FormatCase kFormats[] = {
    {"Code0Is32Bits", 0, Vemo::StandardPixelFormat::Xrgb32, 32},
    {"Code1IsMonochrome", 1, Vemo::StandardPixelFormat::Indexed1, 1},
    {"Code3Is4Bits", 3, Vemo::StandardPixelFormat::Indexed4, 4},
    {"Code4Is8Bits", 4, Vemo::StandardPixelFormat::Indexed8, 8},
    {"Code5Is555", 5, Vemo::StandardPixelFormat::Rgb555, 16},
    {"Code6Is24Bits", 6, Vemo::StandardPixelFormat::Rgb24, 24},
    {"Code7Is32Bits", 7, Vemo::StandardPixelFormat::Xrgb32, 32},
};

class Win32ContainerFormatTest : public Win32ContainerTest,
                                 public ::testing::WithParamInterface<FormatCase> {};

// Indexed graphics hold the fixed table their section was made with; graphic flags of 0 mean system memory.
TEST_P(Win32ContainerFormatTest, OpensTheFormatWithItsColourTable) {
    FontContainer container;
    ASSERT_TRUE(container.Create(40, 20, GetParam().pixelFormat, 0, 0));
    Graphic& graphic = GraphicOf(container);
    EXPECT_EQ(graphic.GetSize().width, 40);
    EXPECT_EQ(graphic.GetSize().height, 20);
    EXPECT_EQ(graphic.GetPixelFormat().format, GetParam().format);
    EXPECT_EQ(graphic.GetPlacement(), 3u);
    EXPECT_EQ(graphic.GetColorTag(), 1u);
    const auto table = win32::FixedPalette(GetParam().bitsPerPixel);
    for (std::uint32_t index = 0; index < table.size(); ++index) {
        EXPECT_EQ(graphic.GetPaletteEntry(index), Color(ValueOf(RgbOf(table[index])), 1)) << index;
    }
    EXPECT_TRUE(Taken().empty());
}

INSTANTIATE_TEST_SUITE_P(Formats, Win32ContainerFormatTest, ::testing::ValuesIn(kFormats),
                         [](const auto& info) { return std::string(info.param.name); });

struct GdiFailureCase {
    const char* name;
    const char* call;
    ErrorCode code;
};

const GdiFailureCase kOpenFailures[] = {
    {"CreateCompatibleDC", "CreateCompatibleDC", Vemo::Win32FontEngineErrCreateDC},
    {"SetMapMode", "SetMapMode", Vemo::Win32FontEngineErrSetMapMode},
    {"SetBkColor", "SetBkColor", Vemo::Win32FontEngineErrSetBkColor},
    {"SetBkMode", "SetBkMode", Vemo::Win32FontEngineErrSetBkMode},
    {"SetTextAlign", "SetTextAlign", Vemo::Win32FontEngineErrSetTextAlign},
    {"SetTextColor", "SetTextColor", Vemo::Win32FontEngineErrSetTextColor},
    {"SetTextCharacterExtra", "SetTextCharacterExtra", Vemo::Win32FontEngineErrSetTextCharacterExtra},
    {"SetTextJustification", "SetTextJustification", Vemo::Win32FontEngineErrSetTextJustification},
    {"CreateDIBSection", "CreateDIBSection", Vemo::Win32FontEngineErrCreateDIBSection},
    {"SelectObject", "SelectObject", Vemo::Win32FontEngineErrSelectObject},
};

class Win32ContainerOpenFailureTest : public Win32ContainerTest,
                                      public ::testing::WithParamInterface<GdiFailureCase> {};

TEST_P(Win32ContainerOpenFailureTest, IsReportedAndReleasesWhatWasMade) {
    ASSERT_TRUE(win32::testing::FailGdiCall(GetParam().call));
    FontContainer container;
    EXPECT_FALSE(container.Create(64, 32, 5, 3, 1));
    EXPECT_TRUE(
        ReportedInOrder(Taken(), {GetParam().code, Vemo::Win32FontEngineErrOpenContainer,
                                  Vemo::FontEngineErrMakeContainer, Vemo::ResourceSystemErrOpenFailed}));
}

INSTANTIATE_TEST_SUITE_P(Calls, Win32ContainerOpenFailureTest, ::testing::ValuesIn(kOpenFailures),
                         [](const auto& info) { return std::string(info.param.name); });

struct AttachFailureCase {
    const char* name;
    const char* call;
    ErrorCode code;
    std::size_t leakedObjects;
};

// A brush whose delete failed is left behind.
const AttachFailureCase kAttachFailures[] = {
    {"CreateSolidBrush", "CreateSolidBrush", Vemo::Win32FontEngineErrCreateSolidBrush, 0},
    {"FillRect", "FillRect", Vemo::Win32FontEngineErrFillRect, 0},
    {"DeleteObject", "DeleteObject", Vemo::Win32FontEngineErrDeleteObject, 1},
    {"SetTextColor", "SetTextColor", Vemo::Win32FontEngineErrSetTextColor, 0},
    {"SelectObject", "SelectObject", Vemo::Win32FontEngineErrSelectObject, 0},
};

class Win32ContainerAttachFailureTest : public Win32ContainerTest,
                                        public ::testing::WithParamInterface<AttachFailureCase> {};

TEST_P(Win32ContainerAttachFailureTest, LeavesFontAndContainerApart) {
    Font font;
    ASSERT_TRUE(OpenFont(font, {}));
    const Vemo::FontDescription opened = *font.GetDescription();
    FontContainer container;
    ASSERT_TRUE(container.OpenForFont(&font, 0));
    Taken();
    ASSERT_TRUE(win32::testing::FailGdiCall(GetParam().call));
    EXPECT_FALSE(container.AttachFont(&font));
    EXPECT_TRUE(ReportedInOrder(Taken(), {GetParam().code, Vemo::FontSystemErrGraphicRefusedFont,
                                          Vemo::FontSystemErrContainerRefusedFont}));
    EXPECT_EQ(container.GetLinkedFont(), nullptr);
    EXPECT_EQ(font.GetLinkedContainer(), nullptr);
    EXPECT_EQ(container.GetContainerHandle()->GetFont(), nullptr);
    EXPECT_EQ(font.GetFontHandle()->GetContainer(), nullptr);
    EXPECT_EQ(*font.GetDescription(), opened);
    ExpectLeaked(GetParam().leakedObjects, 0);
}

INSTANTIATE_TEST_SUITE_P(Calls, Win32ContainerAttachFailureTest, ::testing::ValuesIn(kAttachFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Win32ContainerTest, AFontOfAnotherEngineIsRefusedAndTheContainerStaysAsItWas) {
    Font font;
    FontContainer container;
    OpenAttached(font, container, {}, 5);
    const Vemo::FontDescription attached = *font.GetDescription();
    Vemo::Win32FontContainerGraphic& graphic = GraphicOf(container);

    // Of this engine's type, but not opened through GDI.
    Vemo::FontHandle unopened(m_fontEngine);
    EXPECT_FALSE(graphic.AttachFont(&unopened));
    EXPECT_EQ(Taken(), Reports{Vemo::Win32FontEngineErrForeignFont});
    Vemo::FontEngine plainEngine;
    Vemo::FontHandle plain(&plainEngine);
    EXPECT_FALSE(container.GetContainerHandle()->AttachFont(&plain));
    EXPECT_EQ(Taken(), Reports{Vemo::FontSystemErrForeignFont});

    EXPECT_EQ(graphic.GetFont(), font.GetFontHandle());
    EXPECT_EQ(container.GetContainerHandle()->GetFont(), font.GetFontHandle());
    EXPECT_EQ(*font.GetDescription(), attached);
}

TEST_F(Win32ContainerTest, AContainerTooSmallForTheGlyphsIsRefused) {
    Font font;
    ASSERT_TRUE(OpenFont(font, {}));
    FontContainer container;
    ASSERT_TRUE(container.Create(10, 10, 5, 3, 1));
    EXPECT_FALSE(container.AttachFont(&font));
    EXPECT_TRUE(ReportedInOrder(Taken(), {Vemo::Win32FontEngineErrFontDoesNotFit,
                                          Vemo::FontSystemErrGraphicRefusedFont,
                                          Vemo::FontSystemErrContainerRefusedFont}));
}

// The container is exactly as wide as the first glyphs: the last of them ends on the right edge and stays on
// the first row; the next one starts the second.
TEST_F(Win32ContainerTest, GlyphsFillRowsCellByCell) {
    Font font;
    ASSERT_TRUE(OpenFont(font, {}));
    const Vemo::FontDescription opened = *font.GetDescription();
    std::int32_t width = 0;
    std::uint32_t lastOnFirstRow = opened.firstCharacter;
    for (const Vemo::GlyphDescriptor& glyph : opened.glyphs) {
        width += glyph.blackWidth;
        lastOnFirstRow = glyph.code;
        if (width >= opened.maximumWidth) {
            break;
        }
    }
    const Size size = font.GetContainerSize(static_cast<std::uint32_t>(width), 0);
    FontContainer container;
    ASSERT_TRUE(container.Create(width, size.height, 5, 3, 1));
    ASSERT_TRUE(container.AttachFont(&font));

    const std::int32_t line = font.GetLineHeight();
    EXPECT_EQ(font.GetGlyphBox(lastOnFirstRow),
              Rect(width - font.GetGlyphBlackWidth(lastOnFirstRow), 0, width, line));
    EXPECT_EQ(font.GetGlyphBox(lastOnFirstRow + 1).left, 0);
    EXPECT_EQ(font.GetGlyphBox(lastOnFirstRow + 1).top, line);
    const Vemo::GlyphDescriptor* previous = nullptr;
    for (const Vemo::GlyphDescriptor& glyph : font.GetDescription()->glyphs) {
        SCOPED_TRACE(glyph.code);
        EXPECT_EQ(glyph.box.right - glyph.box.left, glyph.blackWidth);
        EXPECT_EQ(glyph.box.bottom - glyph.box.top, line);
        EXPECT_LE(glyph.box.right, width);
        EXPECT_LE(glyph.box.bottom, size.height);
        if (previous != nullptr) {
            EXPECT_EQ(previous->box.left + previous->advance.x, glyph.box.left);
            EXPECT_EQ(previous->box.top + previous->advance.y, glyph.box.top);
        }
        previous = &glyph;
    }

    EXPECT_TRUE(container.DetachFont());
    EXPECT_EQ(*font.GetDescription(), opened);
}

// The colour tables of the indexed sections: what GDI draws into them blits in the tables' own colours, and
// the background is the key.
struct IndexedCase {
    const char* name;
    std::uint32_t pixelFormat;
    std::uint32_t bitsPerPixel;
    Vemo::TaggedColor foreground;
    Vemo::TaggedColor background;
};

const IndexedCase kIndexed[] = {
    {"Monochrome", 1, 1, kBlack, kWhite},
    {"Standard", 3, 4, Vemo::TaggedColor(PixelValue(200, 30, 30), 1),
     Vemo::TaggedColor(PixelValue(10, 200, 10), 1)},
    {"System", 4, 8, Vemo::TaggedColor(PixelValue(200, 30, 30), 1),
     Vemo::TaggedColor(PixelValue(10, 200, 10), 1)},
};

class Win32IndexedContainerTest : public Win32ContainerTest,
                                  public ::testing::WithParamInterface<IndexedCase> {};

TEST_P(Win32IndexedContainerTest, BlitsInTheNearestEntriesOfItsTable) {
    const IndexedCase& indexed = GetParam();
    Font font;
    FontContainer container;
    OpenAttached(
        font, container,
        {.name = "DejaVu Sans Mono", .foreground = indexed.foreground, .background = indexed.background},
        indexed.pixelFormat);
    const std::uint32_t ink = NearestEntry(indexed.bitsPerPixel, indexed.foreground);
    const std::uint32_t paper = NearestEntry(indexed.bitsPerPixel, indexed.background);
    ASSERT_NE(ink, paper);
    const String text("Hello");
    const Point at(2, 2);
    const std::int32_t right = at.x + container.MeasureText(text, nullptr).width;
    const std::int32_t bottom = at.y + font.GetLineHeight();

    for (const bool transparent : {true, false}) {
        SCOPED_TRACE(transparent);
        Graphic target;
        ASSERT_TRUE(OpenTarget(target, 60, 24, ValueOf(kBlue)));
        const TextStyle style{0, 0, transparent};
        ASSERT_TRUE(container.DrawTextLine(text, &target, &at, nullptr, &style));
        int inked = 0;
        int papered = 0;
        for (std::int32_t y = 0; y < 24; ++y) {
            for (std::int32_t x = 0; x < 60; ++x) {
                const std::uint32_t pixel = RgbAt(target, x, y);
                const bool inLine = x >= at.x && x < right && y >= at.y && y < bottom;
                inked += pixel == ink ? 1 : 0;
                papered += pixel == paper ? 1 : 0;
                // The gaps between the glyphs' cells are never drawn.
                EXPECT_TRUE(pixel == kBlue || (inLine && (pixel == ink || pixel == paper)))
                    << x << "," << y << " " << pixel;
            }
        }
        EXPECT_GT(inked, 40);
        EXPECT_EQ(papered > 0, !transparent);
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, Win32IndexedContainerTest, ::testing::ValuesIn(kIndexed),
                         [](const auto& info) { return std::string(info.param.name); });

// Vemo Block has no space, so its first glyph, '!', fills the first cell and inks the pixel (0, 0).
TEST_F(Win32ContainerTest, AGlyphThatInksTheFirstPixelKeepsItsInkWhenTransparent) {
    ASSERT_TRUE(AddFixtureFont("VemoBlock.ttf"));
    Font font;
    FontContainer container;
    OpenAttached(font, container, {.name = "Vemo Block", .size = 16, .pixelUnits = true}, 5);
    ASSERT_EQ(font.GetFirstCharacter(), std::uint32_t{'!'});
    ASSERT_EQ(font.GetGlyphBox('!'), Rect(0, 0, 8, 16));
    EXPECT_EQ(GraphicOf(container).GetColorKeyPixel(), 0x7FFFu);

    Graphic target;
    ASSERT_TRUE(OpenTarget(target, 20, 20, ValueOf(kBlue)));
    const Point at(3, 2);
    const TextStyle transparent{0, 0, true};
    ASSERT_TRUE(container.DrawTextLine(String("!"), &target, &at, nullptr, &transparent));
    EXPECT_EQ(RgbAt(target, 3, 2), 0u);
    EXPECT_EQ(RgbAt(target, 10, 17), 0u);
    EXPECT_EQ(RgbAt(target, 11, 2), kBlue);
}

// Rows of 301 16-bit pixels (602 bytes) are padded to 608; the graphic keeps its width.
TEST_F(Win32ContainerTest, AnOddWidthHoldsTheSameGlyphsAsAnEvenOne) {
    Font font;
    ASSERT_TRUE(OpenFont(font, {.name = "DejaVu Sans Mono"}));
    std::map<std::uint32_t, std::vector<std::uint32_t>> cells[2];
    const std::int32_t widths[2] = {301, 320};
    for (int i = 0; i < 2; ++i) {
        const Size size = font.GetContainerSize(static_cast<std::uint32_t>(widths[i]), 0);
        FontContainer container;
        ASSERT_TRUE(container.Create(widths[i], size.height, 5, 3, 1));
        Graphic& graphic = GraphicOf(container);
        EXPECT_EQ(graphic.GetSize().width, widths[i]);
        ASSERT_TRUE(graphic.Lock());
        EXPECT_EQ(graphic.GetPitch() % 8, 0);
        EXPECT_GE(graphic.GetPitch(), 2 * widths[i]);
        graphic.Unlock();
        ASSERT_TRUE(container.AttachFont(&font));
        for (const Vemo::GlyphDescriptor& glyph : font.GetDescription()->glyphs) {
            for (std::int32_t y = glyph.box.top; y < glyph.box.bottom; ++y) {
                for (std::int32_t x = glyph.box.left; x < glyph.box.right; ++x) {
                    cells[i][glyph.code].push_back(graphic.GetPixel(Point(x, y)));
                }
            }
        }
        ASSERT_TRUE(container.DetachFont());
    }
    EXPECT_NE(font.GetContainerSize(301, 0).height, 0);
    EXPECT_EQ(cells[0], cells[1]);
    EXPECT_NE(std::count(cells[0]['H'].begin(), cells[0]['H'].end(), 0u), 0);
}

// A 32-bit section in a memory DC, drawing black text without a background in a font made as the engine
// makes its fonts: what GDI draws itself.
class GdiPicture {
public:
    GdiPicture(int width, int height, int fontHeight, int weight, win32::DWORD quality, const char* face)
        : m_width(width), m_height(height) {
        win32::BITMAPV4HEADER header{};
        header.bV4Size = sizeof(header);
        header.bV4Width = width;
        header.bV4Height = -height;
        header.bV4Planes = 1;
        header.bV4BitCount = 32;
        header.bV4V4Compression = win32::BI_RGB;
        void* bits = nullptr;
        m_section = win32::CreateDIBSection(nullptr, reinterpret_cast<const win32::BITMAPINFO*>(&header),
                                            win32::DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<const std::uint32_t*>(bits);
        m_dc = win32::CreateCompatibleDC(nullptr);
        m_previousBitmap = win32::SelectObject(m_dc, m_section);
        m_font = win32::CreateFontA(fontHeight, 0, 0, 0, weight, 0, 0, 0, win32::DEFAULT_CHARSET,
                                    win32::OUT_DEFAULT_PRECIS, win32::CLIP_DEFAULT_PRECIS, quality, 0, face);
        m_previousFont = win32::SelectObject(m_dc, m_font);
        win32::SetBkMode(m_dc, win32::TRANSPARENT);
        win32::SetTextColor(m_dc, 0);
    }
    ~GdiPicture() {
        win32::SelectObject(m_dc, m_previousFont);
        win32::DeleteObject(m_font);
        win32::SelectObject(m_dc, m_previousBitmap);
        win32::DeleteDC(m_dc);
        win32::DeleteObject(m_section);
    }
    GdiPicture(const GdiPicture&) = delete;
    GdiPicture& operator=(const GdiPicture&) = delete;

    void Fill(win32::COLORREF color) {
        const win32::HBRUSH brush = win32::CreateSolidBrush(color);
        const win32::RECT whole{0, 0, m_width, m_height};
        win32::FillRect(m_dc, &whole, brush);
        win32::DeleteObject(brush);
    }
    void Draw(const char* text, int length, int x, int y) { win32::TextOutA(m_dc, x, y, text, length); }
    // 0xRRGGBB, as RgbAt reads a graphic.
    std::uint32_t At(int x, int y) const {
        return m_bits[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + x] & 0xFFFFFF;
    }
    std::vector<std::uint32_t> Pixels() const {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                pixels.push_back(At(x, y));
            }
        }
        return pixels;
    }

private:
    int m_width;
    int m_height;
    win32::HBITMAP m_section = nullptr;
    const std::uint32_t* m_bits = nullptr;
    win32::HDC m_dc = nullptr;
    win32::HGDIOBJ m_previousBitmap = nullptr;
    win32::HFONT m_font = nullptr;
    win32::HGDIOBJ m_previousFont = nullptr;
};

std::vector<std::uint32_t> DrawnByGdi(const char* text, int x, int y, int width, int height,
                                      win32::COLORREF fill) {
    GdiPicture picture(width, height, 16, win32::FW_NORMAL, win32::NONANTIALIASED_QUALITY, "DejaVu Sans Mono");
    picture.Fill(fill);
    picture.Draw(text, static_cast<int>(std::strlen(text)), x, y);
    return picture.Pixels();
}

TEST_F(Win32ContainerTest, ATransparentMonochromeLineIsWhatGdiDraws) {
    Font font;
    FontContainer container;
    OpenAttached(font, container, {.name = "DejaVu Sans Mono"}, 1);
    const char* text = "Hello, (Wo)rld; {x} = 42!";
    constexpr int kWidth = 240;
    constexpr int kHeight = 24;
    const Point at(5, 4);
    Graphic target;
    ASSERT_TRUE(OpenTarget(target, kWidth, kHeight, ValueOf(0x808080)));
    const TextStyle transparent{0, 0, true};
    ASSERT_TRUE(container.DrawTextLine(String(text), &target, &at, nullptr, &transparent));

    // A line starts at its first glyph's ink; GDI's pen starts that glyph's left bearing before it.
    const std::vector<std::uint32_t> expected =
        DrawnByGdi(text, at.x - font.GetGlyphLeftBearing(text[0]), at.y, kWidth, kHeight, 0x808080);
    std::vector<std::uint32_t> drawn;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            drawn.push_back(RgbAt(target, x, y));
        }
    }
    EXPECT_GT(std::count(expected.begin(), expected.end(), 0u), 100);
    EXPECT_EQ(drawn, expected);
}

// Every cell of a container holds what its glyph draws alone there, and nothing of its neighbours: hinting
// puts some accents a row above the ascent and some descenders below the cell, and antialiasing spills past
// the black box. Over the DejaVu faces and styles, in cell and em heights.
using InkCase = std::tuple<const char*, bool, bool>;

class Win32ContainerInkTest : public Win32ContainerTest, public ::testing::WithParamInterface<InkCase> {};

TEST_P(Win32ContainerInkTest, EveryCellHoldsTheInkOfItsOwnGlyphAlone) {
    const auto [face, bold, antialiased] = GetParam();
    for (std::uint32_t height = 8; height <= 48; ++height) {
        for (const bool cellHeight : {true, false}) {
            SCOPED_TRACE(::testing::Message() << height << (cellHeight ? " cell" : " em"));
            Font font;
            FontContainer container;
            OpenAttached(font, container,
                         {.name = face, .size = height, .cellHeight = cellHeight, .pixelUnits = true,
                          .bold = bold, .antialiased = antialiased},
                         0);
            if (HasFatalFailure()) {
                return;
            }
            const Vemo::FontDescription& description = *font.GetDescription();
            const std::int32_t line = font.GetLineHeight();
            const std::int32_t margin = line;
            const int signedHeight = cellHeight ? static_cast<int>(height) : -static_cast<int>(height);
            GdiPicture alone(description.maximumWidth + 2 * margin, line + 2 * margin, signedHeight,
                             bold ? win32::FW_BOLD : win32::FW_NORMAL,
                             antialiased ? win32::ANTIALIASED_QUALITY : win32::NONANTIALIASED_QUALITY, face);
            Graphic& graphic = GraphicOf(container);
            int strays = 0;
            for (const Vemo::GlyphDescriptor& glyph : description.glyphs) {
                alone.Fill(0xFFFFFF);
                const char character = static_cast<char>(glyph.code);
                alone.Draw(&character, 1, margin - glyph.leftBearing, margin);
                for (std::int32_t y = glyph.box.top; y < glyph.box.bottom; ++y) {
                    for (std::int32_t x = glyph.box.left; x < glyph.box.right; ++x) {
                        const std::uint32_t own = alone.At(margin + x - glyph.box.left, margin + y - glyph.box.top);
                        if (RgbAt(graphic, x, y) != own && ++strays <= 3) {
                            ADD_FAILURE() << "glyph " << glyph.code << " at " << x << "," << y;
                        }
                    }
                }
            }
            EXPECT_EQ(strays, 0);
            EXPECT_TRUE(container.DetachFont());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(DejaVu, Win32ContainerInkTest,
                         ::testing::Combine(::testing::Values("DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif"),
                                            ::testing::Bool(), ::testing::Bool()),
                         [](const auto& info) {
                             std::string name = std::get<0>(info.param);
                             name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
                             return name + (std::get<1>(info.param) ? "Bold" : "") +
                                    (std::get<2>(info.param) ? "Antialiased" : "Monochrome");
                         });

} // namespace
} // namespace VemoTest
