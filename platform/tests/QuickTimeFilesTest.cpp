#include "platform/tests/QuickTimeFixture.h"

#include "platform/tests/NeverWaiting.h"

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace qt::tests {
namespace {

class QuickTimeFilesTest : public QuickTimeTest {};

std::string SpecText(const FSSpec& spec) {
    return std::string(reinterpret_cast<const char*>(spec.name + 1), spec.name[0]);
}

TEST_F(QuickTimeFilesTest, PathsBecomeSpecsThroughTheDriveTable) {
    Write("Movies.mov", Pictures(2));
    FSSpec spec{};
    EXPECT_EQ(NativePathToFileSpec("c:\\MOVIES.MOV", &spec, 0), noErr);
    EXPECT_EQ(spec.vRefNum, 3);
    EXPECT_EQ(SpecText(spec), "c:\\MOVIES.MOV");
    EXPECT_EQ(NativePathToFileSpec("C:\\missing.mov", &spec, 0), fnfErr);
    EXPECT_EQ(SpecText(spec), "C:\\missing.mov");
    EXPECT_EQ(NativePathToFileSpec("C:\\no folder\\a.mov", &spec, 0), dirNFErr);
    EXPECT_EQ(NativePathToFileSpec("Q:\\a.mov", &spec, 0), dirNFErr);
    EXPECT_EQ(NativePathToFileSpec("movie.mov", &spec, 0), bdNamErr);
    EXPECT_EQ(NativePathToFileSpec(("C:\\" + std::string(300, 'a')).c_str(), &spec, 0), bdNamErr);
}

TEST_F(QuickTimeFilesTest, OpeningAMissingFileFails) {
    FSSpec spec = Spec("C:\\missing.mov");
    std::int16_t file = 7;
    EXPECT_EQ(OpenMovieFile(&spec, &file, 1), fnfErr);
    EXPECT_EQ(file, 0);
    EXPECT_EQ(CloseMovieFile(12345), rfNumErr);
}

TEST_F(QuickTimeFilesTest, CreatingReplacesOnlyWhenAskedAndAnOpenFileIsNotDeleted) {
    const std::string host = m_drives.HostPath('C', "new.mov");
    std::ofstream(host) << "old contents";
    FSSpec spec = Spec("C:\\new.mov");
    std::int16_t file = 0;
    Movie movie = nullptr;
    EXPECT_EQ(CreateMovieFile(&spec, MakeOSType("TVOD"), -2, 0, &file, &movie), dupFNErr);
    ASSERT_EQ(CreateMovieFile(&spec, MakeOSType("TVOD"), -2, createMovieFileDeleteCurFile, &file, &movie),
              noErr);
    EXPECT_NE(file, 0);
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(GetMovieTimeScale(movie), 600);
    EXPECT_FALSE(GetMovieActive(movie));
    EXPECT_EQ(std::ifstream(host, std::ios::ate).tellg(), 0);
    EXPECT_EQ(DeleteMovieFile(&spec), fBsyErr);
    EXPECT_EQ(CloseMovieFile(file), noErr);
    DisposeMovie(movie);
    EXPECT_EQ(DeleteMovieFile(&spec), noErr);
    EXPECT_EQ(DeleteMovieFile(&spec), fnfErr);
}

TEST_F(QuickTimeFilesTest, ReplacingRemovesAPlantedLinkAndMakesTheCallersOwnFile) {
    namespace fs = std::filesystem;
    // A link under the name, to a file elsewhere: replacing the name never writes through it.
    const fs::path victim = fs::path(m_drives.Base()) / "victim.txt";
    std::ofstream(victim) << "keep";
    const std::string host = m_drives.HostPath('C', "own.mov");
    fs::create_symlink(victim, host);
    FSSpec spec = Spec("C:\\own.mov");
    std::int16_t file = 0;
    Movie movie = nullptr;
    EXPECT_EQ(CreateMovieFile(&spec, MakeOSType("TVOD"), -2, 0, &file, &movie), dupFNErr);
    ASSERT_EQ(CreateMovieFile(&spec, MakeOSType("TVOD"), -2, createMovieFileDeleteCurFile, &file, &movie),
              noErr);
    EXPECT_EQ(CloseMovieFile(file), noErr);
    DisposeMovie(movie);
    std::ifstream kept(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep");
    struct stat made {};
    ASSERT_EQ(::lstat(host.c_str(), &made), 0);
    EXPECT_TRUE(S_ISREG(made.st_mode));
    EXPECT_EQ(made.st_mode & 0777, 0600u);

    // A link to a folder is a name as well: deleting removes the link, not the folder.
    const fs::path folder = fs::path(m_drives.Base()) / "folder";
    fs::create_directory(folder);
    fs::create_directory_symlink(folder, m_drives.HostPath('C', "linked.mov"));
    FSSpec linked = Spec("C:\\linked.mov");
    EXPECT_EQ(DeleteMovieFile(&linked), noErr);
    EXPECT_FALSE(fs::exists(fs::symlink_status(m_drives.HostPath('C', "linked.mov"))));
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(QuickTimeFilesTest, AMovieIsStoredOnlyInAFileOpenForWriting) {
    Write("clip.mov", Pictures(2));
    FSSpec spec = Spec("C:\\clip.mov");
    std::int16_t file = 0;
    ASSERT_EQ(OpenMovieFile(&spec, &file, 1), noErr);
    Movie movie = NewMovie(0);
    EXPECT_EQ(AddMovieResource(movie, file, nullptr, nullptr), wrPermErr);
    EXPECT_EQ(CloseMovieFile(file), noErr);
    DisposeMovie(movie);
}

// A FIFO or a device is no movie or sound file: refused at once, never waited on, whatever the access.
TEST_F(QuickTimeFilesTest, AFifoOrADeviceIsNoMovieFileAndIsNeverWaitedOn) {
    const std::string fifo = m_drives.HostPath('C', "pipe.mov");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    win32::DriveTable table = *win32::CurrentDriveTable();
    table.Add({'E', "/dev", win32::DRIVE_FIXED, {}, {}});
    win32::testing::ScopedDriveTable withDevices(table);
    const struct {
        const char* path;
        std::int8_t permission;
    } cases[] = {{"C:\\pipe.mov", 1}, {"C:\\pipe.mov", 3}, {"E:\\zero", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        FSSpec spec = Spec(c.path);
        std::int16_t file = 7;
        const OSErr error = platform::tests::WithoutWaitingOn(
            fifo, [&] { return OpenMovieFile(&spec, &file, c.permission); });
        EXPECT_EQ(error, ioErr);
        EXPECT_EQ(file, 0);
        if (error == noErr) {
            CloseMovieFile(file);
        }
    }
}

// A movie is read from the file that was opened: a name that stands for another file by then changes
// nothing.
TEST_F(QuickTimeFilesTest, AMovieIsReadFromTheFileOpenedNotFromItsNameAgain) {
    Write("clip.mov", Pictures(3));
    FSSpec spec = Spec("C:\\clip.mov");
    std::int16_t file = 0;
    ASSERT_EQ(OpenMovieFile(&spec, &file, 1), noErr);
    std::ofstream(m_drives.HostPath('C', "other.txt")) << "no movie";
    std::filesystem::rename(m_drives.HostPath('C', "other.txt"), m_drives.HostPath('C', "clip.mov"));
    Movie movie = nullptr;
    EXPECT_EQ(NewMovieFromFile(&movie, file, nullptr, nullptr, 0, nullptr), noErr);
    EXPECT_EQ(CloseMovieFile(file), noErr);
    ASSERT_NE(movie, nullptr);
    EXPECT_GT(GetMovieDuration(movie), 0);
    DisposeMovie(movie);
}

} // namespace
} // namespace qt::tests
