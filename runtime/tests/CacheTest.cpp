// The application's two caches as start-up makes them: the bitmap cache with its eviction timer, and the font
// cache messenger made from its script section.
#include "engines/testing/TimingSetup.h"
#include "engines/timing/TimerSystem.h"
#include "runtime/fonts/FontCache.h"
#include "runtime/pictures/BitmapCache.h"
#include "runtime/pictures/BitmapCacheTimer.h"
#include "script/testing/MessengerTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(BitmapCacheTest, InitializeOpensAOneSecondTimerThatStopsWhileNoImageWaits) {
    VemoTest::TestApplication application;
    VemoTest::TimingSetup timing(application);
    BitmapCache cache;
    ASSERT_TRUE(cache.Initialize());
    BitmapCacheTimer* timer = cache.GetTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->TimeScale(), Vemo::TimerSystem::Second);
    EXPECT_EQ(timer->Period(), 1u);
    ASSERT_TRUE(timer->Start());
    timer->AddTicks(1);
    EXPECT_FALSE(timer->IsRunning());
    EXPECT_EQ(timer->TakeTicks(), 1);
    EXPECT_EQ(application.TakeReports(), VemoTest::Reports{});
}

TEST(BitmapCacheTest, InitializeFailsWithoutATimerEngine) {
    VemoTest::TestApplication application;
    BitmapCache cache;
    EXPECT_FALSE(cache.Initialize());
    EXPECT_TRUE(VemoTest::ReportedInOrder(application.TakeReports(), {Messenger::kErrorSettings}));
}

TEST(FontCacheTest, IsMadeFromItsSectionByItsClassWord) {
    MessengerTest::World world;
    Script* script = world.AddScript("Quorven.ini", "[Fonts]\nClass=FontCache\n");
    auto* cache = world.Create<FontCache>("Fonts", nullptr, script);
    ASSERT_NE(cache, nullptr);
    EXPECT_EQ(std::string(cache->GetClassName().CStr()), "FontCache");
    EXPECT_EQ(cache->GetScript(), script);
    EXPECT_EQ(world.TakeReports(), VemoTest::Reports{});
}

} // namespace
