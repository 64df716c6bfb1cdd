#include "platform/tests/GdiTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace win32::tests {
namespace {

class GdiDeviceContextTest : public GdiTest {};

TEST_F(GdiDeviceContextTest, AMemoryDcAnswersThePreviousObjectAndFreesOnlyWhatIsNotSelected) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    SectionHeader header(4, -4, 32);
    HBITMAP section = CreateDIBSection(dc, header.Info(), DIB_RGB_COLORS, nullptr, nullptr, 0);
    ASSERT_NE(section, nullptr);
    HGDIOBJ stockBitmap = SelectObject(dc, section);
    ASSERT_NE(stockBitmap, nullptr);
    EXPECT_FALSE(DeleteObject(section)); // still selected
    EXPECT_EQ(SelectObject(dc, stockBitmap), section);
    EXPECT_TRUE(DeleteObject(section));
    EXPECT_FALSE(DeleteObject(section));    // gone
    EXPECT_TRUE(DeleteObject(stockBitmap)); // a stock object stays
    EXPECT_EQ(SelectObject(dc, section), nullptr);

    HFONT font = MakeFont("DejaVu Sans", 12);
    HGDIOBJ stockFont = SelectObject(dc, font);
    ASSERT_NE(stockFont, nullptr);
    EXPECT_EQ(SelectObject(dc, stockFont), font);
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
}

TEST_F(GdiDeviceContextTest, ADeletedDcLetsGoOfWhatItHeld) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_NE(SelectObject(dc, brush), nullptr);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_TRUE(DeleteObject(brush));
}

TEST_F(GdiDeviceContextTest, ABitmapGoesIntoOneMemoryDcAtATime) {
    DibDc first(4, 4, 32);
    ASSERT_TRUE(first.Valid());
    HDC second = CreateCompatibleDC(first.Dc());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(SelectObject(second, first.Bitmap()), nullptr);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(SelectObject(screen, first.Bitmap()), nullptr);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_TRUE(DeleteDC(second));
    EXPECT_EQ(CreateCompatibleDC(reinterpret_cast<HDC>(0x4)), nullptr);
}

TEST_F(GdiDeviceContextTest, TheScreenDcIsReleasedAndTheDisplayDcDeleted) {
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_FALSE(DeleteDC(screen));
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 0);

    HDC display = CreateDCA("display", nullptr, nullptr, nullptr);
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(ReleaseDC(nullptr, display), 0);
    EXPECT_TRUE(DeleteDC(display));
    EXPECT_EQ(CreateDCA("WINSPOOL", "Printer", nullptr, nullptr), nullptr);
    EXPECT_EQ(CreateDCA(nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(GetDC(reinterpret_cast<HWND>(0x10)), nullptr);
}

TEST_F(GdiDeviceContextTest, DrawingOnTheScreenDcMeasuresButLandsNowhere) {
    HDC screen = GetDC(nullptr);
    HFONT font = MakeFont("DejaVu Sans Mono", -16);
    HGDIOBJ previous = SelectObject(screen, font);
    RECT rect{0, 0, 0, 0};
    EXPECT_EQ(DrawTextA(screen, "abc", 3, &rect, DT_CALCRECT | DT_NOPREFIX), 19);
    EXPECT_EQ(rect.right, 30);
    EXPECT_TRUE(TextOutA(screen, 0, 0, "abc", 3));
    HBRUSH brush = CreateSolidBrush(0);
    EXPECT_NE(FillRect(screen, &rect, brush), 0);
    DeleteObject(brush);
    SelectObject(screen, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
}

// The attribute setters: the value a new DC holds, what they answer, and their failure value for an unknown
// DC or a value they do not take.
struct Setter {
    const char* name;
    std::function<long long(HDC)> first;  // a valid value: answers the new DC's setting
    std::function<long long(HDC)> second; // the same again: answers what the first call set
    long long initial;
    long long set;
    std::function<long long(HDC)> refused; // a value out of range, when there is one
    long long failure;
};

class GdiAttributeTest : public GdiTest, public ::testing::WithParamInterface<Setter> {};

TEST_P(GdiAttributeTest, AnswersThePreviousValueOrItsFailureValue) {
    const Setter& setter = GetParam();
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(setter.first(dc), setter.initial);
    EXPECT_EQ(setter.second(dc), setter.set);
    if (setter.refused) {
        EXPECT_EQ(setter.refused(dc), setter.failure);
    }
    EXPECT_EQ(setter.first(nullptr), setter.failure);
    ASSERT_TRUE(testing::FailGdiCall(setter.name));
    EXPECT_EQ(setter.second(dc), setter.failure);
    EXPECT_EQ(setter.second(dc), setter.set);
    DeleteDC(dc);
}

INSTANTIATE_TEST_SUITE_P(
    Setters, GdiAttributeTest,
    ::testing::Values(Setter{"SetMapMode", [](HDC dc) { return SetMapMode(dc, MM_TEXT); },
                             [](HDC dc) { return SetMapMode(dc, MM_TEXT); }, MM_TEXT, MM_TEXT,
                             [](HDC dc) { return SetMapMode(dc, 2); }, 0},
                      Setter{"SetBkMode", [](HDC dc) { return SetBkMode(dc, TRANSPARENT); },
                             [](HDC dc) { return SetBkMode(dc, TRANSPARENT); }, OPAQUE, TRANSPARENT,
                             [](HDC dc) { return SetBkMode(dc, 3); }, 0},
                      Setter{"SetBkColor", [](HDC dc) { return SetBkColor(dc, 0x02123456); },
                             [](HDC dc) { return SetBkColor(dc, 0x123456); }, 0xFFFFFF, 0x123456,
                             [](HDC dc) { return SetBkColor(dc, 0x01000005); }, CLR_INVALID},
                      Setter{"SetTextColor", [](HDC dc) { return SetTextColor(dc, 0x654321); },
                             [](HDC dc) { return SetTextColor(dc, 0x654321); }, 0, 0x654321,
                             [](HDC dc) { return SetTextColor(dc, 0xFF000000); }, CLR_INVALID},
                      Setter{"SetTextAlign", [](HDC dc) { return SetTextAlign(dc, TA_BASELINE); },
                             [](HDC dc) { return SetTextAlign(dc, TA_BASELINE); }, 0, TA_BASELINE, nullptr,
                             GDI_ERROR},
                      Setter{"SetTextCharacterExtra", [](HDC dc) { return SetTextCharacterExtra(dc, 3); },
                             [](HDC dc) { return SetTextCharacterExtra(dc, 3); }, 0, 3,
                             [](HDC dc) { return SetTextCharacterExtra(dc, INT_MAX); }, INT_MIN},
                      Setter{"SetTextJustification", [](HDC dc) { return SetTextJustification(dc, 0, 0); },
                             [](HDC dc) { return SetTextJustification(dc, 4, 2); }, TRUE, TRUE,
                             [](HDC dc) { return SetTextJustification(dc, INT_MIN, 1); }, FALSE}),
    [](const ::testing::TestParamInfo<Setter>& info) { return std::string(info.param.name); });

TEST(GdiMulDivTest, RoundsToNearestAndAnswersMinusOneWhenItCannot) {
    struct Case {
        int number, numerator, denominator, result;
    };
    for (Case c :
         {Case{12, 96, 72, 16}, Case{-12, 96, 72, -16}, Case{1, 1, 2, 1}, Case{-1, 1, 2, -1},
          Case{7, -1, 2, -4}, Case{10, 3, 4, 8}, Case{5, 7, 0, -1}, Case{INT_MAX, 2, 1, -1},
          Case{INT_MAX, INT_MAX, INT_MAX, INT_MAX}, Case{INT_MIN, 1, 1, INT_MIN}, Case{INT_MIN, -1, 1, -1}}) {
        EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.result)
            << c.number << " * " << c.numerator << " / " << c.denominator;
    }
}

TEST_F(GdiDeviceContextTest, RegionsAreNormalisedCopiedAndSelectedAsTheClip) {
    HRGN region = CreateRectRgn(10, 20, 2, 4);
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetClipRgn(dc, copy), 0);
    EXPECT_EQ(SelectClipRgn(dc, region), SIMPLEREGION);
    EXPECT_EQ(GetClipRgn(dc, copy), 1);
    // What the DC holds is a copy: the region can go.
    EXPECT_TRUE(DeleteObject(region));
    HRGN again = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(dc, again), 1);
    EXPECT_EQ(SelectClipRgn(dc, nullptr), SIMPLEREGION);
    EXPECT_EQ(GetClipRgn(dc, again), 0);
    HRGN empty = CreateRectRgn(5, 5, 5, 9);
    EXPECT_EQ(SelectObject(dc, empty), reinterpret_cast<HGDIOBJ>(NULLREGION));
    EXPECT_TRUE(DeleteObject(empty));
    EXPECT_EQ(GetClipRgn(nullptr, again), -1);
    EXPECT_EQ(GetClipRgn(dc, nullptr), -1);
    EXPECT_EQ(SelectClipRgn(nullptr, copy), ERROR);
    DeleteDC(dc);
    DeleteObject(copy);
    DeleteObject(again);
}

TEST_F(GdiDeviceContextTest, TheClipRegionBoundsFills) {
    DibDc canvas(8, 8, 32);
    ASSERT_TRUE(canvas.Valid());
    canvas.Fill(RGB(255, 255, 255));
    HRGN region = CreateRectRgn(2, 3, 5, 6);
    SelectClipRgn(canvas.Dc(), region);
    DeleteObject(region);
    canvas.Fill(RGB(0, 0, 0));
    RECT ink = canvas.InkBounds(RGB(255, 255, 255));
    EXPECT_EQ(ink.left, 2);
    EXPECT_EQ(ink.top, 3);
    EXPECT_EQ(ink.right, 5);
    EXPECT_EQ(ink.bottom, 6);
}

TEST_F(GdiDeviceContextTest, ANamedCallFailsAsOftenAsAskedAfterTheCallsToSkip) {
    EXPECT_FALSE(testing::FailGdiCall("NoSuchCall"));
    ASSERT_TRUE(testing::FailGdiCall("CreateCompatibleDC", 2, 1));
    HDC first = CreateCompatibleDC(nullptr);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(CreateCompatibleDC(nullptr), nullptr);
    EXPECT_EQ(CreateCompatibleDC(nullptr), nullptr);
    HDC fourth = CreateCompatibleDC(nullptr);
    EXPECT_NE(fourth, nullptr);

    ASSERT_TRUE(testing::FailGdiCall("DeleteDC", testing::kAlways));
    EXPECT_FALSE(DeleteDC(first));
    EXPECT_FALSE(DeleteDC(first));
    testing::ClearGdiFailures();
    EXPECT_TRUE(DeleteDC(first));
    EXPECT_TRUE(DeleteDC(fourth));
}

TEST_F(GdiDeviceContextTest, EveryCallOfTheFontEngineCanBeMadeToFail) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = MakeFont("DejaVu Sans", -16);
    HGDIOBJ previous = SelectObject(dc, font);
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    TEXTMETRICA metrics{};
    GLYPHMETRICS glyph{};
    ABC abc{};
    KERNINGPAIR pair{};
    HBRUSH brush = CreateSolidBrush(0);
    RECT rect{0, 0, 1, 1};
    struct Failing {
        const char* name;
        std::function<bool()> failed;
    };
    for (const Failing& call : {
             Failing{"CreateCompatibleDC", [] { return CreateCompatibleDC(nullptr) == nullptr; }},
             Failing{"GetDeviceCaps", [&] { return GetDeviceCaps(dc, LOGPIXELSY) == 0; }},
             Failing{"CreateFontA", [] { return MakeFont("DejaVu Sans", 12) == nullptr; }},
             Failing{"SelectObject", [&] { return SelectObject(dc, font) == nullptr; }},
             Failing{"GetTextMetricsA", [&] { return !GetTextMetricsA(dc, &metrics); }},
             Failing{"GetGlyphOutlineA",
                     [&] {
                         return GetGlyphOutlineA(dc, 'A', GGO_METRICS, &glyph, 0, nullptr, &identity) ==
                                GDI_ERROR;
                     }},
             Failing{"GetCharABCWidthsA", [&] { return !GetCharABCWidthsA(dc, 'A', 'A', &abc); }},
             Failing{"GetKerningPairsA", [&] { return GetKerningPairsA(dc, 1, &pair) == 0; }},
             Failing{"CreateDIBSection",
                     [] {
                         SectionHeader header(1, 1, 32);
                         return CreateDIBSection(nullptr, header.Info(), DIB_RGB_COLORS, nullptr, nullptr,
                                                 0) == nullptr;
                     }},
             Failing{"CreateSolidBrush", [] { return CreateSolidBrush(0) == nullptr; }},
             Failing{"FillRect", [&] { return FillRect(dc, &rect, brush) == 0; }},
             Failing{"DeleteObject", [&] { return !DeleteObject(brush); }},
             Failing{"DeleteDC", [&] { return !DeleteDC(dc); }},
             Failing{"TextOutA", [&] { return !TextOutA(dc, 0, 0, "A", 1); }},
         }) {
        ASSERT_TRUE(testing::FailGdiCall(call.name)) << call.name;
        EXPECT_TRUE(call.failed()) << call.name;
    }
    SelectObject(dc, previous);
    DeleteObject(font);
    DeleteObject(brush);
    DeleteDC(dc);
}

// One lock serves every call: threads that each draw through their own DC get what one thread alone would.
TEST_F(GdiDeviceContextTest, ThreadsDrawTextAtOnce) {
    auto draw = [] {
        DibDc canvas(40, 20, 32);
        canvas.Fill(RGB(255, 255, 255));
        SelectedFont font(canvas.Dc(), MakeFont("DejaVu Sans", -16));
        SetBkMode(canvas.Dc(), TRANSPARENT);
        TextOutA(canvas.Dc(), 1, 1, "Wg", 2);
        return std::vector<std::uint8_t>(canvas.Bits(), canvas.Bits() + canvas.RowBytes() * 20);
    };
    std::vector<std::uint8_t> alone = draw();
    std::vector<std::vector<std::uint8_t>> results(4);
    std::vector<std::thread> threads;
    for (auto& result : results) {
        threads.emplace_back([&result, &draw] {
            for (int i = 0; i < 20; ++i) {
                result = draw();
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (const auto& result : results) {
        EXPECT_EQ(result, alone);
    }
}

} // namespace
} // namespace win32::tests
