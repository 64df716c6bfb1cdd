#include "platform/win32/files/ReplaceFile.h"

#include "platform/testing/CreationMask.h"
#include "platform/testing/Drives.h"
#include "platform/win32/LastError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace win32;
namespace fs = std::filesystem;

class ReplaceFileTest : public ::testing::Test {
protected:
    ReplaceFileTest() { fs::create_directories(Host("sync")); }

    std::string Host(const std::string& relative) { return m_drives.HostPath('C', relative); }

    void Put(const std::string& relative, const std::string& text, mode_t mode) {
        std::ofstream(Host(relative), std::ios::binary) << text;
        ::chmod(Host(relative).c_str(), mode);
    }

    std::string Contents(const std::string& relative) {
        std::ifstream file(Host(relative), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    struct stat Status(const std::string& relative) {
        struct stat status {};
        EXPECT_EQ(::stat(Host(relative).c_str(), &status), 0) << relative;
        return status;
    }

    win32::testing::CreationMask m_mask{022};
    win32::testing::TemporaryDrives m_drives{{'C', DRIVE_FIXED}};
};

TEST_F(ReplaceFileTest, TheReplacementTakesThePermissionBitsAndTheGroupOfTheFileItReplaces) {
    for (const mode_t mode : {mode_t{0600}, mode_t{0664}, mode_t{0640}}) {
        SCOPED_TRACE(mode);
        Put("User.ini", "old", mode);
        // A group this process may give a file: any for the superuser, else its own.
        const gid_t group =
            ::chown(Host("User.ini").c_str(), static_cast<uid_t>(-1), 4242) == 0 ? 4242 : ::getgid();
        Put("User.ini.new1", "new", 0644);
        ASSERT_TRUE(ReplaceFileA("C:\\User.ini", "C:\\User.ini.new1", nullptr, 0, nullptr, nullptr));
        EXPECT_EQ(Contents("User.ini"), "new");
        EXPECT_EQ(Status("User.ini").st_mode & 07777, mode);
        EXPECT_EQ(Status("User.ini").st_gid, group);
        EXPECT_FALSE(fs::exists(Host("User.ini.new1")));
    }
}

TEST_F(ReplaceFileTest, WhatCannotBeReplacedIsRefusedBeforeTheReplacementIsTouched) {
    struct Case {
        const char* what;
        const char* replaced;
        mode_t replacedMode;
        const char* backup;
        DWORD error;
    };
    const Case cases[] = {
        {"no replaced file", "C:\\Missing.ini", 0, nullptr, ERROR_FILE_NOT_FOUND},
        {"a read-only replaced file", "C:\\User.ini", 0444, nullptr, ERROR_ACCESS_DENIED},
        {"a backup asked for", "C:\\User.ini", 0600, "C:\\User.bak", ERROR_INVALID_PARAMETER},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        Put("User.ini", "old", test.replacedMode == 0 ? 0600 : test.replacedMode);
        Put("User.ini.new1", "new", 0644);
        EXPECT_FALSE(ReplaceFileA(test.replaced, "C:\\User.ini.new1", test.backup, 0, nullptr, nullptr));
        EXPECT_EQ(GetLastError(), test.error);
        EXPECT_EQ(Contents("User.ini"), "old");
        EXPECT_EQ(Contents("User.ini.new1"), "new");
        EXPECT_EQ(Status("User.ini.new1").st_mode & 07777, 0644U);
        fs::remove(Host("User.ini"));
    }
}

TEST_F(ReplaceFileTest, ALinkThatLeadsOutOfTheDriveHasNoModeToHandOnAndStays) {
    const std::string outside = (fs::path(m_drives.Base()) / "Outside.ini").string();
    std::ofstream(outside) << "outside";
    ::chmod(outside.c_str(), 0604);
    fs::create_symlink(outside, Host("User.ini"));
    Put("User.ini.new1", "new", 0644);
    EXPECT_FALSE(ReplaceFileA("C:\\User.ini", "C:\\User.ini.new1", nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(fs::is_symlink(Host("User.ini")));
    EXPECT_EQ(Status("User.ini.new1").st_mode & 07777, 0644U);
    struct stat kept {};
    ASSERT_EQ(::stat(outside.c_str(), &kept), 0);
    EXPECT_EQ(kept.st_mode & 07777, 0604U);
}

TEST_F(ReplaceFileTest, ALinkIsFollowedToTheFileItFinallyLeadsToOnItsDrive) {
    Put("sync/User.ini", "kept", 0600);
    fs::create_symlink("sync/User.ini", Host("Direct.ini"));
    fs::create_symlink("Direct.ini", Host("Chained.ini"));
    fs::create_symlink("../Direct.ini", Host("sync/Back.ini"));
    fs::create_symlink(Host("sync/Gone.ini"), Host("Dangling.ini"));
    Put("Plain.ini", "plain", 0600);
    const std::string outside = (fs::path(m_drives.Base()) / "Outside.ini").string();
    std::ofstream(outside) << "outside";
    fs::create_symlink(outside, Host("Out.ini"));
    struct Case {
        const char* name;
        const char* followed; // null: refused
    };
    const Case cases[] = {
        {"C:\\Plain.ini", "C:\\Plain.ini"},
        {"C:\\missing.ini", "C:\\missing.ini"},
        {"C:\\direct.INI", "C:\\sync\\User.ini"},
        {"C:\\Chained.ini", "C:\\sync\\User.ini"},
        {"C:\\sync\\Back.ini", "C:\\sync\\User.ini"},
        {"C:\\Out.ini", nullptr},
        {"C:\\Dangling.ini", nullptr},
    };
    for (const Case& test : cases) {
        std::string followed = "untouched";
        if (test.followed != nullptr) {
            EXPECT_TRUE(FollowFileLinkA(test.name, followed)) << test.name;
            EXPECT_EQ(followed, test.followed) << test.name;
        } else {
            EXPECT_FALSE(FollowFileLinkA(test.name, followed)) << test.name;
            EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED) << test.name;
        }
    }
}

TEST_F(ReplaceFileTest, OnADriveOfTheWholeHostEveryLinkIsFollowed) {
    const fs::path outside = fs::canonical(m_drives.Base()) / "Outside.ini";
    std::ofstream(outside) << "outside";
    fs::create_symlink(outside, Host("Out.ini"));
    DriveTable whole;
    whole.Add({'C', "/", DRIVE_FIXED, {}, {}});
    win32::testing::ScopedDriveTable installed(whole);
    std::string expected = "C:" + outside.string();
    std::replace(expected.begin(), expected.end(), '/', '\\');
    std::string followed;
    EXPECT_TRUE(FollowFileLinkA(("C:" + Host("Out.ini")).c_str(), followed));
    EXPECT_EQ(followed, expected);
}

} // namespace
