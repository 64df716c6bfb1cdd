#include "resources/storage/Volume.h"
#include "resources/storage/Directory.h"
#include "resources/testing/StorageTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace Vemo;
using namespace VemoTest;

using VolumeTest = Win32DrivesTest;

TEST_F(VolumeTest, AVolumeIsOpenedByItsNameAloneAndSharedByAnotherVolume) {
    const String name("CD0");
    Volume disc;
    ASSERT_TRUE(disc.Open(&name, nullptr, false));
    Volume again;
    ASSERT_TRUE(again.Open(disc));
    EXPECT_EQ(again.GetVolumeHandle(), disc.GetVolumeHandle());
    EXPECT_STREQ(again.Label()->CStr(), "DISC1");

    Volume closed;
    Volume other;
    EXPECT_FALSE(other.Open(closed));
    EXPECT_FALSE(disc.Open(&name, nullptr, false));
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{ResourceSystemErrNoHandle, "Volume"}, {ResourceSystemErrAlreadyOpen}}));
}

TEST_F(VolumeTest, AFailedOpenInADirectoryNamesTheDirectorysPath) {
    Directory root;
    OpenDirectory(root, "HD0:");
    const String name("archive");
    Volume volume;
    EXPECT_FALSE(volume.Open(&name, &root, false));
    const Reports reports = m_application.TakeReports();
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports[reports.size() - 2], Reported(ResourceSystemErrOpenFailed));
    EXPECT_EQ(reports.back(), Reported(StorageSystemErrVolumeOpenFailed, "HD0:/archive"));

    const String missing("HD9");
    EXPECT_FALSE(volume.Open(&missing, nullptr, false));
    EXPECT_EQ(m_application.TakeReports().back(), Reported(StorageSystemErrVolumeOpenFailed, "HD9"));
}

TEST_F(VolumeTest, EveryOperationOfAClosedVolumeReportsOnceAndAnswersNeutrally) {
    Volume closed;
    const std::vector<std::pair<const char*, std::function<bool()>>> operations = {
        {"Lock", [&] { return !closed.Lock(); }},
        {"Unlock", [&] { return !closed.Unlock(); }},
        {"Insert", [&] { return !closed.Insert(); }},
        {"Remove", [&] { return !closed.Remove(); }},
        {"IsReadable", [&] { return !closed.IsReadable(); }},
        {"IsWriteable", [&] { return !closed.IsWriteable(); }},
        {"IsLockable", [&] { return !closed.IsLockable(); }},
        {"IsRemovable", [&] { return !closed.IsRemovable(); }},
        {"Verify", [&] { return !closed.Verify(); }},
        {"PathText", [&] { return closed.PathText(true, false) == nullptr; }},
        {"PathPart", [&] { return closed.PathPart(false) == nullptr; }},
        {"ContainerFile", [&] { return closed.ContainerFile() == nullptr; }},
        {"Size", [&] { return closed.Size() == 0; }},
        {"Free", [&] { return closed.Free() == 0; }},
        {"ClusterSize", [&] { return closed.ClusterSize() == 0; }},
        {"ReadAhead", [&] { return closed.ReadAhead() == 0; }},
        {"SetLabel", [&] { return !closed.SetLabel(String("x")); }},
        {"Label", [&] { return closed.Label() == nullptr; }},
        {"Serial", [&] { return closed.Serial() == 0; }},
    };
    for (const auto& [what, neutral] : operations) {
        EXPECT_TRUE(neutral()) << what;
        EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrNoHandle}})) << what;
    }
    EXPECT_FALSE(closed.Changed());
    EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrNotSupported, "Volume::Changed"}}));
}

} // namespace
