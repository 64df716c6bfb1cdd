#include "controls/HelpControl.h"
#include "controls/tests/CoreControlTestSupport.h"

#include "platform/testing/Drives.h"
#include "resources/storage/Path.h"
#include "resources/storage/StorageSystem.h"
#include "resources/storage/win32/Win32StorageEngine.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace CoreControlTest;

class HelpControlTest : public Fixture {
protected:
    void TearDown() override {
        m_world.Application().CloseUserSettings();
        if (m_systems.m_storageSystem != nullptr) {
            m_systems.m_storageSystem->Shutdown();
            m_systems.m_storageSystem = nullptr;
        }
        Fixture::TearDown();
    }

    void Load(const std::string& keys = "Value=Help, Asked\n") {
        EXPECT_TRUE(Fixture::Load("[Menu]\nControl=Help\n[Help]\nClass=HelpControl\n" + keys));
        m_watcher = Watch(*Find("Help"));
    }

    // A user is selected: the user settings are open.
    void OpenUserSettings() {
        m_systems.m_storageSystem = Vemo::StorageSystem::Create();
        m_systems.m_storageSystem->AddEngine(Vemo::Win32StorageEngine::Create());
        std::filesystem::create_directories(m_drives.HostPath('C', "settings"));
        Vemo::Path path;
        ASSERT_TRUE(path.Parse(Vemo::String("HD0:/settings/User.ini")));
        ASSERT_TRUE(m_world.Application().OpenUserSettings(path));
        TakeReports();
    }

    win32::testing::TemporaryDrives m_drives{{'C', win32::DRIVE_FIXED, "SYSTEM"}};
    MessengerTest::Recorder* m_watcher = nullptr;
};

TEST_F(HelpControlTest, EachExamineCountsInTheVariableAndAnnouncesTheCount) {
    OpenUserSettings();
    Load();
    EXPECT_TRUE(Send("Help", "Examine"));
    EXPECT_EQ(Variable("Help", "Asked"), "1");
    EXPECT_EQ(m_watcher->TakeReceived(), Log{"Enter(1)"});
    EXPECT_TRUE(Send("Help", "examine"));
    EXPECT_EQ(Variable("Help", "Asked"), "2");
    EXPECT_EQ(m_watcher->TakeReceived(), Log{"Enter(2)"});

    m_world.SetVariable("Help", "Asked", "0x10");
    EXPECT_TRUE(Send("Help", "Examine"));
    EXPECT_EQ(Variable("Help", "Asked"), "17");
    EXPECT_EQ(m_watcher->TakeReceived(), Log{"Enter(17)"});
    EXPECT_EQ(TakeReports(), (Reports{}));
}

TEST_F(HelpControlTest, WithoutAUserOrAVariableNameExamineIsAQuietNoOp) {
    Load();
    EXPECT_TRUE(Send("Help", "Examine")) << "no user settings open";
    EXPECT_EQ(Variable("Help", "Asked"), "");
    EXPECT_EQ(m_watcher->TakeReceived(), Log{});

    m_watchers.Clear();
    delete m_owner;
    m_owner = nullptr;
    m_controls.Clear();
    OpenUserSettings();
    Load("Value=Help\n");
    EXPECT_TRUE(Send("Help", "Examine")) << "no name";
    EXPECT_EQ(m_watcher->TakeReceived(), Log{});
    EXPECT_EQ(TakeReports(), (Reports{}));
}

} // namespace
