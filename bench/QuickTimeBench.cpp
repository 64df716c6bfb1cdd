// Decoding a 640x480 movie into a 32-bit graphics world through the QuickTime layer, frame after frame as a
// playing movie is tasked, against FFmpeg's own decoding and swscale conversion of the same file, measured
// side by side in each iteration. Goal: the layer within 1.2 times FFmpeg's time.
#include "platform/quicktime/QuickTime.h"
#include "platform/testing/Drives.h"
#include "platform/testing/MediaWriter.h"
#include "platform/testing/QuickTimeTesting.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kFrames = 60;
constexpr int kFramesPerSecond = 25;
constexpr double kGoal = 1.2;

struct Setup {
    win32::testing::TemporaryDrives drives{{'C', win32::DRIVE_FIXED}};
    qt::testing::QuickTimeSession session;
    std::string hostPath;

    Setup() {
        qt::testing::MediaFile file;
        qt::testing::PictureTrack track;
        track.width = kWidth;
        track.height = kHeight;
        track.frames = kFrames;
        track.framesPerSecond = kFramesPerSecond;
        track.codec = "mpeg4";
        track.keyInterval = 12;
        file.pictures.push_back(track);
        hostPath = drives.HostPath('C', "bench.mov");
        qt::testing::WriteMediaFile(hostPath, file);
    }
};

Setup& TheSetup() {
    static Setup* setup = new Setup;
    return *setup;
}

// Every frame of the movie through the layer; the frames drawn.
int DecodeThroughLayer() {
    qt::FSSpec spec{};
    std::int16_t file = 0;
    qt::Movie movie = nullptr;
    if (qt::NativePathToFileSpec("C:\\bench.mov", &spec, 0) != qt::noErr ||
        qt::OpenMovieFile(&spec, &file, 1) != qt::noErr ||
        qt::NewMovieFromFile(&movie, file, nullptr, nullptr, 0, nullptr) != qt::noErr) {
        std::abort();
    }
    qt::CloseMovieFile(file);
    std::vector<char> pixels(static_cast<std::size_t>(kWidth) * kHeight * 4);
    qt::Rect bounds{0, 0, kHeight, kWidth};
    qt::GWorldPtr world = nullptr;
    qt::NewGraphicsWorldFromMemory(&world, qt::k32BGRAPixelFormat, &bounds, nullptr, nullptr, 0,
                                   pixels.data(), kWidth * 4);
    qt::LockPixels(qt::GetGWorldPixMap(world));
    qt::SetMovieGraphicsPort(movie, world, nullptr);
    qt::SetMovieActive(movie, 1);
    const qt::TimeValue frameLength = qt::GetMovieTimeScale(movie) / kFramesPerSecond;
    for (int frame = 0; frame < kFrames; ++frame) {
        qt::SetMovieTimeValue(movie, frame * frameLength);
        qt::TaskMovies(movie, 0);
    }
    benchmark::DoNotOptimize(pixels.data());
    qt::DisposeMovie(movie);
    qt::UnlockPixels(qt::GetGWorldPixMap(world));
    qt::DisposeGraphicsWorld(world);
    return kFrames;
}

void BM_DecodeAndConvert640x480(benchmark::State& state) {
    Setup& setup = TheSetup();
    double layerSeconds = 0;
    double ffmpegSeconds = 0;
    std::int64_t frames = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        frames += DecodeThroughLayer();
        auto middle = std::chrono::steady_clock::now();
        if (qt::testing::DecodeAndConvertWithFfmpeg(setup.hostPath) != kFrames) {
            state.SkipWithError("FFmpeg decoded another number of frames");
            return;
        }
        auto end = std::chrono::steady_clock::now();
        layerSeconds += std::chrono::duration<double>(middle - start).count();
        ffmpegSeconds += std::chrono::duration<double>(end - middle).count();
    }
    state.counters["layer_fps"] = static_cast<double>(frames) / layerSeconds;
    state.counters["ffmpeg_fps"] = static_cast<double>(frames) / ffmpegSeconds;
    state.counters["ratio"] = layerSeconds / ffmpegSeconds;
    state.counters["goal"] = kGoal;
}
BENCHMARK(BM_DecodeAndConvert640x480)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
