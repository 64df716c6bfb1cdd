#include "engines/media/quicktime/QuickTimeSoundEngine.h"

#include "engines/media/Sound.h"
#include "engines/media/SoundErrorCodes.h"
#include "engines/media/quicktime/QuickTimeErrorCodes.h"
#include "engines/media/quicktime/QuickTimeSoundHandle.h"
#include "engines/media/tests/QuickTimeTestSupport.h"
#include "resources/error/ErrorCodes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

namespace {

using namespace Vemo;
using namespace VemoTest;

class QuickTimeSoundEngineTest : public QuickTimeTest {
protected:
    void SetUp() override {
        QuickTimeTest::SetUp();
        StartEngines();
    }

    // A one-second tone.
    bool OpenTone(Sound& sound, bool keepFileOpen = false, bool streamed = false) {
        qt::testing::MediaFile file = Tone();
        file.format = "wav";
        return sound.Open(Write("tone.wav", file), keepFileOpen, streamed);
    }
    static QuickTimeSoundHandle* Handle(Sound& sound) {
        return QuickTimeSoundHandle::FromSoundHandle(sound.GetSoundHandle());
    }
};

TEST_F(QuickTimeSoundEngineTest, AnOpenedSoundIsActiveWithItsHiddenControllerAndItsFileClosed) {
    Sound sound;
    ASSERT_TRUE(OpenTone(sound));
    EXPECT_TRUE(sound.IsActive());
    EXPECT_FALSE(sound.IsFileOpen());
    EXPECT_FALSE(sound.IsStreamed());
    EXPECT_TRUE(sound.IsAtStart());
    EXPECT_EQ(sound.GetDuration(MediaTimeUnit::Milliseconds), 1000U);
    EXPECT_EQ(qt::testing::GetOpenObjects().controllers, 1U);
    EXPECT_EQ(qt::testing::GetOpenObjects().files, 0U);
    ASSERT_TRUE(sound.GoToEnd());
    EXPECT_TRUE(sound.IsAtEnd());
    ASSERT_TRUE(sound.SetTime(250, MediaTimeUnit::Milliseconds));
    EXPECT_EQ(sound.GetTime(MediaTimeUnit::Native), 150U);
    EXPECT_TRUE(sound.SetRealParameter(2.0f));
    EXPECT_EQ(sound.GetRealParameter(), 0.0f);
    ASSERT_TRUE(sound.SetVolume(255));
    EXPECT_EQ(qt::GetMovieVolume(Handle(sound)->GetMovie()), 256);
    EXPECT_EQ(sound.GetVolume(), 255);

    Sound kept;
    ASSERT_TRUE(OpenTone(kept, true, true));
    EXPECT_TRUE(kept.IsFileOpen());
    EXPECT_TRUE(kept.IsStreamed());
    EXPECT_TRUE(Taken().empty());
}

TEST_F(QuickTimeSoundEngineTest, ASoundThatDoesNotLoopStopsPlayingAtItsEnd) {
    Sound sound;
    ASSERT_TRUE(OpenTone(sound));
    ASSERT_TRUE(sound.Start());
    Advance(600);
    sound.Task();
    EXPECT_TRUE(sound.IsPlaying());
    EXPECT_EQ(sound.GetTime(MediaTimeUnit::Milliseconds), 600U);
    Advance(600);
    EXPECT_FALSE(sound.IsPlaying());
    EXPECT_TRUE(sound.IsAtEnd());
    ASSERT_TRUE(sound.StopAndRewind(true));
    EXPECT_TRUE(sound.IsAtStart());
}

TEST_F(QuickTimeSoundEngineTest, ALoopingSoundKeepsPlayingAndStopsLoopingWhenReleased) {
    Sound sound;
    ASSERT_TRUE(OpenTone(sound));
    ASSERT_TRUE(sound.SetLooping(true, 0, 0, 1));
    EXPECT_TRUE(sound.IsLooping());
    ASSERT_TRUE(sound.Start());
    Advance(2300);
    EXPECT_TRUE(sound.IsPlaying());
    EXPECT_EQ(sound.GetTime(MediaTimeUnit::Milliseconds), 300U);

    EXPECT_FALSE(sound.SetLooping(false, 1, 0, 0));
    EXPECT_EQ(Taken(), (Reports{ResourceSystemErrNotSupported}));
    EXPECT_TRUE(sound.IsLooping()) << "unchanged";
}

TEST_F(QuickTimeSoundEngineTest, AppendingPutsTheOtherSoundAfterTheEnd) {
    Sound sound;
    Sound other;
    ASSERT_TRUE(OpenTone(sound));
    ASSERT_TRUE(OpenTone(other));
    ASSERT_TRUE(sound.AppendSound(other));
    EXPECT_EQ(sound.GetDuration(MediaTimeUnit::Milliseconds), 2000U);
    other.Start();
    EXPECT_FALSE(sound.AppendSound(other));
    EXPECT_EQ(Taken(), (Reports{QuickTimeSoundErrInsertPlaying}));

    SoundEngine plain;
    SoundHandle foreign(&plain);
    EXPECT_FALSE(sound.GetSoundHandle()->InsertSegment(&foreign, 0, 0, 1, MediaTimeUnit::Native));
    EXPECT_EQ(Taken(), (Reports{QuickTimeSoundErrInsertForeign}));
}

TEST_F(QuickTimeSoundEngineTest, NewSoundsHaveTheirControllerAndOneWithAPathIsAFileKeptOpen) {
    Sound empty;
    Sound file;
    ASSERT_TRUE(empty.Create());
    ASSERT_TRUE(file.Create(PathOf("made.mov")));
    EXPECT_TRUE(empty.IsActive());
    EXPECT_FALSE(empty.IsStreamed());
    EXPECT_TRUE(file.IsFileOpen());
    EXPECT_TRUE(std::filesystem::exists(HostPath("made.mov")));
    EXPECT_EQ(qt::testing::GetOpenObjects().controllers, 2U);
}

// A sound that does not open: what fails, and the engine's code.
struct SoundOpenCase {
    const char* name;
    const char* call;
    const char* file;
    ErrorCode code;
};

void PrintTo(const SoundOpenCase& row, std::ostream* out) {
    *out << row.name;
}

class QuickTimeSoundOpenTest : public QuickTimeSoundEngineTest,
                               public testing::WithParamInterface<SoundOpenCase> {};

TEST_P(QuickTimeSoundOpenTest, FailsWithItsCodeAndLeavesNothingOpen) {
    qt::testing::MediaFile tone = Tone();
    tone.format = "wav";
    qt::testing::WriteMediaFile(HostPath("tone.wav"), tone);
    if (GetParam().call[0] != '\0') {
        qt::testing::FailCall(GetParam().call, qt::memFullErr);
    }
    Sound sound;
    EXPECT_FALSE(sound.Open(PathOf(GetParam().file), true, false));
    EXPECT_TRUE(
        ReportedInOrder(Taken(), {GetParam().code, SoundEngineErrOpenFailed, ResourceSystemErrOpenFailed}));
    const qt::testing::OpenObjects open = qt::testing::GetOpenObjects();
    EXPECT_EQ(open.movies + open.controllers + open.files, 0U);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuickTimeSoundOpenTest,
    testing::Values(
        SoundOpenCase{"MissingFile", "", "missing.wav", QuickTimeSoundErrOpenFile},
        SoundOpenCase{"Unreadable", "NewMovieFromFile", "tone.wav", QuickTimeSoundErrReadMovie},
        SoundOpenCase{"LoadIntoMemory", "LoadMovieIntoMemory", "tone.wav", QuickTimeSoundErrMemory},
        SoundOpenCase{"Controller", "NewMovieController", "tone.wav", QuickTimeSoundErrNewController}),
    [](const testing::TestParamInfo<SoundOpenCase>& info) { return std::string(info.param.name); });

TEST_F(QuickTimeSoundEngineTest, ReleaseFailuresAreReportedAndTheRestStillRuns) {
    {
        Sound sound;
        ASSERT_TRUE(OpenTone(sound, true, false));
        qt::testing::FailCall("DisposeMovieController", qt::paramErr);
        qt::testing::FailCall("DisposeMovie", qt::invalidMovie);
    }
    EXPECT_TRUE(ReportedInOrder(Taken(), {QuickTimeSoundErrDisposeController, QuickTimeSoundErrDisposeMovie,
                                          SoundEngineErrDestroyFailed}));
}

} // namespace
