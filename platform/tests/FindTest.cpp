#include "platform/win32/files/Find.h"

#include "platform/testing/Drives.h"
#include "platform/testing/Find.h"
#include "platform/win32/HandleTable.h"
#include "platform/win32/LastError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <vector>

namespace {

using namespace win32;
namespace fs = std::filesystem;

class FindTest : public ::testing::Test {
protected:
    win32::testing::TemporaryDrives m_drives{{'C', DRIVE_FIXED}, {'D', DRIVE_CDROM}};

    void Put(const std::string& relative, const std::string& text, char drive = 'C') {
        std::ofstream(m_drives.HostPath(drive, relative), std::ios::binary) << text;
    }

    // Every record a search returns, in order; empty when the first call fails.
    static std::vector<WIN32_FIND_DATAA> Search(const char* pattern) {
        std::vector<WIN32_FIND_DATAA> found;
        WIN32_FIND_DATAA data;
        HANDLE search = FindFirstFileA(pattern, &data);
        if (search == INVALID_HANDLE_VALUE) {
            return found;
        }
        do {
            found.push_back(data);
        } while (FindNextFileA(search, &data));
        EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
        EXPECT_TRUE(FindClose(search));
        return found;
    }

    static std::vector<std::string> Names(const std::vector<WIN32_FIND_DATAA>& records, bool sorted = true) {
        std::vector<std::string> names;
        for (const WIN32_FIND_DATAA& data : records) {
            names.emplace_back(data.cFileName);
        }
        if (sorted) {
            std::sort(names.begin(), names.end());
        }
        return names;
    }
};

TEST_F(FindTest, ListsTheMatchingEntriesWithoutRegardToCase) {
    fs::create_directory(m_drives.HostPath('C', "Data"));
    Put("Data/Menu01.BMP", "1");
    Put("Data/menu02.bmp", "22");
    Put("Data/menu.txt", "333");
    Put("Data/readme", "4");
    fs::create_directory(m_drives.HostPath('C', "Data/Sub"));

    EXPECT_EQ(Names(Search("C:\\data\\MENU*.bmp")), (std::vector<std::string>{"Menu01.BMP", "menu02.bmp"}));
    EXPECT_EQ(Names(Search("C:/DATA/menu0?.BMP")), (std::vector<std::string>{"Menu01.BMP", "menu02.bmp"}));
    EXPECT_EQ(Names(Search("C:\\Data\\*.*")),
              (std::vector<std::string>{".", "..", "Menu01.BMP", "menu.txt", "menu02.bmp"}));
    EXPECT_EQ(Names(Search("C:\\Data\\*")),
              (std::vector<std::string>{".", "..", "Menu01.BMP", "Sub", "menu.txt", "menu02.bmp", "readme"}));
    // A name without wildcards finds the entry in its host spelling.
    EXPECT_EQ(Names(Search("C:\\data\\SUB")), std::vector<std::string>{"Sub"});
}

TEST_F(FindTest, ADriveRootHasNoDotEntries) {
    Put("file.txt", "x");
    EXPECT_EQ(Names(Search("C:\\*")), std::vector<std::string>{"file.txt"});
}

TEST_F(FindTest, RecordsCarryAttributesSizeAndTimes) {
    fs::create_directory(m_drives.HostPath('C', "dir"));
    Put("dir/five.bin", "12345");
    Put("dir/.hidden", "");
    fs::create_directory(m_drives.HostPath('C', "dir/sub"));
    fs::create_symlink(m_drives.HostPath('C', "dir/sub"), m_drives.HostPath('C', "dir/link"));
    ::chmod(m_drives.HostPath('C', "dir/.hidden").c_str(), 0444);
    struct stat info {};
    ASSERT_EQ(::stat(m_drives.HostPath('C', "dir/five.bin").c_str(), &info), 0);

    for (const WIN32_FIND_DATAA& data : Search("C:\\dir\\*")) {
        std::string name = data.cFileName;
        SCOPED_TRACE(name);
        EXPECT_EQ(data.cAlternateFileName[0], '\0');
        if (name == "five.bin") {
            EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE);
            EXPECT_EQ(data.nFileSizeLow, 5u);
            EXPECT_EQ(data.nFileSizeHigh, 0u);
            std::uint64_t write = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                  data.ftLastWriteTime.dwLowDateTime;
            std::uint64_t expected =
                (static_cast<std::uint64_t>(info.st_mtim.tv_sec) + 11644473600u) * 10000000u +
                static_cast<std::uint64_t>(info.st_mtim.tv_nsec) / 100;
            EXPECT_EQ(write, expected);
            std::uint64_t creation =
                (std::uint64_t{data.ftCreationTime.dwHighDateTime} << 32) | data.ftCreationTime.dwLowDateTime;
            EXPECT_GT(creation, 0u);
            EXPECT_LE(creation, write);
        } else if (name == ".hidden") {
            EXPECT_EQ(data.dwFileAttributes,
                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
        } else if (name == "sub") {
            EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
            EXPECT_EQ(data.nFileSizeLow, 0u);
        } else if (name == "link") {
            EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
        } else {
            EXPECT_TRUE(name == "." || name == "..");
            EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
        }
    }
}

TEST_F(FindTest, CdRomEntriesAreReadOnly) {
    Put("disc.dat", "x", 'D');
    std::vector<WIN32_FIND_DATAA> found = Search("D:\\*.dat");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
}

TEST_F(FindTest, FailuresSayWhatWasMissing) {
    fs::create_directory(m_drives.HostPath('C', "empty"));
    struct Case {
        const char* pattern;
        DWORD error;
    } cases[] = {
        {"C:\\empty\\*.txt", ERROR_FILE_NOT_FOUND},
        {"C:\\empty\\", ERROR_FILE_NOT_FOUND},
        {"C:\\", ERROR_FILE_NOT_FOUND},
        {"C:\\missing\\*", ERROR_PATH_NOT_FOUND},
        {"Q:\\*", ERROR_PATH_NOT_FOUND},
        {"C:\\em*y\\*", ERROR_INVALID_NAME},
    };
    WIN32_FIND_DATAA data;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(FindFirstFileA(c.pattern, &data), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), c.error);
    }
}

TEST_F(FindTest, TheNamesAreTakenWhenTheSearchStarts) {
    Put("a.txt", "a");
    Put("b.txt", "b");
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA("C:\\*.txt", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    std::string first = data.cFileName;
    Put("c.txt", "c");
    fs::remove(m_drives.HostPath('C', first == "a.txt" ? "b.txt" : "a.txt"));
    EXPECT_FALSE(FindNextFileA(search, &data)); // the other file went, the new one came too late
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(FindClose(search));
}

TEST_F(FindTest, FindCloseTakesOnlySearches) {
    Put("file.txt", "x");
    HANDLE file =
        CreateFileA("C:\\file.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(FindClose(file));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    WIN32_FIND_DATAA data;
    EXPECT_FALSE(FindNextFileA(file, &data));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_TRUE(CloseHandle(file));
}

TEST_F(FindTest, DotEntriesCanBeListedLast) {
    fs::create_directory(m_drives.HostPath('C', "dir"));
    Put("dir/x", "x");
    Put("dir/y", "y");
    win32::testing::DotEntriesLast dotsLast;
    std::vector<std::string> names = Names(Search("C:\\dir\\*"), false);
    ASSERT_EQ(names.size(), 4u);
    std::sort(names.begin(), names.begin() + 2);
    std::sort(names.begin() + 2, names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"x", "y", ".", ".."}));
}

} // namespace
