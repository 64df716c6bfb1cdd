#include "resources/SystemAccessors.h"

#include "resources/ApplicationSystems.h"

#include <gtest/gtest.h>

namespace {

using namespace Vemo;

// The accessors read the ten pointers of the current application object, and give null without one.
TEST(SystemAccessorsTest, EachAccessorReadsItsOwnSystem) {
    char slots[10];
    auto fake = [&slots](int i) { return static_cast<void*>(&slots[i]); };
    struct Case {
        void* (*read)();
    };
    const Case accessors[] = {
        {[] { return static_cast<void*>(GetResourceSystem()); }},
        {[] { return static_cast<void*>(GetErrorSystem()); }},
        {[] { return static_cast<void*>(GetFontSystem()); }},
        {[] { return static_cast<void*>(GetGraphicSystem()); }},
        {[] { return static_cast<void*>(GetImageSystem()); }},
        {[] { return static_cast<void*>(GetInputDeviceSystem()); }},
        {[] { return static_cast<void*>(GetMovieSystem()); }},
        {[] { return static_cast<void*>(GetSoundSystem()); }},
        {[] { return static_cast<void*>(GetStorageSystem()); }},
        {[] { return static_cast<void*>(GetTimerSystem()); }},
    };

    ASSERT_EQ(ApplicationSystems::Current(), nullptr);
    for (const Case& accessor : accessors) {
        EXPECT_EQ(accessor.read(), nullptr);
    }
    {
        ApplicationSystems application;
        ApplicationSystems::SetCurrent(&application);
        for (const Case& accessor : accessors) {
            EXPECT_EQ(accessor.read(), nullptr) << "no system created yet";
        }
        application.m_resourceSystem = static_cast<ResourceSystem*>(fake(0));
        application.m_errorSystem = static_cast<ErrorSystem*>(fake(1));
        application.m_fontSystem = static_cast<FontSystem*>(fake(2));
        application.m_graphicSystem = static_cast<GraphicSystem*>(fake(3));
        application.m_imageSystem = static_cast<ImageSystem*>(fake(4));
        application.m_inputDeviceSystem = static_cast<InputDeviceSystem*>(fake(5));
        application.m_movieSystem = static_cast<MovieSystem*>(fake(6));
        application.m_soundSystem = static_cast<SoundSystem*>(fake(7));
        application.m_storageSystem = static_cast<StorageSystem*>(fake(8));
        application.m_timerSystem = static_cast<TimerSystem*>(fake(9));
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(accessors[i].read(), fake(i)) << i;
        }
    }
    // The application object is gone: it stopped being current.
    EXPECT_EQ(ApplicationSystems::Current(), nullptr);
    EXPECT_EQ(GetErrorSystem(), nullptr);
}

} // namespace
