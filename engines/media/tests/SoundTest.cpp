#include "engines/media/Sound.h"

#include "engines/media/SoundEngine.h"
#include "engines/media/SoundErrorCodes.h"
#include "engines/media/SoundHandle.h"
#include "engines/media/SoundSearchCriterion.h"
#include "engines/media/SoundSystem.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/Path.h"
#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;

Path NamedPath(const char* name) {
    const String text(name);
    return Path(&text, nullptr);
}

// The base engine, logging the slots the criterion leads to; each can be told to fail.
class TestSoundEngine : public SoundEngine {
public:
    using SoundEngine::CreateSound;
    using SoundEngine::OpenSound;

    SoundHandle* OpenSound(const Path& path, bool keepFileOpen, bool streamed) override {
        String text;
        m_log.push_back("OpenSound " + std::string(path.GetText(text, true, false).CStr()) +
                        (keepFileOpen ? " keep" : "") + (streamed ? " streamed" : ""));
        return m_fail ? nullptr : SoundEngine::OpenSound(path, keepFileOpen, streamed);
    }
    SoundHandle* CreateSound() override {
        m_log.push_back("CreateSound");
        return m_fail ? nullptr : SoundEngine::CreateSound();
    }
    bool DestroySoundHandle(SoundHandle* handle) override {
        return SoundEngine::DestroySoundHandle(handle) && !m_fail;
    }

    std::vector<std::string> m_log;
    bool m_fail = false;
};

class SoundTest : public testing::Test {
protected:
    void SetUp() override {
        m_application.m_soundSystem = m_system = SoundSystem::Create();
        ASSERT_NE(m_system, nullptr);
        m_engine = static_cast<TestSoundEngine*>(SoundEngine::Create(new TestSoundEngine));
        ASSERT_TRUE(m_system->AddEngine(m_engine));
        m_application.TakeReports();
    }
    void TearDown() override {
        m_system->Shutdown();
        m_application.m_soundSystem = nullptr;
    }

    Reports Taken() { return m_application.TakeReports(); }

    TestApplication m_application;
    SoundSystem* m_system = nullptr;
    TestSoundEngine* m_engine = nullptr;
};

TEST_F(SoundTest, OpensAndCreatesThroughTheSlotsTheCriterionNames) {
    Sound opened;
    Sound created;
    ASSERT_TRUE(opened.Open(NamedPath("voice.wav"), false, true));
    ASSERT_TRUE(created.Create());
    EXPECT_EQ(m_engine->m_log, (std::vector<std::string>{"OpenSound voice.wav streamed", "CreateSound"}));
    EXPECT_EQ(m_system->GetSoundHandles().Size(), 2U);
    EXPECT_EQ(m_engine->GetSoundHandles().Size(), 2U);

    EXPECT_FALSE(opened.Create());
    EXPECT_EQ(Taken(), (Reports{ResourceSystemErrAlreadyOpen}));
}

TEST_F(SoundTest, ASoundOfAnEngineThatOverridesNothingPlaysNothing) {
    Sound sound;
    ASSERT_TRUE(sound.Open(NamedPath("plain.wav"), false, false));
    EXPECT_FALSE(sound.Start());
    EXPECT_EQ(sound.GetRealParameter(), 0.0f);
    EXPECT_EQ(sound.GetSoundHandle()->FromMovieTime(77), 77U);
    Path path;
    EXPECT_TRUE(sound.GetPath(path));
    String text;
    EXPECT_STREQ(path.GetText(text, true, false).CStr(), "plain.wav");
    EXPECT_TRUE(Taken().empty());
}

TEST_F(SoundTest, ASoundWithoutHandleReportsEveryOperationTaskIncluded) {
    Sound closed;
    Sound open;
    ASSERT_TRUE(open.Create());
    closed.Task();
    EXPECT_FALSE(closed.IsPlaying());
    EXPECT_FALSE(open.AppendSound(closed));
    const Reported noHandle(ResourceSystemErrNoHandle, "Sound");
    EXPECT_EQ(Taken(), (Reports{noHandle, noHandle, noHandle}));
}

TEST_F(SoundTest, ACriterionWithoutSourceIsRefusedBeforeAnyEngine) {
    SoundSearchCriterion criterion;
    Sound sound;
    EXPECT_EQ(m_system->Open(&criterion, &sound), nullptr);
    EXPECT_EQ(Taken(), (Reports{SoundSystemErrNoSource}));
    EXPECT_TRUE(m_engine->m_log.empty());
}

TEST_F(SoundTest, EngineFailuresAreReportedWithTheirSteps) {
    m_engine->m_fail = true;
    Sound sound;
    EXPECT_FALSE(sound.Open(NamedPath("voice.wav"), false, false));
    EXPECT_TRUE(ReportedInOrder(Taken(), {SoundEngineErrOpenFailed, ResourceSystemErrOpenFailed}));
    EXPECT_FALSE(sound.Create());
    EXPECT_TRUE(ReportedInOrder(Taken(), {SoundEngineErrCreateFailed, ResourceSystemErrOpenFailed}));
    m_engine->m_fail = false;
    {
        Sound held;
        ASSERT_TRUE(held.Create());
        m_engine->m_fail = true;
    }
    EXPECT_TRUE(ReportedInOrder(Taken(), {SoundEngineErrDestroyFailed}));
    EXPECT_TRUE(m_system->GetSoundHandles().Empty());
    m_application.m_soundSystem = nullptr;
    EXPECT_FALSE(sound.Create());
    EXPECT_EQ(Taken(), (Reports{ResourceSystemErrNoSystem}));
    m_application.m_soundSystem = m_system;
}

} // namespace
