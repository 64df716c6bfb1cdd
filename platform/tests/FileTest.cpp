#include "platform/win32/files/File.h"

#include "platform/testing/Drives.h"
#include "platform/testing/FileFaultTesting.h"
#include "platform/tests/NeverWaiting.h"
#include "platform/win32/HandleTable.h"
#include "platform/win32/LastError.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

namespace {

using namespace win32;
namespace fs = std::filesystem;

class FileTest : public ::testing::Test {
protected:
    win32::testing::TemporaryDrives m_drives{{'C', DRIVE_FIXED}, {'D', DRIVE_CDROM}};

    void Put(char drive, const std::string& relative, const std::string& text) {
        std::ofstream(m_drives.HostPath(drive, relative), std::ios::binary) << text;
    }

    std::string Contents(char drive, const std::string& relative) {
        std::ifstream file(m_drives.HostPath(drive, relative), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    void MakeReadOnly(char drive, const std::string& relative) {
        fs::permissions(m_drives.HostPath(drive, relative),
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }

    static HANDLE Open(const char* path, DWORD access, DWORD share, DWORD disposition = OPEN_EXISTING) {
        return CreateFileA(path, access, share, nullptr, disposition, 0, nullptr);
    }
};

// Closes the handle at the end of the scope.
struct Closer {
    HANDLE handle;
    ~Closer() {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
};

TEST_F(FileTest, CreateNewWritesAFileThatReadsBack) {
    HANDLE file = Open("C:\\new.txt", GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ASSERT_NE(file, nullptr);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, "hello", 5, &written, nullptr));
    EXPECT_EQ(written, 5u);
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_BEGIN), 0u);
    char buffer[16] = {};
    DWORD read = 0;
    EXPECT_TRUE(ReadFile(file, buffer, sizeof(buffer), &read, nullptr));
    EXPECT_EQ(read, 5u);
    EXPECT_EQ(std::string(buffer, read), "hello");
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(Contents('C', "new.txt"), "hello");
}

TEST_F(FileTest, CreateNewFailsWhenTheNameExistsInAnotherSpelling) {
    Put('C', "Data.BIN", "x");
    EXPECT_EQ(Open("C:\\data.bin", GENERIC_WRITE, 0, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    EXPECT_FALSE(fs::exists(m_drives.HostPath('C', "data.bin")));
}

TEST_F(FileTest, OpenExistingFindsTheFileInAnySpellingAndBothSeparators) {
    fs::create_directory(m_drives.HostPath('C', "Titles"));
    Put('C', "Titles/Quorven.INI", "[x]");
    Closer file{Open("c:/TITLES\\quorven.ini", GENERIC_READ, FILE_SHARE_READ)};
    ASSERT_NE(file.handle, INVALID_HANDLE_VALUE);
    char buffer[8] = {};
    DWORD read = 0;
    EXPECT_TRUE(ReadFile(file.handle, buffer, sizeof(buffer), &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "[x]");
}

TEST_F(FileTest, OpenFailuresReportWindowsErrors) {
    fs::create_directory(m_drives.HostPath('C', "folder"));
    struct Case {
        const char* path;
        DWORD disposition;
        DWORD error;
    } cases[] = {
        {"C:\\missing.txt", OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
        {"C:\\missing\\file.txt", OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {"C:\\missing\\file.txt", CREATE_NEW, ERROR_PATH_NOT_FOUND},
        {"Q:\\file.txt", OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {"relative.txt", OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {"C:\\folder", OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {"C:\\", OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {"C:\\bad|name.txt", CREATE_NEW, ERROR_INVALID_NAME},
        {"C:\\what?.txt", OPEN_EXISTING, ERROR_INVALID_NAME},
        {"C:\\file.txt", 0, ERROR_INVALID_PARAMETER},
        {"C:\\file.txt", 6, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(Open(c.path, GENERIC_READ, FILE_SHARE_READ, c.disposition), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), c.error);
    }
}

// A FIFO, a socket or a device node of the host is no file: refused at once, never waited on. The device is
// reached through a drive that shows /dev (a link to it from another drive's folder leads out of that drive,
// which answers "not found" first).
TEST_F(FileTest, WhatIsNoRegularFileIsRefusedWithoutBlocking) {
    const std::string fifo = m_drives.HostPath('C', "pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", m_drives.HostPath('C', "zero"));
    const int listening = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listening, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = m_drives.HostPath('C', "sock");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    DriveTable table;
    table.Add({'C', m_drives.Folder('C'), DRIVE_FIXED, {}, {}});
    table.Add({'E', "/dev", DRIVE_FIXED, {}, {}});
    win32::testing::ScopedDriveTable withDevices(table);

    struct Case {
        const char* path;
        DWORD access;
        DWORD disposition;
        DWORD error;
    };
    for (const Case& c : {Case{"C:\\PIPE", GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
                          Case{"C:\\pipe", GENERIC_WRITE, OPEN_ALWAYS, ERROR_ACCESS_DENIED},
                          Case{"C:\\pipe", GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS, ERROR_ACCESS_DENIED},
                          Case{"E:\\zero", GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
                          Case{"E:\\zero", GENERIC_WRITE, TRUNCATE_EXISTING, ERROR_ACCESS_DENIED},
                          Case{"C:\\zero", GENERIC_READ, OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
                          Case{"C:\\sock", GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED}}) {
        SCOPED_TRACE(c.path);
        const auto [handle, error] = platform::tests::WithoutWaitingOn(fifo, [&] {
            const HANDLE opened = Open(c.path, c.access, FILE_SHARE_READ | FILE_SHARE_WRITE, c.disposition);
            return std::make_pair(opened, GetLastError());
        });
        EXPECT_EQ(handle, INVALID_HANDLE_VALUE);
        EXPECT_EQ(error, c.error);
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
    ::close(listening);
}

TEST_F(FileTest, ReadOnlyComesFromTheOwnerWriteBitEvenForRoot) {
    Put('C', "locked.txt", "keep");
    MakeReadOnly('C', "locked.txt");
    EXPECT_EQ(Open("C:\\locked.txt", GENERIC_WRITE, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Open("C:\\locked.txt", GENERIC_READ, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    Closer reader{Open("C:\\locked.txt", GENERIC_READ, FILE_SHARE_READ)};
    EXPECT_NE(reader.handle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Contents('C', "locked.txt"), "keep");
}

TEST_F(FileTest, CdRomFilesAreReadOnlyAndNothingIsCreatedThere) {
    Put('D', "disc.dat", "disc");
    EXPECT_EQ(Open("D:\\disc.dat", GENERIC_READ | GENERIC_WRITE, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Open("D:\\new.dat", GENERIC_WRITE, 0, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    Closer reader{Open("D:\\DISC.DAT", GENERIC_READ, FILE_SHARE_READ)};
    EXPECT_NE(reader.handle, INVALID_HANDLE_VALUE);
}

TEST_F(FileTest, ShareModesAreCheckedAgainstEveryHandleOnTheFile) {
    Put('C', "shared.txt", "0123456789");
    struct Case {
        DWORD firstAccess, firstShare, secondAccess, secondShare;
        bool secondOpens;
    } cases[] = {
        {GENERIC_READ, FILE_SHARE_READ, GENERIC_READ, FILE_SHARE_READ, true},
        {GENERIC_READ | GENERIC_WRITE, 0, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, false},
        {GENERIC_READ, FILE_SHARE_READ, GENERIC_WRITE, FILE_SHARE_READ, false},
        {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, GENERIC_WRITE, FILE_SHARE_READ, true},
        {GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, GENERIC_READ, FILE_SHARE_READ, false},
        {GENERIC_READ, FILE_SHARE_READ, GENERIC_READ, 0, false},
        {0, 0, GENERIC_READ | GENERIC_WRITE, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.firstAccess << "/" << c.firstShare << " then "
                                          << c.secondAccess << "/" << c.secondShare);
        Closer first{Open("C:\\shared.txt", c.firstAccess, c.firstShare)};
        ASSERT_NE(first.handle, INVALID_HANDLE_VALUE);
        // Another spelling of the same host file meets the same share modes.
        Closer second{Open("C:\\SHARED.TXT", c.secondAccess, c.secondShare)};
        EXPECT_EQ(second.handle != INVALID_HANDLE_VALUE, c.secondOpens);
        if (!c.secondOpens) {
            EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
        }
    }
}

TEST_F(FileTest, AHardLinkIsTheSameFileForShareModes) {
    Put('C', "one.txt", "x");
    fs::create_hard_link(m_drives.HostPath('C', "one.txt"), m_drives.HostPath('C', "two.txt"));
    Closer first{Open("C:\\one.txt", GENERIC_WRITE, 0)};
    ASSERT_NE(first.handle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open("C:\\two.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
}

TEST_F(FileTest, ClosingAHandleReleasesItsShareMode) {
    Put('C', "file.txt", "x");
    HANDLE writer = Open("C:\\file.txt", GENERIC_WRITE, 0);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open("C:\\file.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE), INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(writer));
    Closer reader{Open("C:\\file.txt", GENERIC_READ, FILE_SHARE_READ)};
    EXPECT_NE(reader.handle, INVALID_HANDLE_VALUE);
}

TEST_F(FileTest, DispositionsOnExistingAndMissingFiles) {
    Put('C', "existing.txt", "old data");
    {
        Closer file{Open("C:\\existing.txt", GENERIC_WRITE, 0, OPEN_ALWAYS)};
        ASSERT_NE(file.handle, INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    }
    EXPECT_EQ(Contents('C', "existing.txt"), "old data");
    {
        Closer file{Open("C:\\EXISTING.txt", GENERIC_WRITE, 0, CREATE_ALWAYS)};
        ASSERT_NE(file.handle, INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    }
    EXPECT_EQ(Contents('C', "existing.txt"), "");
    EXPECT_FALSE(fs::exists(m_drives.HostPath('C', "EXISTING.txt")));
    {
        Closer file{Open("C:\\fresh.txt", GENERIC_WRITE, 0, OPEN_ALWAYS)};
        ASSERT_NE(file.handle, INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    }
    EXPECT_TRUE(fs::exists(m_drives.HostPath('C', "fresh.txt")));
    EXPECT_EQ(Open("C:\\absent.txt", GENERIC_WRITE, 0, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(FileTest, AccessIsCheckedOnEachTransfer) {
    Put('C', "file.txt", "data");
    Closer reader{Open("C:\\file.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE)};
    DWORD count = 99;
    EXPECT_FALSE(WriteFile(reader.handle, "x", 1, &count, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(SetEndOfFile(reader.handle));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);

    Closer writer{Open("C:\\file.txt", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE)};
    char buffer[4];
    EXPECT_FALSE(ReadFile(writer.handle, buffer, sizeof(buffer), &count, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(FileTest, CallsOnAHandleThatIsNoFileFail) {
    char buffer[4];
    DWORD count = 0;
    HANDLE bogus = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x7FFFFFF0));
    EXPECT_FALSE(ReadFile(bogus, buffer, sizeof(buffer), &count, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetFilePointer(INVALID_HANDLE_VALUE, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GetFileSize(nullptr, nullptr), INVALID_FILE_SIZE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(FileTest, ReadAtTheEndSucceedsWithTheBytesThatArrived) {
    Put('C', "ten.bin", "0123456789");
    Closer file{Open("C:\\ten.bin", GENERIC_READ, FILE_SHARE_READ)};
    EXPECT_EQ(SetFilePointer(file.handle, 5, nullptr, FILE_BEGIN), 5u);
    char buffer[10];
    DWORD read = 0;
    EXPECT_TRUE(ReadFile(file.handle, buffer, 10, &read, nullptr));
    EXPECT_EQ(read, 5u);
    EXPECT_EQ(std::string(buffer, read), "56789");
    EXPECT_TRUE(ReadFile(file.handle, buffer, 10, &read, nullptr));
    EXPECT_EQ(read, 0u);
}

TEST_F(FileTest, SetFilePointerMovesInSixtyFourBits) {
    Put('C', "file.bin", "0123456789");
    Closer file{Open("C:\\file.bin", GENERIC_READ | GENERIC_WRITE, 0)};
    LONG high = 1;
    EXPECT_EQ(SetFilePointer(file.handle, 16, &high, FILE_BEGIN), 16u);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_EQ(high, 1);
    high = 0;
    EXPECT_EQ(SetFilePointer(file.handle, 0, &high, FILE_CURRENT), 16u);
    EXPECT_EQ(high, 1);

    high = 0;
    EXPECT_EQ(SetFilePointer(file.handle, -4, nullptr, FILE_END), 6u);
    EXPECT_EQ(SetFilePointer(file.handle, 2, nullptr, FILE_CURRENT), 8u);

    // A low half of all ones is a real position; the cleared last error tells it from a failure.
    high = 0;
    EXPECT_EQ(SetFilePointer(file.handle, -1, &high, FILE_BEGIN) /* 0x00000000FFFFFFFF */, 0xFFFFFFFFu);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_EQ(high, 0);
}

TEST_F(FileTest, SetFilePointerRefusesPositionsItCannotReach) {
    Put('C', "file.bin", "0123456789");
    Closer file{Open("C:\\file.bin", GENERIC_READ, 0)};
    EXPECT_EQ(SetFilePointer(file.handle, 4, nullptr, FILE_BEGIN), 4u);

    EXPECT_EQ(SetFilePointer(file.handle, -5, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
    // 2^63 as a 64-bit distance is negative.
    LONG high = static_cast<LONG>(0x80000000u);
    EXPECT_EQ(SetFilePointer(file.handle, 0, &high, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
    // Without the high half the new position must fit in 32 bits.
    high = 1;
    EXPECT_EQ(SetFilePointer(file.handle, 0, &high, FILE_BEGIN), 0u);
    EXPECT_EQ(SetFilePointer(file.handle, 1, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SetFilePointer(file.handle, 0, nullptr, 3), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    // A failed move leaves the pointer where it was.
    high = 0;
    EXPECT_EQ(SetFilePointer(file.handle, 0, &high, FILE_CURRENT), 0u);
    EXPECT_EQ(high, 1);
}

TEST_F(FileTest, SetEndOfFileCutsAndExtendsAtThePointer) {
    Put('C', "file.bin", "0123456789");
    Closer file{Open("C:\\file.bin", GENERIC_READ | GENERIC_WRITE, 0)};
    EXPECT_EQ(SetFilePointer(file.handle, 4, nullptr, FILE_BEGIN), 4u);
    EXPECT_TRUE(SetEndOfFile(file.handle));
    DWORD high = 7;
    EXPECT_EQ(GetFileSize(file.handle, &high), 4u);
    EXPECT_EQ(high, 0u);
    EXPECT_EQ(Contents('C', "file.bin"), "0123");

    LONG far = 1;
    EXPECT_EQ(SetFilePointer(file.handle, 2, &far, FILE_BEGIN), 2u);
    if (!SetEndOfFile(file.handle)) {
        GTEST_SKIP() << "the host file system cannot hold a file of 4 GiB";
    }
    EXPECT_EQ(GetFileSize(file.handle, &high), 2u);
    EXPECT_EQ(high, 1u);
    EXPECT_EQ(GetFileSize(file.handle, nullptr), 2u);
}

TEST_F(FileTest, TransfersReportTheCountMoved) {
    Closer file{Open("C:\\count.bin", GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW)};
    std::string data(300000, 'v');
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file.handle, data.data(), static_cast<DWORD>(data.size()), &written, nullptr));
    EXPECT_EQ(written, data.size());
    EXPECT_TRUE(WriteFile(file.handle, nullptr, 0, &written, nullptr));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(GetFileSize(file.handle, nullptr), data.size());
    OVERLAPPED overlapped{};
    EXPECT_FALSE(WriteFile(file.handle, "x", 1, &written, &overlapped));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(FileTest, AFlushNeedsWriteAccess) {
    Put('C', "a.ini", "old");
    Closer reading{Open("C:\\a.ini", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE)};
    EXPECT_FALSE(FlushFileBuffers(reading.handle));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    Closer writing{Open("C:\\a.ini", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE)};
    EXPECT_TRUE(FlushFileBuffers(writing.handle));
}

TEST_F(FileTest, DeleteAccessIsRefusedWhileAHandleDoesNotShareDelete) {
    Put('C', "a.ini", "old");
    const DWORD all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    {
        Closer held{Open("C:\\a.ini", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE)};
        EXPECT_EQ(Open("C:\\a.ini", DELETE, all), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    }
    Closer shared{Open("C:\\a.ini", GENERIC_READ, all)};
    Closer deleting{Open("C:\\a.ini", DELETE, all)};
    ASSERT_NE(deleting.handle, INVALID_HANDLE_VALUE);
    // The other way round too: what is open for deleting keeps out whoever does not share it.
    EXPECT_EQ(Open("C:\\a.ini", GENERIC_READ, FILE_SHARE_READ), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    DWORD count = 0;
    char byte = 0;
    EXPECT_FALSE(ReadFile(deleting.handle, &byte, 1, &count, nullptr)) << "delete access reads nothing";
}

TEST_F(FileTest, AFailingCallOfATestChangesNothing) {
    Put('C', "a.ini", "old");
    Closer file{Open("C:\\a.ini", GENERIC_READ | GENERIC_WRITE, 0)};
    DWORD written = 7;
    {
        const win32::testing::FailingFileCalls failing(FileFault::Write);
        EXPECT_FALSE(WriteFile(file.handle, "new", 3, &written, nullptr));
        EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
        EXPECT_EQ(written, 0u);
    }
    {
        const win32::testing::FailingFileCalls failing(FileFault::Flush, ERROR_WRITE_FAULT);
        EXPECT_FALSE(FlushFileBuffers(file.handle));
        EXPECT_EQ(GetLastError(), ERROR_WRITE_FAULT);
    }
    EXPECT_EQ(Contents('C', "a.ini"), "old");
    EXPECT_TRUE(WriteFile(file.handle, "new", 3, &written, nullptr));
    EXPECT_TRUE(FlushFileBuffers(file.handle));
    EXPECT_EQ(Contents('C', "a.ini"), "new");
}

} // namespace
