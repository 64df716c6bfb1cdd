#include "engines/media/quicktime/QuickTimeMovieEngine.h"

#include "engines/graphics/Viewport.h"
#include "engines/graphics/ViewportDescription.h"
#include "engines/media/Movie.h"
#include "engines/media/MovieController.h"
#include "engines/media/MovieControllerHandle.h"
#include "engines/media/MovieErrorCodes.h"
#include "engines/media/quicktime/QuickTimeErrorCodes.h"
#include "engines/media/quicktime/QuickTimeMovieControllerGraphic.h"
#include "engines/media/quicktime/QuickTimeMovieHandle.h"
#include "engines/media/tests/QuickTimeTestSupport.h"
#include "platform/testing/GdiTesting.h"
#include "platform/video/Overlays.h"
#include "platform/win32/gdi/SystemPalette.h"
#include "resources/error/ErrorCodes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;

// 0xRRGGBB, as FrameColor gives it.
std::uint32_t ColorAt(Graphic& graphic, int x, int y) {
    const Color color = graphic.GetPixelColor(Point(x, y));
    return static_cast<std::uint32_t>(color.rgb.Red()) << 16 |
           static_cast<std::uint32_t>(color.rgb.Green()) << 8 | color.rgb.Blue();
}

// Colours agree within a little, as scaling and conversion may blend.
bool Near(std::uint32_t a, std::uint32_t b, int tolerance = 6) {
    for (int shift : {0, 8, 16}) {
        const int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (difference > tolerance || difference < -tolerance) {
            return false;
        }
    }
    return true;
}

class QuickTimeMovieEngineTest : public QuickTimeTest {
protected:
    void SetUp() override {
        QuickTimeTest::SetUp();
        StartEngines();
    }

    // A movie of ten 64 x 48 frames at ten a second: 600 units long at time scale 600.
    bool OpenClip(Movie& movie, bool keepFileOpen = false, bool streamed = true) {
        return movie.Open(Write("clip.mov", Pictures()), keepFileOpen, streamed);
    }
    static QuickTimeMovieHandle* Handle(Movie& movie) {
        return QuickTimeMovieHandle::FromMovieHandle(movie.GetMovieHandle());
    }
    static Graphic& GraphicOf(MovieController& controller) {
        return *controller.GetControllerHandle()->GetGraphic();
    }
};

TEST_F(QuickTimeTest, TheEnginesRefuseToBeMadeWithoutTheHook) {
    EXPECT_EQ(QuickTimeMovieEngine::Create(), nullptr);
    EXPECT_EQ(QuickTimeSoundEngine::Create(), nullptr);
    EXPECT_EQ(Taken(), (Reports{QuickTimeMovieErrNoHook, QuickTimeSoundErrNoHook}));
}

TEST_F(QuickTimeMovieEngineTest, AnOpenedMovieIsAQuickTimeMovieOfItsFile) {
    Movie movie;
    ASSERT_TRUE(OpenClip(movie, true, false));
    QuickTimeMovieHandle* handle = Handle(movie);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(MovieHandle::FromResourceHandle(movie.GetHandle()), handle);
    EXPECT_EQ(QuickTimeMovieHandle::FromMovieHandle(nullptr), nullptr);
    EXPECT_EQ(qt::GetMovieDuration(handle->GetMovie()), 600);
    EXPECT_EQ(movie.GetDuration(MediaTimeUnit::Milliseconds), 1000U);
    Size box;
    EXPECT_EQ(Dimensions(movie.GetBox(box)), "64x48");
    EXPECT_TRUE(movie.IsFileOpen());
    EXPECT_FALSE(movie.IsStreamed());
    EXPECT_FALSE(handle->IsActive()) << "binding makes it active";
    EXPECT_TRUE(handle->IsAtStart());
    EXPECT_EQ(movie.GetFrameCount(), 10U);
    Path path;
    ASSERT_TRUE(movie.GetPath(path));
    String text;
    EXPECT_STREQ(path.GetText(text, true, false).CStr(), "HD0:/clip.mov");

    Movie closedFile;
    ASSERT_TRUE(OpenClip(closedFile));
    EXPECT_FALSE(closedFile.IsFileOpen());
    EXPECT_TRUE(closedFile.IsStreamed());
    EXPECT_EQ(qt::testing::GetOpenObjects().files, 1U);
}

// A movie that does not open: how the test prepares it, and the engine's code.
struct OpenCase {
    const char* name;
    std::function<Path(QuickTimeTest&)> prepare;
    ErrorCode code;
};

void PrintTo(const OpenCase& row, std::ostream* out) {
    *out << row.name;
}

class QuickTimeMovieOpenTest : public QuickTimeMovieEngineTest,
                               public testing::WithParamInterface<OpenCase> {};

TEST_P(QuickTimeMovieOpenTest, FailsWithItsCodeAndLeavesNothingOpen) {
    const Path path = GetParam().prepare(*this);
    Movie movie;
    EXPECT_FALSE(movie.Open(path, false, false));
    EXPECT_TRUE(
        ReportedInOrder(Taken(), {GetParam().code, MovieEngineErrOpenFailed, ResourceSystemErrOpenFailed}));
    EXPECT_FALSE(movie.IsOpen());
    EXPECT_TRUE(m_movieEngine->GetMovieHandles().Empty());
    const qt::testing::OpenObjects open = qt::testing::GetOpenObjects();
    EXPECT_EQ(open.movies, 0U);
    EXPECT_EQ(open.files, 0U);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuickTimeMovieOpenTest,
    testing::Values(OpenCase{"PathWithoutText", [](QuickTimeTest&) { return Path(); }, QuickTimeMovieErrPath},
                    OpenCase{"MissingFile",
                             [](QuickTimeTest&) { return QuickTimeTest::PathOf("missing.mov"); },
                             QuickTimeMovieErrOpenFile},
                    OpenCase{"NotAMovie",
                             [](QuickTimeTest& test) {
                                 std::ofstream(test.HostPath("text.mov")) << "no movie in here";
                                 return QuickTimeTest::PathOf("text.mov");
                             },
                             QuickTimeMovieErrReadMovie},
                    OpenCase{"TimeScaleZero",
                             [](QuickTimeTest& test) {
                                 Path path = test.Write("zero.mov", QuickTimeTest::Pictures());
                                 qt::testing::PatchMovieTimeScale(test.HostPath("zero.mov"), 0);
                                 return path;
                             },
                             QuickTimeMovieErrReadMovie},
                    OpenCase{"LoadIntoMemory",
                             [](QuickTimeTest& test) {
                                 Path path = test.Write("clip.mov", QuickTimeTest::Pictures());
                                 qt::testing::FailCall("LoadMovieIntoMemory", qt::memFullErr);
                                 return path;
                             },
                             QuickTimeMovieErrMemory}),
    [](const testing::TestParamInfo<OpenCase>& info) { return std::string(info.param.name); });

TEST_F(QuickTimeMovieEngineTest, TimesConvertAtTheTimeScaleWithoutLeaving32Bits) {
    Movie movie;
    ASSERT_TRUE(OpenClip(movie));
    MovieHandle* handle = movie.GetMovieHandle();
    ASSERT_TRUE(handle->SetTime(300, MediaTimeUnit::Native));
    EXPECT_EQ(handle->GetTime(MediaTimeUnit::Milliseconds), 500U);
    ASSERT_TRUE(handle->SetTime(200, MediaTimeUnit::Milliseconds));
    EXPECT_EQ(handle->GetTime(MediaTimeUnit::Native), 120U);
    EXPECT_EQ(handle->FromMovieTime(1200), 2000U);
    EXPECT_EQ(handle->ToMovieTime(2000), 1200U);
    EXPECT_EQ(handle->FromMovieTime(4294966), 7158276U) << "multiplied first";
    EXPECT_EQ(handle->FromMovieTime(4294967), 7158000U) << "divided first";
    EXPECT_EQ(handle->FromMovieTime(0xFFFFFFFF), 0xFFFFFFFFU) << "beyond 32 bits of milliseconds";
    EXPECT_EQ(handle->ToMovieTime(7158277), 4294966U);
    EXPECT_EQ(handle->ToMovieTime(7158278), 4294800U);
    EXPECT_EQ(handle->ToMovieTime(0xFFFFFFFF), 2576980200U);
}

TEST_F(QuickTimeMovieEngineTest, ABoundMovieDrawsItsFramesIntoTheControllerGraphicOnTime) {
    Movie movie;
    MovieController controller;
    ASSERT_TRUE(OpenClip(movie));
    ASSERT_TRUE(controller.Open(&movie));
    ASSERT_TRUE(controller.BindMovie(&movie, true));
    Graphic& graphic = GraphicOf(controller);
    EXPECT_EQ(Dimensions(graphic.GetSize()), "64x48");
    EXPECT_EQ(graphic.GetPixelFormat().format, StandardPixelFormat::Xrgb32);
    Rect box;
    EXPECT_EQ(controller.GetBox(box), Rect(0, 0, 64, 48));
    EXPECT_TRUE(controller.IsActive());

    ASSERT_TRUE(controller.Start(true));
    Advance(350);
    controller.Task();
    EXPECT_TRUE(Near(ColorAt(graphic, 10, 10), qt::testing::FrameColor(3)));
    EXPECT_TRUE(Near(ColorAt(graphic, 63, 47), qt::testing::FrameColor(3)));
    EXPECT_TRUE(controller.IsPlaying());
    Advance(100);
    QuickTimeEngineHook::Idle();
    EXPECT_TRUE(Near(ColorAt(graphic, 10, 10), qt::testing::FrameColor(4)));

    Advance(1000);
    EXPECT_FALSE(controller.IsPlaying()) << "done";
    EXPECT_TRUE(controller.IsAtEnd());
    EXPECT_TRUE(controller.UnbindMovie());
    EXPECT_FALSE(movie.GetMovieHandle()->IsActive());
    EXPECT_TRUE(Taken().empty());
}

TEST_F(QuickTimeMovieEngineTest, StepsGoFromFrameToFrameAndStopAtTheEnds) {
    Movie movie;
    ASSERT_TRUE(OpenClip(movie));
    MovieHandle* handle = movie.GetMovieHandle();
    ASSERT_TRUE(handle->StepForward());
    EXPECT_EQ(handle->GetTime(MediaTimeUnit::Native), 60U);
    ASSERT_TRUE(handle->StepBackward());
    EXPECT_TRUE(handle->IsAtStart());
    ASSERT_TRUE(handle->StepBackward());
    EXPECT_TRUE(handle->IsAtStart());
    EXPECT_EQ(handle->GetNextFrameTime(540, MediaTimeUnit::Native), 600U) << "the last frame ends the movie";
    EXPECT_EQ(handle->GetNextFrameTime(100, MediaTimeUnit::Milliseconds), 200U);
    EXPECT_EQ(handle->GetPreviousFrameTime(0, MediaTimeUnit::Native), 0U);
    EXPECT_EQ(handle->GetPreviousFrameTime(130, MediaTimeUnit::Native), 120U);
    ASSERT_TRUE(handle->GoToEnd());
    EXPECT_TRUE(handle->IsAtEnd());
    ASSERT_TRUE(handle->StepForward());
    EXPECT_TRUE(handle->IsAtEnd());
    ASSERT_TRUE(handle->Rewind());
    EXPECT_TRUE(handle->IsAtStart());
}

TEST_F(QuickTimeMovieEngineTest, StartBackwardsTurnsThePreferredRateAndPrerollLeavesIt) {
    Movie movie;
    ASSERT_TRUE(OpenClip(movie));
    QuickTimeMovieHandle* handle = Handle(movie);
    handle->GoToEnd();
    ASSERT_TRUE(handle->Preroll(false, 0));
    EXPECT_EQ(qt::GetMoviePreferredRate(handle->GetMovie()), qt::kFixed1);
    ASSERT_TRUE(handle->Start(false));
    EXPECT_EQ(qt::GetMoviePreferredRate(handle->GetMovie()), -qt::kFixed1);
    Advance(500);
    EXPECT_EQ(handle->GetTime(MediaTimeUnit::Native), 300U);
    ASSERT_TRUE(handle->Stop());
    ASSERT_TRUE(handle->Resume());
    Advance(100);
    EXPECT_EQ(handle->GetTime(MediaTimeUnit::Native), 240U) << "on in the same direction";
    ASSERT_TRUE(handle->StopAndRewind(true));
    EXPECT_FALSE(handle->IsPlaying());
    EXPECT_TRUE(handle->IsAtStart());
}

TEST_F(QuickTimeMovieEngineTest, LoopingIsAHiddenControllerThatKeepsTheMoviePlayingAcrossItsEnd) {
    Movie movie;
    ASSERT_TRUE(OpenClip(movie));
    QuickTimeMovieHandle* handle = Handle(movie);
    handle->SetTime(120, MediaTimeUnit::Native);
    ASSERT_TRUE(handle->Start(true));
    ASSERT_TRUE(handle->SetLooping(true, 0, 0, 0));
    ASSERT_TRUE(handle->SetLooping(true, 0, 0, 0));
    EXPECT_EQ(qt::testing::GetOpenObjects().controllers, 1U);
    EXPECT_TRUE(handle->IsLooping());
    EXPECT_EQ(handle->GetTime(MediaTimeUnit::Native), 120U) << "the time carries over";
    Advance(1500);
    EXPECT_TRUE(handle->IsPlaying());
    EXPECT_EQ(handle->GetTime(MediaTimeUnit::Native), 420U) << "120 + 900, round the end";
    ASSERT_TRUE(handle->SetVolume(99));
    EXPECT_EQ(handle->GetVolume(), 99);
    Rect box;
    MovieController controller;
    ASSERT_TRUE(controller.Open(&movie));
    ASSERT_TRUE(controller.BindMovie(&movie, false));
    EXPECT_EQ(controller.GetBox(box), Rect(0, 0, 64, 48)) << "the controller's bounds";

    EXPECT_FALSE(handle->SetLooping(false, 0, 1, 0));
    EXPECT_EQ(Taken(), (Reports{ResourceSystemErrNotSupported}));
    EXPECT_TRUE(handle->SetLooping(false, 0, 0, 0));
    EXPECT_FALSE(handle->IsLooping());
    EXPECT_EQ(qt::testing::GetOpenObjects().controllers, 0U);
    EXPECT_TRUE(handle->IsPlaying());
    EXPECT_TRUE(handle->SetLooping(false, 0, 0, 0));
    EXPECT_TRUE(handle->SetLooping(true, 0, 0, 0)) << "destroyed while looping";
}

TEST_F(QuickTimeMovieEngineTest, AMovieWithoutPicturesCannotLoop) {
    Movie movie;
    ASSERT_TRUE(movie.Open(Write("tone.mov", Tone()), false, true));
    EXPECT_FALSE(movie.GetMovieHandle()->SetLooping(true, 0, 0, 0));
    EXPECT_EQ(Taken(), (Reports{QuickTimeMovieErrNoSize}));
    qt::testing::FailCall("NewMovieController", qt::memFullErr);
    Movie pictures;
    ASSERT_TRUE(OpenClip(pictures));
    EXPECT_FALSE(pictures.GetMovieHandle()->SetLooping(true, 0, 0, 0));
    EXPECT_EQ(Taken(), (Reports{QuickTimeMovieErrNewController}));
}

TEST_F(QuickTimeMovieEngineTest, VolumeTravelsAsOneMoreThanItsValueAndRealParametersAreRefused) {
    Movie movie;
    ASSERT_TRUE(OpenClip(movie));
    QuickTimeMovieHandle* handle = Handle(movie);
    ASSERT_TRUE(movie.SetVolume(0));
    EXPECT_EQ(qt::GetMovieVolume(handle->GetMovie()), 0);
    EXPECT_EQ(movie.GetVolume(), 0);
    ASSERT_TRUE(movie.SetVolume(255));
    EXPECT_EQ(qt::GetMovieVolume(handle->GetMovie()), 256);
    EXPECT_EQ(movie.GetVolume(), 255);
    EXPECT_FALSE(movie.SetRealParameter(1.5f));
    EXPECT_EQ(movie.GetRealParameter(), 0.0f);
    EXPECT_EQ(Taken(), (Reports{ResourceSystemErrNotSupported, ResourceSystemErrNotSupported}));
}

class QuickTimeInsertTest : public QuickTimeMovieEngineTest {
protected:
    // The enabled tracks of the characteristic.
    static int EnabledTracks(Movie& movie, qt::OSType characteristic) {
        int count = 0;
        while (qt::GetMovieIndexedTrackOfType(Handle(movie)->GetMovie(), count + 1, characteristic,
                                              qt::movieTrackCharacteristic | qt::movieTrackEnabledOnly) !=
               nullptr) {
            ++count;
        }
        return count;
    }

    // A movie of a disabled picture and sound track, then two enabled ones of each.
    qt::testing::MediaFile Alternates() {
        qt::testing::MediaFile file;
        for (bool enabled : {false, true, true}) {
            qt::testing::PictureTrack picture;
            picture.enabled = enabled;
            file.pictures.push_back(picture);
            qt::testing::SoundTrack sound;
            sound.enabled = enabled;
            file.sounds.push_back(sound);
        }
        return file;
    }
};

TEST_F(QuickTimeInsertTest, TheVisualAndAudibleFormsTakeTheTracksTheSourcePlays) {
    Movie source;
    Movie pictures;
    Movie sounds;
    ASSERT_TRUE(source.Open(Write("alternates.mov", Alternates()), false, true));
    ASSERT_TRUE(pictures.Create());
    ASSERT_TRUE(sounds.Create());
    ASSERT_TRUE(pictures.InsertVisualSegment(source, 0, 0, 600, MediaTimeUnit::Native));
    ASSERT_TRUE(sounds.AppendAudio(source));
    EXPECT_EQ(qt::GetMovieTrackCount(Handle(pictures)->GetMovie()), 2);
    EXPECT_EQ(EnabledTracks(pictures, qt::VisualMediaCharacteristic), 2) << "not the disabled alternate";
    EXPECT_EQ(EnabledTracks(pictures, qt::AudioMediaCharacteristic), 0);
    EXPECT_EQ(qt::GetMovieTrackCount(Handle(sounds)->GetMovie()), 2);
    EXPECT_EQ(EnabledTracks(sounds, qt::AudioMediaCharacteristic), 2);
    EXPECT_EQ(sounds.GetDuration(MediaTimeUnit::Milliseconds), 1000U);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(QuickTimeInsertTest, AppendingPutsTheSourceAfterTheEndAndMillisecondsConvertOnBothSides) {
    Movie movie;
    Movie clip;
    ASSERT_TRUE(OpenClip(movie));
    ASSERT_TRUE(OpenClip(clip));
    ASSERT_TRUE(movie.AppendMovie(clip));
    EXPECT_EQ(movie.GetDuration(MediaTimeUnit::Native), 1200U);
    EXPECT_EQ(qt::GetMovieTrackCount(Handle(movie)->GetMovie()), 2);
    ASSERT_TRUE(movie.InsertSegment(clip, 2000, 500, 500, MediaTimeUnit::Milliseconds));
    EXPECT_EQ(movie.GetDuration(MediaTimeUnit::Native), 1500U);
}

TEST_F(QuickTimeInsertTest, NothingIsInsertedWhileEitherMoviePlaysOrFromAnotherEngine) {
    Movie movie;
    Movie clip;
    ASSERT_TRUE(OpenClip(movie));
    ASSERT_TRUE(OpenClip(clip));
    clip.GetMovieHandle()->Start(true);
    EXPECT_FALSE(movie.InsertSegment(clip, 0, 0, 600, MediaTimeUnit::Native));
    EXPECT_EQ(Taken(), (Reports{QuickTimeMovieErrInsertPlaying}));
    EXPECT_EQ(qt::GetMovieTrackCount(Handle(movie)->GetMovie()), 1);

    MovieEngine other;
    MovieHandle foreign(&other);
    EXPECT_FALSE(movie.GetMovieHandle()->AppendMovie(&foreign));
    EXPECT_EQ(Taken(), (Reports{QuickTimeMovieErrInsertForeign}));
}

TEST_F(QuickTimeMovieEngineTest, NewMoviesAreStreamedAndOneWithAPathIsAFileKeptOpen) {
    Movie empty;
    Movie file;
    ASSERT_TRUE(empty.Create());
    ASSERT_TRUE(file.Create(PathOf("made.mov")));
    EXPECT_TRUE(empty.IsStreamed());
    EXPECT_FALSE(empty.IsFileOpen());
    EXPECT_TRUE(file.IsStreamed());
    EXPECT_TRUE(file.IsFileOpen());
    EXPECT_TRUE(std::filesystem::exists(HostPath("made.mov")));
    EXPECT_EQ(empty.GetDuration(MediaTimeUnit::Native), 0U);

    qt::testing::FailCall("NewMovie", qt::memFullErr);
    Movie failed;
    EXPECT_FALSE(failed.Create());
    EXPECT_TRUE(ReportedInOrder(Taken(), {QuickTimeMovieErrNewMovie, MovieEngineErrCreateFailed}));
    qt::testing::FailCall("CreateMovieFile", qt::ioErr);
    EXPECT_FALSE(failed.Create(PathOf("other.mov")));
    EXPECT_TRUE(ReportedInOrder(Taken(), {QuickTimeMovieErrCreateFile, MovieEngineErrCreateFailed}));
}

TEST_F(QuickTimeMovieEngineTest, ReleaseFailuresAreReportedAndTheRestStillRuns) {
    {
        Movie movie;
        ASSERT_TRUE(OpenClip(movie, true, false));
        qt::testing::FailCall("LoadMovieIntoMemory", qt::memFullErr);
        qt::testing::FailCall("DisposeMovie", qt::invalidMovie);
    }
    EXPECT_TRUE(ReportedInOrder(
        Taken(), {QuickTimeMovieErrMemory, QuickTimeMovieErrDisposeMovie, MovieEngineErrDestroyMovieFailed}));
    EXPECT_EQ(qt::testing::GetOpenObjects().files, 0U);
    EXPECT_EQ(qt::testing::GetOpenObjects().movies, 0U);
}

// An offscreen asked for: its size, format index (or standard format), and what it gives.
struct OffscreenCase {
    const char* name;
    std::int32_t width;
    std::int32_t height;
    std::function<bool(QuickTimeMovieControllerGraphic&, std::int32_t, std::int32_t)> make;
    ErrorCode code;
    std::int32_t pitch;
};

void PrintTo(const OffscreenCase& row, std::ostream* out) {
    *out << row.name;
}

class QuickTimeOffscreenTest : public QuickTimeMovieEngineTest,
                               public testing::WithParamInterface<OffscreenCase> {};

TEST_P(QuickTimeOffscreenTest, IsPaddedAsABitmapOrRefusedWithItsCode) {
    const OffscreenCase& row = GetParam();
    {
        QuickTimeMovieControllerGraphic graphic;
        const bool made = row.make(graphic, row.width, row.height);
        if (row.code != ErrorCodeSuccess) {
            EXPECT_FALSE(made);
            EXPECT_EQ(Taken(), (Reports{row.code}));
            EXPECT_FALSE(graphic.IsOpen());
            EXPECT_EQ(qt::testing::GetOpenObjects().worlds, 0U);
        } else {
            ASSERT_TRUE(made);
            EXPECT_EQ(Dimensions(graphic.GetSize()),
                      std::to_string(row.width) + "x" + std::to_string(row.height));
            ASSERT_TRUE(graphic.Lock());
            EXPECT_EQ(graphic.GetPitch(), row.pitch);
            graphic.Unlock();
            EXPECT_EQ(qt::testing::GetOpenObjects().worlds, 1U);
        }
    }
    EXPECT_EQ(qt::testing::GetOpenObjects().worlds, 0U);
}

auto ByIndex(std::uint32_t index, std::uint32_t flag = 0, PaletteReference palette = PaletteReference()) {
    return [=](QuickTimeMovieControllerGraphic& graphic, std::int32_t width, std::int32_t height) {
        return graphic.CreateOffscreen(width, height, index, 0, palette, flag);
    };
}

auto ByFormat(StandardPixelFormat format) {
    return [=](QuickTimeMovieControllerGraphic& graphic, std::int32_t width, std::int32_t height) {
        return graphic.CreateOffscreenWithFormat(width, height, PixelFormat(format), 0, 0);
    };
}

INSTANTIATE_TEST_SUITE_P(
    Formats, QuickTimeOffscreenTest,
    testing::Values(
        OffscreenCase{"Index0Is32Bits", 25, 3, ByIndex(0), ErrorCodeSuccess, 112},
        OffscreenCase{"Index1Is1Bit", 25, 3, ByIndex(1), ErrorCodeSuccess, 8},
        OffscreenCase{"Index2IsRefused", 25, 3, ByIndex(2), QuickTimeMovieErrFormatIndex, 0},
        OffscreenCase{"Index3Is4Bits", 25, 3, ByIndex(3), ErrorCodeSuccess, 16},
        OffscreenCase{"Index4Is8Bits", 25, 3, ByIndex(4), ErrorCodeSuccess, 32},
        OffscreenCase{"Index5Is16Bits", 25, 3, ByIndex(5), ErrorCodeSuccess, 56},
        OffscreenCase{"Index6Is24BitsOf48Pixels", 25, 3, ByIndex(6), ErrorCodeSuccess, 144},
        OffscreenCase{"Index8IsRefused", 25, 3, ByIndex(8), QuickTimeMovieErrFormatIndex, 0},
        OffscreenCase{"APaletteIsRefused", 25, 3, ByIndex(4, 0, PaletteReference(1)),
                      QuickTimeMovieErrPaletteGiven, 0},
        OffscreenCase{"Flag2IsRefused", 25, 3, ByIndex(0, 2), QuickTimeMovieErrOffscreenFlag, 0},
        OffscreenCase{"NoWidthIsNoBitmap", 0, 3, ByIndex(0), QuickTimeMovieErrBitmap, 0},
        OffscreenCase{"Rgb565", 25, 3, ByFormat(StandardPixelFormat::Rgb565), ErrorCodeSuccess, 56},
        OffscreenCase{"Bgr24", 25, 3, ByFormat(StandardPixelFormat::Bgr24), ErrorCodeSuccess, 144},
        OffscreenCase{"Bgra32", 25, 3, ByFormat(StandardPixelFormat::Bgra32), ErrorCodeSuccess, 112},
        OffscreenCase{"NoFormatIs32Bits", 25, 3, ByFormat(StandardPixelFormat::None), ErrorCodeSuccess, 112},
        OffscreenCase{"Argb4444IsRefused", 25, 3, ByFormat(StandardPixelFormat::Argb4444),
                      QuickTimeMovieErrPixelFormat, 0},
        OffscreenCase{"Indexed2IsRefused", 25, 3, ByFormat(StandardPixelFormat::Indexed2),
                      QuickTimeMovieErrPixelFormat, 0},
        OffscreenCase{"DepthFormatIsRefused", 25, 3, ByFormat(StandardPixelFormat::Rgb565Depth16),
                      QuickTimeMovieErrPixelFormat, 0}),
    [](const testing::TestParamInfo<OffscreenCase>& info) { return std::string(info.param.name); });

TEST_F(QuickTimeMovieEngineTest, AWorldThatFailsTakesTheGraphicWithIt) {
    qt::testing::FailCall("NewGraphicsWorldFromMemory", qt::cDepthErr);
    MovieController controller;
    EXPECT_FALSE(controller.Open(Size(32, 32), StandardPixelFormat::Xrgb32, 0, 0));
    EXPECT_TRUE(ReportedInOrder(Taken(), {QuickTimeMovieErrWorld, MovieEngineErrGraphicBySize}));
    EXPECT_EQ(ddraw::testing::LiveSurfaces(), 0);
}

// The offscreen's pixels are a DIB section made against the screen DC; without either there is no
// offscreen, and nothing of GDI is left behind.
TEST_F(QuickTimeMovieEngineTest, NoScreenContextOrDibSectionIsNoOffscreen) {
    const struct {
        const char* call;
        ErrorCode code;
    } cases[] = {
        {"GetDC", QuickTimeMovieErrScreenContext},
        {"CreateDIBSection", QuickTimeMovieErrBitmap},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(win32::testing::FailGdiCall(c.call));
        QuickTimeMovieControllerGraphic graphic;
        EXPECT_FALSE(graphic.CreateOffscreen(32, 32, 4, 0, PaletteReference(), 0)) << c.call;
        EXPECT_EQ(Taken(), (Reports{c.code})) << c.call;
        EXPECT_FALSE(graphic.IsOpen()) << c.call;
        EXPECT_EQ(win32::testing::LiveDeviceContexts(), 0U) << c.call;
        EXPECT_EQ(qt::testing::GetOpenObjects().worlds, 0U) << c.call;
    }
}

TEST_F(QuickTimeMovieEngineTest, AnIndexedControllerShowsTheFrameInTheNearestEntriesOfItsFixedTable) {
    Movie movie;
    MovieController controller;
    ASSERT_TRUE(OpenClip(movie));
    ASSERT_TRUE(controller.Open(Size(64, 48), 4u, 0, 0));
    ASSERT_TRUE(controller.BindMovie(&movie, true));
    ASSERT_TRUE(controller.SetTime(180, MediaTimeUnit::Native));
    controller.Task();
    Graphic& graphic = GraphicOf(controller);
    ASSERT_TRUE(graphic.IsPalettized());
    std::vector<PixelValue> table;
    for (const win32::RGBQUAD& entry : win32::FixedPalette(8)) {
        table.emplace_back(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
    }
    for (std::uint32_t index : {0u, 10u, 100u, 255u}) {
        EXPECT_EQ(graphic.GetPaletteEntry(index).rgb.Rgb(), table[index].Rgb()) << index;
    }
    const std::uint32_t frame = qt::testing::FrameColor(3);
    const std::uint32_t shown = ColorAt(graphic, 20, 20);
    EXPECT_NE(shown, 0U) << "a palette left black shows nothing";
    EXPECT_TRUE(Near(shown, frame, 32)) << std::hex << shown << " for " << frame;
    bool inTable = false;
    for (PixelValue entry : table) {
        inTable = inTable || (static_cast<std::uint32_t>(entry.Red()) << 16 |
                              static_cast<std::uint32_t>(entry.Green()) << 8 | entry.Blue()) == shown;
    }
    EXPECT_TRUE(inTable);
}

TEST_F(QuickTimeMovieEngineTest, AnOffscreenKeepsItsPixelsAndTakesOnlyMoviesOfTheQuickTimeEngine) {
    QuickTimeMovieControllerGraphic graphic;
    ASSERT_TRUE(graphic.CreateOffscreen(8, 8, 0, 0, PaletteReference(), 0));
    ASSERT_TRUE(graphic.SetPixel(0x123456, Point(7, 7)));
    EXPECT_FALSE(graphic.CreateOffscreen(16, 16, 0, 0, PaletteReference(), 0));
    EXPECT_TRUE(ReportedInOrder(Taken(), {ResourceSystemErrAlreadyOpen}));
    EXPECT_EQ(graphic.GetPixel(Point(7, 7)), 0x123456U);
    MovieEngine other;
    MovieHandle foreign(&other);
    EXPECT_FALSE(graphic.AttachMovieHandle(&foreign));
    EXPECT_EQ(Taken(), (Reports{QuickTimeMovieErrForeignHandle}));
    EXPECT_EQ(graphic.GetMovieHandle(), nullptr);
}

// A windowed viewport of the DirectX 6 engine, 160 x 120 with one back buffer, opened once the hook is
// installed (so its window has a QuickTime port) and showing a grey picture.
class QuickTimeViewportTest : public QuickTimeMovieEngineTest {
protected:
    void SetUp() override {
        QuickTimeMovieEngineTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        const ViewportDescription description("Movie", Point(0, 0), true, Size(160, 120), true, false, true,
                                              true, false, 0, 1, 2, 1, false, false);
        ASSERT_TRUE(m_viewport.emplace().Open(description));
        m_movieWindow = WindowOf(*m_viewport);
        ASSERT_NE(qt::GetNativeWindowPort(m_movieWindow), nullptr);
        ASSERT_TRUE(m_viewport->FillRect(Rect(0, 0, 160, 120), Rgb(0x80, 0x80, 0x80), true, kCopyMode));
        ASSERT_TRUE(m_viewport->CopyBufferToFront(1, false));
        Taken();
    }
    void TearDown() override {
        m_viewport.reset();
        QuickTimeMovieEngineTest::TearDown();
    }

    // What the viewport's window shows at the point: the presented picture, movie overlays composed.
    std::uint32_t ShownAt(int x, int y) const { return Shown(m_movieWindow).At(x, y) & 0xFFFFFF; }

    static constexpr std::uint32_t kCopyMode = 3;
    std::optional<Viewport> m_viewport;
    win32::HWND m_movieWindow = nullptr;
};

TEST_F(QuickTimeViewportTest, AMovieOnAViewportDrawsIntoItsWindowAtTheControllerBox) {
    {
        Movie movie;
        MovieController controller;
        ASSERT_TRUE(OpenClip(movie));
        ASSERT_TRUE(controller.Open(&*m_viewport));
        EXPECT_EQ(m_viewport->GetPresentMode(), 1U) << "presented by hand while the movie plays";
        ASSERT_TRUE(controller.BindMovie(&movie, true));
        ASSERT_TRUE(controller.SetBox(Rect(10, 20, 74, 68)));
        ASSERT_TRUE(controller.Start(true));
        Advance(250);
        controller.Task();
        EXPECT_TRUE(Near(ShownAt(40, 30), qt::testing::FrameColor(2)));
        EXPECT_EQ(ShownAt(5, 30), 0x808080U) << "left of the box";
        EXPECT_EQ(ShownAt(40, 70), 0x808080U) << "below the box";
        Advance(200);
        QuickTimeEngineHook::Idle();
        EXPECT_TRUE(Near(ShownAt(40, 30), qt::testing::FrameColor(4)));
        EXPECT_TRUE(Near(ShownAt(73, 67), qt::testing::FrameColor(4))) << "the box's last pixel";
    }
    EXPECT_EQ(m_viewport->GetPresentMode(), 2U);
    EXPECT_EQ(video::OverlayCount(m_movieWindow), 0U);
    EXPECT_EQ(ShownAt(40, 30), 0x808080U) << "the presented picture again";
}

// A movie shows on the picture the viewport presents: drawing and presenting the viewport again leaves the
// movie's frame on top.
TEST_F(QuickTimeViewportTest, APresentedBufferShowsUnderThePlayingMovie) {
    Movie movie;
    MovieController controller;
    ASSERT_TRUE(OpenClip(movie));
    ASSERT_TRUE(controller.Open(&*m_viewport));
    ASSERT_TRUE(controller.BindMovie(&movie, true));
    ASSERT_TRUE(controller.SetBox(Rect(0, 0, 64, 48)));
    ASSERT_TRUE(controller.Start(true));
    Advance(150);
    controller.Task();
    ASSERT_TRUE(m_viewport->FillRect(Rect(0, 0, 160, 120), Rgb(0, 0, 0xFF), true, kCopyMode));
    ASSERT_TRUE(m_viewport->CopyBufferToFront(1, false));
    EXPECT_TRUE(Near(ShownAt(30, 30), qt::testing::FrameColor(1)));
    EXPECT_EQ(ShownAt(100, 100), 0x0000FFU);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(QuickTimeViewportTest, AViewportWindowWithoutAPortGivesNoController) {
    qt::DestroyPortAssociation(qt::GetNativeWindowPort(m_movieWindow));
    MovieController controller;
    EXPECT_FALSE(controller.Open(&*m_viewport));
    EXPECT_TRUE(ReportedInOrder(Taken(), {MovieEngineErrGraphicOnViewport, MovieEngineErrNoController}));
    EXPECT_EQ(m_viewport->GetPresentMode(), 2U);
}

} // namespace
