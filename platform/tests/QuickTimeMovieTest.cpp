#include "platform/tests/QuickTimeFixture.h"

#include <filesystem>
#include <ostream>

namespace qt::tests {
namespace {

class QuickTimeMovieTest : public QuickTimeTest {};

TEST_F(QuickTimeMovieTest, AMovieFileHasItsTracksDurationBoxAndHeaderTimeScale) {
    testing::MediaFile file = Pictures(10, 64, 48);
    file.sounds.push_back(testing::SoundTrack{});
    file.movieTimeScale = 1000;
    Movie movie = Open(Write("clip.mov", file));
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(GetMovieTimeScale(movie), 1000);
    EXPECT_EQ(GetMovieDuration(movie), 1000);
    EXPECT_EQ(GetMovieTrackCount(movie), 2);
    Rect box{};
    GetMovieBox(movie, &box);
    EXPECT_EQ(box.right - box.left, 64);
    EXPECT_EQ(box.bottom - box.top, 48);
    EXPECT_FALSE(GetMovieActive(movie));
    EXPECT_NE(GetMovieIndexedTrackOfType(movie, 1, VisualMediaCharacteristic, movieTrackCharacteristic),
              nullptr);
    EXPECT_NE(GetMovieIndexedTrackOfType(movie, 1, AudioMediaCharacteristic, movieTrackCharacteristic),
              nullptr);
    EXPECT_EQ(GetMovieIndexedTrackOfType(movie, 2, AudioMediaCharacteristic, movieTrackCharacteristic),
              nullptr);
    DisposeMovie(movie);
    EXPECT_EQ(GetMoviesError(), noErr);
}

TEST_F(QuickTimeMovieTest, AMovieHeaderWithTimeScaleZeroIsRefused) {
    const std::string path = Write("zero.mov", Pictures());
    testing::PatchMovieTimeScale(m_drives.HostPath('C', "zero.mov"), 0);
    FSSpec spec = Spec(path);
    std::int16_t file = 0;
    ASSERT_EQ(OpenMovieFile(&spec, &file, 1), noErr);
    Movie movie = nullptr;
    EXPECT_EQ(NewMovieFromFile(&movie, file, nullptr, nullptr, 0, nullptr), invalidMovie);
    EXPECT_EQ(movie, nullptr);
    EXPECT_EQ(CloseMovieFile(file), noErr);
}

TEST_F(QuickTimeMovieTest, AFileWithoutMediaIsNoMovie) {
    const std::string host = m_drives.HostPath('C', "text.mov");
    FILE* out = std::fopen(host.c_str(), "wb");
    std::fputs("this is not a movie at all", out);
    std::fclose(out);
    FSSpec spec = Spec("C:\\text.mov");
    std::int16_t file = 0;
    ASSERT_EQ(OpenMovieFile(&spec, &file, 1), noErr);
    Movie movie = nullptr;
    EXPECT_EQ(NewMovieFromFile(&movie, file, nullptr, nullptr, 0, nullptr), noMovieFound);
    EXPECT_EQ(CloseMovieFile(file), noErr);
}

TEST_F(QuickTimeMovieTest, TimeRunsOnThePlatformClockOnlyWhileActiveAtARate) {
    Movie movie = Open(Write("clip.mov", Pictures()));
    StartMovie(movie);
    EXPECT_TRUE(GetMovieActive(movie));
    Advance(250);
    EXPECT_EQ(GetMovieTime(movie, nullptr), 150);
    SetMovieActive(movie, false);
    Advance(250);
    EXPECT_EQ(GetMovieTime(movie, nullptr), 150);
    SetMovieActive(movie, true);
    StopMovie(movie);
    Advance(250);
    EXPECT_EQ(GetMovieTime(movie, nullptr), 150);
    DisposeMovie(movie);
}

TEST_F(QuickTimeMovieTest, AMovieStopsAtItsEndAndIsDone) {
    Movie movie = Open(Write("clip.mov", Pictures()));
    StartMovie(movie);
    Advance(900);
    EXPECT_FALSE(IsMovieDone(movie));
    Advance(200);
    EXPECT_TRUE(IsMovieDone(movie));
    EXPECT_EQ(GetMovieTime(movie, nullptr), 600);
    GoToMovieStart(movie);
    EXPECT_FALSE(IsMovieDone(movie));
    DisposeMovie(movie);
}

TEST_F(QuickTimeMovieTest, ANegativeRatePlaysBackwardsToTheStart) {
    Movie movie = Open(Write("clip.mov", Pictures()));
    GoToMovieEnd(movie);
    SetMoviePreferredRate(movie, kBackwards);
    StartMovie(movie);
    Advance(500);
    EXPECT_EQ(GetMovieTime(movie, nullptr), 300);
    EXPECT_FALSE(IsMovieDone(movie));
    Advance(600);
    EXPECT_EQ(GetMovieTime(movie, nullptr), 0);
    EXPECT_TRUE(IsMovieDone(movie));
    DisposeMovie(movie);
}

TEST_F(QuickTimeMovieTest, ClosingTheFileAfterTheOpenDoesNotStopTheMovie) {
    Movie movie = Open(Write("clip.mov", Pictures()));
    TestWorld world(64, 48);
    SetMovieGraphicsPort(movie, world.World(), nullptr);
    StartMovie(movie);
    Advance(550);
    TaskMovies(movie, 0);
    EXPECT_TRUE(Near(world.Pixel32(10, 10), testing::FrameColor(5))) << std::hex << world.Pixel32(10, 10);
    DisposeMovie(movie);
}

TEST_F(QuickTimeMovieTest, TaskingDrawsTheCurrentFrameScaledToTheBox) {
    Movie movie = Open(Write("clip.mov", Pictures()));
    TestWorld world(100, 80);
    SetMovieGraphicsPort(movie, world.World(), nullptr);
    Rect box{10, 20, 40, 60};
    SetMovieBox(movie, &box);
    SetMovieActive(movie, true);
    for (int frame : {0, 3, 9}) {
        SetMovieTimeValue(movie, frame * 60 + 30);
        TaskMovies(nullptr, 0);
        EXPECT_TRUE(Near(world.Pixel32(21, 11), testing::FrameColor(frame))) << frame;
        EXPECT_TRUE(Near(world.Pixel32(59, 39), testing::FrameColor(frame))) << frame;
        EXPECT_EQ(world.Pixel32(19, 11), 0U) << "left of the box";
        EXPECT_EQ(world.Pixel32(21, 40), 0U) << "below the box";
    }
    // Going back decodes the earlier frame again.
    SetMovieTimeValue(movie, 90);
    TaskMovies(movie, 0);
    EXPECT_TRUE(Near(world.Pixel32(30, 20), testing::FrameColor(1)));
    DisposeMovie(movie);
}

TEST_F(QuickTimeMovieTest, TheTaskOfAllMoviesLeavesInactiveOnesAsTheyAre) {
    Movie movie = Open(Write("clip.mov", Pictures()));
    TestWorld world(64, 48);
    SetMovieGraphicsPort(movie, world.World(), nullptr);
    TaskMovies(nullptr, 0);
    TaskMovies(movie, 0);
    EXPECT_EQ(world.Pixel32(5, 5), 0U);
    SetMovieActive(movie, true);
    TaskMovies(nullptr, 0);
    EXPECT_TRUE(Near(world.Pixel32(5, 5), testing::FrameColor(0)));
    DisposeMovie(movie);
}

TEST_F(QuickTimeMovieTest, ABoxPartlyOutsideTheWorldIsClipped) {
    Movie movie = Open(Write("clip.mov", Pictures()));
    TestWorld world(32, 32);
    SetMovieGraphicsPort(movie, world.World(), nullptr);
    Rect box{-16, -16, 48, 48};
    SetMovieBox(movie, &box);
    SetMovieActive(movie, true);
    TaskMovies(movie, 0);
    EXPECT_TRUE(Near(world.Pixel32(0, 0), testing::FrameColor(0)));
    EXPECT_TRUE(Near(world.Pixel32(31, 31), testing::FrameColor(0)));
    DisposeMovie(movie);
}

TEST_F(QuickTimeMovieTest, AnUnlockedOrDisposedWorldIsNotDrawnInto) {
    Movie movie = Open(Write("clip.mov", Pictures()));
    {
        TestWorld world(64, 48);
        SetMovieGraphicsPort(movie, world.World(), nullptr);
        SetMovieActive(movie, true);
        UnlockPixels(GetGWorldPixMap(world.World()));
        TaskMovies(movie, 0);
        EXPECT_EQ(world.Pixel32(5, 5), 0U);
    }
    CGrafPtr port = nullptr;
    GetMovieGraphicsPort(movie, &port, nullptr);
    EXPECT_EQ(port, nullptr);
    TaskMovies(movie, 0);
    DisposeMovie(movie);
}

struct FormatCase {
    const char* name;
    OSType format;
    int bits;
};

void PrintTo(const FormatCase& item, std::ostream* out) {
    *out << item.name;
}

class QuickTimeWorldFormatTest : public QuickTimeTest, public ::testing::WithParamInterface<FormatCase> {};

// Reads pixel (x, y) back as x-R-G-B, whatever the format.
std::uint32_t ReadBack(const std::vector<char>& pixels, int rowBytes, OSType format, int x, int y) {
    const auto* row = reinterpret_cast<const std::uint8_t*>(pixels.data()) + y * rowBytes;
    auto rgb = [](int r, int g, int b) { return static_cast<std::uint32_t>((r << 16) | (g << 8) | b); };
    switch (format) {
    case k32BGRAPixelFormat:
        return rgb(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]);
    case k32RGBAPixelFormat:
        return rgb(row[x * 4], row[x * 4 + 1], row[x * 4 + 2]);
    case k32ABGRPixelFormat:
        return rgb(row[x * 4 + 3], row[x * 4 + 2], row[x * 4 + 1]);
    case k32ARGBPixelFormat:
        return rgb(row[x * 4 + 1], row[x * 4 + 2], row[x * 4 + 3]);
    case k24BGRPixelFormat:
        return rgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
    case k24RGBPixelFormat:
        return rgb(row[x * 3], row[x * 3 + 1], row[x * 3 + 2]);
    case k16LE555PixelFormat: {
        const int v = row[x * 2] | (row[x * 2 + 1] << 8);
        return rgb(((v >> 10) & 31) << 3, ((v >> 5) & 31) << 3, (v & 31) << 3);
    }
    case k16LE565PixelFormat: {
        const int v = row[x * 2] | (row[x * 2 + 1] << 8);
        return rgb(((v >> 11) & 31) << 3, ((v >> 5) & 63) << 2, (v & 31) << 3);
    }
    default:
        return 0;
    }
}

TEST_P(QuickTimeWorldFormatTest, FramesLandInTheWorldsPixelFormat) {
    const FormatCase& param = GetParam();
    Movie movie = Open(Write("clip.mov", Pictures()));
    const int width = 40;
    const int height = 30;
    const int rowBytes = (width * param.bits / 8 + 3) / 4 * 4;
    std::vector<char> pixels(static_cast<std::size_t>(rowBytes) * height, 0);
    Rect bounds{0, 0, static_cast<std::int16_t>(height), static_cast<std::int16_t>(width)};
    GWorldPtr world = nullptr;
    ASSERT_EQ(NewGraphicsWorldFromMemory(&world, param.format, &bounds, nullptr, nullptr, 0, pixels.data(),
                                         rowBytes),
              noErr);
    ASSERT_TRUE(LockPixels(GetGWorldPixMap(world)));
    SetMovieGraphicsPort(movie, world, nullptr);
    SetMovieBox(movie, &bounds);
    SetMovieActive(movie, true);
    SetMovieTimeValue(movie, 4 * 60);
    TaskMovies(movie, 0);
    EXPECT_TRUE(Near(ReadBack(pixels, rowBytes, param.format, 20, 15), testing::FrameColor(4), 10))
        << std::hex << ReadBack(pixels, rowBytes, param.format, 20, 15);
    DisposeMovie(movie);
    UnlockPixels(GetGWorldPixMap(world));
    DisposeGraphicsWorld(world);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, QuickTimeWorldFormatTest,
    ::testing::Values(FormatCase{"BGRA", k32BGRAPixelFormat, 32}, FormatCase{"RGBA", k32RGBAPixelFormat, 32},
                      FormatCase{"ABGR", k32ABGRPixelFormat, 32}, FormatCase{"ARGB", k32ARGBPixelFormat, 32},
                      FormatCase{"BGR24", k24BGRPixelFormat, 24}, FormatCase{"RGB24", k24RGBPixelFormat, 24},
                      FormatCase{"L555", k16LE555PixelFormat, 16},
                      FormatCase{"L565", k16LE565PixelFormat, 16}),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST_F(QuickTimeMovieTest, ANegativeRowPitchFillsABottomUpBitmapFromItsLastRow) {
    Movie movie = Open(Write("clip.mov", Pictures()));
    constexpr int kWidth = 8;
    constexpr int kHeight = 6;
    std::vector<std::uint32_t> bitmap(kWidth * kHeight, 0);
    Rect bounds{0, 0, kHeight, kWidth};
    GWorldPtr world = nullptr;
    ASSERT_EQ(NewGraphicsWorldFromMemory(&world, k32BGRAPixelFormat, &bounds, nullptr, nullptr, 0,
                                         reinterpret_cast<Ptr>(&bitmap[(kHeight - 1) * kWidth]), -kWidth * 4),
              noErr);
    LockPixels(GetGWorldPixMap(world));
    SetMovieGraphicsPort(movie, world, nullptr);
    Rect topHalf{0, 0, kHeight / 2, kWidth};
    SetMovieBox(movie, &topHalf);
    SetMovieActive(movie, true);
    TaskMovies(movie, 0);
    EXPECT_TRUE(Near(bitmap[(kHeight - 1) * kWidth] & 0xFFFFFF, testing::FrameColor(0)))
        << "the picture's top row";
    EXPECT_EQ(bitmap[0], 0U) << "the picture's bottom row stays";
    DisposeMovie(movie);
    UnlockPixels(GetGWorldPixMap(world));
    DisposeGraphicsWorld(world);
}

TEST_F(QuickTimeMovieTest, IndexedWorldsTakeTheNearestEntryOfTheirStandardTable) {
    struct Case {
        const char* what;
        int bits;
        int frame;
        std::int16_t boxRight;
        int byteAt;
        std::uint8_t expected;
    };
    const Case cases[] = {
        // Frame 2 is (100, 207, 240): the cube's nearest is (102, 204, 255), index 2 * 36 + 4 * 6 + 5.
        {"8 bits", 8, 2, 32, 16, 2 * 36 + 4 * 6 + 5},
        // Frame 1 is light (60, 231, 150): white, index 1, in the eight pixels of the box, the first highest.
        {"1 bit, box", 1, 1, 8, 0, 0xFF},
        {"1 bit, beside the box", 1, 1, 8, 1, 0x00},
    };
    Movie movie = Open(Write("clip.mov", Pictures()));
    SetMovieActive(movie, true);
    for (const Case& c : cases) {
        TestWorld world(32, 4, static_cast<OSType>(c.bits), c.bits);
        SetMovieGraphicsPort(movie, world.World(), nullptr);
        Rect box{0, 0, 4, c.boxRight};
        SetMovieBox(movie, &box);
        SetMovieTimeValue(movie, c.frame * 60);
        TaskMovies(movie, 0);
        EXPECT_EQ(world.Byte(c.byteAt, 2), c.expected) << c.what;
    }
    DisposeMovie(movie);
}

TEST_F(QuickTimeMovieTest, FrameEdgesAnswerTheNextInterestingTime) {
    Movie movie = Open(Write("clip.mov", Pictures()));
    TimeValue next = 0;
    TimeValue length = 0;
    GetMovieNextInterestingTime(movie, nextTimeStep, 0, nullptr, 0, kFixed1, &next, &length);
    EXPECT_EQ(next, 60);
    EXPECT_EQ(length, 60);
    GetMovieNextInterestingTime(movie, nextTimeStep, 0, nullptr, 150, kFixed1, &next, nullptr);
    EXPECT_EQ(next, 180);
    GetMovieNextInterestingTime(movie, nextTimeStep, 0, nullptr, 150, kBackwards, &next, nullptr);
    EXPECT_EQ(next, 120);
    GetMovieNextInterestingTime(movie, nextTimeStep, 0, nullptr, 540, kFixed1, &next, nullptr);
    EXPECT_EQ(next, -1);
    GetMovieNextInterestingTime(movie, nextTimeStep, 0, nullptr, 0, kBackwards, &next, nullptr);
    EXPECT_EQ(next, -1);
    int frames = 1;
    TimeValue edge = 0;
    for (;;) {
        TimeValue found = -1;
        GetMovieNextInterestingTime(movie, nextTimeStep, 0, nullptr, edge, kFixed1, &found, nullptr);
        if (found <= edge) {
            break;
        }
        ++frames;
        edge = found;
    }
    EXPECT_EQ(frames, 10);
    DisposeMovie(movie);
}

TEST_F(QuickTimeMovieTest, ASoundHasNoFrameEdges) {
    Movie movie = Open(Write("tone.wav", [] {
        testing::MediaFile file = Sound();
        file.format = "wav";
        return file;
    }()));
    EXPECT_EQ(GetMovieTimeScale(movie), 600);
    EXPECT_EQ(GetMovieDuration(movie), 600);
    TimeValue next = 0;
    GetMovieNextInterestingTime(movie, nextTimeStep, 0, nullptr, 0, kFixed1, &next, nullptr);
    EXPECT_EQ(next, -1);
    DisposeMovie(movie);
}

TEST_F(QuickTimeMovieTest, CallsOnAnyOpenMovieAnswerWhateverItHolds) {
    Movie empty = NewMovie(0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(GetMovieTimeScale(empty), 600);
    StartMovie(empty);
    EXPECT_EQ(GetMoviesError(), noErr);
    EXPECT_TRUE(IsMovieDone(empty));
    GoToMovieEnd(empty);
    SetMovieVolume(empty, 128);
    EXPECT_EQ(GetMovieVolume(empty), 128);
    EXPECT_EQ(PrerollMovie(empty, 0, kFixed1), noErr);
    TaskMovies(empty, 0);
    EXPECT_EQ(GetMoviesError(), noErr);
    DisposeMovie(empty);
}

TEST_F(QuickTimeMovieTest, ADisposedMovieIsRefusedAsInvalid) {
    Movie movie = NewMovie(0);
    DisposeMovie(movie);
    StartMovie(movie);
    EXPECT_EQ(GetMoviesError(), invalidMovie);
    EXPECT_EQ(GetMovieDuration(movie), 0);
}

TEST_F(QuickTimeMovieTest, AMovieKeptInMemoryPlaysAfterItsFileIsGone) {
    const std::string path = Write("clip.mov", Pictures());
    Movie movie = Open(path);
    EXPECT_EQ(LoadMovieIntoMemory(movie, 0, GetMovieDuration(movie), keepInRam), noErr);
    FSSpec spec = Spec(path);
    EXPECT_EQ(DeleteMovieFile(&spec), noErr);
    TestWorld world(64, 48);
    SetMovieGraphicsPort(movie, world.World(), nullptr);
    SetMovieActive(movie, true);
    SetMovieTimeValue(movie, 7 * 60);
    TaskMovies(movie, 0);
    EXPECT_TRUE(Near(world.Pixel32(1, 1), testing::FrameColor(7)));
    EXPECT_EQ(LoadMovieIntoMemory(movie, 0, GetMovieDuration(movie), unkeepInRam | flushFromRam), noErr);
    DisposeMovie(movie);
}

TEST_F(QuickTimeMovieTest, ADecodingErrorEndsTheMovieAndShowsInTheMoviesError) {
    const std::string path = Write("clip.mov", Pictures());
    Movie movie = Open(path);
    // The movie holds its file open: the file's bytes, not its name, have to go.
    std::filesystem::resize_file(m_drives.HostPath('C', "clip.mov"), 0);
    TestWorld world(64, 48);
    SetMovieGraphicsPort(movie, world.World(), nullptr);
    StartMovie(movie);
    Advance(200);
    TaskMovies(nullptr, 0);
    EXPECT_EQ(GetMoviesError(), couldNotResolveDataRef);
    EXPECT_TRUE(IsMovieDone(movie));
    DisposeMovie(movie);
}

} // namespace
} // namespace qt::tests
