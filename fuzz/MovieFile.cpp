// Movie files from bytes: the movie header, FFmpeg's demuxing, the layer's tracks, frame edges, drawing into
// a graphics world and mixing sound on the null sink; for QuickTime VR movies their world's atoms and every
// node's pictures.
#include "platform/quicktime/QuickTime.h"
#include "platform/testing/Clock.h"
#include "platform/testing/QuickTimeTesting.h"

#include <cstdint>
#include <vector>

namespace {

struct Session {
    platform::testing::FakeClock clock;
    qt::testing::QuickTimeSession quickTime{video::AudioBackendKind::None};
};

Session& TheSession() {
    static Session* session = new Session;
    return *session;
}

void Exercise(qt::Movie movie) {
    qt::testing::DecodeVrNodes(movie);
    constexpr int kWidth = 32;
    constexpr int kHeight = 24;
    std::vector<char> pixels(kWidth * kHeight * 4);
    qt::Rect bounds{0, 0, kHeight, kWidth};
    qt::GWorldPtr world = nullptr;
    if (qt::NewGraphicsWorldFromMemory(&world, qt::k32BGRAPixelFormat, &bounds, nullptr, nullptr, 0,
                                       pixels.data(), kWidth * 4) != qt::noErr) {
        return;
    }
    qt::LockPixels(qt::GetGWorldPixMap(world));
    qt::SetMovieGraphicsPort(movie, world, nullptr);
    qt::SetMovieBox(movie, &bounds);
    qt::SetMovieActive(movie, 1);
    const qt::TimeValue duration = qt::GetMovieDuration(movie);
    qt::TimeValue edge = 0;
    for (int step = 0; step < 8 && edge >= 0; ++step) {
        qt::GetMovieNextInterestingTime(movie, qt::nextTimeStep, 0, nullptr, edge, qt::kFixed1, &edge,
                                        nullptr);
    }
    for (qt::TimeValue time : {0, duration / 2, duration}) {
        qt::SetMovieTimeValue(movie, time);
        qt::TaskMovies(movie, 0);
    }
    qt::GoToMovieStart(movie);
    qt::StartMovie(movie);
    TheSession().clock.Advance(100);
    qt::TaskMovies(nullptr, 0);
    qt::DisposeMovie(movie);
    qt::UnlockPixels(qt::GetGWorldPixMap(world));
    qt::DisposeGraphicsWorld(world);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    TheSession();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qt::Movie movie = nullptr;
    if (qt::testing::NewMovieFromBytes(data, size, &movie) == qt::noErr) {
        Exercise(movie);
    }
    return 0;
}
