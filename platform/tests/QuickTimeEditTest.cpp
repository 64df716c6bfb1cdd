#include "platform/tests/QuickTimeFixture.h"

#include <cstring>

namespace qt::tests {
namespace {

class QuickTimeEditTest : public QuickTimeTest {
protected:
    // Appends every track of the source at the destination's end, as the movie engine appends a movie.
    static void Append(Movie destination, Movie source) {
        const TimeValue at = GetMovieDuration(destination);
        for (std::int32_t index = 1; index <= GetMovieTrackCount(source); ++index) {
            Track track = GetMovieIndexedTrack(source, index);
            Track added = nullptr;
            ASSERT_EQ(AddEmptyTrackToMovie(track, destination, nullptr, 0, &added), noErr);
            ASSERT_EQ(InsertTrackSegment(track, added, 0, GetMovieDuration(source), at), noErr);
        }
    }
};

TEST_F(QuickTimeEditTest, AnAppendedMovieFollowsTheFirstOne) {
    Movie first = Open(Write("first.mov", Pictures(10)));
    testing::MediaFile later = Pictures(5);
    later.movieTimeScale = 1200;
    Movie second = Open(Write("second.mov", later));
    Append(first, second);
    EXPECT_EQ(GetMovieDuration(first), 900);
    EXPECT_EQ(GetMovieTrackCount(first), 2);
    DisposeMovie(second);

    TestWorld world(64, 48);
    SetMovieGraphicsPort(first, world.World(), nullptr);
    SetMovieActive(first, true);
    SetMovieTimeValue(first, 600 + 2 * 60 + 10);
    TaskMovies(first, 0);
    EXPECT_TRUE(Near(world.Pixel32(3, 3), testing::FrameColor(2)));
    TimeValue next = 0;
    GetMovieNextInterestingTime(first, nextTimeStep, 0, nullptr, 540, kFixed1, &next, nullptr);
    EXPECT_EQ(next, 600);
    Track appended = GetMovieIndexedTrack(first, 2);
    EXPECT_EQ(GetTrackOffset(appended), 600);
    EXPECT_EQ(GetTrackDuration(appended), 300);
    DisposeMovie(first);
}

TEST_F(QuickTimeEditTest, TracksOfTypeCountEnabledOnesOnlyWithTheEnabledFlag) {
    testing::MediaFile file;
    file.sounds.resize(3);
    file.sounds[0].enabled = false;
    Movie movie = Open(Write("three.mov", file));
    ASSERT_EQ(GetMovieTrackCount(movie), 3);
    const std::int32_t all = movieTrackCharacteristic;
    const std::int32_t enabled = movieTrackCharacteristic | movieTrackEnabledOnly;
    EXPECT_EQ(GetMovieIndexedTrackOfType(movie, 1, AudioMediaCharacteristic, all),
              GetMovieIndexedTrack(movie, 1));
    EXPECT_EQ(GetMovieIndexedTrackOfType(movie, 1, AudioMediaCharacteristic, enabled),
              GetMovieIndexedTrack(movie, 2));
    EXPECT_EQ(GetMovieIndexedTrackOfType(movie, 2, AudioMediaCharacteristic, enabled),
              GetMovieIndexedTrack(movie, 3));
    EXPECT_EQ(GetMovieIndexedTrackOfType(movie, 3, AudioMediaCharacteristic, enabled), nullptr);
    EXPECT_EQ(GetMovieIndexedTrackOfType(movie, 1, VisualMediaCharacteristic, all), nullptr);
    DisposeMovie(movie);
}

TEST_F(QuickTimeEditTest, ScalingTheLastFrameHoldsItUntilTheNewEnd) {
    Movie movie = Open(Write("clip.mov", Pictures(10)));
    Track track = GetMovieIndexedTrackOfType(movie, 1, VisualMediaCharacteristic,
                                             movieTrackCharacteristic | movieTrackEnabledOnly);
    const TimeValue end = GetTrackOffset(track) + GetTrackDuration(track);
    TimeValue last = 0;
    GetTrackNextInterestingTime(track, nextTimeStep, end, kBackwards, &last, nullptr);
    EXPECT_EQ(last, 540);
    ASSERT_EQ(ScaleTrackSegment(track, last, end - last, 1500 - last), noErr);
    EXPECT_EQ(GetMovieDuration(movie), 1500);
    TestWorld world(64, 48);
    SetMovieGraphicsPort(movie, world.World(), nullptr);
    SetMovieActive(movie, true);
    SetMovieTimeValue(movie, 1400);
    TaskMovies(movie, 0);
    EXPECT_TRUE(Near(world.Pixel32(3, 3), testing::FrameColor(9)));
    SetMovieTimeValue(movie, 500);
    TaskMovies(movie, 0);
    EXPECT_TRUE(Near(world.Pixel32(3, 3), testing::FrameColor(8)));
    DisposeMovie(movie);
}

TEST_F(QuickTimeEditTest, ScalingAMovieSegmentMakesItPlayLonger) {
    Movie movie = Open(Write("clip.mov", Pictures(10)));
    ASSERT_EQ(ScaleMovieSegment(movie, 0, 600, 1200), noErr);
    EXPECT_EQ(GetMovieDuration(movie), 1200);
    TimeValue next = 0;
    GetMovieNextInterestingTime(movie, nextTimeStep, 0, nullptr, 0, kFixed1, &next, nullptr);
    EXPECT_EQ(next, 120);
    EXPECT_EQ(ScaleMovieSegment(movie, 0, 0, 10), invalidDuration);
    DisposeMovie(movie);
}

TEST_F(QuickTimeEditTest, InsertingIntoAnotherMediaIsRefused) {
    Movie a = Open(Write("a.mov", Pictures()));
    Movie b = Open(Write("b.mov", Pictures()));
    EXPECT_EQ(InsertTrackSegment(GetMovieIndexedTrack(a, 1), GetMovieIndexedTrack(b, 1), 0, 600, 0),
              mediaTypesDontMatch);
    EXPECT_EQ(GetMovieDuration(b), 600);
    DisposeMovie(a);
    DisposeMovie(b);
}

// Builds a sound movie in memory as the engine hook builds its own movie: 32 one-byte samples at a media
// scale of 4,194,304, each 4,096 units long.
class OwnMovieTest : public QuickTimeEditTest {
protected:
    static Handle Block(Size size, int fill) {
        Handle handle = NewHandle(4);
        EXPECT_NE(handle, nullptr);
        SetHandleSize(handle, size);
        EXPECT_EQ(GetMemoryError(), noErr);
        std::memset(*handle, fill, static_cast<std::size_t>(size));
        return handle;
    }

    // A one-channel sound description in its memory block.
    static Handle Description(OSType format, std::int16_t sampleSize, std::uint32_t sampleRate) {
        Handle description = Block(36, 0);
        SoundDescription sound{};
        sound.descSize = 36;
        sound.dataFormat = format;
        sound.dataRefIndex = 1;
        sound.numChannels = 1;
        sound.sampleSize = sampleSize;
        sound.sampleRate = sampleRate;
        std::memcpy(*description, &sound, sizeof(sound));
        return description;
    }

    static void AddSamples(Track track, Media media, Movie movie, std::int16_t file) {
        Handle description = Description(MakeOSType("raw "), 8, 0x400000);
        Handle data = Block(32, 0x7F);
        LockHandle(data);
        ASSERT_EQ(BeginMediaEdits(media), noErr);
        ASSERT_EQ(AddMediaSample(media, data, 0, 32, 4096, description, 32, 0, nullptr), noErr);
        ASSERT_EQ(EndMediaEdits(media), noErr);
        ASSERT_EQ(InsertMediaIntoTrack(track, 0, 0, GetMediaDuration(media), kFixed1), noErr);
        std::int16_t resource = 0;
        ASSERT_EQ(AddMovieResource(movie, file, &resource, nullptr), noErr);
        DisposeHandle(description);
        UnlockHandle(data);
        DisposeHandle(data);
    }
};

TEST_F(OwnMovieTest, ASoundMovieBuiltInMemoryIsStoredAndReadBack) {
    FSSpec spec{};
    ASSERT_EQ(NativePathToFileSpec("C:\\own.mov", &spec, 0), fnfErr);
    std::int16_t file = 0;
    Movie movie = nullptr;
    ASSERT_EQ(CreateMovieFile(&spec, MakeOSType("TVOD"), -2, createMovieFileDeleteCurFile, &file, &movie),
              noErr);
    Track track = NewMovieTrack(movie, 0, 0, 256);
    ASSERT_NE(track, nullptr);
    Media media = NewTrackMedia(track, SoundMediaType, 0x400000, nullptr, 0);
    ASSERT_NE(media, nullptr);
    AddSamples(track, media, movie, file);
    EXPECT_EQ(GetMediaDuration(media), 131072);
    EXPECT_EQ(GetMovieDuration(movie), 19);
    ASSERT_EQ(ScaleMovieSegment(movie, 0, 19, 19000), noErr);
    EXPECT_EQ(GetMovieDuration(movie), 19000);

    Movie stored = Open("C:\\own.mov");
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(GetMovieTimeScale(stored), 600);
    EXPECT_EQ(GetMovieTrackCount(stored), 1);
    EXPECT_NEAR(GetMovieDuration(stored), 19, 1);
    DisposeMovie(stored);

    EXPECT_EQ(CloseMovieFile(file), noErr);
    DisposeMovie(movie);
    EXPECT_EQ(DeleteMovieFile(&spec), noErr);
    EXPECT_EQ(NativePathToFileSpec("C:\\own.mov", &spec, 0), fnfErr);
}

TEST_F(OwnMovieTest, SoundMadeInMemoryIsMixed) {
    Movie movie = NewMovie(newMovieActive);
    Track track = NewMovieTrack(movie, 0, 0, 256);
    Media media = NewTrackMedia(track, SoundMediaType, 8000, nullptr, 0);
    Handle description = Description(MakeOSType("sowt"), 16, 8000u << 16);
    // Half a second of a square wave at a quarter of full scale.
    Handle data = Block(8000, 0);
    auto* samples = reinterpret_cast<std::int16_t*>(*data);
    for (int i = 0; i < 4000; ++i) {
        samples[i] = (i / 20) % 2 == 0 ? 8192 : -8192;
    }
    ASSERT_EQ(BeginMediaEdits(media), noErr);
    ASSERT_EQ(AddMediaSample(media, data, 0, 8000, 1, description, 4000, 0, nullptr), noErr);
    ASSERT_EQ(EndMediaEdits(media), noErr);
    ASSERT_EQ(InsertMediaIntoTrack(track, 0, 0, GetMediaDuration(media), kFixed1), noErr);
    EXPECT_EQ(GetMovieDuration(movie), 300);
    StartMovie(movie);
    Advance(200);
    testing::ResetAudioPeak();
    TaskMovies(nullptr, 0);
    Advance(100);
    TaskMovies(nullptr, 0);
    EXPECT_NEAR(testing::GetAudio().peak, 0.25f, 0.01f);
    DisposeHandle(description);
    DisposeHandle(data);
    DisposeMovie(movie);
}

TEST_F(OwnMovieTest, SamplesNeedMediaEditsAndAKnownFormat) {
    Movie movie = NewMovie(0);
    Track track = NewMovieTrack(movie, 0, 0, 256);
    Media media = NewTrackMedia(track, SoundMediaType, 8000, nullptr, 0);
    Handle description = Block(36, 0);
    Handle data = Block(16, 0);
    EXPECT_EQ(AddMediaSample(media, data, 0, 16, 1, description, 16, 0, nullptr), invalidEditState);
    ASSERT_EQ(BeginMediaEdits(media), noErr);
    EXPECT_EQ(AddMediaSample(media, data, 0, 16, 1, description, 16, 0, nullptr), featureUnsupported);
    EXPECT_EQ(NewTrackMedia(NewMovieTrack(movie, 0, 0, 0), VideoMediaType, 600, nullptr, 0), nullptr);
    EXPECT_EQ(GetMoviesError(), featureUnsupported);
    DisposeHandle(description);
    DisposeHandle(data);
    DisposeMovie(movie);
}

} // namespace
} // namespace qt::tests
