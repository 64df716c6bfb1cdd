// Decoding and converting a 640x480 movie into a 32-bit graphic through the movie engine (a Movie bound to a
// controller whose offscreen graphic it draws into, frame after frame), against FFmpeg's own decoding and
// swscale conversion of the same file, measured side by side in each iteration. Goal: the engine within 1.2
// times FFmpeg's time.
#include "engines/graphics/GraphicSystem.h"
#include "engines/graphics/testing/MemoryGraphicEngine.h"
#include "engines/media/Movie.h"
#include "engines/media/MovieController.h"
#include "engines/media/MovieSystem.h"
#include "engines/media/quicktime/QuickTimeEngineHook.h"
#include "engines/media/quicktime/QuickTimeMovieEngine.h"
#include "platform/testing/MediaWriter.h"
#include "platform/testing/QuickTimeTesting.h"
#include "platform/testing/WindowTesting.h"
#include "platform/win32/files/HostPath.h"
#include "platform/win32/windows/Window.h"
#include "resources/ApplicationSystems.h"
#include "resources/storage/Path.h"
#include "resources/testing/TemporaryDriveStorage.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kFrames = 60;
constexpr int kFramesPerSecond = 25;
constexpr double kGoal = 1.2;

// The machine of the run: C: on a temporary folder with bench.mov, the Graphic System with the memory graphic
// engine, a headless main window, QuickTime started by its hook and the Movie System with its engine. Made
// once and kept for the whole run.
class Machine : public TemporaryDriveStorage {
public:
    Machine() : TemporaryDriveStorage("vemo-media-bench-") {
        qt::testing::MediaFile file;
        qt::testing::PictureTrack track;
        track.width = kWidth;
        track.height = kHeight;
        track.frames = kFrames;
        track.framesPerSecond = kFramesPerSecond;
        track.codec = "mpeg4";
        track.keyInterval = 12;
        file.pictures.push_back(track);
        win32::HostPath where;
        if (!win32::ResolveHostPath("C:\\bench.mov", where)) {
            std::abort();
        }
        m_hostPath = where.Full();
        qt::testing::WriteMediaFile(m_hostPath, file);

        Vemo::ApplicationSystems* systems = Vemo::ApplicationSystems::Current();
        systems->m_graphicSystem = Vemo::GraphicSystem::Create();
        systems->m_graphicSystem->AddEngine(VemoTest::MemoryGraphicEngine::Make());
        systems->m_movieSystem = Vemo::MovieSystem::Create();
        win32::testing::UseVideoBackend(win32::testing::VideoBackendKind::Headless);
        qt::testing::UseAudioBackend(video::AudioBackendKind::None);
        if (!Vemo::QuickTimeEngineHook::Install(MainWindow(), 0, 0, nullptr) ||
            !systems->m_movieSystem->AddEngine(Vemo::QuickTimeMovieEngine::Create()) ||
            !m_path.Parse(Vemo::String("HD0:/bench.mov"))) {
            std::abort();
        }
    }

    const std::string& HostPath() const { return m_hostPath; }
    const Vemo::Path& MoviePath() const { return m_path; }

private:
    static win32::HWND MainWindow() {
        win32::WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = win32::DefWindowProcA;
        windowClass.lpszClassName = "Media Bench";
        win32::RegisterClassExA(&windowClass);
        return win32::CreateWindowExA(0, "Media Bench", "Media Bench", win32::WS_OVERLAPPEDWINDOW, 0, 0,
                                      kWidth, kHeight, nullptr, nullptr, nullptr, nullptr);
    }

    std::string m_hostPath;
    Vemo::Path m_path;
};

Machine& TheMachine() {
    static Machine* machine = new Machine;
    return *machine;
}

// Every frame of the movie into the controller's graphic; the frames drawn.
int DecodeThroughEngine(const Vemo::Path& path) {
    Vemo::Movie movie;
    Vemo::MovieController controller;
    if (!movie.Open(path, false, true) ||
        !controller.Open(Vemo::Size(kWidth, kHeight), Vemo::StandardPixelFormat::Xrgb32, 0, 0) ||
        !controller.BindMovie(&movie, true)) {
        std::abort();
    }
    const std::uint32_t frameLength = movie.GetDuration(Vemo::MediaTimeUnit::Native) / kFrames;
    for (int frame = 0; frame < kFrames; ++frame) {
        controller.SetTime(static_cast<std::uint32_t>(frame) * frameLength, Vemo::MediaTimeUnit::Native);
        controller.Task();
    }
    benchmark::DoNotOptimize(controller.GetControllerHandle());
    controller.UnbindMovie();
    return kFrames;
}

void BM_MovieIntoGraphic640x480(benchmark::State& state) {
    Machine& machine = TheMachine();
    double engineSeconds = 0;
    double ffmpegSeconds = 0;
    std::int64_t frames = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        frames += DecodeThroughEngine(machine.MoviePath());
        auto middle = std::chrono::steady_clock::now();
        if (qt::testing::DecodeAndConvertWithFfmpeg(machine.HostPath()) != kFrames) {
            state.SkipWithError("FFmpeg decoded another number of frames");
            return;
        }
        auto end = std::chrono::steady_clock::now();
        engineSeconds += std::chrono::duration<double>(middle - start).count();
        ffmpegSeconds += std::chrono::duration<double>(end - middle).count();
    }
    state.counters["engine_fps"] = static_cast<double>(frames) / engineSeconds;
    state.counters["ffmpeg_fps"] = static_cast<double>(frames) / ffmpegSeconds;
    state.counters["ratio"] = engineSeconds / ffmpegSeconds;
    state.counters["goal"] = kGoal;
}
BENCHMARK(BM_MovieIntoGraphic640x480)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
