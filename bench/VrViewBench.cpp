// The perspective view of a QuickTime VR panorama drawn into a 640x480 window, as the movie controller draws
// it whenever the view moves: a cylinder of 2560x768 pixels and a cube of 768-pixel faces, at a pan and tilt
// that change every view. Goal: a view in under 4 ms; "ratio" is the time of a view over the goal.
#include "platform/quicktime/VrView.h"

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr double kGoalMilliseconds = 4.0;

std::vector<std::uint32_t> Pattern(int width, int height) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels[static_cast<std::size_t>(y) * width + x] =
                static_cast<std::uint32_t>(((x * 7) & 0xFF) << 16 | ((y * 5) & 0xFF) << 8 | ((x ^ y) & 0xFF));
        }
    }
    return pixels;
}

template <typename Draw>
void Measure(benchmark::State& state, Draw draw) {
    std::vector<std::uint32_t> window(static_cast<std::size_t>(kWidth) * kHeight);
    double seconds = 0;
    std::int64_t views = 0;
    for (auto _ : state) {
        const qt::detail::VrViewAngles angles{static_cast<double>(views % 360), -20.0 + views % 40, 55};
        const auto start = std::chrono::steady_clock::now();
        draw(angles, window.data());
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(window.data());
        ++views;
    }
    const double milliseconds = seconds * 1000 / static_cast<double>(views);
    state.counters["ms_per_view"] = milliseconds;
    state.counters["ratio"] = milliseconds / kGoalMilliseconds;
}

void BM_CylinderView640x480(benchmark::State& state) {
    const int width = 2560;
    const int height = 768;
    const std::vector<std::uint32_t> pixels = Pattern(width, height);
    const qt::detail::VrImage picture{pixels.data(), width, height, width};
    const qt::detail::VrCylinder cylinder{180, 360, 42, -42};
    qt::detail::VrView view(kWidth, kHeight);
    Measure(state, [&](const qt::detail::VrViewAngles& angles, std::uint32_t* target) {
        view.DrawCylinder(picture, cylinder, angles, target, kWidth);
    });
}
BENCHMARK(BM_CylinderView640x480)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_CubeView640x480(benchmark::State& state) {
    const int size = 768;
    const std::vector<std::uint32_t> pixels = Pattern(size, size);
    std::array<qt::detail::VrImage, 6> faces;
    faces.fill({pixels.data(), size, size, size});
    qt::detail::VrView view(kWidth, kHeight);
    Measure(state, [&](const qt::detail::VrViewAngles& angles, std::uint32_t* target) {
        view.DrawCube(faces, angles, target, kWidth);
    });
}
BENCHMARK(BM_CubeView640x480)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace
