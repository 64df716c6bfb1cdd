// Bitmaps named by script values, decoded once through the application's bitmap cache and shared, on the
// DirectX 6 engine (headless), the cache's eviction timer on the fake clock.
#include "runtime/pictures/Bitmap.h"
#include "runtime/pictures/BitmapCache.h"
#include "runtime/pictures/BitmapCacheTimer.h"
#include "runtime/testing/PictureTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using VemoTest::Reported;
using VemoTest::Reports;

constexpr Vemo::ErrorCode kFailure = Messenger::kErrorSettings;

std::string Describe(const Vemo::Rect& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) +
           "," + std::to_string(rect.bottom);
}

class BitmapTest : public PictureTest::Fixture {
protected:
    void SetUp() override {
        PictureTest::Fixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        WriteFile("art.bmp", PictureTest::Bmp({{0xFF0000, 0x00FF00, 0x0000FF, 0x000000},
                                               {0x111111, 0x222222, 0x333333, 0x444444},
                                               {0x555555, 0x666666, 0x777777, 0x888888}}));
        const std::string garbage = "not a picture at all";
        WriteFile("bad.bmp", VemoTest::Bytes(garbage.begin(), garbage.end()));
    }

    std::size_t Idle() { return Cache().GetIdleRecords().Size(); }
    bool TimerRunning() { return Cache().GetTimer()->IsRunning(); }
};

TEST_F(BitmapTest, BitmapsOfOneFileShareARecordThatStaysFiveSecondsAfterTheLastLetsGo) {
    auto first = std::make_unique<Bitmap>();
    auto second = std::make_unique<Bitmap>();
    ASSERT_TRUE(Configure(*first, "art.bmp"));
    ASSERT_TRUE(Configure(*second, "ART.BMP"));
    ASSERT_EQ(Cache().GetRecords().Size(), 1u);
    BitmapCache::Record* record = first->GetRecord();
    EXPECT_EQ(second->GetRecord(), record);
    EXPECT_EQ(record->count, 2u);
    EXPECT_EQ(first->GetWidth(), 4);
    EXPECT_EQ(second->GetPixelColor(Vemo::Point(1, 0)).rgb.Rgb(), 0x00FF00u);
    EXPECT_FALSE(TimerRunning());

    first.reset();
    EXPECT_EQ(record->count, 1u);
    EXPECT_EQ(Idle(), 0u);
    second.reset();
    EXPECT_EQ(Idle(), 1u);
    EXPECT_EQ(record->timeToLive, BitmapCache::kIdleSeconds);
    EXPECT_TRUE(TimerRunning());

    // Revived within its five seconds: the same record, no new decode.
    Seconds(4);
    EXPECT_EQ(record->timeToLive, 1);
    const Vemo::ImageContainer* container = record->container;
    Bitmap third;
    ASSERT_TRUE(Configure(third, "art.bmp"));
    EXPECT_EQ(third.GetRecord(), record);
    EXPECT_EQ(record->container, container);
    EXPECT_EQ(record->count, 1u);
    EXPECT_EQ(record->timeToLive, 0);
    EXPECT_EQ(Idle(), 0u);
    Seconds(1);
    EXPECT_FALSE(TimerRunning());
    EXPECT_EQ(Cache().GetRecords().Size(), 1u);
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(BitmapTest, AnIdleRecordGoesAfterFiveTicksAndTheTimerStops) {
    {
        Bitmap bitmap;
        ASSERT_TRUE(Configure(bitmap, "art.bmp"));
    }
    for (int second = 1; second < BitmapCache::kIdleSeconds; ++second) {
        Seconds(1);
        ASSERT_EQ(Cache().GetRecords().Size(), 1u) << second;
    }
    Seconds(1);
    EXPECT_TRUE(Cache().GetRecords().Empty());
    EXPECT_EQ(Idle(), 0u);
    EXPECT_FALSE(TimerRunning());
}

TEST_F(BitmapTest, PurgeIdleForgetsOnlyTheImagesNobodyUses) {
    WriteFile("other.bmp", PictureTest::Bmp({{0x123456}}));
    Bitmap kept;
    ASSERT_TRUE(Configure(kept, "art.bmp"));
    {
        Bitmap dropped;
        ASSERT_TRUE(Configure(dropped, "other.bmp"));
    }
    ASSERT_EQ(Cache().GetRecords().Size(), 2u);
    Cache().PurgeIdle();
    ASSERT_EQ(Cache().GetRecords().Size(), 1u);
    EXPECT_EQ(*Cache().GetRecords().begin(), kept.GetRecord());
    EXPECT_EQ(Idle(), 0u);
}

TEST_F(BitmapTest, AnotherMemoryClassMakesASecondRecordOfTheSameFile) {
    Bitmap system;
    Bitmap hardware;
    Bitmap any;
    ASSERT_TRUE(Configure(system, "art.bmp, Memory(System)"));
    ASSERT_TRUE(Configure(hardware, "art.bmp, Memory(Hardware)"));
    EXPECT_EQ(Cache().GetRecords().Size(), 2u);
    EXPECT_NE(system.GetRecord(), hardware.GetRecord());
    EXPECT_STREQ(system.GetRecord()->path.CStr(), hardware.GetRecord()->path.CStr());
    EXPECT_EQ(system.GetRecord()->memoryClass, 3u);
    // Any memory takes the first record of the file.
    ASSERT_TRUE(Configure(any, "art.bmp"));
    EXPECT_EQ(Cache().GetRecords().Size(), 2u);
    EXPECT_EQ(any.GetRecord()->count, 2u);
}

TEST_F(BitmapTest, AFileThatIsMissingOrDoesNotDecodeIsReportedAndNotCached) {
    Bitmap missing;
    EXPECT_FALSE(Configure(missing, "nowhere.bmp"));
    EXPECT_TRUE(VemoTest::ReportedInOrder(
        m_application.TakeReports(), {Reported(MultimediaApplication::kErrorFileNotFound, "nowhere.bmp")}));
    Bitmap bad;
    EXPECT_FALSE(Configure(bad, "bad.bmp"));
    EXPECT_TRUE(VemoTest::ReportedInOrder(m_application.TakeReports(), {kFailure}));
    EXPECT_TRUE(Cache().GetRecords().Empty());
    EXPECT_FALSE(bad.IsOpen());
    EXPECT_EQ(bad.GetRecord(), nullptr);
    Bitmap empty;
    EXPECT_FALSE(Configure(empty, ""));
    EXPECT_EQ(m_application.TakeReports(), Reports{kFailure});
}

struct OptionCase {
    const char* name;
    const char* value;
    bool configured;
    const char* clip;
    // -1: no transparent colour.
    std::int64_t transparent;
};

const OptionCase kOptionCases[] = {
    {"WholeImage", "art.bmp", true, "0,0,4,3", -1},
    {"Part", "art.bmp, Rect(1, 1, 3, 2)", true, "1,1,3,2", -1},
    {"EmptyRectIsWhole", "art.bmp, Rect(2, 2, 2, 2)", true, "0,0,4,3", -1},
    {"ZeroRectIsWhole", "art.bmp, Rect(0, 0, 0, 0)", true, "0,0,4,3", -1},
    {"RectOutsideKeepsTheClippedPart", "art.bmp, Rect(2, 1, 9, 9)", false, "2,1,4,3", -1},
    {"InvertedRect", "art.bmp, Rect(3, 0, 1, 2)", false, "0,0,4,3", -1},
    {"Transparent", "art.bmp, TransparentColor(1, 2, 300)", true, "0,0,4,3", 0xFF0201},
    {"FirstTransparentWins", "art.bmp, TransparentColor(1, 2, 3), TransparentColor(4, 5, 6)", true, "0,0,4,3",
     0x030201},
    {"OptionsInAnyOrder", "art.bmp, Rect(0, 0, 1, 1), Memory(Anywhere), transparentcolor(0, 0, 0)", true,
     "0,0,1,1", 0},
    {"UnknownOption", "art.bmp, Offset(1, 1)", false, "", -1},
};

class BitmapOptionTest : public BitmapTest, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(BitmapOptionTest, ConfiguresThePartShownAndTheTransparentColour) {
    const OptionCase& c = GetParam();
    Bitmap bitmap;
    EXPECT_EQ(Configure(bitmap, c.value), c.configured);
    if (c.clip[0] != '\0') {
        EXPECT_EQ(Describe(bitmap.GetClipRect()), c.clip);
    } else {
        EXPECT_FALSE(bitmap.IsOpen());
    }
    EXPECT_EQ(bitmap.HasTransparentColor(), c.transparent >= 0);
    if (c.transparent >= 0) {
        EXPECT_EQ(bitmap.GetTransparentColor(),
                  Bitmap::TransparentColor(c.transparent & 0xFF, c.transparent >> 8 & 0xFF,
                                           c.transparent >> 16 & 0xFF));
        EXPECT_TRUE(bitmap.IsColorKeyEnabled());
    }
    EXPECT_EQ(m_application.TakeReports(), c.configured ? Reports{} : Reports{kFailure});
}

INSTANTIATE_TEST_SUITE_P(Options, BitmapOptionTest, ::testing::ValuesIn(kOptionCases),
                         [](const ::testing::TestParamInfo<OptionCase>& info) { return info.param.name; });

TEST_F(BitmapTest, BitmapsOfOneImageShowTheirOwnParts) {
    Bitmap left;
    Bitmap right;
    ASSERT_TRUE(Configure(left, "art.bmp, Rect(0, 0, 2, 3)"));
    ASSERT_TRUE(Configure(right, "art.bmp, Rect(2, 0, 4, 3), TransparentColor(0, 0, 0)"));
    EXPECT_EQ(left.GetRecord(), right.GetRecord());
    EXPECT_EQ(Describe(left.GetClipRect()), "0,0,2,3");
    EXPECT_EQ(Describe(right.GetClipRect()), "2,0,4,3");
    EXPECT_FALSE(left.HasTransparentColor());
}

TEST_F(BitmapTest, ABitmapOpenedOnAnotherSharesItsRecordPartAndColour) {
    auto original = std::make_unique<Bitmap>();
    ASSERT_TRUE(Configure(*original, "art.bmp, Rect(1, 0, 3, 2), TransparentColor(9, 8, 7)"));
    Bitmap copy;
    ASSERT_TRUE(copy.OpenOnGraphic(*original));
    EXPECT_EQ(copy.GetRecord(), original->GetRecord());
    EXPECT_EQ(copy.GetRecord()->count, 2u);
    EXPECT_EQ(Describe(copy.GetClipRect()), "1,0,3,2");
    EXPECT_EQ(copy.GetTransparentColor(), Bitmap::TransparentColor(9, 8, 7));
    original.reset();
    EXPECT_EQ(copy.GetRecord()->count, 1u);
    EXPECT_EQ(Idle(), 0u);
}

TEST_F(BitmapTest, AnImageDecodedForAFormatIsSharedByTheNextBitmapOfThatFormat) {
    const Vemo::PixelFormat direct(Vemo::StandardPixelFormat(10));
    Bitmap first;
    Bitmap second;
    ASSERT_TRUE(Configure(first, "art.bmp", &direct));
    EXPECT_EQ(first.GetRecord()->format.extra, direct.extra);
    ASSERT_TRUE(Configure(second, "art.bmp", &direct));
    EXPECT_EQ(first.GetRecord(), second.GetRecord());
    EXPECT_EQ(first.GetRecord()->count, 2u);
}

} // namespace
