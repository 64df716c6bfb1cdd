// The timer family of a test application: a Timer System with the Win32 timer engine, made current with the
// application and shut down again (before the application's other systems) when the setup goes.
//
//     platform::testing::FakeClock clock(0xFFFFFF00);
//     TestApplication application;
//     TimingSetup timing(application);
//     Vemo::Timer timer;
//     timer.Open(Vemo::TimerSystem::Standard, 100, Vemo::TimerSystem::MilliSecond, Vemo::kTimerTypeId);
//     ...
//     timing.Update();  // the frame step's engine update
#pragma once

#include "engines/timing/TimerSystem.h"
#include "engines/timing/win32/Win32TimerEngine.h"
#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

namespace VemoTest {

class TimingSetup {
public:
    explicit TimingSetup(TestApplication& application) : m_application(application) {
        application.m_timerSystem = Vemo::TimerSystem::Create();
        m_engine = Vemo::Win32TimerEngine::Create();
        EXPECT_TRUE(application.m_timerSystem->AddEngine(m_engine));
    }
    TimingSetup(const TimingSetup&) = delete;
    TimingSetup& operator=(const TimingSetup&) = delete;

    ~TimingSetup() {
        if (m_application.m_timerSystem != nullptr) {
            m_application.m_timerSystem->Shutdown();
            m_application.m_timerSystem = nullptr;
        }
    }

    Vemo::TimerSystem* System() const { return m_application.m_timerSystem; }
    Vemo::Win32TimerEngine* Engine() const { return m_engine; }
    void Update() const { m_application.m_timerSystem->Update(); }

private:
    TestApplication& m_application;
    Vemo::Win32TimerEngine* m_engine = nullptr;
};

} // namespace VemoTest
