// Redraw regions on a 640x480 screen, timed beside pixman on the same rectangles: N random dirty rectangles
// (up to 64x48) added to an empty region, N holes (up to 32x32) cut from the full screen, and N distinct
// 16x16 tiles added to an empty region. Our operand is a Region made of the rectangles by AddRect; pixman's
// is built from the same member rectangles. BM_InvalidateRandom takes the path a frame's invalidation takes:
// N random dirty rectangles added one at a time by AddRect, then one Coalesce, beside pixman's union of one
// rectangle at a time; members_added is the size of our region before the Coalesce. An iteration times a
// batch of our operation, then a batch of pixman's (batches keep reading the clock cheap beside small
// operations), and its time is our batch's. ours_us and pixman_us are the times of one operation, "ratio" is
// ours over pixman's and "goal" the ratio to stay under. Without pixman only our times are reported.
#include "foundation/Region.h"

#include <benchmark/benchmark.h>

#if VEMO_BENCH_PIXMAN
#include <pixman.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

namespace {

using Vemo::Rect;
using Vemo::Region;

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kTile = 16;
constexpr double kGoalRatio = 2.0;

Rect RandomRect(std::mt19937& random, int maxWidth, int maxHeight) {
    const int width = 1 + static_cast<int>(random() % maxWidth);
    const int height = 1 + static_cast<int>(random() % maxHeight);
    const int left = static_cast<int>(random() % (kScreenWidth - width + 1));
    const int top = static_cast<int>(random() % (kScreenHeight - height + 1));
    return Rect(left, top, left + width, top + height);
}

Region RandomRegion(std::size_t count, int maxWidth, int maxHeight, std::uint32_t seed) {
    std::mt19937 random(seed);
    Region region;
    for (std::size_t i = 0; i < count; ++i) {
        region.AddRect(RandomRect(random, maxWidth, maxHeight));
    }
    return region;
}

// count distinct cells of the screen's 16x16 grid, in random order.
Region Tiles(std::size_t count) {
    constexpr int columns = kScreenWidth / kTile;
    constexpr int rows = kScreenHeight / kTile;
    std::vector<int> cells(columns * rows);
    std::iota(cells.begin(), cells.end(), 0);
    std::shuffle(cells.begin(), cells.end(), std::mt19937(static_cast<std::uint32_t>(count)));
    Region region;
    for (std::size_t i = 0; i < count && i < cells.size(); ++i) {
        const int left = cells[i] % columns * kTile;
        const int top = cells[i] / columns * kTile;
        region.AddRect(Rect(left, top, left + kTile, top + kTile));
    }
    return region;
}

#if VEMO_BENCH_PIXMAN
class PixmanRegion {
public:
    PixmanRegion() { pixman_region32_init(&m_region); }
    explicit PixmanRegion(const Region& region) {
        std::vector<pixman_box32_t> boxes;
        for (const Rect& r : region) {
            boxes.push_back({r.left, r.top, r.right, r.bottom});
        }
        pixman_region32_init_rects(&m_region, boxes.data(), static_cast<int>(boxes.size()));
    }
    PixmanRegion(const PixmanRegion&) = delete;
    PixmanRegion& operator=(const PixmanRegion&) = delete;
    ~PixmanRegion() { pixman_region32_fini(&m_region); }

    pixman_region32_t* Get() { return &m_region; }

private:
    pixman_region32_t m_region;
};

std::vector<pixman_box32_t> Boxes(const Region& region) {
    std::vector<pixman_box32_t> boxes;
    for (const Rect& r : region) {
        boxes.push_back({r.left, r.top, r.right, r.bottom});
    }
    return boxes;
}

// pixman's way of turning a list of rectangles into a region: one validation of all of them.
void PixmanUnionOf(const std::vector<pixman_box32_t>& boxes) {
    pixman_region32_t region;
    pixman_region32_init_rects(&region, boxes.data(), static_cast<int>(boxes.size()));
    benchmark::DoNotOptimize(pixman_region32_n_rects(&region));
    pixman_region32_fini(&region);
}
#endif

double Seconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

int BatchSize(const benchmark::State& state) {
    return std::max(1, 1000 / static_cast<int>(state.range(0)));
}

template <class Ours, class Theirs>
void SideBySide(benchmark::State& state, const Ours& ours, const Theirs& theirs) {
    using Clock = std::chrono::steady_clock;
    const int batch = BatchSize(state);
    double oursSeconds = 0;
    double theirsSeconds = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < batch; ++i) {
            ours();
        }
        const Clock::time_point middle = Clock::now();
        for (int i = 0; i < batch; ++i) {
            theirs();
        }
        const Clock::time_point end = Clock::now();
        oursSeconds += Seconds(middle - start);
        theirsSeconds += Seconds(end - middle);
        state.SetIterationTime(Seconds(middle - start));
    }
    const double operations = static_cast<double>(state.iterations()) * batch;
    state.counters["ours_us"] = oursSeconds / operations * 1e6;
    state.counters["pixman_us"] = theirsSeconds / operations * 1e6;
    state.counters["ratio"] = oursSeconds / theirsSeconds;
    state.counters["goal"] = kGoalRatio;
}

template <class Ours>
void Alone(benchmark::State& state, const Ours& ours) {
    using Clock = std::chrono::steady_clock;
    const int batch = BatchSize(state);
    double oursSeconds = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < batch; ++i) {
            ours();
        }
        const double seconds = Seconds(Clock::now() - start);
        oursSeconds += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["ours_us"] = oursSeconds / (static_cast<double>(state.iterations()) * batch) * 1e6;
}

// Adds operand to an empty region; members_out is the size of the result.
void AddToEmpty(benchmark::State& state, const Region& operand) {
    std::size_t members = 0;
    const auto ours = [&] {
        Region region;
        region.Add(operand);
        members = region.Size();
        benchmark::DoNotOptimize(members);
    };
#if VEMO_BENCH_PIXMAN
    const std::vector<pixman_box32_t> boxes = Boxes(operand);
    SideBySide(state, ours, [&] { PixmanUnionOf(boxes); });
#else
    Alone(state, ours);
#endif
    state.counters["members_in"] = static_cast<double>(operand.Size());
    state.counters["members_out"] = static_cast<double>(members);
}

void BM_AddRandom(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    AddToEmpty(state, RandomRegion(count, 64, 48, static_cast<std::uint32_t>(count)));
}

void BM_AddTiles(benchmark::State& state) {
    AddToEmpty(state, Tiles(static_cast<std::size_t>(state.range(0))));
}

void BM_SubtractHoles(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const Region holes = RandomRegion(count, 32, 32, static_cast<std::uint32_t>(count) + 1);
    Region screen;
    screen.AddRect(Rect(0, 0, kScreenWidth, kScreenHeight));
    std::size_t members = 0;
    const auto ours = [&] {
        Region region = screen;
        region.Subtract(holes);
        members = region.Size();
        benchmark::DoNotOptimize(members);
    };
#if VEMO_BENCH_PIXMAN
    PixmanRegion pixmanHoles(holes);
    PixmanRegion pixmanScreen(screen);
    SideBySide(state, ours, [&] {
        PixmanRegion result;
        pixman_region32_subtract(result.Get(), pixmanScreen.Get(), pixmanHoles.Get());
        benchmark::DoNotOptimize(pixman_region32_n_rects(result.Get()));
    });
#else
    Alone(state, ours);
#endif
    state.counters["members_in"] = static_cast<double>(holes.Size());
    state.counters["members_out"] = static_cast<double>(members);
}

void BM_InvalidateRandom(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    std::mt19937 random(static_cast<std::uint32_t>(count));
    std::vector<Rect> dirty;
    for (std::size_t i = 0; i < count; ++i) {
        dirty.push_back(RandomRect(random, 64, 48));
    }
    std::size_t added = 0;
    std::size_t members = 0;
    const auto ours = [&] {
        Region region;
        for (const Rect& r : dirty) {
            region.AddRect(r);
        }
        added = region.Size();
        region.Coalesce();
        members = region.Size();
        benchmark::DoNotOptimize(members);
    };
#if VEMO_BENCH_PIXMAN
    SideBySide(state, ours, [&] {
        PixmanRegion region;
        for (const Rect& r : dirty) {
            pixman_region32_union_rect(region.Get(), region.Get(), r.left, r.top,
                                       static_cast<unsigned>(r.right - r.left),
                                       static_cast<unsigned>(r.bottom - r.top));
        }
        benchmark::DoNotOptimize(pixman_region32_n_rects(region.Get()));
    });
#else
    Alone(state, ours);
#endif
    state.counters["members_in"] = static_cast<double>(count);
    state.counters["members_added"] = static_cast<double>(added);
    state.counters["members_out"] = static_cast<double>(members);
}

// Past 1000 the rectangles cover the screen, and the region stops growing: the last two sizes show how the
// cost grows once the region's own size no longer does.
BENCHMARK(BM_InvalidateRandom)
    ->Arg(30)
    ->Arg(100)
    ->Arg(300)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AddRandom)->Arg(10)->Arg(100)->Arg(1000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SubtractHoles)->Arg(10)->Arg(100)->Arg(1000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AddTiles)->Arg(10)->Arg(100)->Arg(1000)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
